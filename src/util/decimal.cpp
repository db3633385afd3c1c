#include "util/decimal.h"

#include <algorithm>

namespace ombrisk {

long long leadingDecimal(std::string_view text) {
  constexpr long long kSaturated = 1'000'000'000'000LL;
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  long long value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
    value = std::min(kSaturated, value * 10 + (text[at] - '0'));
  return negative ? -value : value;
}

}  // namespace ombrisk
