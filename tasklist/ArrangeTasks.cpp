#include "tasklist/ArrangeTasks.h"

#include "tasklist/EditorQuery.h"

#include <algorithm>
#include <string>

namespace tasklist {
namespace {

// Unsigned bytes, the end of a text counting as 0: upper case comes before lower case, a text
// before any longer text it begins, and a Shift-JIS lead byte after all ASCII.
int CompareBytes(const std::string& left, const std::string& right) {
  const size_t length = std::max(left.size(), right.size());
  for (size_t i = 0; i < length; ++i) {
    const int l = i < left.size() ? static_cast<unsigned char>(left[i]) : 0;
    const int r = i < right.size() ? static_cast<unsigned char>(right[i]) : 0;
    if (l != r) return l - r;
  }
  return 0;
}

void MarkEditorEntries(TWinInfos& tasks) {
  for (int i = 0; i < tasks.Count(); ++i) {
    std::string& name = tasks.Items(i).ExeName;
    if (name == kEditorExeName) name = kMarkedEditorExeName;
    if (name == kCompanionExeName) name = kMarkedCompanionExeName;
  }
}

bool ShouldExchange(const TWinInfos& tasks, const TWinInfo& left, const TWinInfo& right) {
  if (tasks.SortByExe()) {
    const int nameOrder = CompareBytes(left.ExeName, right.ExeName);
    const int captionOrder = tasks.SortByCaption() ? CompareBytes(left.Caption.Ansi(), right.Caption.Ansi()) : 0;
    return nameOrder > 0 || (nameOrder == 0 && captionOrder > 0);
  }
  if (left.ExeName == kMarkedEditorExeName) return false;
  // The companion's test does not ask for editor mode: only editor mode puts the mark there.
  return (tasks.EditorMode() && right.ExeName == kMarkedEditorExeName) || right.ExeName == kMarkedCompanionExeName;
}

// The entry through which two entries exchange their contents. It stands after the last entry
// while the ordering runs and leaves the collection with it, also when an error ends it.
class ScratchEntry {
 public:
  explicit ScratchEntry(TWinInfos& tasks) : tasks_(tasks), index_(tasks.Count()), entry_(tasks.Add()) {}
  ScratchEntry(const ScratchEntry&) = delete;
  ScratchEntry& operator=(const ScratchEntry&) = delete;
  ~ScratchEntry() { tasks_.Delete(index_); }

  void Exchange(TWinInfo& left, TWinInfo& right) {
    entry_.Assign(left);
    left.Assign(right);
    right.Assign(entry_);
  }

 private:
  TWinInfos& tasks_;
  int index_;
  TWinInfo& entry_;
};

// Exchanges neighbours; each pass ends where the previous one made its last exchange. Without
// SortByExe the rule is no order (two companion entries always exchange), so the result is what
// exactly these passes make of it, and no other sort may take their place.
void ExchangeSort(TWinInfos& tasks) {
  const int count = tasks.Count();
  ScratchEntry scratch(tasks);
  for (int bound = count - 1; bound >= 1;) {
    int last = -1;
    for (int i = 1; i <= bound; ++i) {
      TWinInfo& left = tasks.Items(i - 1);
      TWinInfo& right = tasks.Items(i);
      if (ShouldExchange(tasks, left, right)) {
        scratch.Exchange(left, right);
        last = i - 1;
      }
    }
    bound = last;
  }
}

}  // namespace

void OrderTasks(TWinInfos& tasks) {
  if (tasks.EditorMode()) MarkEditorEntries(tasks);
  ExchangeSort(tasks);
}

}  // namespace tasklist
