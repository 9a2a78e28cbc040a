// The romaji reading of a text: its kana (hiragana, katakana, half-width katakana) spelled in the
// Latin letters a user types for them, in every spelling a Japanese input method takes (Hepburn
// and kunrei-shiki alike: shi/si, chi/ti, tsu/tu, fu/hu, ja/zya/jya, ...); a small tsu doubles the
// next consonant, "ん" is n or nn, "ー" repeats the vowel before it or is left out. Every other
// character stands for itself, folded as FoldForFinding does: kanji are not read, and they end
// nothing either.
//
// The reading is a row of pieces, each some of the text's characters read together (a syllable,
// a small tsu with the syllable it doubles, or one character that is no kana), with the ways to
// spell it; a spelling may be empty (a "ー" left out).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace base {

class RomajiReading {
 public:
  struct Piece {
    uint32_t begin = 0, end = 0;                  // the text's characters [begin, end)
    uint32_t firstSpelling = 0, endSpelling = 0;  // its spellings [first, end) in Spellings()
  };
  struct Spelling {
    uint32_t first = 0, end = 0;  // its letters [first, end) in Letters()
  };
  struct Letter {
    wchar_t letter = 0;
    bool endsSpelling = false;  // the reading goes on with the spellings of the next piece
    uint32_t piece = 0;
  };

  explicit RomajiReading(std::wstring_view text);

  const std::vector<Piece>& Pieces() const { return pieces_; }
  const std::vector<Spelling>& Spellings() const { return spellings_; }
  const std::vector<Letter>& Letters() const { return letters_; }

  // True when the text has a character whose reading is not the character itself.
  static bool HasKana(std::wstring_view text);

 private:
  void AddPiece(size_t begin, size_t end, const std::vector<std::string>& spellings);
  void AddCharacter(size_t at, wchar_t c);

  std::vector<Piece> pieces_;
  std::vector<Spelling> spellings_;
  std::vector<Letter> letters_;
};

}  // namespace base
