// Packed DIB blocks for the writer tests: a 40-byte header, a colour table
// and bottom-up rows, made from a function of (x, y) with y from the top.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "bmp_icon_fixtures.h"
#include "formats/dib_image.h"

namespace fixtures {

struct Dib {
  Bytes block;
  fmt::DibImage image;
};

// value(x, y): a palette index for 1, 4, 8 bits, 0xRRGGBB for 24 and 32
// bits, the raw 5-5-5 word for 16 bits. table: 0xRRGGBB entries.
inline Dib make_dib(uint32_t w, uint32_t h, int bits, const std::vector<uint32_t>& table,
                    const std::function<uint32_t(uint32_t, uint32_t)>& value, uint32_t colours_used = ~0u) {
  Dib d;
  const uint32_t stride = row_bytes(static_cast<int32_t>(w), bits);
  d.block = info_header(static_cast<int32_t>(w), static_cast<int32_t>(h), bits,
                        colours_used == ~0u ? static_cast<uint32_t>(table.size()) : colours_used, stride * h);
  for (uint32_t c : table) {
    d.block.push_back(static_cast<uint8_t>(c));
    d.block.push_back(static_cast<uint8_t>(c >> 8));
    d.block.push_back(static_cast<uint8_t>(c >> 16));
    d.block.push_back(0);
  }
  const size_t rows_at = d.block.size();
  d.block.resize(rows_at + size_t{stride} * h);
  for (uint32_t y = 0; y < h; ++y) {
    uint8_t* row = &d.block[rows_at + size_t{h - 1 - y} * stride];
    for (uint32_t x = 0; x < w; ++x) {
      const uint32_t v = value(x, y);
      switch (bits) {
        case 1: row[x / 8] = static_cast<uint8_t>(row[x / 8] | ((v & 1) << (7 - x % 8))); break;
        case 4: row[x / 2] = static_cast<uint8_t>(row[x / 2] | ((v & 15) << (x % 2 ? 0 : 4))); break;
        case 8: row[x] = static_cast<uint8_t>(v); break;
        case 16: fmt::put_u16le(row + 2 * x, v); break;
        default: {
          uint8_t* p = row + (bits == 24 ? 3 : 4) * x;
          p[0] = static_cast<uint8_t>(v);
          p[1] = static_cast<uint8_t>(v >> 8);
          p[2] = static_cast<uint8_t>(v >> 16);
        }
      }
    }
  }
  fmt::dib_image_of(d.block.data(), d.block.size(), 0, &d.image);
  return d;
}

inline std::vector<uint32_t> grey_table(uint32_t n) {
  std::vector<uint32_t> t;
  for (uint32_t i = 0; i < n; ++i) t.push_back(i * 0x010101u);
  return t;
}

}  // namespace fixtures
