// Bitfield and RLE files built from known pixels, the viewer's way of
// reading them, and the pixels of a normalised block, for the normaliser's
// own tests and the comparisons with other programs' readers.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bmp_icon_fixtures.h"
#include "formats/dib_normalise.h"

namespace normfix {

using fixtures::Bytes;

// A mask's field of pixel widened to 8 bits by bit replication, written out
// as the rule says: the field's bits repeated left to right, the first eight
// taken.
inline uint8_t replicate(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  std::string bits;
  for (int b = 31; b >= 0; --b)
    if ((mask >> b) & 1) bits += ((pixel >> b) & 1) ? '1' : '0';
  std::string out;
  while (out.size() < 8) out += bits;
  return static_cast<uint8_t>(std::stoul(out.substr(0, 8), nullptr, 2));
}

// The 0xRRGGBB colour of a raw pixel value under red, green and blue masks.
inline uint32_t masked_rgb(uint32_t pixel, const uint32_t masks[3]) {
  return uint32_t{replicate(pixel, masks[0])} << 16 | uint32_t{replicate(pixel, masks[1])} << 8 |
         replicate(pixel, masks[2]);
}
constexpr uint32_t kMasks555[3] = {0x7C00, 0x03E0, 0x001F};

// raw: one 16- or 32-bit value a pixel, top row first; a negative height
// writes the rows top-down.
inline Bytes bitfield_file(int32_t width, int32_t height, uint32_t bits, const uint32_t masks[3],
                           const std::vector<uint32_t>& raw) {
  const auto w = static_cast<uint32_t>(width);
  const auto rows = static_cast<uint32_t>(height < 0 ? -height : height);
  const Bytes data = fixtures::pack_rows(w, rows, static_cast<int>(bits),
                                         [&](uint32_t x, uint32_t y) { return raw[size_t{y} * w + x]; }, height < 0);
  Bytes masks_bytes;
  for (int i = 0; i < 3; ++i) fixtures::append_u32(masks_bytes, masks[i]);
  return fixtures::bmp_file(
      fixtures::info_header(width, height, static_cast<int>(bits), 0, static_cast<uint32_t>(data.size()), 40,
                            fmt::bmp::kBiBitfields),
      masks_bytes, data);
}

// An RLE8 (bits 8) or RLE4 (bits 4) file around the given codes, with a
// table of `table` entries (0: the full table, colours used 0).
inline Bytes rle_file(int32_t width, int32_t height, uint32_t bits, const Bytes& codes, uint32_t table = 0) {
  const uint32_t compression = bits == 8 ? fmt::bmp::kBiRle8 : fmt::bmp::kBiRle4;
  return fixtures::bmp_file(fixtures::info_header(width, height, static_cast<int>(bits), table,
                                                  static_cast<uint32_t>(codes.size()), 40, compression),
                            fixtures::ramp_table(table ? table : (1u << bits)), codes);
}

// Encodes an index image (top row first): runs of three or more equal
// pixels as encoded runs, everything else as absolute runs (or short
// encoded runs where fewer than three pixels remain), an end of line after
// each row but the last, and an end of bitmap.
inline Bytes rle_encode(const std::vector<uint8_t>& img, int32_t w, int32_t h, uint32_t bits) {
  Bytes out;
  const bool four = bits == 4;
  for (int32_t y = h - 1; y >= 0; --y) {
    const uint8_t* row = &img[static_cast<size_t>(y) * static_cast<size_t>(w)];
    int32_t x = 0;
    auto same_from = [&](int32_t at) {
      int32_t n = 1;
      while (at + n < w && row[at + n] == row[at] && n < 255) ++n;
      return n;
    };
    while (x < w) {
      const int32_t run = same_from(x);
      if (run >= 3) {
        out.push_back(static_cast<uint8_t>(run));
        out.push_back(static_cast<uint8_t>(four ? row[x] << 4 | row[x] : row[x]));
        x += run;
        continue;
      }
      int32_t end = x;
      while (end < w && same_from(end) < 3 && end - x < 255) ++end;
      const int32_t n = end - x;
      if (n < 3) {  // too short for an absolute run
        for (int32_t i = 0; i < n; ++i) {
          out.push_back(1);
          out.push_back(static_cast<uint8_t>(four ? row[x + i] << 4 : row[x + i]));
        }
      } else {
        out.push_back(0);
        out.push_back(static_cast<uint8_t>(n));
        Bytes abs;
        for (int32_t i = 0; i < n; ++i) {
          if (!four) abs.push_back(row[x + i]);
          else if (i % 2 == 0) abs.push_back(static_cast<uint8_t>(row[x + i] << 4));
          else abs.back() = static_cast<uint8_t>(abs.back() | row[x + i]);
        }
        if (abs.size() % 2) abs.push_back(0);
        fixtures::append(out, abs);
      }
      x = end;
    }
    if (y > 0) out.insert(out.end(), {0, 0});
  }
  out.insert(out.end(), {0, 1});
  return out;
}

struct Normalised {
  fmt::bmp::BmpReadError error = fmt::bmp::BmpReadError::None;
  bool converted = false;
  Bytes block;
  fmt::bmp::FileHeader header;  // the record's file header after the read
};

// The viewer's read of a whole file: file header, length check, plan, then
// a conversion into a block of exactly the planned size or a finish in place.
inline Normalised normalise_file(const Bytes& file) {
  using namespace fmt::bmp;
  Normalised r;
  r.error = parse_file_header(file.data(), file.size(), &r.header);
  if (r.error == BmpReadError::None) r.error = check_declared_size(r.header, file.size());
  if (r.error != BmpReadError::None) return r;
  Bytes src(file.begin() + kFileHeaderSize, file.begin() + kFileHeaderSize + r.header.block_size);
  const NormalisePlan plan = plan_normalise(src.data(), src.size(), r.header);
  r.error = plan.error;
  if (r.error != BmpReadError::None) return r;
  r.converted = plan.convert;
  if (!plan.convert) {
    r.error = finish_dib(src.data(), src.size(), r.header);
    r.block = src;
    return r;
  }
  r.block.assign(static_cast<size_t>(plan.out_size), 0xCD);  // not zero: padding must be written
  r.error = normalise_into(src.data(), src.size(), r.header, plan, r.block.data(), r.block.size());
  r.header = normalised_file_header(plan);
  return r;
}

// Pixels of a plain bottom-up block with its rows after the table, top row
// first: indices for 1 to 8 bits, 0xRRGGBB for 24 bits.
struct Image {
  int bits = 0;
  int32_t width = 0, height = 0;
  std::vector<uint8_t> index;
  std::vector<uint32_t> rgb;
};

inline Image pixels_of(const Bytes& block) {
  Image img;
  img.width = fmt::get_i32le(&block[4]);
  img.height = fmt::get_i32le(&block[8]);
  img.bits = fmt::get_u16le(&block[14]);
  const uint32_t table = fmt::get_u32le(&block[32]);
  const size_t rows_at = 40 + 4 * size_t{table};
  const uint32_t stride = fixtures::row_bytes(img.width, img.bits);
  for (int32_t y = img.height - 1; y >= 0; --y) {
    const uint8_t* row = &block[rows_at + static_cast<size_t>(y) * stride];
    for (int32_t x = 0; x < img.width; ++x) {
      if (img.bits == 24) {
        const uint8_t* p = row + 3 * x;
        img.rgb.push_back(uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0]);
      } else if (img.bits == 8) {
        img.index.push_back(row[x]);
      } else if (img.bits == 1) {
        img.index.push_back(static_cast<uint8_t>((row[x / 8] >> (7 - x % 8)) & 1));
      } else {
        img.index.push_back(static_cast<uint8_t>(x % 2 ? row[x / 2] & 0x0F : row[x / 2] >> 4));
      }
    }
  }
  return img;
}

