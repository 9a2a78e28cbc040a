#include "base/TextSearch.h"

#include <algorithm>
#include <cstdint>

namespace base {
namespace {

void Mark(TextMarks& marks, size_t begin, size_t end) {
  if (!marks.empty() && marks.back().second == begin) marks.back().second = end;
  else marks.emplace_back(begin, end);
}

// Calls `visit(letter)` with the first letter of every spelling the reading can go on with at
// `piece`, also past the pieces that may be left out.
template <typename Visit>
void ForEachContinuation(const RomajiReading& reading, size_t piece, Visit&& visit) {
  for (; piece < reading.Pieces().size(); ++piece) {
    const RomajiReading::Piece& at = reading.Pieces()[piece];
    bool mayBeLeftOut = false;
    for (uint32_t index = at.firstSpelling; index < at.endSpelling; ++index) {
      const RomajiReading::Spelling& spelling = reading.Spellings()[index];
      if (spelling.first == spelling.end) mayBeLeftOut = true;
      else visit(spelling.first);
    }
    if (!mayBeLeftOut) return;
  }
}

// How many of `query`'s first characters occur in order among the letters [first, end).
size_t SubsequenceLength(const RomajiReading& reading, const RomajiReading::Spelling& spelling,
                         std::wstring_view query) {
  size_t found = 0;
  for (uint32_t letter = spelling.first; letter < spelling.end && found < query.size(); ++letter) {
    if (reading.Letters()[letter].letter == query[found]) ++found;
  }
  return found;
}

bool IsWordCharacter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c >= 0x80; }

// The first character, or one after a blank or punctuation (in folded text, capitals are gone).
bool BeginsWord(std::wstring_view text, size_t at) { return at == 0 || !IsWordCharacter(text[at - 1]); }

bool IsSubsequence(std::wstring_view text, std::wstring_view query) {
  size_t found = 0;
  for (size_t at = 0; at < text.size() && found < query.size(); ++at) found += text[at] == query[found];
  return found == query.size();
}

}  // namespace

std::optional<TextMarks> FindPiece(std::wstring_view text, std::wstring_view query) {
  const size_t at = text.find(query);
  if (at == std::wstring_view::npos) return std::nullopt;
  return TextMarks{{at, at + query.size()}};
}

// Each typed character is taken where a word begins, when the rest can still be found after it,
// so that initials mark the initials ("vsc": [V]isual [S]tudio [C]ode), else at its first place.
std::optional<TextMarks> FindSubsequence(std::wstring_view text, std::wstring_view query) {
  TextMarks marks;
  size_t at = 0;
  for (size_t typed = 0; typed < query.size(); ++typed) {
    const size_t first = text.find(query[typed], at);
    if (first == std::wstring_view::npos) return std::nullopt;
    size_t word = first;
    while (word != std::wstring_view::npos && !BeginsWord(text, word)) word = text.find(query[typed], word + 1);
    const bool restAfterWord =
        word != std::wstring_view::npos && IsSubsequence(text.substr(word + 1), query.substr(typed + 1));
    at = restAfterWord ? word : first;
    Mark(marks, at, at + 1);
    ++at;
  }
  return marks;
}

// Follows every way of spelling the query from every letter on at once, one typed character at a
// time; of two ways that reach the same letter, the one that started at the earlier piece is kept.
std::optional<TextMarks> FindPiece(const RomajiReading& reading, std::wstring_view query) {
  const std::vector<RomajiReading::Letter>& letters = reading.Letters();
  struct Way {
    uint32_t letter, start;  // the letter the way has reached, the piece where it started
  };
  std::vector<Way> ways;
  for (uint32_t letter = 0; letter < letters.size(); ++letter) {
    if (letters[letter].letter == query[0]) ways.push_back({letter, letters[letter].piece});
  }
  std::vector<Way> next;
  std::vector<size_t> wayAt(letters.size());  // where in `next` the way at a letter is, when it is there
  for (size_t typed = 1; typed < query.size() && !ways.empty(); ++typed) {
    next.clear();
    auto goOn = [&](uint32_t letter, uint32_t start) {
      if (letters[letter].letter != query[typed]) return;
      if (wayAt[letter] < next.size() && next[wayAt[letter]].letter == letter) {
        next[wayAt[letter]].start = std::min(next[wayAt[letter]].start, start);
        return;
      }
      wayAt[letter] = next.size();
      next.push_back({letter, start});
    };
    for (const Way& way : ways) {
      const RomajiReading::Letter& at = letters[way.letter];
      if (!at.endsSpelling) goOn(way.letter + 1, way.start);
      else ForEachContinuation(reading, at.piece + 1, [&](uint32_t letter) { goOn(letter, way.start); });
    }
    ways.swap(next);
  }
  if (ways.empty()) return std::nullopt;
  const Way& first = *std::min_element(ways.begin(), ways.end(), [&](const Way& a, const Way& b) {
    return a.start != b.start ? a.start < b.start : letters[a.letter].piece < letters[b.letter].piece;
  });
  return TextMarks{{reading.Pieces()[first.start].begin, reading.Pieces()[letters[first.letter].piece].end}};
}

// Takes from each piece in turn as many of the typed characters as its best spelling holds in
// order: what is left to find after taking the most is the end of what taking fewer would leave.
std::optional<TextMarks> FindSubsequence(const RomajiReading& reading, std::wstring_view query) {
  TextMarks marks;
  size_t found = 0;
  for (const RomajiReading::Piece& piece : reading.Pieces()) {
    size_t longest = 0;
    for (uint32_t index = piece.firstSpelling; index < piece.endSpelling; ++index) {
      longest = std::max(longest, SubsequenceLength(reading, reading.Spellings()[index], query.substr(found)));
    }
    if (!longest) continue;
    Mark(marks, piece.begin, piece.end);
    found += longest;
    if (found == query.size()) return marks;
  }
  return std::nullopt;
}

}  // namespace base
