#include "tasklist/WindowIconQuery.h"

namespace tasklist {

// ICON_SMALL2 gives the small icon set with WM_SETICON, else one the system makes from the big icon
// set (Windows and Wine alike), so ICON_SMALL would add nothing for windows that leave the message
// to DefWindowProc. ICON_BIG is still asked when that answer is empty: a window procedure that
// answers the message itself may know only its big icon (fitted to 16 x 16 when drawn). Above the
// small size a small icon would be stretched: the big one is scaled down instead.
const std::array<WPARAM, 2>& IconKindsToAsk(bool bigFirst) {
  static constexpr std::array<WPARAM, 2> kSmallFirst{ICON_SMALL2, ICON_BIG};
  static constexpr std::array<WPARAM, 2> kBigFirst{ICON_BIG, ICON_SMALL2};
  return bigFirst ? kBigFirst : kSmallFirst;
}

HICON WindowIconQuery::IconOf(HWND wnd, bool bigFirst) {
  for (const WPARAM kind : IconKindsToAsk(bigFirst)) {
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