// The normalised block's pixels as RGB bytes, top row first, through its table.
inline Bytes rgb_of(const Bytes& block) {
  const Image img = pixels_of(block);
  Bytes out;
  if (img.bits == 24) {
    for (uint32_t c : img.rgb) out.insert(out.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    return out;
  }
  for (uint8_t i : img.index) {
    const uint8_t* e = &block[40 + 4 * size_t{i}];
    out.insert(out.end(), {e[2], e[1], e[0]});
  }
  return out;
}

// A plain bottom-up block of these figures: the 40-byte header, a table of
// `entries` and the rows, nothing else, each header field saying so.
inline void expect_plain_block(const Bytes& b, int32_t width, int32_t height, uint32_t bits, uint32_t entries) {
  using namespace fmt::bmp;
  const uint32_t image = fixtures::row_bytes(width, static_cast<int>(bits)) * static_cast<uint32_t>(height);
  EXPECT_EQ(fmt::get_u32le(&b[kOffSize]), kInfoHeaderSize);
  EXPECT_EQ(fmt::get_i32le(&b[kOffWidth]), width);
  EXPECT_EQ(fmt::get_i32le(&b[kOffHeight]), height);
  EXPECT_EQ(fmt::get_u16le(&b[kOffPlanes]), 1u);
  EXPECT_EQ(fmt::get_u16le(&b[kOffBitCount]), bits);
  EXPECT_EQ(fmt::get_u32le(&b[kOffCompression]), kBiRgb);
  EXPECT_EQ(fmt::get_u32le(&b[kOffImageSize]), image);
  EXPECT_EQ(fmt::get_u32le(&b[kOffColoursUsed]), entries);
  EXPECT_EQ(b.size(), 40 + 4 * size_t{entries} + image);
}

// The bytes of every row past its last pixel are zero.
inline bool padding_is_zero(const Bytes& block) {
  const int32_t w = fmt::get_i32le(&block[4]), h = fmt::get_i32le(&block[8]);
  const int bits = fmt::get_u16le(&block[14]);
  const size_t rows_at = 40 + 4 * size_t{fmt::get_u32le(&block[32])};
  const uint32_t stride = fixtures::row_bytes(w, bits);
  const uint32_t used = (static_cast<uint32_t>(w) * static_cast<uint32_t>(bits) + 7) / 8;
  for (int32_t y = 0; y < h; ++y)
    for (uint32_t k = used; k < stride; ++k)
      if (block[rows_at + static_cast<size_t>(y) * stride + k] != 0) return false;
  // A 4-bit row of odd width also leaves the low nibble of its last byte.
  if (bits == 4 && w % 2)
    for (int32_t y = 0; y < h; ++y)
      if (block[rows_at + static_cast<size_t>(y) * stride + used - 1] & 0x0F) return false;
  return true;
}

}  // namespace normfix
