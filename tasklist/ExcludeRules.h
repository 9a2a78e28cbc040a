// Names a user leaves out of the task list: a ';'-separated list of patterns, each matched whole,
// without regard to the case of ASCII letters, '*' standing for any run of characters. Double-byte
// aware: a trail byte is never taken for ';', '*' or a blank, nor folded as a letter. Free of the platform apart from
// the lead-byte test handed in, so that it also builds natively.
#pragma once

#include "base/Mbcs.h"

#include <string>
#include <string_view>
#include <vector>

namespace tasklist {

using LeadByteTest = bool (*)(char c);

class ExcludeRules {
 public:
  ExcludeRules() = default;
  // Parsed once here; blanks around each pattern are trimmed and empty patterns skipped, so an
  // empty or blank value excludes nothing.
  explicit ExcludeRules(std::string_view list, LeadByteTest isLeadByte = &base::IsLeadByte);

  [[nodiscard]] bool Matches(std::string_view name) const;
  bool Empty() const { return patterns_.empty(); }

 private:
  bool Matches(std::string_view pattern, std::string_view name) const;
  size_t CharLength(std::string_view text, size_t at) const;

  std::vector<std::string> patterns_;  // trimmed, single-byte letters lower-cased
  LeadByteTest isLeadByte_ = nullptr;  // asked only about patterns, and there are none then
};

}  // namespace tasklist
