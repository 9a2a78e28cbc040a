// The real plug-in DLL loaded the way the host loads it: exports, records, lifecycle.
#include "tests/support/Fixture.h"
#include "tests/support/PluginLibrary.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const std::string kDisplayName = "\x83^\x83X\x83N\x90\xd8\x91\xd6";
const std::string kCommandCaption = "\x83^\x83X\x83N\x88\xea\x97\x97\x83\x81\x83j\x83\x85\x81[";

// The test sees the library's exports as its own members.
class PluginDll : public ::testing::Test, public testing_support::PluginLibrary {
 protected:
  void SetUp() override { ASSERT_TRUE(Loaded()) << path; }
  void TearDown() override {
    if (unload) unload();
  }

  HWND TriggerWindow() const { return ::FindWindowA("TSwivoMainForm", nullptr); }

  int QueuedTriggers() const {
    int count = 0;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) {
      count += msg.wParam == 0x4321 && msg.lParam == 0 && msg.hwnd == TriggerWindow();
    }
    return count;
  }
};

TEST_F(PluginDll, ExportsTheSixFunctionsByNameAndOrdinal) {
  const char* names[] = {"MVREvent_WindowsHook", "MVREvent_Execute",        "MVREvent_Unload",
                         "MVREvent_Init",        "MVREvent_FreePluginInfo", "MVREvent_InitPluginInfo"};
  for (int ordinal = 1; ordinal <= 6; ++ordinal) {
    const FARPROC byName = ::GetProcAddress(Module(), names[ordinal - 1]);
    EXPECT_TRUE(byName) << names[ordinal - 1];
    EXPECT_EQ(reinterpret_cast<void*>(::GetProcAddress(Module(), MAKEINTRESOURCEA(ordinal))),
              reinterpret_cast<void*>(byName))
        << "ordinal " << ordinal;
  }
}

#if defined(__i386__)
// Calls `function` with `slots` 32-bit arguments pushed and returns how far the stack pointer
// moved over the call: 0 when the callee removed its own arguments.
int StackDrift(void* function, int slots) {
  int drift = 0;
  asm volatile(
      "movl %%esp, %%esi\n\t"
      "movl %2, %%ecx\n\t"
      "1: testl %%ecx, %%ecx\n\t"
      "jz 2f\n\t"
      "pushl $0\n\t"
      "decl %%ecx\n\t"
      "jmp 1b\n\t"
      "2: call *%1\n\t"
      "movl %%esi, %%eax\n\t"
      "subl %%esp, %%eax\n\t"
      "movl %%esi, %%esp\n\t"
      "movl %%eax, %0\n\t"
      : "=m"(drift)
      : "r"(function), "r"(slots)
      : "eax", "ecx", "edx", "esi", "memory", "cc");
  return drift;
}

TEST_F(PluginDll, EachExportRemovesItsOwnArguments) {
  // Unload (no arguments), WindowsHook (12 bytes), Execute with command 0 before Init (8 bytes).
  EXPECT_EQ(StackDrift(reinterpret_cast<void*>(unload), 0), 0);
  EXPECT_EQ(StackDrift(reinterpret_cast<void*>(windowsHook), 3), 0);
  EXPECT_EQ(StackDrift(reinterpret_cast<void*>(execute), 2), 0);
  // FreePluginInfo(nullptr) (4 bytes).
  EXPECT_EQ(StackDrift(reinterpret_cast<void*>(freePluginInfo), 1), 0);
}
#endif

