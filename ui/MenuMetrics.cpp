#include "ui/MenuMetrics.h"

#include "base/ProcAddress.h"

namespace ui {
namespace {

HMODULE User32() { return ::GetModuleHandleA("user32.dll"); }

int Scaled(int pixels, UINT dpi) { return ::MulDiv(pixels, static_cast<int>(dpi), kDefaultDpi); }

base::unique_hfont CreateDefaultMenuFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  return base::unique_hfont(::CreateFontIndirectA(&metrics.lfMenuFont));
}

}  // namespace

UINT DpiOfWindow(HWND wnd) {
  using Function = UINT(WINAPI*)(HWND);
  const auto dpiOf = base::ProcAddress<Function>(User32(), "GetDpiForWindow");
  const UINT dpi = dpiOf ? dpiOf(wnd) : 0;
  return dpi ? dpi : kDefaultDpi;
}

MenuMetrics MenuMetricsAt(UINT dpi) {
  using Function = int(WINAPI*)(int, UINT);
  MenuMetrics metrics;
  metrics.dpi = dpi;
  const auto metricFor = base::ProcAddress<Function>(User32(), "GetSystemMetricsForDpi");
  if (dpi == kDefaultDpi || !metricFor) return metrics;
  metrics.iconSize = metricFor(SM_CXSMICON, dpi);
  metrics.margin = Scaled(metrics.margin, dpi);
  metrics.textGap = Scaled(metrics.textGap, dpi);
  return metrics;
}

base::unique_hfont CreateMenuFont(UINT dpi) {
  using Function = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
  const auto parametersFor = base::ProcAddress<Function>(User32(), "SystemParametersInfoForDpi");
  if (dpi == kDefaultDpi || !parametersFor) return CreateDefaultMenuFont();
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!parametersFor(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) return CreateDefaultMenuFont();
  return base::unique_hfont(::CreateFontIndirectW(&metrics.lfMenuFont));
}

}  // namespace ui
