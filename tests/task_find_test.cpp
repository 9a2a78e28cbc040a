// Finding tasks by typed text, in a list of tasks made by hand.
#include "tasklist/TaskFind.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Task {
  const wchar_t* caption;
  const char* exeFile;
};
const Task kTasks[] = {
    {L"議事録.txt - メモ帳", "NOTEPAD.EXE"},       {L"家計簿 - 表計算", "EXCEL.EXE"},
    {L"しんぶん ちゃっと ジャーナル", "news.exe"}, {L"ｼｬｯﾀｰ ｶﾞｲﾄﾞ ツール", "viewer.exe"},
    {L"Visual Studio Code", "Code.exe"},           {L"ＦＵＬＬ　ｗｉｄｔｈ", "wide.exe"},
};

// Each task the query finds, as "source: caption" with the marked characters in brackets.
std::vector<std::wstring> Found(const std::wstring& query) {
  tasklist::TWinInfos tasks;
  for (const Task& task : kTasks) {
    tasklist::TWinInfo& entry = tasks.Add();
    entry.Caption = tasklist::TaskCaption("", task.caption);
    entry.ExeFile = task.exeFile;
  }
  const std::vector<tasklist::FindResult> results = tasklist::TaskFinder(tasks).Find(query);
  EXPECT_EQ(results.size(), std::size(kTasks));
  constexpr const wchar_t* kSources[] = {L"", L"caption: ", L"program: ", L"reading: "};
  std::vector<std::wstring> found;
  for (size_t i = 0; i < results.size(); ++i) {
    if (!results[i].Matches()) continue;
    std::wstring marked = kTasks[i].caption;
    for (auto mark = results[i].captionMarks.rbegin(); mark != results[i].captionMarks.rend(); ++mark) {
      marked.insert(mark->second, L"]").insert(mark->first, L"[");
    }
    found.push_back(kSources[static_cast<int>(results[i].source)] + marked);
  }
  return found;
}

TEST(TaskFind, CaptionProgramOrRomajiReadingAsOnePieceBeforeInitials) {
  const std::vector<std::wstring> reading = {L"reading: しんぶん ちゃっと [ジャーナル]"};
  const struct {
    const wchar_t* query;
    std::vector<std::wstring> found;
  } cases[] = {
      {L"",
       {L"caption: 議事録.txt - メモ帳", L"caption: 家計簿 - 表計算", L"caption: しんぶん ちゃっと ジャーナル",
        L"caption: ｼｬｯﾀｰ ｶﾞｲﾄﾞ ツール", L"caption: Visual Studio Code", L"caption: ＦＵＬＬ　ｗｉｄｔｈ"}},
      {L"TXT", {L"caption: 議事録.[txt] - メモ帳"}},
      {L"ｔｘｔ", {L"caption: 議事録.[txt] - メモ帳"}},
      {L"full w", {L"caption: [ＦＵＬＬ　ｗ]ｉｄｔｈ"}},
      {L"メモ帳", {L"caption: 議事録.txt - [メモ帳]"}},
      {L"exc", {L"program: 家計簿 - 表計算"}},
      {L"code", {L"caption: Visual Studio [Code]"}},
      {L"memo", {L"reading: 議事録.txt - [メモ]帳"}},
      {L"shinbun", {L"reading: [しんぶん] ちゃっと ジャーナル"}},
      {L"sinnbunn", {L"reading: [しんぶん] ちゃっと ジャーナル"}},
      {L"chatto", {L"reading: しんぶん [ちゃっと] ジャーナル"}},
      {L"tyatto", {L"reading: しんぶん [ちゃっと] ジャーナル"}},
      {L"to ja", {L"reading: しんぶん ちゃ[っと ジャ]ーナル"}},
      {L"jaanaru", reading},
      {L"zyanaru", reading},
      {L"jya-naru", reading},
      {L"shatta-", {L"reading: [ｼｬｯﾀｰ] ｶﾞｲﾄﾞ ツール"}},
      {L"syattaa", {L"reading: [ｼｬｯﾀｰ] ｶﾞｲﾄﾞ ツール"}},
      {L"gaido", {L"reading: ｼｬｯﾀｰ [ｶﾞｲﾄﾞ] ツール"}},
      {L"tsuru", {L"reading: ｼｬｯﾀｰ ｶﾞｲﾄﾞ [ツール]"}},
      {L"tuuru", {L"reading: ｼｬｯﾀｰ ｶﾞｲﾄﾞ [ツール]"}},
      // "s", "t", "u" are also in that order in two readings, but one caption has them as one piece.
      {L"stu", {L"caption: Visual [Stu]dio Code"}},
      {L"vsc", {L"caption: [V]isual [S]tudio [C]ode"}},
      {L"sbch", {L"reading: [し]ん[ぶ]ん [ちゃ]っと ジャーナル"}},
      {L"zzz", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Found(c.query), c.found) << "query \"" << c.query << "\"";
}

}  // namespace
