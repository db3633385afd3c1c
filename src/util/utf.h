// UTF-8 <-> UTF-16 conversion for the core, which keeps its texts in UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace ombrisk {

// Invalid input becomes U+FFFD; never throws.
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);
// The first maxUnits UTF-16 code units of text, not splitting a character.
std::string truncateUtf16Units(std::string_view text, std::size_t maxUnits);

}  // namespace ombrisk
