// Settings read at initialisation and handed to the trigger window, the menu and the task list.
#include "plugin/PlugMain.h"
#include "taskmenu/AppMain.h"
#include "tests/support/Fixture.h"
#include "tests/support/MenuDriver.h"
#include "tests/support/OutOfMemory.h"
#include "ui/MenuTheme.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

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
  WriteIni("[global]\r\nMenuFixPos=1\r\nX_pos=120\r\ny_pos=$82\r\nSort=1\r\nVNE=-1\r\nSortTitle=0\r\nAutoHotKey=2\r\nWindowIcon=$0\r\n"
           "Exclude= calc.exe ;Note*\r\nExcludeClass=Swivo*Class\r\nPreselect=0\r\nCloseKey=0\r\nTheme=$3\r\n");
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
  EXPECT_EQ(form.Menu().FormatItemCaption("memo"), "memo (&a)");
  EXPECT_EQ(form.Menu().Theme(), ui::kThemeClassic);

  const RECT menuRect = MenuRect(form);
  EXPECT_EQ(menuRect.left, 120);
  // A menu taller than the room below the point is moved up to stay on the screen.
  if (menuRect.bottom - menuRect.top <= ::GetSystemMetrics(SM_CYSCREEN) - 130) {
    EXPECT_EQ(menuRect.top, 130);
  }
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

TEST_F(Settings, NoFileGivesTheDefaults) {
  taskmenu::TMainForm form;
  plugin::LoadSettings(form);
  EXPECT_FALSE(form.Menu().Tasks().SortByExe());
  EXPECT_FALSE(form.Menu().Tasks().EditorMode());
  EXPECT_TRUE(form.Menu().Tasks().SortByCaption());
  EXPECT_TRUE(form.Menu().Tasks().WindowIcon());
  EXPECT_TRUE(form.Menu().Tasks().Options().exclude.Empty());
  EXPECT_TRUE(form.Menu().Tasks().Options().excludeClass.Empty());
  EXPECT_TRUE(form.Menu().Preselect());
  EXPECT_TRUE(form.Menu().CloseKey());
  EXPECT_EQ(form.Menu().FormatItemCaption("memo"), "memo");
  EXPECT_EQ(form.Menu().Theme(), ui::kThemeFollowWindows);
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
  base::unique_file_handle writer(::CreateFileA(
      IniPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
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
