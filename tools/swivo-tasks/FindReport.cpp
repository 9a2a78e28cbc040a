#include "FindReport.h"

#include "base/WideText.h"
#include "tasklist/TaskFind.h"

#include <cstdio>

namespace {

const char* SourceName(tasklist::FindSource source) {
  switch (source) {
    case tasklist::FindSource::kCaption:
      return "caption";
    case tasklist::FindSource::kProgram:
      return "program";
    case tasklist::FindSource::kReading:
      return "reading";
    default:
      return "-";
  }
}

// The caption with the characters the text found between '[' and ']'.
std::string Marked(const std::wstring& caption, const tasklist::FindResult& result) {
  std::wstring marked = caption;
  for (auto mark = result.captionMarks.rbegin(); mark != result.captionMarks.rend(); ++mark) {
    marked.insert(mark->second, L"]").insert(mark->first, L"[");
  }
  return base::NarrowToAnsi(marked);
}

}  // namespace

void PrintFound(const tasklist::TWinInfos& tasks, const std::wstring& query) {
  const std::vector<tasklist::FindResult> results = tasklist::TaskFinder(tasks).Find(query);
  int found = 0;
  for (const tasklist::FindResult& result : results) found += result.Matches();
  std::printf("\nfind \"%s\": %d of %d task(s)\n", base::NarrowToAnsi(query).c_str(), found, tasks.Count());
  std::printf("%-8s %-22s %s\n", "by", "executable", "caption, found characters in [ ]");
  for (int i = 0; i < tasks.Count(); ++i) {
    const tasklist::TWinInfo& task = tasks.Items(i);
    const tasklist::FindResult& result = results[static_cast<size_t>(i)];
    std::printf("%-8s %-22s %s\n", SourceName(result.source), task.ExeName.c_str(),
                Marked(task.Caption.Shown(), result).c_str());
  }
}
