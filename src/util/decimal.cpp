#include "util/decimal.h"

#include <algorithm>

namespace ombrisk {

long long leadingInteger(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  long long value = 0;
  constexpr long long kCeiling = 1'000'000'000'000LL;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
    value = std::min(kCeiling, value * 10 + (text[at] - '0'));
  return negative ? -value : value;
}

}  // namespace ombrisk
