#include "taskmenu/TaskFinding.h"

#include "taskmenu/MenuSettings.h"
#include "ui/OpenMenu.h"

#include <algorithm>
#include <utility>

namespace taskmenu {
namespace {

constexpr wchar_t kFindKey = L'/';
constexpr wchar_t kCtrlF = 0x06;  // what the platform makes of Ctrl+F
constexpr wchar_t kBackspace = 0x08;
constexpr wchar_t kDelete = 0x7F;  // Ctrl+Backspace
// Shown before the query, as the key that started finding.
constexpr wchar_t kQueryPrompt[] = L"/";

bool Printable(WPARAM character) { return character >= L' ' && character != kDelete; }

ui::QueryLook LookOf(const ui::TPopupMenu& menu) {
  const ui::MenuLayout* layout = menu.OpenLayout();
  const ui::MenuPainter* painter = menu.OpenPainter();
  return {layout ? layout->Font() : nullptr, painter ? painter->BackgroundColor() : ::GetSysColor(COLOR_MENU),
          painter ? painter->TextColor(false, false) : ::GetSysColor(COLOR_MENUTEXT),
          layout ? layout->Metrics().margin : ui::MenuMetrics{}.margin};
}

}  // namespace

FindStart FindStartOf(const MSG& key, int findSetting, int acceleratorStyle) {
  if (findSetting != kFindBySlash && findSetting != kFindByTyping) return FindStart::kNone;
  if (key.message != WM_CHAR) return FindStart::kNone;
  if (key.wParam == kFindKey || key.wParam == kCtrlF) return FindStart::kEmpty;
  // Space chooses the highlighted item, as always.
  const bool lettersFree = acceleratorStyle != kAcceleratorAppended && acceleratorStyle != kAcceleratorAfterSpace;
  const bool startsQuery = findSetting == kFindByTyping && lettersFree;
  return startsQuery && Printable(key.wParam) && key.wParam != L' ' ? FindStart::kWithCharacter : FindStart::kNone;
}

TaskFinding::TaskFinding(ui::TPopupMenu& menu, const tasklist::TWinInfos& tasks)
    : menu_(menu),
      finder_(tasks),
      menuWindow_(ui::MenuWindowOf(menu.OpenMenu())),
      window_(LookOf(menu)) {
  ShowQuery();
}

bool TaskFinding::TakeKey(const MSG& key) {
  if (key.message == WM_CHAR) {
    if (Printable(key.wParam)) {
      SetQuery(query_ + static_cast<wchar_t>(key.wParam));
    } else if (key.wParam == kBackspace) {
      if (!query_.empty()) SetQuery(query_.substr(0, query_.size() - 1));
    } else if (key.wParam != kCtrlF) {
      return false;  // Enter chooses, as always
    }
    return true;
  }
  if (key.message != WM_KEYDOWN) return false;
  if (key.lParam == ui::kHighlightStep) {
    stepsUnderWay_ = std::max(0, stepsUnderWay_ - 1);
    return false;
  }
  switch (key.wParam) {
    case VK_ESCAPE:
      if (query_.empty()) return false;
      SetQuery({});
      return true;
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
      Step(key.wParam);
      return true;
    default:
      return false;
  }
}

void TaskFinding::SetQuery(std::wstring query) {
  query_ = std::move(query);
  const std::vector<tasklist::FindResult> results = finder_.Find(query_);
  ShowResults(results);
  ShowQuery();
  const std::vector<int> matching = Matching();
  if (matching.empty()) {
    ::MessageBeep(MB_OK);
    return;
  }
  MoveHighlight(matching.front());
}

void TaskFinding::ShowResults(const std::vector<tasklist::FindResult>& results) {
  std::vector<int> changed;
  const size_t count = std::min(results.size(), static_cast<size_t>(menu_.ItemCount()));
  for (size_t i = 0; i < count; ++i) {
    ui::TMenuItem& item = menu_.Items(static_cast<int>(i));
    const bool matches = results[i].Matches();
    if (item.Dimmed == !matches && item.Marks == results[i].captionMarks) continue;
    item.Dimmed = !matches;
    item.Marks = results[i].captionMarks;
    changed.push_back(static_cast<int>(i));
  }
  ui::RedrawItems(menu_.OpenMenu(), changed);
}

std::vector<int> TaskFinding::Matching() const {
  std::vector<int> matching;
  for (int i = 0; i < menu_.ItemCount(); ++i) {
    if (!menu_.Items(i).Dimmed) matching.push_back(i);
  }
  return matching;
}

void TaskFinding::Step(WPARAM key) {
  const std::vector<int> matching = Matching();
  if (matching.empty()) return;
  const int from = Landing();
  int to = key == VK_HOME || key == VK_DOWN ? matching.front() : matching.back();  // wraps round
  if (key == VK_DOWN) {
    const auto next = std::upper_bound(matching.begin(), matching.end(), from);
    if (next != matching.end()) to = *next;
  } else if (key == VK_UP) {
    const auto next = std::lower_bound(matching.begin(), matching.end(), from);
    if (next != matching.begin()) to = *std::prev(next);
  }
  MoveHighlight(to);
}

void TaskFinding::MoveHighlight(int position) {
  const int from = stepsUnderWay_ > 0 ? landing_ : ui::kFromHighlighted;
  stepsUnderWay_ += ui::HighlightItem(menuWindow_, menu_.OpenMenu(), position, from);
  landing_ = position;
}

int TaskFinding::Landing() const { return stepsUnderWay_ > 0 ? landing_ : ui::HighlightedItem(menu_.OpenMenu()); }

void TaskFinding::ShowQuery() { window_.Show(kQueryPrompt + query_, menuWindow_); }

}  // namespace taskmenu
