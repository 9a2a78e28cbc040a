#include "base/Romaji.h"

#include "base/FindFolding.h"

#include <iterator>

namespace base {
namespace {

constexpr wchar_t kFirstHiragana = 0x3041;                        // ぁ
constexpr wchar_t kLastHiragana = 0x3096;                         // ゖ
constexpr wchar_t kHiraganaToKatakana = 0x60;                     // ぁ U+3041 is ァ U+30A1
constexpr wchar_t kFirstKatakana = 0x30A1;                        // ァ
constexpr wchar_t kLastKatakana = 0x30FA;                         // ヺ
constexpr wchar_t kProlongedSound = 0x30FC;                       // ー
constexpr wchar_t kFirstHalfWidthKana = 0xFF66;                   // ｦ
constexpr wchar_t kLastHalfWidthKana = 0xFF9D;                    // ﾝ
constexpr wchar_t kSmallTsu = 0x30C3;                             // ッ
constexpr wchar_t kVoicedMarks[] = {0x3099, 0x309B, 0xFF9E};      // combining, spacing, half-width ﾞ
constexpr wchar_t kSemiVoicedMarks[] = {0x309A, 0x309C, 0xFF9F};  // combining, spacing, half-width ﾟ

// The full-width katakana of the half-width ones, ｦ U+FF66 to ﾝ U+FF9D.
constexpr wchar_t kHalfWidthKana[] =
    L"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン";
static_assert(std::size(kHalfWidthKana) - 1 == kLastHalfWidthKana - kFirstHalfWidthKana + 1);

// The spellings of the katakana ァ U+30A1 to ヺ U+30FA, in code order, alternatives between '|'.
// Small kana alone are spelled as input methods take them (xa, la).
// clang-format off
constexpr const char* kKatakanaSpellings[] = {
    "a|xa|la", "a", "i|xi|li", "i", "u|xu|lu", "u", "e|xe|le", "e", "o|xo|lo", "o",      // ァ ア ... ォ オ
    "ka", "ga", "ki", "gi", "ku", "gu", "ke", "ge", "ko", "go",                           // カ ガ ... コ ゴ
    "sa", "za", "shi|si", "ji|zi", "su", "zu", "se", "ze", "so", "zo",                    // サ ザ ... ソ ゾ
    "ta", "da", "chi|ti", "ji|di|zi", "xtu|ltu|xtsu|ltsu", "tsu|tu", "zu|du",             // タ ダ チ ヂ ッ ツ ヅ
    "te", "de", "to", "do",                                                               // テ デ ト ド
    "na", "ni", "nu", "ne", "no",                                                         // ナ ... ノ
    "ha", "ba", "pa", "hi", "bi", "pi", "fu|hu", "bu", "pu",                              // ハ バ パ ... プ
    "he", "be", "pe", "ho", "bo", "po",                                                   // ヘ ... ポ
    "ma", "mi", "mu", "me", "mo",                                                         // マ ... モ
    "ya|xya|lya", "ya", "yu|xyu|lyu", "yu", "yo|xyo|lyo", "yo",                           // ャ ヤ ュ ユ ョ ヨ
    "ra", "ri", "ru", "re", "ro",                                                         // ラ ... ロ
    "wa|xwa|lwa", "wa", "wi|i", "we|e", "wo|o", "n|nn", "vu",                             // ヮ ワ ヰ ヱ ヲ ン ヴ
    "ka|xka|lka", "ke|ka|ga|xke|lke",                                                     // ヵ ヶ (ヶ月, 霞ヶ関)
    "va", "vi", "ve", "vo",                                                               // ヷ ヸ ヹ ヺ
};
// clang-format on
static_assert(std::size(kKatakanaSpellings) == kLastKatakana - kFirstKatakana + 1);

// Syllables of a kana and a small vowel that input methods spell as one, beyond the kana of the
// i column with a small ya, yu, yo or e (CombinedWithY).
struct Combination {
  wchar_t kana, small;
  const char* spellings;
};
constexpr Combination kCombinations[] = {
    {L'フ', L'ァ', "fa"},      {L'フ', L'ィ', "fi"},      {L'フ', L'ェ', "fe"},     {L'フ', L'ォ', "fo"},
    {L'フ', L'ュ', "fyu"},     {L'ヴ', L'ァ', "va"},      {L'ヴ', L'ィ', "vi"},     {L'ヴ', L'ェ', "ve"},
    {L'ヴ', L'ォ', "vo"},      {L'ヴ', L'ュ', "vyu"},     {L'テ', L'ィ', "thi|ti"}, {L'デ', L'ィ', "dhi|di"},
    {L'テ', L'ュ', "thu|tyu"}, {L'デ', L'ュ', "dhu|dyu"}, {L'ト', L'ゥ', "twu|tu"}, {L'ド', L'ゥ', "dwu|du"},
    {L'ウ', L'ィ', "wi"},      {L'ウ', L'ェ', "we"},      {L'ウ', L'ォ', "who|wo"}, {L'イ', L'ェ', "ye"},
    {L'ツ', L'ァ', "tsa"},     {L'ツ', L'ィ', "tsi"},     {L'ツ', L'ェ', "tse"},    {L'ツ', L'ォ', "tso"},
    {L'ク', L'ァ', "kwa|qa"},  {L'グ', L'ァ', "gwa"},
};

bool IsOneOf(wchar_t c, const wchar_t (&set)[3]) { return c == set[0] || c == set[1] || c == set[2]; }

// The katakana of a hiragana, katakana, half-width katakana or "ー"; 0 for any other character.
wchar_t KatakanaOf(wchar_t c) {
  if (c >= kFirstHiragana && c <= kLastHiragana) return static_cast<wchar_t>(c + kHiraganaToKatakana);
  if ((c >= kFirstKatakana && c <= kLastKatakana) || c == kProlongedSound) return c;
  if (c >= kFirstHalfWidthKana && c <= kLastHalfWidthKana) return kHalfWidthKana[c - kFirstHalfWidthKana];
  return 0;
}

// The katakana with a voiced mark (カ -> ガ, ウ -> ヴ, ワ -> ヷ); 0 when it takes none.
wchar_t Voiced(wchar_t k) {
  if (k == L'ウ') return L'ヴ';
  if (k >= L'ワ' && k <= L'ヲ') return static_cast<wchar_t>(k - L'ワ' + L'ヷ');
  if (k >= L'カ' && k <= L'チ' && (k - L'カ') % 2 == 0) return static_cast<wchar_t>(k + 1);
  if (k == L'ツ' || k == L'テ' || k == L'ト') return static_cast<wchar_t>(k + 1);
  if (k >= L'ハ' && k <= L'ホ' && (k - L'ハ') % 3 == 0) return static_cast<wchar_t>(k + 1);
  return 0;
}

// The katakana with a semi-voiced mark (ハ -> パ); 0 when it takes none.
wchar_t SemiVoiced(wchar_t k) {
  return k >= L'ハ' && k <= L'ホ' && (k - L'ハ') % 3 == 0 ? static_cast<wchar_t>(k + 2) : 0;
}

// The kana at `at` as its katakana, a voicing mark after it taken in; `end` is where it ends.
wchar_t KanaAt(std::wstring_view text, size_t at, size_t& end) {
  const wchar_t kana = KatakanaOf(text[at]);
  end = at + 1;
  if (!kana || end == text.size()) return kana;
  const wchar_t mark = text[end];
  const wchar_t marked = IsOneOf(mark, kVoicedMarks)       ? Voiced(kana)
                         : IsOneOf(mark, kSemiVoicedMarks) ? SemiVoiced(kana)
                                                           : 0;
  if (!marked) return kana;
  ++end;
  return marked;
}

void AddAlternatives(std::string_view alternatives, std::vector<std::string>& spellings) {
  for (size_t bar; (bar = alternatives.find('|')) != std::string_view::npos; alternatives.remove_prefix(bar + 1)) {
    spellings.emplace_back(alternatives.substr(0, bar));
  }
  spellings.emplace_back(alternatives);
}

bool IsSmallY(wchar_t k) { return k == L'ャ' || k == L'ュ' || k == L'ョ' || k == L'ェ'; }
bool IsSmall(wchar_t k) { return IsSmallY(k) || k == L'ァ' || k == L'ィ' || k == L'ゥ' || k == L'ォ' || k == L'ヮ'; }

// A kana of the i column with a small ya, yu, yo or e: kya, sha/sya, cha/tya/cya, ja/zya/jya.
void CombinedWithY(const std::vector<std::string>& iSpellings, wchar_t small, std::vector<std::string>& spellings) {
  const char vowel = small == L'ャ' ? 'a' : small == L'ュ' ? 'u' : small == L'ョ' ? 'o' : 'e';
  for (const std::string& spelling : iSpellings) {
    const std::string stem = spelling.substr(0, spelling.size() - 1);
    if (stem == "sh" || stem == "ch" || stem == "j") spellings.push_back(stem + vowel);
    if (stem == "ch") spellings.push_back(std::string("cy") + vowel);
    else if (stem == "j") spellings.push_back(std::string("jy") + vowel);
    else if (stem != "sh") spellings.push_back(stem + 'y' + vowel);
  }
}

// Spells the two kana as one syllable; false when input methods spell them one by one.
bool SpellCombination(wchar_t kana, wchar_t small, std::vector<std::string>& spellings) {
  for (const Combination& combination : kCombinations) {
    if (combination.kana == kana && combination.small == small) {
      AddAlternatives(combination.spellings, spellings);
      return true;
    }
  }
  if (!IsSmallY(small) || kana == kProlongedSound) return false;
  std::vector<std::string> iSpellings;
  AddAlternatives(kKatakanaSpellings[kana - kFirstKatakana], iSpellings);
  for (const std::string& spelling : iSpellings) {
    if (spelling.size() < 2 || spelling.back() != 'i') return false;  // イ, ヰ and the kana of other columns
  }
  CombinedWithY(iSpellings, small, spellings);
  return true;
}

// Spells the syllable at `at` into `spellings` and returns where it ends; `at` when there is no
// kana there, or a "ー".
size_t SpellSyllable(std::wstring_view text, size_t at, std::vector<std::string>& spellings) {
  spellings.clear();
  size_t end = at;
  const wchar_t kana = at < text.size() ? KanaAt(text, at, end) : 0;
  if (!kana || kana == kProlongedSound) return at;
  if (end < text.size()) {
    size_t smallEnd = end;
    const wchar_t small = KanaAt(text, end, smallEnd);
    if (IsSmall(small) && SpellCombination(kana, small, spellings)) return smallEnd;
  }
  AddAlternatives(kKatakanaSpellings[kana - kFirstKatakana], spellings);
  return end;
}

// The spellings of a syllable after a small tsu, its consonant doubled (kka, sshi, cchi/tchi);
// none when it begins with a vowel or n, which a small tsu does not double.
std::vector<std::string> Doubled(const std::vector<std::string>& spellings) {
  std::vector<std::string> doubled;
  for (const std::string& spelling : spellings) {
    if (std::string_view("aiueonxl").find(spelling[0]) != std::string_view::npos) continue;
    doubled.push_back(spelling[0] + spelling);
    if (spelling.compare(0, 2, "ch") == 0) doubled.push_back('t' + spelling);
  }
  return doubled;
}

bool IsVowel(char c) { return std::string_view("aiueo").find(c) != std::string_view::npos; }

}  // namespace

RomajiReading::RomajiReading(std::wstring_view text) {
  pieces_.reserve(text.size());
  spellings_.reserve(text.size() * 2);
  letters_.reserve(text.size() * 4);
  std::vector<std::string> spellings;
  std::vector<std::string> next;
  char vowel = 0;  // the vowel that a "ー" here repeats
  for (size_t at = 0; at < text.size();) {
    size_t end = at;
    const wchar_t kana = KanaAt(text, at, end);
    if (kana == kProlongedSound) {
      spellings = {"", "-"};
      if (vowel) spellings.emplace_back(1, vowel);
      AddPiece(at, end, spellings);
      at = end;
      continue;
    }
    end = SpellSyllable(text, at, spellings);
    if (end == at) {
      AddCharacter(at, FoldForFinding(text[at]));
      vowel = 0;
      ++at;
      continue;
    }
    if (kana == kSmallTsu) {
      const size_t nextEnd = SpellSyllable(text, end, next);
      std::vector<std::string> doubled = Doubled(next);
      if (nextEnd != end && !doubled.empty()) {
        spellings = std::move(doubled);
        end = nextEnd;
      }
    }
    AddPiece(at, end, spellings);
    vowel = IsVowel(spellings.front().back()) ? spellings.front().back() : 0;
    at = end;
  }
}

bool RomajiReading::HasKana(std::wstring_view text) {
  for (const wchar_t c : text) {
    if (KatakanaOf(c)) return true;
  }
  return false;
}

void RomajiReading::AddPiece(size_t begin, size_t end, const std::vector<std::string>& spellings) {
  const auto piece = static_cast<uint32_t>(pieces_.size());
  pieces_.push_back({static_cast<uint32_t>(begin), static_cast<uint32_t>(end), static_cast<uint32_t>(spellings_.size()),
                     static_cast<uint32_t>(spellings_.size() + spellings.size())});
  for (const std::string& spelling : spellings) {
    spellings_.push_back(
        {static_cast<uint32_t>(letters_.size()), static_cast<uint32_t>(letters_.size() + spelling.size())});
    for (const char letter : spelling) letters_.push_back({static_cast<wchar_t>(letter), false, piece});
    if (!spelling.empty()) letters_.back().endsSpelling = true;
  }
}

void RomajiReading::AddCharacter(size_t at, wchar_t c) {
  const auto piece = static_cast<uint32_t>(pieces_.size());
  pieces_.push_back({static_cast<uint32_t>(at), static_cast<uint32_t>(at + 1), static_cast<uint32_t>(spellings_.size()),
                     static_cast<uint32_t>(spellings_.size() + 1)});
  spellings_.push_back({static_cast<uint32_t>(letters_.size()), static_cast<uint32_t>(letters_.size() + 1)});
  letters_.push_back({c, true, piece});
}

}  // namespace base
