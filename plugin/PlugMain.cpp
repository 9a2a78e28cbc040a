#include "plugin/PlugMain.h"

#include "base/Module.h"
#include "plugin/IniFile.h"
#include "plugin/LibraryPath.h"
#include "plugin/SettingsFileName.h"
#include "taskmenu/AppMain.h"
#include "ui/DispatchScope.h"
#include "ui/MenuTheme.h"

#include <memory>

namespace plugin {
namespace {

constexpr int kCommandTaskList = 0;

std::unique_ptr<taskmenu::TMainForm> MainForm;

// The settings beside the library, or none when the file exists but cannot be read or memory
// runs out while it is read.
std::unique_ptr<IniFile> OpenSettings() {
  try {
    return std::make_unique<IniFile>(SettingsFileName(LibraryPath(PluginFileName)));
  } catch (const std::exception&) {
    return nullptr;
  }
}

// The host may unload or re-initialise us from a message that our own menu or dispatching hands
// it: the old trigger window then goes only after our handlers on the stack have returned.
void RetireMainForm() {
  if (!MainForm) return;
  MainForm->Retire();
  ui::ReleaseWhenIdle(std::move(MainForm));
}

}  // namespace

std::string PluginFileName;

void Init(const std::string& fileName) {
  PluginFileName = fileName;
  // A second Init without Unload replaces the trigger window instead of leaking it.
  RetireMainForm();
  MainForm = std::make_unique<taskmenu::TMainForm>();
  LoadSettings(*MainForm);
}

void Execute(int commandId) {
  if (commandId != kCommandTaskList || !MainForm) return;
  ::PostMessageA(MainForm->Handle(), WM_HOTKEY, taskmenu::kTriggerHotKeyId, 0);
}

void Unload() {
  // The host frees the library right after this. Our frames under the host's call (the menu's
  // loop, our dispatching) must still return into mapped code, and nothing of ours can free the
  // library after the last of them, so it stays loaded until the process ends.
  if (ui::InDispatch()) base::KeepThisModuleLoaded();
  RetireMainForm();
}

void LoadSettings(taskmenu::TMainForm& form) {
  // A settings file that cannot be read (another program holds it open for writing, say) leaves
  // the defaults: the plug-in needs only valid values, and the defaults are.
  // A lookup that runs out of memory gives the default too.
  const std::unique_ptr<IniFile> ini = OpenSettings();
  constexpr char kSection[] = "GLOBAL";
  auto read = [&](auto lookup, auto fallback) {
    try {
      return ini ? lookup(*ini) : fallback;
    } catch (const std::exception&) {
      return fallback;
    }
  };
  auto readBool = [&](const char* key, bool fallback) {
    return read([&](const IniFile& file) { return file.ReadBool(kSection, key, fallback); }, fallback);
  };
  auto readInteger = [&](const char* key, int32_t fallback) {
    return read([&](const IniFile& file) { return file.ReadInteger(kSection, key, fallback); }, fallback);
  };
  auto readString = [&](const char* key, const std::string& fallback) {
    return read([&](const IniFile& file) { return file.ReadString(kSection, key, fallback); }, fallback);
  };
  // Each value is handed on as soon as it is read, in this order.
  form.SetMenuFixPos(readBool("MenuFixPos", false));
  form.SetXPos(readInteger("X_pos", 100));
  form.SetYPos(readInteger("Y_pos", 100));
  form.SetSort(readBool("Sort", false));
  form.SetVNE(readBool("VNE", false));
  form.SetSortTitle(readBool("SortTitle", true));
  form.SetAutoHotKey(readInteger("AutoHotKey", 0));
  form.SetWindowIcon(readBool("WindowIcon", true));
  form.SetExclude(readString("Exclude", ""));
  form.SetExcludeClass(readString("ExcludeClass", ""));
  form.SetPreselect(readBool("Preselect", true));
  form.SetCloseKey(readBool("CloseKey", true));
  form.SetTheme(readInteger("Theme", ui::kThemeFollowWindows));
}

}  // namespace plugin
