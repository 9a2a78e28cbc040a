// Every setting of the settings file, declared once: its key as written in the file, its default
// and how the value reaches the trigger window. The defaults are the classes' own, so a missing
// key and a fresh trigger window agree. Free of the platform, so that the fuzz target reads the
// same keys: a row's `apply` is generic and compiled only where it is called.
#pragma once

#include "taskmenu/MenuSettings.h"
#include "tasklist/TaskListOptions.h"
#include "ui/ThemeSetting.h"

#include <cstdint>
#include <string_view>
#include <tuple>

namespace plugin {

inline constexpr char kSettingsSection[] = "GLOBAL";

// Value is the kind of the setting: bool (a switch), int32_t (a number) or std::string_view
// (text). `apply(form, value)` hands a value of that kind, or a std::string for text, to the form.
template <typename Value, typename Apply>
struct Setting {
  std::string_view key;
  Value defaultValue;
  Apply apply;
};
template <typename Value, typename Apply>
Setting(const char*, Value, Apply) -> Setting<Value, Apply>;

// Read and handed on in this order, one value at a time, as the host's initialisation always did:
// the menu's setters reach the task collection, and each takes effect before the next is read.
inline constexpr std::tuple kSettings{
    Setting{"MenuFixPos", taskmenu::kDefaultMenuFixPos, [](auto& form, bool value) { form.SetMenuFixPos(value); }},
    Setting{"X_pos", int32_t{taskmenu::kDefaultFixedX}, [](auto& form, int32_t value) { form.SetXPos(value); }},
    Setting{"Y_pos", int32_t{taskmenu::kDefaultFixedY}, [](auto& form, int32_t value) { form.SetYPos(value); }},
    Setting{"Sort", tasklist::kDefaultSortByExe, [](auto& form, bool value) { form.SetSort(value); }},
    Setting{"VNE", tasklist::kDefaultEditorMode, [](auto& form, bool value) { form.SetVNE(value); }},
    Setting{"SortTitle", tasklist::kDefaultSortByCaption, [](auto& form, bool value) { form.SetSortTitle(value); }},
    Setting{"AutoHotKey", int32_t{taskmenu::kDefaultAcceleratorStyle},
            [](auto& form, int32_t value) { form.SetAutoHotKey(value); }},
    Setting{"WindowIcon", tasklist::kDefaultWindowIcon, [](auto& form, bool value) { form.SetWindowIcon(value); }},
    Setting{"Exclude", tasklist::kDefaultExcludeList, [](auto& form, const auto& list) { form.SetExclude(list); }},
    Setting{"ExcludeClass", tasklist::kDefaultExcludeList,
            [](auto& form, const auto& list) { form.SetExcludeClass(list); }},
    Setting{"Preselect", taskmenu::kDefaultPreselect, [](auto& form, bool value) { form.SetPreselect(value); }},
    Setting{"CloseKey", taskmenu::kDefaultCloseKey, [](auto& form, bool value) { form.SetCloseKey(value); }},
    Setting{"ActionMenu", taskmenu::kDefaultActionMenu, [](auto& form, bool value) { form.SetActionMenu(value); }},
    Setting{"Theme", int32_t{ui::kDefaultTheme}, [](auto& form, int32_t value) { form.SetTheme(value); }},
    Setting{"Find", int32_t{taskmenu::kDefaultFind}, [](auto& form, int32_t value) { form.SetFind(value); }},
    Setting{"Monitor", taskmenu::kDefaultThisMonitorOnly, [](auto& form, bool value) { form.SetMonitor(value); }},
};

// Calls `visit(setting)` for every row, in the table's order.
template <typename Visit>
void ForEachSetting(Visit&& visit) {
  std::apply([&](const auto&... setting) { (visit(setting), ...); }, kSettings);
}

}  // namespace plugin
