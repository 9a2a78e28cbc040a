// Soak run of the real plug-in in a stand-in host: many trigger–dismiss and trigger–choose cycles,
// each a posted trigger that opens the menu inside this process's message loop, closed from a
// timer with Esc or by typing the first letter of a window of ours. Every window, menu, icon,
// image list, GDI object (font or brush), device context, library, process handle and snapshot
// that the plug-in creates and destroys is counted through its import table, and so are the
// images its menu adds to its image list; the host's private memory is read at the start and the end.
//
//   swivo-soak [--dismiss N] [--choose M]     (defaults 10000 and 1000)
//
// Exit code 0 when no handle is outstanding after the plug-in is unloaded, nothing foreign was
// destroyed, every menu opened, every choice activated our window, no image was added after the
// first cycle (the desktop stays the same), and private memory at the end is within 1 MiB of the
// start (after the first cycle, which loads what the system loads once).
#include "base/Module.h"
#include "bench/Measure.h"
#include "bench/PrivateMemory.h"
#include "tests/support/Fixture.h"
#include "tests/support/HandleLedger.h"
#include "tests/support/ImportPatch.h"
#include "ui/WindowClass.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <commctrl.h>

#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

namespace {

using InitFn = BOOL(WINAPI*)(const char*, DWORD);
using UnloadFn = void(WINAPI*)();
using ExecuteFn = BOOL(WINAPI*)(int, HWND);

constexpr SIZE_T kMemoryTolerance = 1 << 20;
// No other window's caption starts with it, so typing it chooses our window at once.
constexpr char kTargetKey = '~';
constexpr char kTargetCaption[] = "~ swivo soak target";
// In the foreground before every cycle, so that a dismissed menu gives the foreground back to it
// and only a real choice activates the target.
constexpr char kAnchorCaption[] = "swivo soak anchor";
constexpr char kWindowClass[] = "SwivoSoakWindow";
constexpr char kMenuWindowClass[] = "#32768";
constexpr UINT kMenuPollMs = 15;

int imagesAdded = 0;
decltype(&::ImageList_ReplaceIcon) realReplaceIcon;
int WINAPI CountAddedImages(HIMAGELIST images, int index, HICON icon) {
  if (index < 0) ++imagesAdded;
  return realReplaceIcon(images, index, icon);
}

HWND target = nullptr;
long long targetActivations = 0;

LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && wnd == target) ++targetActivations;
  return ::DefWindowProcA(wnd, msg, wParam, lParam);
}

base::unique_hwnd OpenWindow(const char* caption, int y) {
  ui::RegisterWindowClass(kWindowClass, &WindowProc);
  return base::unique_hwnd(::CreateWindowExA(0, kWindowClass, caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, y, 300,
                                           120, nullptr, nullptr, base::ThisModule(), nullptr));
}

// Other programs on this desktop may have menus open too, so only our thread's menu is driven.
BOOL CALLBACK FindOwnMenu(HWND wnd, LPARAM found) {
  char name[16] = {};
  if (!::GetClassNameA(wnd, name, sizeof(name)) || std::strcmp(name, kMenuWindowClass) || !::IsWindowVisible(wnd)) {
    return TRUE;
  }
  *reinterpret_cast<HWND*>(found) = wnd;
  return FALSE;
}

std::function<void(HWND)> menuAction;
bool menuActionRan = false;

void CALLBACK PollMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menu = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), &FindOwnMenu, reinterpret_cast<LPARAM>(&menu));
  if (!menu || menuActionRan) return;
  menuActionRan = true;
  ::KillTimer(nullptr, timer);
  menuAction(menu);
}

template <typename Function>
Function Export(HMODULE module, const char* name) {
  auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
  if (!function) throw std::runtime_error(std::string("the plug-in does not export ") + name);
  return function;
}

// One cycle: the trigger is posted, and dispatching it runs the whole menu (and, after a choice,
// the activation) before the queue is empty again. Returns whether the menu opened.
bool Cycle(ExecuteFn execute, HWND anchor, const std::function<void(HWND)>& closeMenu) {
  ::SetForegroundWindow(anchor);
  menuAction = closeMenu;
  menuActionRan = false;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, kMenuPollMs, &PollMenu);
  execute(0, nullptr);
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  if (!menuActionRan) ::KillTimer(nullptr, timer);
  return menuActionRan;
}

double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / (1 << 20); }

void PrintMemory(const char* when, const bench::PrivateMemory& memory) {
  std::printf("  %-26s PrivateUsage %9.2f MiB   committed private %9.2f MiB\n", when, MiB(memory.privateUsage),
              MiB(memory.committedPrivate));
}

