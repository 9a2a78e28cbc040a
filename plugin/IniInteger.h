// The number forms of the settings file, free of the platform so that it also builds natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace plugin {

// A 32-bit integer written as decimal (optional sign, in range) or as hexadecimal after '$',
// 'x', 'X', "0x" or "0X" (no sign, at most 32 bits, two's complement); nothing for other text.
[[nodiscard]] std::optional<int32_t> ParseIniInteger(std::string_view text);

}  // namespace plugin
