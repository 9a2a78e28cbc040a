// Across many popups, everything the menu creates is destroyed again: counted by replacing the
// creating and destroying functions in this program's import table.
#include "taskmenu/TaskMenu.h"
#include "tests/support/HandleLedger.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/Fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>

namespace {

constexpr int kPopups = 500;

std::string Describe(const testing_support::HandleLedger& ledger) {
  std::string text;
  for (const auto& [kind, tally] : ledger.Tallies()) {
    text += kind + ": " + std::to_string(tally.created) + " made, " + std::to_string(tally.outstanding) + " left; ";
  }
  return text;
}

TEST(MenuLeaks, EverythingAMenuCreatesAcrossManyPopupsIsDestroyed) {
  testing_support::HandleLedger ledger(::GetModuleHandleA(nullptr));
  // A window of ours without a class icon: with window icons it shows this program's own icon,
  // without, its type's icon; each made once and kept until the menu goes.
  base::unique_hwnd window(::CreateWindowExA(0, "STATIC", "menu leak test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100,
                                             100, nullptr, nullptr, nullptr, nullptr));
  {
    taskmenu::TTaskPopupMenu menu;
    size_t afterFirst = 0;
    int shown = 0;
    for (int i = 0; i < kPopups; ++i) {
      menu.SetWindowIcon(i % 2 == 0);
      testing_support::WhenMenuOpens([](HWND open) { testing_support::PressInMenu(open, VK_ESCAPE); });
      menu.PopupTasks(10, 10);
      shown += testing_support::MenuActionRan();
      if (i == 1) afterFirst = ledger.Outstanding();  // both kinds of icon are kept from here on
    }
    EXPECT_EQ(shown, kPopups);
    const auto tallies = ledger.Tallies();
    EXPECT_GE(tallies.at("icon").created, 1) << "no shell icon was counted";
    EXPECT_EQ(tallies.at("image list").created, 1) << "the images are not kept across popups";
    EXPECT_GE(tallies.at("library").created, kPopups) << "no cloaking lookup was counted";
    EXPECT_GE(tallies.at("process").created, kPopups) << "no process's start time was counted";
    EXPECT_GE(tallies.at("device context").created, 1) << "no measuring context was counted";
    EXPECT_EQ(ledger.Outstanding(), afterFirst) << "handles accumulate across popups: " << Describe(ledger);
  }
  window.reset();
  EXPECT_EQ(ledger.Outstanding(), 0u) << Describe(ledger);
  EXPECT_EQ(ledger.Foreign(), 0) << Describe(ledger);
}

// A function hands its caller something to give back when its name holds Create, Open or Duplicate,
// or starts with one of the other names below.
const std::regex kCreator(
    "Create|Open|Duplicate|^(LoadLibrary|SetWindowsHookEx|ExtractIcon|SHGetFileInfo|CopyIcon|CopyImage|LoadImage|GetDC|"
    "GetWindowDC|BeginPaint)");

// The run-time's own, linked into the library (its threads; in 32 bits its unwinder's lookup of the
// GCC run-time library): what they make is never the plug-in's to free.
const std::set<std::string> kRunTimeOnly = {"CreateSemaphoreA", "CreateSemaphoreW", "DuplicateHandle", "LoadLibraryA"};

TEST(MenuLeaks, TheLedgerKnowsEveryCreatorThePlugInImports) {
  // Mapped only: its imports are read, never bound, and nothing of it runs.
  const std::string path = testing_support::ProgramFolder() + "swivo_p.dll";
  const base::unique_hmodule library(::LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES));
  ASSERT_TRUE(library) << path << ", error " << ::GetLastError();
  const std::vector<std::string> known = testing_support::HandleLedger::Functions();
  std::string unknown;
  int creators = 0;
  testing_support::ForEachImport(library.get(), [&](const char*, const char* function, void**) {
    if (!std::regex_search(function, kCreator) || kRunTimeOnly.count(function)) return false;
    ++creators;
    if (std::find(known.begin(), known.end(), function) == known.end()) unknown += function + std::string(" ");
    return false;
  });
  EXPECT_GT(creators, 0) << "no imports were read";
  EXPECT_EQ(unknown, "") << "imported creators the ledger does not count";
}

}  // namespace
