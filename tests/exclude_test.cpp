// Programs and window classes left out by the settings: the pattern rules as one table, and the
// collection against real fixture windows.
#include "tasklist/ExcludeRules.h"
#include "tasklist/TaskRefresh.h"
#include "tests/support/Fixture.h"
#include "tests/support/TestWindows.h"

#include <gtest/gtest.h>

#include <string>

using testing_support::FixtureProcess;
using testing_support::IndexOfWindow;
using testing_support::Tag;

namespace {

struct ExcludeCase {
  const char* list;
  const char* name;
  bool excluded;
};

// "\x83\x5c" is ソ and "\x95\x5c" 表, whose trail byte is '\\'; "\x83\x7e" is ミ. Code page
// 932 has no character whose trail byte is '*' or ';', so a lead byte before one of them stands
// for the case: it takes that byte as its trail byte, as the code page's rules say.
const ExcludeCase kCases[] = {
    {"notepad.exe", "notepad.exe", true},
    {"notepad.exe", "notepad.exe2", false},
    {"NotePad.EXE", "notepad.exe", true},
    {"notepad.exe", "NOTEPAD.EXE", true},
    {"*.exe", "calc.exe", true},
    {"*.exe", "calc.com", false},
    {"c*c.exe", "calc.exe", true},
    {"c*c.exe", "cmd.exe", false},
    {"calc*", "calc.exe", true},
    {"calc*", "cal.exe", false},
    {"a*b*c", "axxbyyc", true},
    {"a*b*c", "axxcyyb", false},
    {"\x83\x5c.exe", "\x83\x5c.exe", true},
    {"\x95\x5c*", "\x95\x5c\x83\x7e.exe", true},
    {"*\x5c*", "\x95\x5c.exe", false},     // the trail byte is not a character of its own
    {"\x83\x5c;x.exe", "x.exe", true},     // a pattern after a double-byte one
    {"\x95*.exe", "\x95\x5c.exe", false},  // a lead byte that took '*' as its trail byte
    {"\x95*.exe", "\x95*.exe", true},
    {"\x95;x.exe", "x.exe", false},               // nor is a ';' after a lead byte a separator
    {"\x83\x41pp.exe", "\x83\x61pp.exe", false},  // アpp.exe is not ヂpp.exe: trail bytes are no letters
    {"\x83\x41PP.exe", "\x83\x41pp.EXE", true},
    {"\x82\x4f*", "\x82\x6f.exe", false},  // ０ is not Ｐ
    {"", "notepad.exe", false},
    {"", "", false},
    {";;;", "notepad.exe", false},
    {"  ;\t; ", "", false},
    {" notepad.exe ; calc.exe ;", "calc.exe", true},
    {" notepad.exe ; calc.exe ;", "notepad.exe", true},
    {" notepad.exe ; calc.exe ;", "cmd.exe", false},
    {"one.exe;;two.exe", "two.exe", true},
};

TEST(ExcludeRules, PatternsAsTheTableSays) {
  for (const ExcludeCase& c : kCases) {
    EXPECT_EQ(tasklist::ExcludeRules(c.list).Matches(c.name), c.excluded)
        << "list \"" << c.list << "\", name \"" << c.name << "\"";
  }
}

TEST(ExcludeRulesWindows, ExcludedExecutableIsNotListedAndOthersAre) {
  FixtureProcess excluded({"app:" + Tag("excluded exe")}, testing_support::FixtureCopy("Hidden-Tool.exe"));
  FixtureProcess kept({"app:" + Tag("kept exe")});
  tasklist::TWinInfos tasks;
  tasks.SetExclude(" other.exe ; HIDDEN-*.EXE ");
  tasklist::Refresh(tasks);
  ASSERT_NE(excluded.Window(Tag("excluded exe")), nullptr);
  EXPECT_LT(IndexOfWindow(tasks, excluded.Window(Tag("excluded exe"))), 0);
  EXPECT_GE(IndexOfWindow(tasks, kept.Window(Tag("kept exe"))), 0);
}

TEST(ExcludeRulesWindows, ExcludedRootClassIsNotListedAndOthersAre) {
  FixtureProcess process({"ofclass:SwivoHiddenClass:" + Tag("excluded class"), "app:" + Tag("kept class")});
  tasklist::TWinInfos tasks;
  tasks.SetExcludeClass("swivohidden*");
  tasklist::Refresh(tasks);
  ASSERT_NE(process.Window(Tag("excluded class")), nullptr);
  EXPECT_LT(IndexOfWindow(tasks, process.Window(Tag("excluded class"))), 0);
  EXPECT_GE(IndexOfWindow(tasks, process.Window(Tag("kept class"))), 0);
}

}  // namespace
