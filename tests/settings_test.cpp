// Settings read at initialisation and handed to the trigger window, the menu and the task list.
#include "plugin/PlugMain.h"
#include "plugin/SettingsTable.h"
#include "taskmenu/AppMain.h"
#include "tests/support/Fixture.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/OutOfMemory.h"
#include "tests/support/SettingDefaults.h"
#include "ui/MenuTheme.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

namespace {

using testing_support::SettingText;

// What the form and its menu and task collection hold of each setting, keyed and written as in
// the settings file; an exclusion list shows only whether it leaves anything out.
std::map<std::string, std::string> FormSettings(const taskmenu::TMainForm& form) {
  const auto& menu = form.Menu();
  const auto& tasks = menu.Tasks();
  auto listText = [](const tasklist::ExcludeRules& rules) { return rules.Empty() ? "" : std::string("(patterns)"); };
  return {{"MenuFixPos", SettingText(form.MenuFixPos())},
          {"X_pos", SettingText(form.XPos())},
          {"Y_pos", SettingText(form.YPos())},
          {"Sort", SettingText(tasks.SortByExe())},
          {"VNE", SettingText(tasks.EditorMode())},
          {"SortTitle", SettingText(tasks.SortByCaption())},
          {"AutoHotKey", SettingText(menu.AcceleratorStyle())},
          {"WindowIcon", SettingText(tasks.WindowIcon())},
          {"Exclude", listText(tasks.Options().exclude)},
          {"ExcludeClass", listText(tasks.Options().excludeClass)},
          {"Preselect", SettingText(menu.Preselect())},
          {"CloseKey", SettingText(menu.CloseKey())},
          {"ActionMenu", SettingText(menu.ActionMenu())},
          {"Theme", SettingText(menu.Theme())},
          {"Find", SettingText(menu.Find())},
          {"Monitor", SettingText(menu.ThisMonitorOnly())}};
}

// The keys and values of the sample settings file as the source holds it; a section other than
// the settings' own is a failure.
std::map<std::string, std::string> SampleSettings() {
  std::ifstream file(testing_support::ProgramFolder() + "sample-settings.ini");
  std::map<std::string, std::string> keys;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      EXPECT_EQ(line, std::string("[") + plugin::kSettingsSection + "]");
      continue;
    }
    const size_t equals = line.find('=');
    keys[line.substr(0, equals)] = equals == std::string::npos ? "(no value)" : line.substr(equals + 1);
  }
  return keys;
}

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = testing_support::ProgramFolder() + "settings-test\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    plugin::PluginFileName = folder + "swivo_p.dll";
    ::DeleteFileA(IniPath().c_str());
  }
  void TearDown() override {
    ::DeleteFileA(IniPath().c_str());
    ::DeleteFileA(besideThisProgram.c_str());
  }

  std::string IniPath() const { return folder + "swivo_p.ini"; }

  // Where the form's menu opens, beside a window of ours so that it has an item.
  static RECT MenuRect(taskmenu::TMainForm& form) {
    base::unique_hwnd task(::CreateWindowExA(0, "STATIC", "settings task", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 400,
                                             100, 100, nullptr, nullptr, nullptr, nullptr));
    RECT menuRect{};
    testing_support::WhenMenuOpens([&](HWND open) {
      ::GetWindowRect(open, &menuRect);
      testing_support::PressInMenu(open, VK_ESCAPE);
    });
    ::SendMessageA(form.Handle(), WM_HOTKEY, taskmenu::kTriggerHotKeyId, 0);
    EXPECT_TRUE(testing_support::MenuActionRan());
    return menuRect;
  }
  void WriteIni(const std::string& text) const { std::ofstream(IniPath(), std::ios::binary) << text; }

  std::string folder;
  // The settings file of the module that holds LoadSettings, this test program.
  const std::string besideThisProgram = testing_support::ProgramFolder() + "settings_test.ini";
};

