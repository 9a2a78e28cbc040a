// The editor query and the editor-mode order on real processes: the stand-in editor, its copy as
// the companion, and fixture programs under other executable names.
#include "base/Handle.h"
#include "base/WideText.h"
#include "tasklist/ArrangeTasks.h"
#include "tasklist/EditorQuery.h"
#include "tasklist/TaskRefresh.h"
#include "tests/support/Fixture.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using tasklist::TWinInfo;
using tasklist::TWinInfos;
using testing_support::FixtureProcess;

namespace {

using testing_support::IndexOfWindow;
using testing_support::Tag;

const std::string kUntitled = "[\x96\xB3\x91\xE8]";  // "[無題]"
const std::string kHyo = "\x95\x5C";                 // "表": its second byte is a '\'
// The answered files lie under a folder of this run, so that their atoms are ours alone.
const std::string kFolder = "C:\\" + Tag("docs") + "\\";

std::string StandInCopy(const std::string& name) {
  return testing_support::ProgramCopy(testing_support::ProgramFolder() + "swivo-velnote.exe", name);
}

struct Answer {
  std::string file;
  std::string caption;
  std::string expected;
};

// Main windows of the editor, each under its own hidden application window, with the caption
// that their answer must give.
const std::vector<Answer> kPathAnswers{
    {kFolder + "memo.txt", Tag("memo") + " - Velnote", Tag("memo") + " - (" + kFolder + ")"},
    // Both words go, in no other case and not behind a lead byte; the inserted folder is not searched.
    {kFolder + "Velnote\\twice.txt", "Velnote " + Tag("twice") + " velnote VELNOTE \x95Velnote Velnote",
     "(" + kFolder + "Velnote\\) " + Tag("twice") + " velnote VELNOTE \x95Velnote (" + kFolder + "Velnote\\)"},
    {"C:\\" + kHyo + "\\" + Tag("memo.txt"), Tag("dbcs file") + " - Velnote",
     Tag("dbcs file") + " - (C:\\" + kHyo + "\\)"},
    {"C:\\" + kHyo, Tag("dbcs folder") + " - Velnote", Tag("dbcs folder") + " - (C:\\)"},
    {Tag("bare.txt"), Tag("bare") + " - Velnote", Tag("bare") + " - ()"},
};
// An application window that is itself the task's window, over two main windows.
const std::string kApplication = Tag("application") + " - Velnote";
const Answer kFirstMain{kFolder + "first\\a.txt", Tag("first main"), ""};
const Answer kSecondMain{kFolder + "second\\b.txt", Tag("second main"), ""};
// Windows whose captions must stay.
const std::string kUntitledMain = Tag("untitled") + " - Velnote";
const std::string kMuteMain = Tag("mute") + " - Velnote";
const std::string kOtherWindow = Tag("other") + " - Velnote";
const std::string kCompanionMain = Tag("companion") + " - Velnote";

std::vector<std::string> EditorArguments() {
  std::vector<std::string> arguments;
  for (const Answer& answer : kPathAnswers) {
    arguments.insert(arguments.end(), {"app", "main:" + answer.file + "|" + answer.caption});
  }
  arguments.insert(arguments.end(), {"app", "main:|" + kUntitledMain, "app", "mute:" + kMuteMain,
                                     "other:" + kFolder + "other.txt|" + kOtherWindow, "app:" + kApplication,
                                     "main:" + kFirstMain.file + "|" + kFirstMain.caption,
                                     "main:" + kSecondMain.file + "|" + kSecondMain.caption});
  return arguments;
}

// The windows to activate of one process's entries, in list order.
std::vector<HWND> WindowsOf(const TWinInfos& tasks, const FixtureProcess& process) {
  std::vector<HWND> windows;
  for (int i = 0; i < tasks.Count(); ++i) {
    if (tasks.Items(i).ProcessId == process.Id()) windows.push_back(tasks.Items(i).Wnd);
  }
  return windows;
}

class EditorQuery : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    editor = std::make_unique<FixtureProcess>(EditorArguments(), StandInCopy("velnote.exe"));
    companion = std::make_unique<FixtureProcess>(
        std::vector<std::string>{"main:" + kFolder + "aux.txt|" + kCompanionMain}, StandInCopy("velaux.exe"));
    notepad = std::make_unique<FixtureProcess>(std::vector<std::string>{"many:3:" + Tag("notepad")},
                                               testing_support::FixtureCopy("notepad.exe"));
    calc = std::make_unique<FixtureProcess>(std::vector<std::string>{"app:" + Tag("Zeta"), "app:" + Tag("alpha")},
                                            testing_support::FixtureCopy("Calc.EXE"));
  }
  static void TearDownTestSuite() {
    editor.reset();
    companion.reset();
    notepad.reset();
    calc.reset();
  }

  void Refresh(bool sortByExe, bool sortByCaption, bool editorMode) {
    tasks.SetSortByExe(sortByExe);
    tasks.SetSortByCaption(sortByCaption);
    tasks.SetEditorMode(editorMode);
    tasklist::Refresh(tasks);
  }

  // The entry whose window to activate is the window of `process` with this caption.
  const TWinInfo* EditorEntry(const std::string& caption, const FixtureProcess& process = *editor) const {
    const int index = IndexOfWindow(tasks, process.Window(caption));
    EXPECT_GE(index, 0) << "no entry for " << caption;
    return index < 0 ? nullptr : &tasks.Items(index);
  }

  static std::unique_ptr<FixtureProcess> editor, companion, notepad, calc;
  TWinInfos tasks;
};

