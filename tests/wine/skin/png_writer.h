// Writes small PNG files for the skin tests: 8-bit RGB or RGBA, stored (uncompressed) deflate.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace ombrisk::testing {

struct Rgba {
  std::uint8_t r, g, b, a;
};

inline std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

inline void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

inline void putChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
  putBigEndian(out, static_cast<std::uint32_t>(data.size()));
  std::vector<std::uint8_t> typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  out.insert(out.end(), typed.begin(), typed.end());
  putBigEndian(out, crc32(typed.data(), typed.size()));
}

// The bytes of a width x height PNG; alpha false writes colour type 2 (no alpha channel).
inline std::vector<std::uint8_t> pngBytes(int width, int height, const std::vector<Rgba>& pixels, bool alpha) {
  std::vector<std::uint8_t> raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // filter: none
    for (int x = 0; x < width; ++x) {
      const Rgba& p = pixels[static_cast<std::size_t>(y) * width + x];
      raw.insert(raw.end(), {p.r, p.g, p.b});
      if (alpha) raw.push_back(p.a);
    }
  }
  std::vector<std::uint8_t> zlib = {0x78, 0x01};
  std::size_t at = 0;
  do {
    const std::size_t length = std::min<std::size_t>(65535, raw.size() - at);
    const bool last = at + length == raw.size();
    zlib.push_back(last ? 1 : 0);
    zlib.push_back(static_cast<std::uint8_t>(length));
    zlib.push_back(static_cast<std::uint8_t>(length >> 8));
    zlib.push_back(static_cast<std::uint8_t>(~length));
    zlib.push_back(static_cast<std::uint8_t>(~length >> 8));
    zlib.insert(zlib.end(), raw.begin() + at, raw.begin() + at + length);
    at += length;
  } while (at < raw.size());
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  putBigEndian(zlib, b << 16 | a);

  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  putBigEndian(header, static_cast<std::uint32_t>(width));
  putBigEndian(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, static_cast<std::uint8_t>(alpha ? 6 : 2), 0, 0, 0});
  putChunk(out, "IHDR", header);
  putChunk(out, "IDAT", zlib);
  putChunk(out, "IEND", {});
  return out;
}

inline std::vector<std::uint8_t> solidPng(int width, int height, Rgba colour, bool alpha = true) {
  return pngBytes(width, height, std::vector<Rgba>(static_cast<std::size_t>(width) * height, colour), alpha);
}

inline void writeFileBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace ombrisk::testing