void PrintTallies(const char* when, const testing_support::HandleLedger& ledger) {
  std::printf("handles %s:\n  %-14s %9s %9s %8s %12s\n", when, "kind", "created", "destroyed", "foreign",
              "outstanding");
  for (const auto& [kind, tally] : ledger.Tallies()) {
    std::printf("  %-14s %9lld %9lld %8lld %12u\n", kind.c_str(), tally.created, tally.destroyed, tally.foreign,
                static_cast<unsigned>(tally.outstanding));
  }
}

struct Run {
  int cycles;
  std::function<void(HWND)> closeMenu;
  const char* name;
  bool choosesTarget;
};

int Soak(int dismissCycles, int chooseCycles) {
  const std::string path = testing_support::ProgramFolder() + "swivo_p.dll";
  base::unique_hmodule library(::LoadLibraryA(path.c_str()));
  if (!library) throw std::runtime_error("cannot load " + path);
  const auto init = Export<InitFn>(library.get(), "MVREvent_Init");
  const auto unload = Export<UnloadFn>(library.get(), "MVREvent_Unload");
  const auto execute = Export<ExecuteFn>(library.get(), "MVREvent_Execute");

  bool passed = true;
  {
    testing_support::HandleLedger ledger(library.get());
    const testing_support::ImportPatch images(library.get(), "comctl32.dll", "ImageList_ReplaceIcon",
                                              reinterpret_cast<void*>(&CountAddedImages));
    realReplaceIcon = reinterpret_cast<decltype(realReplaceIcon)>(images.Original());
    if (!realReplaceIcon) throw std::runtime_error("cannot count the menu's images");
    int imagesAtStart = 0;
    const base::unique_hwnd targetWindow = OpenWindow(kTargetCaption, 60);
    target = targetWindow.get();
    const base::unique_hwnd anchor = OpenWindow(kAnchorCaption, 200);
    init(path.c_str(), 0);
    const bench::PrivateMemory afterInit = bench::ReadPrivateMemory();
    bench::PrivateMemory start{};
    const Run runs[] = {
        {dismissCycles, [](HWND menu) { ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0); }, "trigger-dismiss", false},
        {chooseCycles, [](HWND menu) { ::PostMessageA(menu, WM_CHAR, kTargetKey, 0); }, "trigger-choose", true},
    };
    int shown = 0;
    int done = 0;
    const double began = bench::NowMs();
    for (const Run& run : runs) {
      const long long activationsBefore = targetActivations;
      for (int i = 1; i <= run.cycles; ++i) {
        shown += Cycle(execute, anchor.get(), run.closeMenu);
        if (++done == 1) {
          start = bench::ReadPrivateMemory();
          imagesAtStart = imagesAdded;
        }
        if (i % 500 == 0 || i == run.cycles) {
          const bench::PrivateMemory now = bench::ReadPrivateMemory();
          std::printf("[soak] %s %d/%d  %.0f s  outstanding %u  committed private %.2f MiB\n", run.name, i,
                      run.cycles, (bench::NowMs() - began) / 1000.0, static_cast<unsigned>(ledger.Outstanding()),
                      MiB(now.committedPrivate));
          std::fflush(stdout);
        }
      }
      const long long activated = targetActivations - activationsBefore;
      if (run.choosesTarget) std::printf("[soak] choices that activated the target: %lld of %d\n", activated, run.cycles);
      passed = passed && activated == (run.choosesTarget ? run.cycles : 0);
    }
    const bench::PrivateMemory end = bench::ReadPrivateMemory();
    PrintTallies("before unload", ledger);
    unload();
    const bench::PrivateMemory afterUnload = bench::ReadPrivateMemory();
    PrintTallies("after unload", ledger);

    std::printf("cycles: %d dismissed, %d chosen; menus shown %d of %d; %.0f s\nprivate memory:\n", dismissCycles,
                chooseCycles, shown, done, (bench::NowMs() - began) / 1000.0);
    PrintMemory("after Init", afterInit);
    PrintMemory("start (after cycle 1)", start);
    PrintMemory("end (before Unload)", end);
    PrintMemory("after Unload", afterUnload);
    const SIZE_T growth = end.committedPrivate > start.committedPrivate ? end.committedPrivate - start.committedPrivate : 0;
    std::printf("growth start to end: %.3f MiB (committed private)\n", MiB(growth));
    std::printf("images added to the menu's list: %d in cycle 1, %d after\n", imagesAtStart,
                imagesAdded - imagesAtStart);
    passed = passed && imagesAdded == imagesAtStart && shown == done && ledger.Outstanding() == 0 && ledger.Foreign() == 0 && growth <= kMemoryTolerance;
  }
  std::printf("[soak] %s\n", passed ? "PASSED" : "FAILED");
  return passed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  int dismissCycles = 10000;
  int chooseCycles = 1000;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--dismiss")) dismissCycles = std::atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--choose")) chooseCycles = std::atoi(argv[i + 1]);
  }
  try {
    return Soak(dismissCycles, chooseCycles);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "swivo-soak: %s\n", error.what());
    return 2;
  }
}
