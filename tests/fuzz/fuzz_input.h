// Taking a fuzzer's bytes apart as the targets need them; past the end everything reads 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace ombrisk::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}
  bool empty() const { return at_ >= bytes_.size(); }
  std::uint8_t byte() { return empty() ? 0 : bytes_[at_++]; }
  // The next n bytes (fewer at the end).
  std::span<const std::uint8_t> take(std::size_t n) {
    const std::size_t count = n < bytes_.size() - at_ ? n : bytes_.size() - at_;
    const auto part = bytes_.subspan(at_, count);
    at_ += count;
    return part;
  }
  std::span<const std::uint8_t> rest() { return take(bytes_.size() - at_); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

}  // namespace ombrisk::fuzz
