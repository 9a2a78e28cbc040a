// Across many popups, everything the menu creates is destroyed again: counted by replacing the
// creating and destroying functions in this program's import table.
#include "taskmenu/TaskMenu.h"
#include "tests/support/ImportPatch.h"
#include "tests/support/MenuDriver.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <shellapi.h>
#include <string>
#include <type_traits>
#include <vector>

using testing_support::ImportPatch;

namespace {

constexpr int kPopups = 500;

// Live handles per kind.
std::map<std::string, std::set<void*>> live;

// The patched slots lead to the counters; the real functions are reached through the addresses
// saved when patching.
decltype(&::CreateWindowExA) realCreateWindowExA;
decltype(&::DestroyWindow) realDestroyWindow;
decltype(&::CreatePopupMenu) realCreatePopupMenu;
decltype(&::DestroyMenu) realDestroyMenu;
decltype(&::ImageList_Create) realImageList_Create;
decltype(&::ImageList_Destroy) realImageList_Destroy;
decltype(&::SHGetFileInfoA) realSHGetFileInfoA;
decltype(&::DestroyIcon) realDestroyIcon;
decltype(&::CreateFontIndirectA) realCreateFontIndirectA;
decltype(&::DeleteObject) realDeleteObject;

void Created(const char* kind, void* handle) {
  if (handle) live[kind].insert(handle);
}
void Destroyed(const char* kind, void* handle) { live[kind].erase(handle); }

size_t Outstanding() {
  size_t count = 0;
  for (const auto& [kind, handles] : live) count += handles.size();
  return count;
}

std::string Describe() {
  std::string text;
  for (const auto& [kind, handles] : live) text += kind + ": " + std::to_string(handles.size()) + " ";
  return text;
}

HWND WINAPI CountCreateWindowExA(DWORD ex, LPCSTR cls, LPCSTR name, DWORD style, int x, int y, int w, int h,
                                 HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  HWND wnd = realCreateWindowExA(ex, cls, name, style, x, y, w, h, parent, menu, instance, param);
  Created("window", wnd);
  return wnd;
}
BOOL WINAPI CountDestroyWindow(HWND wnd) {
  Destroyed("window", wnd);
  return realDestroyWindow(wnd);
}
HMENU WINAPI CountCreatePopupMenu() {
  HMENU menu = realCreatePopupMenu();
  Created("menu", menu);
  return menu;
}
BOOL WINAPI CountDestroyMenu(HMENU menu) {
  Destroyed("menu", menu);
  return realDestroyMenu(menu);
}
HIMAGELIST WINAPI CountImageListCreate(int cx, int cy, UINT flags, int initial, int grow) {
  HIMAGELIST list = realImageList_Create(cx, cy, flags, initial, grow);
  Created("image list", list);
  return list;
}
BOOL WINAPI CountImageListDestroy(HIMAGELIST list) {
  Destroyed("image list", list);
  return realImageList_Destroy(list);
}
DWORD_PTR WINAPI CountSHGetFileInfoA(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags) {
  const DWORD_PTR result = realSHGetFileInfoA(path, attributes, info, size, flags);
  if (result && (flags & SHGFI_ICON)) Created("icon", info->hIcon);
  return result;
}
BOOL WINAPI CountDestroyIcon(HICON icon) {
  Destroyed("icon", icon);
  return realDestroyIcon(icon);
}
HFONT WINAPI CountCreateFontIndirectA(const LOGFONTA* font) {
  HFONT handle = realCreateFontIndirectA(font);
  Created("font", handle);
  return handle;
}
BOOL WINAPI CountDeleteObject(HGDIOBJ object) {
  Destroyed("font", object);
  return realDeleteObject(object);
}

TEST(MenuLeaks, EverythingAMenuCreatesAcrossManyPopupsIsDestroyed) {
  const HMODULE self = ::GetModuleHandleA(nullptr);
  std::vector<std::unique_ptr<ImportPatch>> patches;
  auto patch = [&](const char* dll, const char* function, auto& real, auto replacement) {
    patches.push_back(std::make_unique<ImportPatch>(self, dll, function, reinterpret_cast<void*>(replacement)));
    ASSERT_TRUE(patches.back()->Original()) << function;
    real = reinterpret_cast<std::remove_reference_t<decltype(real)>>(patches.back()->Original());
  };
  patch("user32.dll", "CreateWindowExA", realCreateWindowExA, &CountCreateWindowExA);
  patch("user32.dll", "DestroyWindow", realDestroyWindow, &CountDestroyWindow);
  patch("user32.dll", "CreatePopupMenu", realCreatePopupMenu, &CountCreatePopupMenu);
  patch("user32.dll", "DestroyMenu", realDestroyMenu, &CountDestroyMenu);
  patch("comctl32.dll", "ImageList_Create", realImageList_Create, &CountImageListCreate);
  patch("comctl32.dll", "ImageList_Destroy", realImageList_Destroy, &CountImageListDestroy);
  patch("shell32.dll", "SHGetFileInfoA", realSHGetFileInfoA, &CountSHGetFileInfoA);
  patch("user32.dll", "DestroyIcon", realDestroyIcon, &CountDestroyIcon);
  patch("gdi32.dll", "CreateFontIndirectA", realCreateFontIndirectA, &CountCreateFontIndirectA);
  patch("gdi32.dll", "DeleteObject", realDeleteObject, &CountDeleteObject);

  // A window of ours without a class icon, so that every popup also makes a shell icon.
  ui::unique_hwnd window(realCreateWindowExA(0, "STATIC", "menu leak test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                           100, 100, nullptr, nullptr, nullptr, nullptr));
  {
    taskmenu::TTaskPopupMenu menu;
    size_t afterFirst = 0;
    int shown = 0;
    for (int i = 0; i < kPopups; ++i) {
      testing_support::WhenMenuOpens([](HWND open) { testing_support::PressInMenu(open, VK_ESCAPE); });
      menu.PopupTasks(10, 10);
      shown += testing_support::MenuActionRan();
      if (i == 0) afterFirst = Outstanding();
    }
    EXPECT_EQ(shown, kPopups);
    EXPECT_GT(live["icon"].size() + live["image list"].size(), 0u) << "nothing was counted";
    EXPECT_EQ(Outstanding(), afterFirst) << "handles accumulate across popups: " << Describe();
  }
  window.reset();
  EXPECT_EQ(Outstanding(), 0u) << Describe();
}

}  // namespace
