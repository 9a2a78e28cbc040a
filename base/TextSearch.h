// Looks for typed text in a text or in its romaji reading, both folded by FoldForFinding: as one
// piece, or as a subsequence (the typed characters in order, with gaps, as initials are typed).
// Each search gives the first place found as the text's positions to mark, or nothing.
#pragma once

#include "base/Romaji.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace base {

// Ranges [first, second) of a text's positions, in order, none touching the next.
using TextMarks = std::vector<std::pair<size_t, size_t>>;

// `query` is never empty.
std::optional<TextMarks> FindPiece(std::wstring_view text, std::wstring_view query);
std::optional<TextMarks> FindSubsequence(std::wstring_view text, std::wstring_view query);
// In a reading the marks cover the characters whose reading the match used.
std::optional<TextMarks> FindPiece(const RomajiReading& reading, std::wstring_view query);
std::optional<TextMarks> FindSubsequence(const RomajiReading& reading, std::wstring_view query);

}  // namespace base
