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

std::vector<int> Matches(char typed, const std::vector<MenuKey>& keys) {
  std::vector<int> byAccelerator;
  std::vector<int> byFirstLetter;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].accelerator != '\0') {
      if (SameLetter(keys[i].accelerator, typed)) byAccelerator.push_back(static_cast<int>(i));
    } else if (SameLetter(keys[i].firstByte, typed)) {
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

MenuKey MenuKeyOf(const std::string& caption) {
  return MenuKey{AcceleratorOf(caption), caption.empty() ? '\0' : caption.front()};
}

LRESULT AnswerMenuChar(char typed, const std::vector<MenuKey>& keys, int highlighted) {
  const std::vector<int> matches = Matches(typed, keys);
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
