#include "tasklist/EditorQuery.h"

#include "base/EnumWindows.h"
#include "base/Handle.h"
#include "base/Mbcs.h"
#include "base/ReplyBudget.h"
#include "tasklist/WindowQueries.h"

#include <string>
#include <string_view>
#include <vector>

namespace tasklist {
namespace {

constexpr char kQueryMessageName[] = "VELNOTE QUERY OPEN FILE";
constexpr char kMainWindowClass[] = "TVelnoteMain";
constexpr char kApplicationClass[] = "TApplication";
constexpr char kUntitledAnswer[] = "[\x96\xB3\x91\xE8]";  // "[無題]" in Shift-JIS: a document without a file
constexpr std::string_view kEditorWord = "Velnote";
// Room for 254 characters of a class name and 1022 of an atom's name, each with its NUL.
constexpr int kClassNameLength = 255;
constexpr int kAtomNameLength = 1023;

// The topmost editor main window that `owner` owns, or 0.
HWND FindEditorMainWindow(HWND owner) {
  HWND found = nullptr;
  base::EnumTopLevelWindows([owner, &found](HWND wnd) {
    if (ClassNameOf(wnd, kClassNameLength) != kMainWindowClass || ::GetWindow(wnd, GW_OWNER) != owner) return true;
    found = wnd;
    return false;
  });
  return found;
}

// The editor main window to ask for the entry's window: the window itself, or the main window
// of an application window; 0 for any other window (a dialog of the editor, say).
HWND EditorMainWindowFor(HWND wnd) {
  const std::string windowClass = ClassNameOf(wnd, kClassNameLength);
  if (windowClass == kMainWindowClass) return wnd;
  if (windowClass == kApplicationClass) return FindEditorMainWindow(wnd);
  return nullptr;
}

// The atom of the editor's reply, now ours to delete; empty when no reply came in time.
base::unique_global_atom AskOpenFile(HWND mainWnd, UINT message, base::ReplyBudget& replies) {
  DWORD_PTR reply = 0;
  if (replies.Send(mainWnd, message, 0, 0, reply) != base::Reply::kAnswered) reply = 0;
  return base::unique_global_atom(LOWORD(reply));
}

// The atom's name; empty when it cannot be read.
std::string AtomName(ATOM atom) {
  std::vector<char> buffer(kAtomNameLength + 1, '\0');
  const UINT length = ::GlobalGetAtomNameA(atom, buffer.data(), kAtomNameLength);
  return std::string(buffer.data(), length);
}

// The path up to and including its last '\' or ':'; empty when it has neither.
std::string_view FolderOf(std::string_view path) {
  const size_t separator = base::LastDelimiter(path, "\\:");
  return separator == std::string_view::npos ? std::string_view() : path.substr(0, separator + 1);
}

// Every occurrence of the editor's name that starts a character, from left to right. Only the
// original caption is searched, never the text put in.
std::string ReplaceEditorWord(std::string_view caption, std::string_view replacement) {
  std::string result;
  size_t from = 0;
  for (size_t at = base::FindOnBoundary(caption, kEditorWord); at != std::string_view::npos;
       at = base::FindOnBoundary(caption, kEditorWord, from)) {
    result.append(caption.substr(from, at - from)).append(replacement);
    from = at + kEditorWord.size();
  }
  return result.append(caption.substr(from));
}

void QueryEditor(TWinInfo& entry, UINT message, base::ReplyBudget& replies) {
  const HWND mainWnd = EditorMainWindowFor(entry.Wnd);
  if (!mainWnd) return;
  const base::unique_global_atom atom = AskOpenFile(mainWnd, message, replies);
  if (!atom) return;
  const std::string path = AtomName(atom.get());
  // An unreadable name is no answer; an untitled document has no folder to show.
  if (path.empty() || path == kUntitledAnswer) return;
  entry.Caption =
      TaskCaption::FromAnsi(ReplaceEditorWord(entry.Caption.Ansi(), "(" + std::string(FolderOf(path)) + ")"));
}

}  // namespace

void QueryEditorFiles(TWinInfos& tasks) {
  // Registered at every refresh, editor entries or not: the step keeps nothing between refreshes.
  const UINT message = ::RegisterWindowMessageA(kQueryMessageName);
  base::ReplyBudget replies(kEditorReplyTimeoutMs, kEditorReplyTimeoutMs);
  for (int i = 0; i < tasks.Count(); ++i) {
    TWinInfo& entry = tasks.Items(i);
    if (entry.ExeName == kMarkedEditorExeName) QueryEditor(entry, message, replies);
  }
}

}  // namespace tasklist
