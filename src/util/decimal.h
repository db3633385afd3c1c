// Numbers typed into edit boxes or stored in INI files, read as the C library reads a
// decimal number: leading blanks and one sign, then digits up to the first other character.
#pragma once

#include <string_view>

namespace ombrisk {

// No digits give 0. The value saturates at plus or minus 10^12 instead of overflowing, so
// that any number of digits reads as "far too large".
long long leadingDecimal(std::string_view text);

}  // namespace ombrisk
