#include "ui/MenuChar.h"

#include "base/Mbcs.h"

namespace ui {
namespace {

char Upper(char c) {
  char buffer[1] = {c};
  ::CharUpperBuffA(buffer, 1);
  return buffer[0];
}

bool SameLetter(char a, char b) { return a != '\0' && Upper(a) == Upper(b); }

std::vector<int> Matches(char typed, const std::vector<std::string>& captions) {
  std::vector<int> byAccelerator;
  std::vector<int> byFirstLetter;
  for (size_t i = 0; i < captions.size(); ++i) {
    const char accelerator = AcceleratorOf(captions[i]);
    if (accelerator != '\0') {
      if (SameLetter(accelerator, typed)) byAccelerator.push_back(static_cast<int>(i));
    } else if (!captions[i].empty() && SameLetter(captions[i][0], typed)) {
      byFirstLetter.push_back(static_cast<int>(i));
    }
  }
  return byAccelerator.empty() ? byFirstLetter : byAccelerator;
}

}  // namespace

char AcceleratorOf(const std::string& caption) {
  char accelerator = '\0';
  for (size_t i = 0; i < caption.size(); i += base::IsLeadByte(caption[i]) ? 2 : 1) {
    if (caption[i] != '&' || i + 1 >= caption.size()) continue;
    if (caption[i + 1] == '&') {
      ++i;  // "&&" shows one '&'
    } else {
      accelerator = caption[i + 1];
    }
  }
  return accelerator;
}

LRESULT AnswerMenuChar(char typed, const std::vector<std::string>& captions, int highlighted) {
  const std::vector<int> matches = Matches(typed, captions);
  if (matches.empty()) return MNC_IGNORE;
  if (matches.size() == 1) return MAKELRESULT(matches.front(), MNC_EXECUTE);
  int next = matches.front();
  bool highlightedMatches = false;
  for (int match : matches) highlightedMatches |= match == highlighted;
  if (highlightedMatches) {
    for (int match : matches) {
      if (match > highlighted) {
        next = match;
        break;
      }
    }
  }
  return MAKELRESULT(next, MNC_SELECT);
}

}  // namespace ui
