// Small BMP and icon files put together field by field for the tests.
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "formats/bytes.h"

namespace fixtures {

using Bytes = std::vector<uint8_t>;

inline void append_u16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v & 0xFF));
  b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
inline void append_u32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}
inline void append(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }

inline uint32_t row_bytes(int32_t width, int bits) {
  return (static_cast<uint32_t>(width) * static_cast<uint32_t>(bits) + 31) / 32 * 4;
}

// The rows of a w x h image, bottom-up unless top_down, each padded with
// zeros to 4 bytes. value(x, y), y from the top, is a palette index for 1, 4
// and 8 bits, 0xRRGGBB for 24 bits and the stored word for 16 and 32 bits.
inline Bytes pack_rows(uint32_t w, uint32_t h, int bits, const std::function<uint32_t(uint32_t, uint32_t)>& value,
                       bool top_down = false) {
  const uint32_t stride = row_bytes(static_cast<int32_t>(w), bits);
  Bytes rows(size_t{stride} * h, 0);
  for (uint32_t y = 0; y < h; ++y) {
    uint8_t* row = &rows[size_t{top_down ? y : h - 1 - y} * stride];
    for (uint32_t x = 0; x < w; ++x) {
      const uint32_t v = value(x, y);
      switch (bits) {
        case 1: row[x / 8] = static_cast<uint8_t>(row[x / 8] | ((v & 1) << (7 - x % 8))); break;
        case 4: row[x / 2] = static_cast<uint8_t>(row[x / 2] | ((v & 15) << (x % 2 ? 0 : 4))); break;
        case 8: row[x] = static_cast<uint8_t>(v); break;
        case 16: fmt::put_u16le(row + 2 * x, v); break;
        case 24: for (int b = 0; b < 3; ++b) row[3 * x + b] = static_cast<uint8_t>(v >> (8 * b)); break;
        default: fmt::put_u32le(row + 4 * x, v);
      }
    }
  }
  return rows;
}

// A 40-byte info header.
inline Bytes info_header(int32_t width, int32_t height, int bits, uint32_t colours_used,
                         uint32_t image_size, uint32_t size_field = 40, uint32_t compression = 0) {
  Bytes b;
  append_u32(b, size_field);
  append_u32(b, static_cast<uint32_t>(width));
  append_u32(b, static_cast<uint32_t>(height));
  append_u16(b, 1);
  append_u16(b, static_cast<uint32_t>(bits));
  append_u32(b, compression);
  append_u32(b, image_size);
  append_u32(b, 0);
  append_u32(b, 0);
  append_u32(b, colours_used);
  append_u32(b, colours_used);
  return b;
}

// Table entries i = 0 .. n-1 of (blue, green, red, 0) = (i, 2i, 3i) mod 256.
inline Bytes ramp_table(uint32_t n) {
  Bytes b;
  for (uint32_t i = 0; i < n; ++i) {
    b.push_back(static_cast<uint8_t>(i));
    b.push_back(static_cast<uint8_t>(2 * i));
    b.push_back(static_cast<uint8_t>(3 * i));
    b.push_back(0);
  }
  return b;
}

// A BMP file: header, info header, table, rows. The declared size is the
// real length; pixel_offset ~0u means "right after the table".
inline Bytes bmp_file(const Bytes& info, const Bytes& table, const Bytes& rows,
                      uint32_t pixel_offset = ~0u) {
  Bytes b = {'B', 'M'};
  const auto size = static_cast<uint32_t>(14 + info.size() + table.size() + rows.size());
  append_u32(b, size);
  append_u32(b, 0);
  append_u32(b, pixel_offset == ~0u ? static_cast<uint32_t>(14 + info.size() + table.size())
                                    : pixel_offset);
  append(b, info);
  append(b, table);
  append(b, rows);
  return b;
}

// Rows of a bitmap whose byte k of row r is (r * 16 + k + 1): every byte
// differs, so a misplaced row or column shows.
inline Bytes numbered_rows(uint32_t row_len, uint32_t rows) {
  Bytes b;
  for (uint32_t r = 0; r < rows; ++r)
    for (uint32_t k = 0; k < row_len; ++k) b.push_back(static_cast<uint8_t>(r * 16 + k + 1));
  return b;
}

// A one-image icon: directory, info header with doubled height, table, XOR
// rows, AND rows, exactly as given.
inline Bytes icon_file(int32_t width, int32_t height, int bits, const Bytes& table, const Bytes& xor_rows,
                       const Bytes& and_rows) {
  Bytes b = {0, 0, 1, 0, 1, 0};
  b.insert(b.end(), {static_cast<uint8_t>(width), static_cast<uint8_t>(height), 0, 0});
  append_u16(b, 1);
  append_u16(b, static_cast<uint32_t>(bits));
  append_u32(b, static_cast<uint32_t>(40 + table.size() + xor_rows.size() + and_rows.size()));
  append_u32(b, 22);
  append(b, info_header(width, 2 * height, bits, 0, 0));
  append(b, table);
  append(b, xor_rows);
  append(b, and_rows);
  return b;
}

// A BMP file of any depth with a ramp table of `entries` and all its rows,
// numbered; a negative height stores them top-down.
inline Bytes numbered_bmp(int32_t width, int32_t height, int bits, uint32_t used, uint32_t entries,
                          uint32_t image_size = 0, uint32_t pixel_offset = ~0u) {
  const auto rows = static_cast<uint32_t>(height < 0 ? -height : height);
  return bmp_file(info_header(width, height, bits, used, image_size), ramp_table(entries),
                  numbered_rows(row_bytes(width, bits), rows), pixel_offset);
}

// A valid one-image icon of any depth: the ramp table (none for 24 bits),
// numbered XOR rows and AND rows whose every byte is mask.
inline Bytes numbered_icon(int32_t width, int32_t height, int bits, uint8_t mask) {
  const auto h = static_cast<uint32_t>(height);
  return icon_file(width, height, bits, ramp_table(bits <= 8 ? 1u << bits : 0),
                   numbered_rows(row_bytes(width, bits), h), Bytes(size_t{row_bytes(width, 1)} * h, mask));
}

inline Bytes repeat(std::initializer_list<uint8_t> row, uint32_t times) {
  Bytes b;
  for (uint32_t i = 0; i < times; ++i) b.insert(b.end(), row);
  return b;
}

}  // namespace fixtures
