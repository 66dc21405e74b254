// Packed DIB blocks for the writer tests: a 40-byte header, a colour table
// and bottom-up rows, made from a function of (x, y) with y from the top.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "bmp_icon_fixtures.h"
#include "formats/dib_image.h"
#include "formats/tif_write.h"

namespace fixtures {

struct Dib {
  Bytes block;
  fmt::DibImage image;
};

// value(x, y) as pack_rows takes it: 0xRRGGBB for 32 bits too, the raw 5-5-5
// word for 16 bits. table: 0xRRGGBB entries.
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
  append(d.block, pack_rows(w, h, bits, value));
  fmt::dib_image_of(d.block.data(), d.block.size(), 0, &d.image);
  return d;
}

// The TIF file of the writer that serves the image, through a small buffer
// so that the writes cross its boundary.
inline Bytes write_tif(const fmt::DibImage& image, fmt::tif::ByteOrder order, bool as16 = false, uint32_t seed = 1234) {
  namespace tif = fmt::tif;
  Bytes out;
  fmt::BufferedWriter w(fmt::vector_sink(&out), 64);
  const bool ok = tif::choose_layout(image, as16) == tif::Layout::Grey16 ? tif::write_grey16(image, order, seed, w)
                                                                          : tif::write_palette_rgb(image, order, w);
  EXPECT_TRUE(ok);
  return out;
}

inline std::vector<uint32_t> grey_table(uint32_t n) {
  std::vector<uint32_t> t;
  for (uint32_t i = 0; i < n; ++i) t.push_back(i * 0x010101u);
  return t;
}

}  // namespace fixtures
