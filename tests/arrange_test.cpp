// The order of task entries made by hand: the exact results of the exchange passes, which no
// ordinary sort reproduces, and the byte order of names and captions.
#include "tasklist/ArrangeTasks.h"
#include "tasklist/TaskList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tasklist::TWinInfo;
using tasklist::TWinInfos;

namespace {

struct Entry {
  std::string label;
  std::string exe;
  std::string caption;
};

struct Flags {
  bool sortByExe = false;
  bool sortByCaption = false;
  bool editorMode = false;
};

HWND Handle(size_t index) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(index + 1)); }

// The labels of `entries` in the order OrderTasks gives them. Every entry also has to arrive
// whole: each field of it where the others are.
std::vector<std::string> Ordered(const std::vector<Entry>& entries, Flags flags) {
  TWinInfos tasks;
  for (size_t i = 0; i < entries.size(); ++i) {
    TWinInfo& entry = tasks.Add();
    entry.RootWnd = Handle(i);
    entry.Wnd = Handle(i + 100);
    entry.Icon = tasklist::TaskIcon::Borrowed(reinterpret_cast<HICON>(Handle(i + 200)));
    entry.Caption = tasklist::TaskCaption::FromAnsi(entries[i].caption);
    entry.ExeName = entries[i].exe;
  }
  tasks.SetSortByExe(flags.sortByExe);
  tasks.SetSortByCaption(flags.sortByCaption);
  tasks.SetEditorMode(flags.editorMode);
  tasklist::OrderTasks(tasks);

  EXPECT_EQ(tasks.Count(), static_cast<int>(entries.size())) << "the scratch entry stayed";
  std::vector<std::string> labels;
  for (int i = 0; i < tasks.Count(); ++i) {
    const TWinInfo& entry = tasks.Items(i);
    const size_t origin = static_cast<size_t>(reinterpret_cast<INT_PTR>(entry.RootWnd)) - 1;
    if (origin >= entries.size()) {
      ADD_FAILURE() << "entry " << i << " is not one of ours";
      continue;
    }
    EXPECT_EQ(entry.Wnd, Handle(origin + 100));
    EXPECT_EQ(entry.Icon.Handle(), reinterpret_cast<HICON>(Handle(origin + 200)));
    EXPECT_EQ(entry.Caption.Ansi(), entries[origin].caption);
    const std::string& exe = entries[origin].exe;
    EXPECT_EQ(entry.ExeName.substr(entry.ExeName.size() - exe.size()), exe);
    labels.push_back(entries[origin].label);
  }
  return labels;
}

using Labels = std::vector<std::string>;

const Entry kN1{"N1", "notepad.exe", "a"}, kC1{"C1", "velaux.exe", "c"}, kE1{"E1", "velnote.exe", "x"},
    kK1{"K1", "calc.exe", "b"}, kE2{"E2", "velnote.exe", "y"}, kC2{"C2", "velaux.exe", "d"},
    kC3{"C3", "velaux.exe", "e"}, kO1{"O1", "other.exe", "o"};
const std::vector<Entry> kSix{kN1, kC1, kE1, kK1, kE2, kC2};

TEST(TaskOrder, SixEntriesUnderEachSetting) {
  EXPECT_EQ(Ordered(kSix, {}), (Labels{"N1", "C1", "E1", "K1", "E2", "C2"}));
  EXPECT_EQ(Ordered(kSix, {false, false, true}), (Labels{"E1", "E2", "C2", "C1", "N1", "K1"}));
  EXPECT_EQ(Ordered(kSix, {true, true, true}), (Labels{"E1", "E2", "C1", "C2", "K1", "N1"}));
}

TEST(TaskOrder, EditorModeMovesCompanionsAsThePassesLeaveThem) {
  const Flags editor{false, false, true};
  EXPECT_EQ(Ordered({kC1, kC2, kO1}, editor), (Labels{"C2", "C1", "O1"}));
  EXPECT_EQ(Ordered({kC1, kC2, kC3, kO1}, editor), (Labels{"C3", "C2", "C1", "O1"}));
  EXPECT_EQ(Ordered({kO1, kE1, kN1, kE2}, editor), (Labels{"E1", "E2", "O1", "N1"}));
}

TEST(TaskOrder, WithoutFlagsTheEnumerationOrderStays) {
  EXPECT_EQ(Ordered({kC1, kE1, kC2, kE2, kO1}, {}), (Labels{"C1", "E1", "C2", "E2", "O1"}));
  // The companion's mark is not tied to editor mode; a program literally named so moves all the same.
  EXPECT_EQ(Ordered({kO1, {"M", "!!!!!!!!velaux.exe", "m"}}, {}), (Labels{"M", "O1"}));
}

TEST(TaskOrder, EmptyAndSingleCollectionsStayAsTheyAre) {
  EXPECT_EQ(Ordered({}, {true, true, true}), Labels{});
  EXPECT_EQ(Ordered({kC1}, {false, false, true}), Labels{"C1"});
}

TEST(TaskOrder, NamesInByteOrderWithEmptyFirstAndLeadBytesLast) {
  const std::vector<Entry> entries{{"note", "notepad.exe", ""},     {"kanji", "\x95\x5C.exe", ""},
                                   {"editor", "velnote.exe", ""},   {"none", "", ""},
                                   {"calc.exe", "calc.exe", ""},    {"calc", "calc", ""},
                                   {"companion", "velaux.exe", ""}, {"zip", "zip.exe", ""}};
  EXPECT_EQ(Ordered(entries, {true, false, true}),
            (Labels{"none", "editor", "companion", "calc", "calc.exe", "note", "zip", "kanji"}));
}

TEST(TaskOrder, CaptionsOrderOneExecutableOnlyWithSortByCaption) {
  const std::vector<Entry> entries{{"beta", "a.exe", "beta"},     {"alpha 1", "a.exe", "alpha"},
                                   {"Zeta 2", "a.exe", "Zeta 2"}, {"other", "0.exe", "zzz"},
                                   {"Zeta", "a.exe", "Zeta"},     {"alpha 2", "a.exe", "alpha"}};
  EXPECT_EQ(Ordered(entries, {true, false, false}), (Labels{"other", "beta", "alpha 1", "Zeta 2", "Zeta", "alpha 2"}));
  EXPECT_EQ(Ordered(entries, {true, true, false}), (Labels{"other", "Zeta", "Zeta 2", "alpha 1", "alpha 2", "beta"}));
}

}  // namespace
