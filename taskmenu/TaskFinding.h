// Typing to find an entry of the open task menu: the query typed so far, which entries match it,
// and the window that shows it. One object per finding, made when the user starts it and dropped
// when the menu closes; a user who never starts one pays nothing.
//
// While finding, printable characters (Space too) extend the query, Backspace takes the last one
// back, Esc clears it (the menu's own Esc closes the menu once it is empty), and the arrow keys,
// Home and End step among the matching entries. Entries that do not match are dimmed, the
// matched characters marked, and the highlight goes to the first match whenever the query changes.
#pragma once

#include "tasklist/TaskFind.h"
#include "tasklist/TaskList.h"
#include "ui/PopupMenu.h"
#include "ui/QueryWindow.h"

#include <windows.h>

#include <string>
#include <vector>

namespace taskmenu {

enum class FindStart {
  kNone,
  kEmpty,          // '/' or Ctrl+F: an empty query
  kWithCharacter,  // the key is the query's first character
};

// What a key does before finding has started, by the settings Find and AutoHotKey.
[[nodiscard]] FindStart FindStartOf(const MSG& key, int findSetting, int acceleratorStyle);

class TaskFinding {
 public:
  // The menu must be open, its items those of `tasks`.
  TaskFinding(ui::TPopupMenu& menu, const tasklist::TWinInfos& tasks);

  // A key the open menu is about to read; returns whether it took it.
  bool TakeKey(const MSG& key);

 private:
  void SetQuery(std::wstring query);
  // Dims and marks the items by the results, and redraws those whose look changed.
  void ShowResults(const std::vector<tasklist::FindResult>& results);
  // The positions of the entries that match the query: those not dimmed.
  std::vector<int> Matching() const;
  // Up, Down, Home or End among the matching entries.
  void Step(WPARAM key);
  void MoveHighlight(int position);
  // Where the highlight is, or will be once the arrow keys posted for it have arrived.
  int Landing() const;
  void ShowQuery();

  ui::TPopupMenu& menu_;
  const tasklist::TaskFinder finder_;
  const HWND menuWindow_;
  std::wstring query_;
  int landing_ = -1;
  int stepsUnderWay_ = 0;
  ui::QueryWindow window_;
};

}  // namespace taskmenu
