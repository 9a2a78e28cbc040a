// Benchmark of the task menu: opens N real windows in K fixture processes, then measures, under
// the same desktop, the median time from a popup request to the menu being shown, the task list's
// Refresh alone, the floor (one bare pass over the same windows), and what the platform alone
// takes to open a menu of as many owner-drawn items; with each popup, the WM_GETICON asks it sent
// and the icons it copied into its image list before the menu was shown and while it was open, for
// a new menu's first popup and, on rows of their own, its second one over the unchanged desktop and
// a third one with one more window, which takes kSlowAnswerMs to answer for its icon. The row
// "find" times typing to find in the open menu instead: its shown_ms is the median from a
// character posted to the highlight on the first match with the menu drawn again. Not part of
// the test suite.
//
//   swivo-bench [--repeats R] [--sizes N:K,N:K,...] [--csv FILE]
//
// Sizes must grow in both N and K: the processes of one size stay open for the next.
#include "tasklist/TaskRefresh.h"
#include "bench/BareMenu.h"
#include "bench/Fleet.h"
#include "bench/FloorPass.h"
#include "bench/Measure.h"
#include "bench/TimedFinding.h"
#include "bench/TimedMenu.h"
#include "bench/WorkCounter.h"
#include "tests/support/SlowIconWindow.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr DWORD kSlowAnswerMs = 40;
// Typed one character at a time: the first match moves from the first icon window down the menu.
constexpr char kFindQuery[] = "window 42";

struct Size {
  int windows;
  int processes;
};

// One kind of popup at one size: a new menu's first popup, its second over the same desktop, or
// its third with the slow window.
struct Row {
  Size size;
  const char* popup;
  bench::FloorResult floor;  // floor.ms is the median; the counts are from the last pass
  int tasks;
  double refreshMs;
  double buildMs;
  double shownMs;
  double bareMenuMs;
  int iconAsks;         // median over the repeats, per popup
  int iconsCopied;      // median over the repeats, per popup, before the menu was shown
  int iconsCopiedOpen;  // likewise, while it was open
};

// The repeats of one kind of popup.
struct Samples {
  std::vector<double> refresh, build, shown, asks, copied, copiedOpen;

  void AddPopup(bench::TimedMenu& menu, bench::WorkCounter& counter) {
    (void)counter.Take();  // what ran before this popup is not its work
    const bench::PopupTimes times = menu.PopupOnce();
    const bench::WorkCount work = counter.Take();
    build.push_back(times.buildMs);
    shown.push_back(times.shownMs);
    asks.push_back(work.iconAsks);
    copied.push_back(work.iconsCopied);
    copiedOpen.push_back(work.iconsCopiedOpen);
  }
};

std::vector<Size> ParseSizes(const std::string& text) {
  std::vector<Size> sizes;
  std::stringstream list(text);
  std::string item;
  while (std::getline(list, item, ',')) {
    const size_t colon = item.find(':');
    if (colon == std::string::npos) throw std::runtime_error("size is not N:K: " + item);
    sizes.push_back({std::atoi(item.substr(0, colon).c_str()), std::atoi(item.substr(colon + 1).c_str())});
  }
  return sizes;
}

double TimedRefresh(tasklist::TWinInfos& tasks) {
  const double start = bench::NowMs();
  tasklist::Refresh(tasks);
  return bench::NowMs() - start;
}

Row RowOf(const Size& size, const char* popup, const Samples& samples) {
  return {size,
          popup,
          {},
          0,
          bench::Median(samples.refresh),
          bench::Median(samples.build),
          bench::Median(samples.shown),
          0.0,
          static_cast<int>(bench::Median(samples.asks)),
          static_cast<int>(bench::Median(samples.copied)),
          static_cast<int>(bench::Median(samples.copiedOpen))};
}

// Each repeat opens a new menu and pops it up twice, so that the second popup finds the desktop
// as the first one left it, then once more with the slow window added.
std::vector<Row> Measure(const Size& size, int repeats, bench::WorkCounter& counter) {
  (void)bench::TimedMenu().PopupOnce();  // warm caches of the system's own (fonts, shell, image list code)
  std::vector<double> floor, bareMenu;
  Samples first, again, slow, find;
  bench::FloorResult lastFloor;
  int tasks = 0;
  for (int i = 0; i < repeats; ++i) {
    lastFloor = bench::RunFloorPass();
    floor.push_back(lastFloor.ms);
    tasklist::TWinInfos collection;
    first.refresh.push_back(TimedRefresh(collection));
    again.refresh.push_back(TimedRefresh(collection));
    bench::TimedMenu menu;
    first.AddPopup(menu, counter);
    again.AddPopup(menu, counter);
    tasks = menu.ItemCount();
    bareMenu.push_back(bench::TimeBareMenu(tasks));
    const testing_support::SlowIconWindow slowWindow(::LoadIconA(nullptr, IDI_WARNING), kSlowAnswerMs);
    slow.refresh.push_back(TimedRefresh(collection));  // long done with the ask before the popup's
    slow.AddPopup(menu, counter);
    const std::vector<double> typed = bench::TimedFinding().FindOnce(kFindQuery);
    find.shown.insert(find.shown.end(), typed.begin(), typed.end());
  }
  std::vector<Row> rows{RowOf(size, "first", first), RowOf(size, "again", again), RowOf(size, "slow", slow),
                        RowOf(size, "find", find)};
  for (Row& row : rows) {
    row.floor = lastFloor;
    row.floor.ms = bench::Median(floor);
    row.tasks = tasks;
    row.bareMenuMs = bench::Median(bareMenu);
  }
  return rows;
}

