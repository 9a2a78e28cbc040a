#include "tasklist/TaskFind.h"

#include "base/FindFolding.h"
#include "base/Mbcs.h"
#include "base/TextSearch.h"
#include "base/WideText.h"

namespace tasklist {
namespace {

// The executable's file name without its extension, as the system spells it where known.
std::wstring ProgramName(const TWinInfo& task) {
  std::string name = task.ExeFile.empty() ? task.ExeName : task.ExeFile;
  const size_t dot = base::LastDelimiter(name, ".");
  if (dot != std::string::npos) name.resize(dot);
  return base::FoldForFinding(base::WidenAnsi(name));
}

}  // namespace

TaskFinder::TaskFinder(const TWinInfos& tasks) {
  texts_.reserve(static_cast<size_t>(tasks.Count()));
  for (int i = 0; i < tasks.Count(); ++i) {
    const TWinInfo& task = tasks.Items(i);
    const std::wstring& shown = task.Caption.Shown();
    Texts& texts = texts_.emplace_back();
    texts.caption = base::FoldForFinding(shown);
    texts.program = ProgramName(task);
    if (base::RomajiReading::HasKana(shown)) texts.reading.emplace(shown);
  }
}

template <typename Search>
bool TaskFinder::FindIn(const Texts& texts, const std::wstring& query, Search search, FindResult& result) {
  if (auto marks = search(texts.caption, query)) {
    result = {FindSource::kCaption, std::move(*marks)};
  } else if (search(texts.program, query)) {
    result = {FindSource::kProgram, {}};
  } else if (texts.reading && (marks = search(*texts.reading, query))) {
    result = {FindSource::kReading, std::move(*marks)};
  }
  return result.Matches();
}

std::vector<FindResult> TaskFinder::Find(const std::wstring& query) const {
  std::vector<FindResult> results(texts_.size());
  const std::wstring folded = base::FoldForFinding(query);
  if (folded.empty()) {
    for (FindResult& result : results) result.source = FindSource::kCaption;
    return results;
  }
  bool found = false;
  for (size_t i = 0; i < texts_.size(); ++i) {
    found |= FindIn(
        texts_[i], folded, [](const auto& text, std::wstring_view typed) { return base::FindPiece(text, typed); },
        results[i]);
  }
  if (found) return results;
  for (size_t i = 0; i < texts_.size(); ++i) {
    FindIn(
        texts_[i], folded, [](const auto& text, std::wstring_view typed) { return base::FindSubsequence(text, typed); },
        results[i]);
  }
  return results;
}

}  // namespace tasklist
