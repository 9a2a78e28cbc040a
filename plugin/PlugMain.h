// What the plug-in does when the host initialises it, runs its command and unloads it.
#pragma once

#include <string>

namespace taskmenu {
class TMainForm;
}

namespace plugin {

// The plug-in library's path as the host last passed it.
extern std::string PluginFileName;

void Init(const std::string& fileName);
void Execute(int commandId);
void Unload();

// Reads the settings file beside the library and hands each value of the settings table
// (SettingsTable.h) to the trigger window.
void LoadSettings(taskmenu::TMainForm& form);

}  // namespace plugin