const char kHeader[] =
    "N,K,popup,desktop_windows,desktop_processes,tasks,floor_ms,refresh_ms,build_ms,shown_ms,bare_menu_ms,build_ratio,"
    "shown_ratio,floor_us_per_window,shown_us_per_window,icon_asks,icons_copied,icons_copied_open";

std::string Format(const Row& row) {
  char line[320];
  const double perWindow = 1000.0 / row.floor.windows;
  std::snprintf(line, sizeof(line), "%d,%d,%s,%d,%d,%d,%.1f,%.1f,%.1f,%.1f,%.1f,%.2f,%.2f,%.0f,%.0f,%d,%d,%d",
                row.size.windows, row.size.processes, row.popup, row.floor.windows, row.floor.processes, row.tasks,
                row.floor.ms, row.refreshMs, row.buildMs, row.shownMs, row.bareMenuMs, row.buildMs / row.floor.ms,
                row.shownMs / row.floor.ms, row.floor.ms * perWindow, row.shownMs * perWindow, row.iconAsks,
                row.iconsCopied, row.iconsCopiedOpen);
  return line;
}

void PrintTable(const std::vector<Row>& rows) {
  std::printf("\n%6s %4s %5s %8s %6s %6s %10s %11s %10s %10s %9s %7s %7s %9s %9s %6s %6s %6s\n", "N", "K", "popup",
              "desktop", "procs", "tasks", "floor ms", "refresh ms", "build ms", "shown ms", "bare menu", "build/f",
              "shown/f", "floor/w", "shown/w", "asks", "copied", "open");
  for (const Row& row : rows) {
    const double perWindow = 1000.0 / row.floor.windows;
    std::printf("%6d %4d %5s %8d %6d %6d %10.1f %11.1f %10.1f %10.1f %9.1f %7.2f %7.2f %7.0fus %7.0fus %6d %6d %6d\n",
                row.size.windows, row.size.processes, row.popup, row.floor.windows, row.floor.processes, row.tasks,
                row.floor.ms, row.refreshMs, row.buildMs, row.shownMs, row.bareMenuMs, row.buildMs / row.floor.ms,
                row.shownMs / row.floor.ms, row.floor.ms * perWindow, row.shownMs * perWindow, row.iconAsks,
                row.iconsCopied, row.iconsCopiedOpen);
  }
  std::fflush(stdout);
}

void WriteCsv(const std::string& path, const std::vector<Row>& rows) {
  FILE* file = std::fopen(path.c_str(), "w");
  if (!file) throw std::runtime_error("cannot write " + path);
  std::fprintf(file, "%s\n", kHeader);
  for (const Row& row : rows) std::fprintf(file, "%s\n", Format(row).c_str());
  std::fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
  int repeats = 7;
  std::string sizesText = "50:5,200:20,1000:50";
  std::string csvPath = "bench.csv";
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--repeats")) repeats = std::atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--sizes")) sizesText = argv[i + 1];
    else if (!std::strcmp(argv[i], "--csv")) csvPath = argv[i + 1];
  }
  try {
    bench::WorkCounter counter;
    bench::Fleet fleet;
    std::vector<Row> rows;
    for (const Size& size : ParseSizes(sizesText)) {
      const int newProcesses = size.processes - fleet.Processes();
      const int newWindows = size.windows - fleet.Windows();
      if (newProcesses <= 0 || newWindows < newProcesses) throw std::runtime_error("sizes must grow in N and K");
      const double start = bench::NowMs();
      fleet.Grow(newProcesses, newWindows);
      std::printf("[bench] %d windows in %d processes ready after %.0f s; measuring %d popups\n", fleet.Windows(),
                  fleet.Processes(), (bench::NowMs() - start) / 1000.0, repeats);
      std::fflush(stdout);
      const std::vector<Row> measured = Measure(size, repeats, counter);
      std::printf("%s\n", kHeader);
      for (const Row& row : measured) std::printf("%s\n", Format(row).c_str());
      rows.insert(rows.end(), measured.begin(), measured.end());
    }
    PrintTable(rows);
    WriteCsv(csvPath, rows);
    std::printf("[bench] wrote %s\n", csvPath.c_str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "swivo-bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