TEST_F(Settings, EveryValueReachesItsConsumer) {
  WriteIni(
      "[global]\r\nMenuFixPos=1\r\nX_pos=120\r\ny_pos=$82\r\nSort=1\r\n"
      "VNE=-1\r\nSortTitle=0\r\nAutoHotKey=2\r\nWindowIcon=$0\r\n"
      "Exclude= calc.exe ;Note*\r\nExcludeClass=Swivo*Class\r\nPreselect=0\r\nCloseKey=0\r\nTheme=$3\r\nFind=2\r\n"
      "Monitor=1\r\n");
  taskmenu::TMainForm form;
  plugin::LoadSettings(form);
  const auto& tasks = form.Menu().Tasks();
  EXPECT_TRUE(tasks.SortByExe());
  EXPECT_TRUE(tasks.EditorMode());
  EXPECT_FALSE(tasks.SortByCaption());
  EXPECT_FALSE(tasks.WindowIcon());
  EXPECT_TRUE(tasks.Options().exclude.Matches("notepad.exe"));
  EXPECT_FALSE(tasks.Options().exclude.Matches("settings_test.exe"));
  EXPECT_TRUE(tasks.Options().excludeClass.Matches("SwivoTestClass"));
  EXPECT_FALSE(form.Menu().Preselect());
  EXPECT_FALSE(form.Menu().CloseKey());
  EXPECT_TRUE(form.Menu().ThisMonitorOnly());
  EXPECT_EQ(form.Menu().FormatItemCaption("memo"), "memo (&a)");
  EXPECT_EQ(form.Menu().Theme(), ui::kThemeClassic);
  EXPECT_EQ(form.Menu().Find(), taskmenu::kFindByTyping);

  const RECT menuRect = MenuRect(form);
  EXPECT_EQ(menuRect.left, 120);
  // A menu taller than the room below the point is moved up to stay on the screen.
  if (menuRect.bottom - menuRect.top > ::GetSystemMetrics(SM_CYSCREEN) - 130) {
    GTEST_SKIP() << "the menu (" << menuRect.bottom - menuRect.top << " px) is too tall for its top to stay at 130";
  }
  EXPECT_EQ(menuRect.top, 130);
}

TEST_F(Settings, ABareOrEmptyFileNameReadsTheFileBesideOurModuleNotTheCurrentFolder) {
  std::ofstream(besideThisProgram, std::ios::binary) << "[GLOBAL]\r\nSort=1\r\nAutoHotKey=1\r\n";
  for (const char* name : {"swivo_p.dll", ""}) {  // the host's null pointer arrives as ""
    plugin::PluginFileName = name;
    taskmenu::TMainForm form;
    plugin::LoadSettings(form);
    EXPECT_TRUE(form.Menu().Tasks().SortByExe()) << "'" << name << "'";
    EXPECT_EQ(form.Menu().FormatItemCaption("memo"), "memo(&a)") << "'" << name << "'";
  }
}

TEST_F(Settings, TheSampleFileSetsEveryKeyOfTheTableToItsDefaultAndNoOtherKey) {
  EXPECT_EQ(SampleSettings(), testing_support::SettingDefaultsAsText());
}

TEST_F(Settings, AFreshFormHoldsTheTablesDefaults) {
  const taskmenu::TMainForm form;
  EXPECT_EQ(FormSettings(form), testing_support::SettingDefaultsAsText());
}

TEST_F(Settings, NoFileGivesTheDefaults) {
  taskmenu::TMainForm form;
  form.SetSort(true);
  form.SetXPos(20);
  plugin::LoadSettings(form);
  EXPECT_EQ(FormSettings(form), testing_support::SettingDefaultsAsText());
  EXPECT_EQ(form.Menu().FormatItemCaption("memo"), "memo");
}

TEST_F(Settings, RunningOutOfMemoryWhileReadingGivesTheDefaultsNotZeros) {
  WriteIni("[GLOBAL]\r\nX_pos=20\r\nY_pos=20\r\nSort=1\r\nSortTitle=0\r\n");
  taskmenu::TMainForm form;
  {
    testing_support::OutOfMemory starved;
    plugin::LoadSettings(form);
  }
  EXPECT_FALSE(form.Menu().Tasks().SortByExe());
  EXPECT_TRUE(form.Menu().Tasks().SortByCaption());
  // The fixed point is (100, 100), the defaults, not (0, 0).
  form.SetMenuFixPos(true);
  EXPECT_EQ(MenuRect(form).left, 100);
}

TEST_F(Settings, AFileHeldOpenForWritingGivesTheDefaultsAndAWorkingPlugin) {
  WriteIni("[GLOBAL]\r\nSort=1\r\nAutoHotKey=1\r\n");
  base::unique_file_handle writer(::CreateFileA(IniPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(writer);
  taskmenu::TMainForm form;
  plugin::LoadSettings(form);
  EXPECT_FALSE(form.Menu().Tasks().SortByExe());
  EXPECT_EQ(form.Menu().FormatItemCaption("memo"), "memo");

  plugin::Init(plugin::PluginFileName);
  EXPECT_TRUE(::FindWindowA("TSwivoMainForm", nullptr));
  plugin::Unload();
}

}  // namespace
