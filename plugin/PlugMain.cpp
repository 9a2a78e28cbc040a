#include "plugin/PlugMain.h"

#include "base/Module.h"
#include "plugin/IniFile.h"
#include "plugin/LibraryPath.h"
#include "plugin/SettingsFileName.h"
#include "plugin/SettingsTable.h"
#include "taskmenu/AppMain.h"
#include "ui/DispatchScope.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

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

// One setting's value in the file, by its kind.
bool Read(const IniFile& ini, std::string_view key, bool fallback) {
  return ini.ReadBool(kSettingsSection, key, fallback);
}
int32_t Read(const IniFile& ini, std::string_view key, int32_t fallback) {
  return ini.ReadInteger(kSettingsSection, key, fallback);
}
std::string Read(const IniFile& ini, std::string_view key, std::string_view fallback) {
  return ini.ReadString(kSettingsSection, key, std::string(fallback));
}

// The setting's value, or its default without a file or when the lookup runs out of memory.
template <typename Row>
auto ReadOrDefault(const IniFile* ini, const Row& setting) {
  using Value = decltype(Read(*ini, setting.key, setting.defaultValue));
  try {
    if (ini) return Read(*ini, setting.key, setting.defaultValue);
  } catch (const std::exception&) {
  }
  return Value(setting.defaultValue);
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
  const std::unique_ptr<IniFile> ini = OpenSettings();
  // Each value is handed on as soon as it is read, in the table's order.
  ForEachSetting([&](const auto& setting) { setting.apply(form, ReadOrDefault(ini.get(), setting)); });
}

}  // namespace plugin