std::unique_ptr<FixtureProcess> EditorQuery::editor, EditorQuery::companion, EditorQuery::notepad, EditorQuery::calc;

TEST_F(EditorQuery, CaptionsShowTheFolderOfTheAnsweredFile) {
  Refresh(false, false, true);
  for (const Answer& answer : kPathAnswers) {
    const TWinInfo* entry = EditorEntry(answer.caption);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Caption.Ansi(), answer.expected);
    EXPECT_EQ(entry->Caption.Shown(), base::WidenAnsi(answer.expected));
    EXPECT_EQ(entry->ExeName, tasklist::kMarkedEditorExeName);
  }
}

TEST_F(EditorQuery, ApplicationWindowShowsTheFolderOfItsTopmostMainWindow) {
  Refresh(false, false, true);
  const TWinInfo* entry = EditorEntry(kApplication);
  ASSERT_TRUE(entry);
  HWND topmost = nullptr;
  for (HWND wnd : editor->Windows()) {
    if (wnd == editor->Window(kFirstMain.caption) || wnd == editor->Window(kSecondMain.caption)) {
      topmost = wnd;
      break;
    }
  }
  const std::string file = topmost == editor->Window(kFirstMain.caption) ? kFirstMain.file : kSecondMain.file;
  EXPECT_EQ(entry->Caption.Ansi(), Tag("application") + " - (" + file.substr(0, file.rfind('\\') + 1) + ")");
}

TEST_F(EditorQuery, CaptionsStayWithoutAnAnsweredPath) {
  Refresh(false, false, true);
  for (const std::string& caption : {kUntitledMain, kMuteMain, kOtherWindow}) {
    const TWinInfo* entry = EditorEntry(caption);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Caption.Ansi(), caption);
  }
  const TWinInfo* companionEntry = EditorEntry(kCompanionMain, *companion);
  ASSERT_TRUE(companionEntry);
  EXPECT_EQ(companionEntry->Caption.Ansi(), kCompanionMain) << "only the editor is asked";
  EXPECT_EQ(companionEntry->ExeName, tasklist::kMarkedCompanionExeName);
}

TEST_F(EditorQuery, WithoutEditorModeNothingIsAskedOrMarked) {
  Refresh(false, false, false);
  const TWinInfo* entry = EditorEntry(kPathAnswers.front().caption);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->Caption.Ansi(), kPathAnswers.front().caption);
  EXPECT_EQ(entry->ExeName, "velnote.exe");
}

// A reference of our own to each name shows both halves: after the refresh the name is still
// there (the editor's reference was not deleted twice, taking ours), and once we let ours go it is
// gone (the editor's was deleted).
TEST_F(EditorQuery, EveryAnsweredAtomIsDeletedExactlyOnce) {
  std::vector<std::string> names{kUntitled, kFirstMain.file, kSecondMain.file};
  for (const Answer& answer : kPathAnswers) names.push_back(answer.file);
  std::vector<base::unique_global_atom> ours;
  for (const std::string& name : names) ours.emplace_back(::GlobalAddAtomA(name.c_str()));

  Refresh(false, false, true);
  for (const std::string& name : names) EXPECT_NE(::GlobalFindAtomA(name.c_str()), 0) << name;
  ours.clear();
  for (const std::string& name : names) EXPECT_EQ(::GlobalFindAtomA(name.c_str()), 0) << name;
}

TEST_F(EditorQuery, EditorModeListsEditorThenCompanionThenTheRestAsEnumerated) {
  TWinInfos plain;
  tasklist::Refresh(plain);
  Refresh(false, false, true);
  int previousRank = 0;
  for (int i = 0; i < tasks.Count(); ++i) {
    const std::string& name = tasks.Items(i).ExeName;
    const int rank = name == tasklist::kMarkedEditorExeName ? 0 : name == tasklist::kMarkedCompanionExeName ? 1 : 2;
    EXPECT_GE(rank, previousRank) << "entry " << i << ": " << name;
    previousRank = rank;
  }
  for (const FixtureProcess* process : {editor.get(), notepad.get(), calc.get()}) {
    EXPECT_EQ(WindowsOf(tasks, *process), WindowsOf(plain, *process)) << "process " << process->Id();
  }
}

