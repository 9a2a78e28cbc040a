// Finding tasks by typed text: a piece of a task's caption, of its program's name, or of the romaji
// reading of its caption's kana, without regard to ASCII case or width (FindFolding); only when no
// task has the text as one piece, its characters in order with gaps (initials such as "vsc").
#pragma once

#include "base/Romaji.h"
#include "tasklist/TaskList.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tasklist {

// Which text of a task a query matched, in this order of preference.
enum class FindSource { kNone, kCaption, kProgram, kReading };

struct FindResult {
  FindSource source = FindSource::kNone;
  // Ranges [first, second) of UTF-16 positions in the task's Caption.Shown() to mark as matched;
  // empty when only the program name matched.
  std::vector<std::pair<size_t, size_t>> captionMarks;
  bool Matches() const { return source != FindSource::kNone; }
};

class TaskFinder {
 public:
  // Makes every task's texts once (program name without folder/extension from ExeFile/ExeName,
  // shown caption, the romaji readings of its kana): called only when finding starts.
  explicit TaskFinder(const TWinInfos& tasks);
  // One result per task position. Contiguous matches first; only when no task matches
  // contiguously, subsequence matches (initials such as "vsc"). An empty query matches every task
  // with no marks.
  std::vector<FindResult> Find(const std::wstring& query) const;

 private:
  // A task's texts, folded.
  struct Texts {
    std::wstring caption;
    std::wstring program;
    std::optional<base::RomajiReading> reading;  // only of a caption with kana
  };
  template <typename Search>
  static bool FindIn(const Texts& texts, const std::wstring& query, Search search, FindResult& result);

  std::vector<Texts> texts_;
};

}  // namespace tasklist
