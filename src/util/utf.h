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

// Whether text is well-formed UTF-8: no stray or missing continuation bytes, no overlong
// forms, no surrogates, nothing past U+10FFFF.
bool isValidUtf8(std::string_view text);
// Appends the UTF-8 form of a code point (at most U+10FFFF, not a surrogate).
void appendUtf8(std::string& out, char32_t code);

}  // namespace ombrisk
