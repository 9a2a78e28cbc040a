// Benchmark of the task menu: opens N real windows in K fixture processes, then measures, under
// the same desktop, the median time from a popup request to the menu being shown, the task list's
// Refresh alone, the floor (one bare pass over the same windows), and what the platform alone
// takes to open a menu of as many owner-drawn items. Not part of the test suite.
//
//   swivo-bench [--repeats R] [--sizes N:K,N:K,...] [--csv FILE]
//
// Sizes must grow in both N and K: the processes of one size stay open for the next.
#include "bench/BareMenu.h"
#include "bench/Fleet.h"
#include "bench/FloorPass.h"
#include "bench/Measure.h"
#include "bench/TimedMenu.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Size {
  int windows;
  int processes;
};

struct Row {
  Size size;
  bench::FloorResult floor;  // floor.ms is the median; the counts are from the last pass
  int tasks;
  double refreshMs;
  double buildMs;
  double shownMs;
  double bareMenuMs;
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

Row Measure(const Size& size, int repeats) {
  bench::TimedMenu menu;
  (void)menu.PopupOnce();  // warm caches of the system's own (fonts, shell, image list code)
  std::vector<double> floor, refresh, build, shown, bareMenu;
  Row row{size, {}, 0, 0.0, 0.0, 0.0, 0.0};
  for (int i = 0; i < repeats; ++i) {
    row.floor = bench::RunFloorPass();
    floor.push_back(row.floor.ms);
    tasklist::TWinInfos tasks;
    const double start = bench::NowMs();
    tasks.Refresh();
    refresh.push_back(bench::NowMs() - start);
    const bench::PopupTimes times = menu.PopupOnce();
    build.push_back(times.buildMs);
    shown.push_back(times.shownMs);
    row.tasks = menu.ItemCount();
    bareMenu.push_back(bench::TimeBareMenu(row.tasks));
  }
  row.floor.ms = bench::Median(floor);
  row.refreshMs = bench::Median(refresh);
  row.buildMs = bench::Median(build);
  row.shownMs = bench::Median(shown);
  row.bareMenuMs = bench::Median(bareMenu);
  return row;
}

const char kHeader[] =
    "N,K,desktop_windows,desktop_processes,tasks,floor_ms,refresh_ms,build_ms,shown_ms,bare_menu_ms,build_ratio,"
    "shown_ratio,floor_us_per_window,shown_us_per_window";

std::string Format(const Row& row) {
  char line[256];
  const double perWindow = 1000.0 / row.floor.windows;
  std::snprintf(line, sizeof(line), "%d,%d,%d,%d,%d,%.1f,%.1f,%.1f,%.1f,%.1f,%.2f,%.2f,%.0f,%.0f", row.size.windows,
                row.size.processes, row.floor.windows, row.floor.processes, row.tasks, row.floor.ms, row.refreshMs,
                row.buildMs, row.shownMs, row.bareMenuMs, row.buildMs / row.floor.ms, row.shownMs / row.floor.ms,
                row.floor.ms * perWindow, row.shownMs * perWindow);
  return line;
}

void PrintTable(const std::vector<Row>& rows) {
  std::printf("\n%6s %4s %8s %6s %6s %10s %11s %10s %10s %9s %7s %7s %9s %9s\n", "N", "K", "desktop", "procs",
              "tasks", "floor ms", "refresh ms", "build ms", "shown ms", "bare menu", "build/f", "shown/f", "floor/w",
              "shown/w");
  for (const Row& row : rows) {
    const double perWindow = 1000.0 / row.floor.windows;
    std::printf("%6d %4d %8d %6d %6d %10.1f %11.1f %10.1f %10.1f %9.1f %7.2f %7.2f %7.0fus %7.0fus\n",
                row.size.windows, row.size.processes, row.floor.windows, row.floor.processes, row.tasks, row.floor.ms,
                row.refreshMs, row.buildMs, row.shownMs, row.bareMenuMs, row.buildMs / row.floor.ms,
                row.shownMs / row.floor.ms, row.floor.ms * perWindow, row.shownMs * perWindow);
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
      rows.push_back(Measure(size, repeats));
      std::printf("%s\n%s\n", kHeader, Format(rows.back()).c_str());
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
