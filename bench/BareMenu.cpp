#include "bench/BareMenu.h"

#include "base/Handle.h"
#include "base/Module.h"
#include "bench/Measure.h"
#include "ui/WindowClass.h"

#include <stdexcept>

namespace bench {
namespace {

constexpr char kOwnerClass[] = "SwivoBenchBareMenuOwner";
constexpr UINT kItemWidth = 300;
constexpr UINT kItemHeight = 22;

double shownAt = 0.0;

LRESULT CALLBACK OwnerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_MEASUREITEM: {
      auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      measure.itemWidth = kItemWidth;
      measure.itemHeight = kItemHeight;
      return TRUE;
    }
    case WM_DRAWITEM:
      return TRUE;
    case WM_ENTERIDLE:
      NoteMenuShownAndClose(wParam, lParam, shownAt);
      return 0;
    default:
      return ::DefWindowProcA(wnd, msg, wParam, lParam);
  }
}

}  // namespace

double TimeBareMenu(int items) {
  ui::RegisterWindowClass(kOwnerClass, &OwnerProc);
  base::unique_hwnd owner(::CreateWindowExA(WS_EX_TOOLWINDOW, kOwnerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                          base::ThisModule(), nullptr));
  base::unique_hmenu menu(::CreatePopupMenu());
  if (!owner || !menu) throw std::runtime_error("cannot create the bare menu");
  for (int i = 0; i < items; ++i) {
    ::AppendMenuA(menu.get(), MF_OWNERDRAW, static_cast<UINT_PTR>(i + 1), reinterpret_cast<LPCSTR>(i));
  }
  shownAt = 0.0;
  const double start = NowMs();
  ::TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, 0, 0, 0, owner.get(), nullptr);
  return shownAt - start;
}

}  // namespace bench
