// Libraries the task list loads at run time come from the system folder, never from beside the
// program that hosts it. A marker named dwmapi.dll lies beside this test program (tests/marker).
#include "base/SystemLibrary.h"
#include "tasklist/TaskRefresh.h"
#include "tests/support/CloakStandIn.h"
#include "tests/support/ImportPatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr char kMarkerLoaded[] = "SwivoMarkerLoaded_dwmapi";  // set by the marker when loaded

bool MarkerLoaded() { return ::GetEnvironmentVariableA(kMarkerLoaded, nullptr, 0) != 0; }

TEST(SystemLibrary, ARefreshNeverLoadsTheMarkerBesideTheProgram) {
  base::unique_hwnd window(::CreateWindowExA(0, "STATIC", "system library test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                             100, 100, nullptr, nullptr, nullptr, nullptr));
  testing_support::CloakStandIn cloaking;
  tasklist::TWinInfos tasks;
  tasklist::Refresh(tasks);
  ASSERT_EQ(cloaking.Queries(window.get()), 1) << "the window was not asked about cloaking";
  EXPECT_FALSE(MarkerLoaded());
  // By its bare name the marker is what loads, and its mark shows.
  base::unique_hmodule bare(::LoadLibraryA("dwmapi.dll"));
  EXPECT_TRUE(MarkerLoaded());
  ::SetEnvironmentVariableA(kMarkerLoaded, nullptr);
}

decltype(&::LoadLibraryExA) realLoadLibraryExA;
std::vector<std::string> loadedNames;

HMODULE WINAPI RefuseSearchFlags(LPCSTR name, HANDLE file, DWORD flags) {
  if (flags & LOAD_LIBRARY_SEARCH_SYSTEM32) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  loadedNames.push_back(name);
  return realLoadLibraryExA(name, file, flags);
}

TEST(SystemLibrary, WhereTheSearchFlagIsRefusedTheLibraryIsLoadedByItsFullSystemPath) {
  testing_support::ImportPatch patch(::GetModuleHandleA(nullptr), "kernel32.dll", "LoadLibraryExA",
                                     reinterpret_cast<void*>(&RefuseSearchFlags));
  ASSERT_TRUE(patch.Original());
  realLoadLibraryExA = reinterpret_cast<decltype(realLoadLibraryExA)>(patch.Original());
  loadedNames.clear();
  char folder[MAX_PATH] = {};
  ASSERT_GT(::GetSystemDirectoryA(folder, MAX_PATH), 0u);
  EXPECT_TRUE(base::LoadSystemLibrary("dwmapi.dll"));
  EXPECT_EQ(loadedNames, std::vector<std::string>{std::string(folder) + "\\dwmapi.dll"});
  EXPECT_FALSE(MarkerLoaded());
}

}  // namespace
