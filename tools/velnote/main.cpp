// Stand-in for the Velnote editor in tests: answers the open-file query the way the task list
// expects the editor to. Copied as velaux.exe it plays the editor's companion program.
//
//   swivo-velnote [--ready EVENT] ARG...
//
//   app[:CAPTION]       an application window (class "TApplication") that owns the main windows
//                       after it; hidden and empty like a Delphi one, or visible with a caption
//   main:FILE|CAPTION   a main window (class "TVelnoteMain") of the latest application window
//                       (one is made when there is none yet); it answers with a global atom
//                       named FILE, or "[無題]" when FILE is empty
//   mute:CAPTION        a main window that answers 0, as one that does not know the message
//   other:FILE|CAPTION  an unowned window of another class that answers like a main window
//   hang:MS             every query holds the thread MS ms, then answers 0: a hung editor
//
// Like swivo-fixture it signals EVENT when its windows exist and stays until its thread gets
// WM_QUIT. The atom of an answer belongs to whoever received it.
#include "../common/ScenarioProgram.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

constexpr char kApplicationClass[] = "TApplication";
constexpr char kMainWindowClass[] = "TVelnoteMain";
constexpr char kOtherClass[] = "TVelnoteOther";
constexpr char kUntitledAnswer[] = "[\x96\xB3\x91\xE8]";  // "[無題]" in Shift-JIS

UINT queryMessage = 0;
DWORD hangMs = 0;
std::map<HWND, std::string> fileOf;  // windows that answer, with their file ("" for untitled)
HWND application = nullptr;
int nextOffset = 0;

LRESULT CALLBACK EditorProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!queryMessage || msg != queryMessage) return ::DefWindowProcA(wnd, msg, wParam, lParam);
  if (hangMs) {
    ::Sleep(hangMs);
    return 0;
  }
  const auto file = fileOf.find(wnd);
  if (file == fileOf.end()) return 0;
  return ::GlobalAddAtomA(file->second.empty() ? kUntitledAnswer : file->second.c_str());
}

HWND Open(const char* windowClass, const std::string& caption, DWORD style, HWND owner, int width, int height) {
  const int offset = (nextOffset++ % 20) * 12;
  HWND wnd = ::CreateWindowExA(0, windowClass, caption.c_str(), style, 60 + offset, 60 + offset, width, height, owner,
                               nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (!wnd) {
    std::fprintf(stderr, "swivo-velnote: cannot create window '%s' (error %lu)\n", caption.c_str(), ::GetLastError());
    std::exit(2);
  }
  return wnd;
}

HWND OpenApplication(const std::string& caption) {
  return caption.empty() ? Open(kApplicationClass, "Velnote", WS_POPUP, nullptr, 0, 0)
                         : Open(kApplicationClass, caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 240, 120);
}

HWND OpenMain(const std::string& caption) {
  if (!application) application = OpenApplication("");
  return Open(kMainWindowClass, caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, application, 240, 120);
}

bool OpenArgument(const std::string& kind, const std::string& value) {
  const size_t bar = value.find('|');
  const std::string file = value.substr(0, bar);
  const std::string caption = bar == std::string::npos ? "" : value.substr(bar + 1);
  if (kind == "app") {
    application = OpenApplication(value);
  } else if (kind == "main") {
    fileOf[OpenMain(caption)] = file;
  } else if (kind == "mute") {
    OpenMain(value);
  } else if (kind == "other") {
    fileOf[Open(kOtherClass, caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 240, 120)] = file;
  } else if (kind == "hang") {
    hangMs = static_cast<DWORD>(std::atoi(value.c_str()));
  } else {
    return false;
  }
  return true;
}

void RegisterClasses() {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &EditorProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  for (const char* name : {kApplicationClass, kMainWindowClass, kOtherClass}) {
    windowClass.lpszClassName = name;
    ::RegisterClassExA(&windowClass);
  }
}

}  // namespace

int main(int argc, char** argv) {
  queryMessage = ::RegisterWindowMessageA("VELNOTE QUERY OPEN FILE");
  RegisterClasses();
  return RunScenarioProgram(argc, argv, "swivo-velnote", &OpenArgument);
}