TEST_F(EditorQuery, SortedByNameAndCaptionTheEditorComesFirst) {
  Refresh(true, true, true);
  for (int i = 1; i < tasks.Count(); ++i) {
    const TWinInfo& left = tasks.Items(i - 1);
    const TWinInfo& right = tasks.Items(i);
    // std::string compares bytes unsigned, as the order does.
    EXPECT_LE(left.ExeName, right.ExeName) << "entry " << i;
    // The editor's captions change after the ordering.
    if (left.ExeName == right.ExeName && left.ExeName != tasklist::kMarkedEditorExeName) {
      EXPECT_LE(left.Caption.Ansi(), right.Caption.Ansi()) << "entry " << i;
    }
  }
  EXPECT_EQ(WindowsOf(tasks, *calc), (std::vector<HWND>{calc->Window(Tag("Zeta")), calc->Window(Tag("alpha"))}));
  const int editorIndex = IndexOfWindow(tasks, editor->Window(kMuteMain));
  const int companionIndex = IndexOfWindow(tasks, companion->Window(kCompanionMain));
  const int calcIndex = IndexOfWindow(tasks, calc->Window(Tag("Zeta")));
  EXPECT_LT(editorIndex, companionIndex);
  EXPECT_LT(companionIndex, calcIndex);
}

// The wait is timed on the query step alone: the refresh's own time grows with every window that
// other programs have open on the desktop.
TEST(EditorQueryHungEditor, WaitsNoLongerThanTheBoundAndKeepsTheEntry) {
  constexpr DWORD kHangMs = 2000;
  constexpr DWORD kSlackMs = 500;
  const std::string caption = Tag("hung") + " - Velnote";
  FixtureProcess hung({"hang:" + std::to_string(kHangMs), "main:" + kFolder + "hung.txt|" + caption},
                      StandInCopy("velnote.exe"));
  TWinInfos handMade;
  TWinInfo& entry = handMade.Add();
  entry.Wnd = hung.Window(caption);
  entry.Caption = tasklist::TaskCaption::FromAnsi(caption);
  entry.ExeName = tasklist::kMarkedEditorExeName;
  DWORD start = ::GetTickCount();
  tasklist::QueryEditorFiles(handMade);
  DWORD elapsed = ::GetTickCount() - start;
  EXPECT_GE(elapsed, tasklist::kEditorReplyTimeoutMs - 50) << "the hung editor was not asked";
  EXPECT_LT(elapsed, tasklist::kEditorReplyTimeoutMs + kSlackMs);
  EXPECT_EQ(entry.Caption.Ansi(), caption);

  TWinInfos tasks;
  tasks.SetEditorMode(true);
  start = ::GetTickCount();
  tasklist::Refresh(tasks);
  elapsed = ::GetTickCount() - start;
  EXPECT_GE(elapsed, tasklist::kEditorReplyTimeoutMs - 50) << "the hung editor was not asked";
  const int index = IndexOfWindow(tasks, hung.Window(caption));
  ASSERT_GE(index, 0);
  EXPECT_EQ(tasks.Items(index).Caption.Ansi(), caption);
  EXPECT_EQ(tasks.Items(index).ExeName, tasklist::kMarkedEditorExeName);
}

// Eight windows of one hung editor: the step waits once, for its one deadline, and asks no other
// window of the thread that let it pass.
TEST(EditorQueryHungEditor, OneDeadlineForTheWholeStep) {
  constexpr DWORD kHangMs = 6000;
  constexpr DWORD kSlackMs = 1500;
  constexpr int kWindows = 8;
  std::vector<std::string> arguments{"hang:" + std::to_string(kHangMs)};
  for (int i = 0; i < kWindows; ++i) {
    arguments.push_back("main:" + kFolder + "eight.txt|" + Tag("eight " + std::to_string(i)) + " - Velnote");
  }
  FixtureProcess hung(arguments, StandInCopy("velnote.exe"));
  TWinInfos handMade;
  for (int i = 0; i < kWindows; ++i) {
    TWinInfo& entry = handMade.Add();
    entry.Caption = tasklist::TaskCaption::FromAnsi(Tag("eight " + std::to_string(i)) + " - Velnote");
    entry.Wnd = hung.Window(entry.Caption.Ansi());
    entry.ExeName = tasklist::kMarkedEditorExeName;
  }
  const DWORD start = ::GetTickCount();
  tasklist::QueryEditorFiles(handMade);
  const DWORD elapsed = ::GetTickCount() - start;
  EXPECT_GE(elapsed, tasklist::kEditorReplyTimeoutMs - 50) << "the hung editor was not asked";
  EXPECT_LT(elapsed, tasklist::kEditorReplyTimeoutMs + kSlackMs);
  for (int i = 0; i < kWindows; ++i) {
    EXPECT_EQ(handMade.Items(i).Caption.Ansi(), Tag("eight " + std::to_string(i)) + " - Velnote");
  }
}

}  // namespace
