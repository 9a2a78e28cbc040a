// What the shell knows of a store app by its identity (the AppUserModelID of its frame window):
// the identity itself, and the app's image as the Start menu shows it. Made at the first frame
// Made and used on the plug-in's own thread (AppIdentityThread) only, never on the host's: it
// loads shell32 from the system folder, looks up its functions at run time (Windows 7 brought
// them) and makes the thread a COM apartment while it lives. Every failure reads as no identity
// or no image.
#pragma once

#include "base/ComScope.h"
#include "base/Handle.h"
#include "tasklist/TaskIcon.h"

#include <windows.h>

#include <string>

namespace tasklist {

class AppIdentity {
 public:
  AppIdentity();
  AppIdentity(const AppIdentity&) = delete;
  AppIdentity& operator=(const AppIdentity&) = delete;

  // The window's AppUserModelID; empty when it has none.
  std::wstring IdOf(HWND wnd) const;
  // The app's image as a `size` x `size` icon; empty when the shell has none.
  TaskIcon ImageOf(const std::wstring& appId, int size) const;

 private:
  using PropertyStoreForWindowFn = HRESULT(WINAPI*)(HWND, REFIID, void**);
  using ItemInKnownFolderFn = HRESULT(WINAPI*)(REFGUID, DWORD, PCWSTR, REFIID, void**);

  base::ComScope com_;
  base::unique_hmodule shell32_;
  PropertyStoreForWindowFn propertyStoreForWindow_ = nullptr;
  ItemInKnownFolderFn itemInKnownFolder_ = nullptr;
};

}  // namespace tasklist
