#include "WhyListed.h"

#include "base/WideText.h"
#include "tasklist/StoreApps.h"
#include "tasklist/Switchability.h"

#include <cstdint>
#include <cstdio>

namespace {

using tasklist::Exclusion;
using tasklist::ExclusionText;

std::string Handle(HWND wnd) {
  char text[32];
  std::snprintf(text, sizeof(text), "%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(wnd)));
  return text;
}

const tasklist::TWinInfo* EntryActivating(const tasklist::TWinInfos& tasks, HWND wnd) {
  for (int i = 0; i < tasks.Count(); ++i) {
    if (tasks.Items(i).Wnd == wnd) return &tasks.Items(i);
  }
  return nullptr;
}

// The app a store app's frame stands for: its executable and its identity (AppUserModelID).
std::string StoreAppText(const tasklist::TWinInfo& entry) {
  const std::string id = entry.AppId.empty() ? "unknown" : base::NarrowToAnsi(entry.AppId);
  return "task: store app " + entry.ExeName + ", identity " + id;
}

}  // namespace

std::string WhyListed(HWND wnd, const tasklist::TWinInfos& tasks, const tasklist::TWinInfos& unexcluded,
                      tasklist::WindowSnapshot& windows) {
  const HWND root = windows.TopmostOwner(wnd) ? windows.TopmostOwner(wnd) : wnd;
  if (!tasks.FindByRoot(root) && unexcluded.FindByRoot(root)) return "excluded by settings";
  if (const tasklist::TWinInfo* entry = EntryActivating(tasks, wnd)) {
    if (entry->RootWnd != wnd) return "activated for the task of " + Handle(entry->RootWnd);
    if (tasklist::IsGhost(wnd, windows)) return "task: a ghost standing for its hung window, which is not listed";
    if (windows.ClassName(wnd) == tasklist::kFrameClassName) return StoreAppText(*entry);
    return "task";
  }
  if (const tasklist::TWinInfo* entry = tasks.FindByRoot(wnd)) {
    return "root of a task that activates " + Handle(entry->Wnd) + ", itself " +
           ExclusionText(tasklist::UsabilityOf(wnd, windows));
  }
  const HWND owner = windows.TopmostOwner(wnd);
  if (owner) {
    if (const tasklist::TWinInfo* entry = tasks.FindByRoot(owner)) {
      const Exclusion exclusion = tasklist::UsabilityOf(wnd, windows);
      if (exclusion != Exclusion::kNone) return std::string("owned, ") + ExclusionText(exclusion);
      return "owned; its task activates " + Handle(entry->Wnd) + " instead";
    }
    return "owned by " + Handle(owner) + ", which gives no task";
  }
  if (windows.HasOwnerOrParent(wnd)) return "has a parent";
  if (windows.IsToolWindow(wnd)) return ExclusionText(Exclusion::kToolWindow);
  const Exclusion switchExclusion = windows.SwitchExclusion(wnd);
  if (switchExclusion != Exclusion::kNone) return ExclusionText(switchExclusion);
  return std::string(ExclusionText(tasklist::UsabilityOf(wnd, windows))) + ", and owns no usable window";
}
