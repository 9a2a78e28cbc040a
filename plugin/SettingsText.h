// The settings file's bytes as the reader parses them: text in the ANSI code page. Editors save
// UTF-8 or UTF-16 with a byte-order mark; such a file is decoded and handed to the caller's
// conversion. Free of the platform, like IniSections, so that it also builds natively.
#pragma once

#include <string>
#include <string_view>

namespace plugin {

// Returns the UTF-16 text in the ANSI code page; on Windows, WideCharToMultiByte(CP_ACP).
using WideToAnsi = std::string (*)(std::u16string_view text);

// Bytes without a byte-order mark are returned as they are. After a UTF-8 (EF BB BF), UTF-16 LE
// (FF FE) or UTF-16 BE (FE FF) mark the rest is decoded, malformed sequences and a lone last byte
// becoming U+FFFD, and converted by `toAnsi`.
[[nodiscard]] std::string SettingsText(std::string_view bytes, WideToAnsi toAnsi);

}  // namespace plugin