TEST_F(PluginDll, InformationRecordByteForByte) {
  plugin::PluginInfo* info = initPluginInfo(path.c_str());
  ASSERT_TRUE(info);
  const auto* bytes = reinterpret_cast<const unsigned char*>(info);
  EXPECT_EQ(bytes[0] | bytes[1], 0);
  EXPECT_EQ(std::string(info->Name), kDisplayName);
  EXPECT_EQ(std::string(info->FileName), path);
  EXPECT_EQ(info->HostWord2, 0);
  EXPECT_EQ(info->VersionMS, 0x00010000u);
  EXPECT_EQ(info->VersionLS, 0x000B0023u);
  EXPECT_EQ(info->CommandCount, 1);
  EXPECT_EQ(info->HostValue, 0u);
  const plugin::PluginCommandInfo& command = info->Commands[0];
  EXPECT_STREQ(command.Name, "CommandTaskList");
  EXPECT_EQ(std::string(command.Caption), kCommandCaption);
  const int32_t expectedInts[] = {0, 0, -1, 4, 0, 0};
  EXPECT_EQ(std::memcmp(&command.HostInt1, expectedInts, sizeof(expectedInts)), 0);
  if (sizeof(void*) == 4) {
    // The host's offsets: Name at 2, FileName at 6, VersionMS at 12, Commands at 24.
    uint32_t name = 0, fileName = 0, commands = 0;
    std::memcpy(&name, bytes + 2, 4);
    std::memcpy(&fileName, bytes + 6, 4);
    std::memcpy(&commands, bytes + 24, 4);
    EXPECT_EQ(name, reinterpret_cast<uintptr_t>(info->Name));
    EXPECT_EQ(fileName, reinterpret_cast<uintptr_t>(info->FileName));
    EXPECT_EQ(commands, reinterpret_cast<uintptr_t>(info->Commands));
  }
  freePluginInfo(info);
}

TEST_F(PluginDll, RecordsShareNoBlockAndTheVersionIsTheLibrarysOrZero) {
  plugin::PluginInfo* first = initPluginInfo(path.c_str());
  plugin::PluginInfo* empty = initPluginInfo("");
  plugin::PluginInfo* unversioned = initPluginInfo(testing_support::FixturePath().c_str());
  plugin::PluginInfo* none = initPluginInfo(nullptr);
  ASSERT_TRUE(first && empty && unversioned && none);
  EXPECT_NE(first->Name, empty->Name);
  EXPECT_NE(first->Commands, empty->Commands);
  EXPECT_NE(first->Commands[0].Caption, empty->Commands[0].Caption);
  EXPECT_STREQ(empty->FileName, "");
  EXPECT_STREQ(none->FileName, "");
  EXPECT_EQ(unversioned->VersionMS | unversioned->VersionLS, 0u);
  // A name that is no full path gives the version of the library itself.
  plugin::PluginInfo* bare = initPluginInfo("swivo_p.dll");
  ASSERT_TRUE(bare);
  for (const plugin::PluginInfo* own : {empty, none, bare}) {
    EXPECT_EQ(own->VersionMS, 0x00010000u) << own->FileName;
    EXPECT_EQ(own->VersionLS, 0x000B0023u) << own->FileName;
  }
  EXPECT_STREQ(bare->FileName, "swivo_p.dll");
  freePluginInfo(bare);
  freePluginInfo(empty);
  EXPECT_EQ(std::string(first->Name), kDisplayName) << "freeing one record touched the other";
  freePluginInfo(first);
  freePluginInfo(unversioned);
  freePluginInfo(none);
  freePluginInfo(nullptr);
}

TEST_F(PluginDll, LifecycleFromInitToUnloadAndAgain) {
  EXPECT_EQ(execute(0, nullptr), -1) << "Execute before Init";
  EXPECT_EQ(QueuedTriggers(), 0);
  unload();

  EXPECT_EQ(init(path.c_str(), 42), -1);
  const HWND trigger = TriggerWindow();
  ASSERT_TRUE(trigger);
  EXPECT_FALSE(::IsWindowVisible(trigger));

  EXPECT_EQ(execute(1, nullptr), -1);
  EXPECT_EQ(execute(-1, nullptr), -1);
  EXPECT_EQ(QueuedTriggers(), 0);
  EXPECT_EQ(execute(0, nullptr), -1);
  EXPECT_EQ(QueuedTriggers(), 1);
  EXPECT_EQ(execute(0, nullptr), -1);
  EXPECT_EQ(execute(0, nullptr), -1);
  EXPECT_EQ(QueuedTriggers(), 2);
  windowsHook(WM_KEYDOWN, 1, 2);

  unload();
  EXPECT_FALSE(::IsWindow(trigger));
  unload();
  EXPECT_EQ(init(path.c_str(), 0), -1);
  EXPECT_TRUE(TriggerWindow());
  EXPECT_EQ(init(path.c_str(), 0), -1) << "a second Init replaces the trigger window";
  EXPECT_TRUE(TriggerWindow());
  unload();
  EXPECT_FALSE(TriggerWindow());
}

}  // namespace
