// Across many popups, everything the menu creates is destroyed again: counted by replacing the
// creating and destroying functions in this program's import table.
#include "taskmenu/TaskMenu.h"
#include "tests/support/HandleLedger.h"
#include "tests/support/MenuDriver.h"

#include <gtest/gtest.h>

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

}  // namespace
