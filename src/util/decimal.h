// Numbers typed into boxes and kept in INI files, read as the C library reads an integer.
#pragma once

#include <string_view>

namespace ombrisk {

// Leading blanks, an optional sign and decimal digits; anything after them is ignored and no
// digits read as 0. Saturates at ±10^12 instead of overflowing.
long long leadingInteger(std::string_view text);

}  // namespace ombrisk
