#include "tasklist/WindowIconQuery.h"

#include <array>

namespace tasklist {
namespace {

// ICON_SMALL2 gives the small icon set with WM_SETICON, else one the system makes from the big icon
// set (Windows and Wine alike), so ICON_SMALL would add nothing for windows that leave the message
// to DefWindowProc. ICON_BIG is still asked when that answer is empty: a window procedure that
// answers the message itself may know only its big icon (fitted to 16 x 16 when drawn).
constexpr std::array<WPARAM, 2> kIconKinds{ICON_SMALL2, ICON_BIG};
// Above the small size a small icon would be stretched: the big one is scaled down instead.
constexpr std::array<WPARAM, 2> kBigIconFirst{ICON_BIG, ICON_SMALL2};

}  // namespace

HICON WindowIconQuery::IconOf(HWND wnd, bool bigFirst) {
  for (const WPARAM kind : bigFirst ? kBigIconFirst : kIconKinds) {
    DWORD_PTR answer = 0;
    const base::Reply reply = replies_.Send(wnd, WM_GETICON, kind, 0, answer);
    if (reply != base::Reply::kAnswered) {
      if (reply == base::Reply::kNotInTime && !answered_.count(wnd)) unanswered_.insert(wnd);
      return nullptr;
    }
    answered_.insert(wnd);
    if (answer) return reinterpret_cast<HICON>(answer);
  }
  return nullptr;
}

}  // namespace tasklist
