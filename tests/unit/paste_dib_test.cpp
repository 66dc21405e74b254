// What paste makes of a CF_DIB: the forms the file reader accepts become the
// same plain bottom-up block; other header sizes are refused so that paste
// turns to CF_BITMAP.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "dib_normalise_fixtures.h"
#include "formats/dib_image.h"
#include "formats/paste_dib.h"

using fixtures::Bytes;
namespace bmp = fmt::bmp;

namespace {

constexpr int32_t W = 5, H = 3;

// The colour a reader of the finished block sees at (x, y), y from the top.
uint32_t colour_at(const fmt::DibImage& d, uint32_t x, uint32_t y) {
  const uint8_t* row = d.row(d.height - 1 - y);
  auto entry = [&](uint32_t i) {
    if (i >= d.table_entries) return 0xBADu;
    const uint8_t* e = d.table + 4 * i;
    return uint32_t{e[2]} << 16 | uint32_t{e[1]} << 8 | e[0];
  };
  switch (d.bit_count) {
    case 1: return entry((row[x / 8] >> (7 - x % 8)) & 1);
    case 4: return entry(x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4);
    case 8: return entry(row[x]);
    case 16: return normfix::masked_rgb(fmt::get_u16le(row + 2 * x), normfix::kMasks555);
    default: {
      const uint8_t* p = row + (d.bit_count == 24 ? 3 : 4) * x;
      return uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
    }
  }
}

struct Pasted {
  bmp::BmpReadError error;
  Bytes block;
};

Pasted paste(const Bytes& dib) {
  const bmp::NormalisePlan plan = bmp::plan_paste(dib.data(), dib.size());
  if (plan.error != bmp::BmpReadError::None) return {plan.error, {}};
  Bytes out(static_cast<size_t>(plan.out_size), 0xCD);
  return {bmp::normalise_into(dib.data(), dib.size(), bmp::FileHeader{}, plan, out.data(), out.size()), out};
}

Bytes dib_of_file(const Bytes& file) { return Bytes(file.begin() + 14, file.end()); }

// Rows of W x H, stored bottom-up unless topDown.
Bytes rows(int bits, bool topDown, const std::function<uint32_t(uint32_t, uint32_t)>& value) {
  return fixtures::pack_rows(W, H, bits, value, topDown);
}

Bytes dib(int bits, int32_t height, uint32_t used, const Bytes& table, const Bytes& pixels, uint32_t compression = 0,
          uint32_t header = 40) {
  Bytes b = fixtures::info_header(W, height, bits, used, static_cast<uint32_t>(pixels.size()), header, compression);
  b.resize(header, 0);
  fixtures::append(b, table);
  fixtures::append(b, pixels);
  return b;
}

uint32_t ramp(uint32_t i) { return (3 * i % 256) << 16 | (2 * i % 256) << 8 | (i % 256); }  // fixtures::ramp_table
uint32_t picture(uint32_t x, uint32_t y) { return (x * 0x3B5D1Fu + y * 0x1F00A7u) & 0xFFFFFF; }

}  // namespace

TEST(PasteDib, EveryAcceptedFormBecomesAPlainBlock) {
  const uint32_t masks565[3] = {0xF800, 0x07E0, 0x001F};
  const uint32_t masks32[3] = {0xFF0000, 0xFF00, 0xFF};
  std::vector<uint8_t> idx8(W * H), idx4(W * H);
  for (uint32_t i = 0; i < W * H; ++i) {
    idx8[i] = static_cast<uint8_t>(i * 37 % 256);
    idx4[i] = static_cast<uint8_t>(i * 7 % 16);
  }
  auto index8 = [&](uint32_t x, uint32_t y) { return uint32_t{idx8[y * W + x]}; };
  auto word555 = [](uint32_t x, uint32_t y) { return (x * 0x1234u + y * 0x0F0Fu) & 0x7FFF; };
  auto widen555 = [&](uint32_t x, uint32_t y) { return normfix::masked_rgb(word555(x, y), normfix::kMasks555); };
  std::vector<uint32_t> raw565, raw32;
  for (uint32_t y = 0; y < H; ++y)
    for (uint32_t x = 0; x < W; ++x) {
      raw565.push_back((x * 0x2345u + y * 0x1111u) & 0xFFFF);
      raw32.push_back(picture(x, y));
    }
  auto from565 = [&](uint32_t x, uint32_t y) { return normfix::masked_rgb(raw565[y * W + x], masks565); };

  struct Case {
    std::string name;
    Bytes source;
    uint32_t bits;  // of the finished block
    uint32_t table_entries;
    std::function<uint32_t(uint32_t, uint32_t)> colour;
  };
  const std::vector<Case> cases = {
      {"1 bit", dib(1, H, 2, fixtures::ramp_table(2), rows(1, false, [](uint32_t x, uint32_t y) { return (x + y) % 2; })),
       1, 2, [](uint32_t x, uint32_t y) { return ramp((x + y) % 2); }},
      {"4 bits, short table", dib(4, H, 5, fixtures::ramp_table(5), rows(4, false, [](uint32_t x, uint32_t y) { return (x + y) % 5; })),
       4, 5, [](uint32_t x, uint32_t y) { return ramp((x + y) % 5); }},
      {"8 bits, 16 entries", dib(8, H, 16, fixtures::ramp_table(16), rows(8, false, [](uint32_t x, uint32_t y) { return (x * 3 + y) % 16; })),
       8, 16, [](uint32_t x, uint32_t y) { return ramp((x * 3 + y) % 16); }},
      {"8 bits, top-down", dib(8, -H, 0, fixtures::ramp_table(256), rows(8, true, index8)), 8, 256,
       [&](uint32_t x, uint32_t y) { return ramp(index8(x, y)); }},
      {"16 bits", dib(16, H, 0, {}, rows(16, false, word555)), 16, 0, widen555},
      {"24 bits", dib(24, H, 0, {}, rows(24, false, picture)), 24, 0, picture},
      {"24 bits, top-down", dib(24, -H, 0, {}, rows(24, true, picture)), 24, 0, picture},
      {"32 bits", dib(32, H, 0, {}, rows(32, false, picture)), 32, 0, picture},
      {"16-bit bitfields 5-6-5", dib_of_file(normfix::bitfield_file(W, H, 16, masks565, raw565)), 24, 0, from565},
      {"32-bit bitfields, top-down", dib_of_file(normfix::bitfield_file(W, -H, 32, masks32, raw32)), 24, 0, picture},
      {"RLE8", dib_of_file(normfix::rle_file(W, H, 8, normfix::rle_encode(idx8, W, H, 8))), 8, 256,
       [&](uint32_t x, uint32_t y) { return ramp(idx8[y * W + x]); }},
      {"RLE4", dib_of_file(normfix::rle_file(W, H, 4, normfix::rle_encode(idx4, W, H, 4))), 4, 16,
       [&](uint32_t x, uint32_t y) { return ramp(idx4[y * W + x]); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Pasted p = paste(c.source);
    ASSERT_EQ(p.error, bmp::BmpReadError::None);
    fmt::DibImage d;
    ASSERT_TRUE(fmt::dib_image_of(p.block.data(), p.block.size(), 0, &d));
    EXPECT_EQ(d.width, uint32_t{W});
    EXPECT_EQ(d.height, uint32_t{H});
    EXPECT_EQ(d.bit_count, c.bits);
    EXPECT_EQ(d.table_entries, c.table_entries);
    EXPECT_EQ(fmt::get_u32le(&p.block[16]), 0u) << "plain rows";
    for (uint32_t y = 0; y < H; ++y)
      for (uint32_t x = 0; x < W; ++x) ASSERT_EQ(colour_at(d, x, y), c.colour(x, y)) << x << "," << y;
  }
}

// Header sizes no bitmap has, headers that run past the block, blocks whose
// rows are missing and unknown depths are refused.
TEST(PasteDib, RefusedForms) {
  const Bytes good = dib(24, H, 0, {}, rows(24, false, picture));
  Bytes short_rows = good;
  short_rows.resize(good.size() - 1);
  Bytes odd_depth = good;
  fmt::put_u16le(&odd_depth[14], 7);
  struct Case {
    const char* name;
    Bytes source;
    bmp::BmpReadError error;
  } cases[] = {
      {"100-byte header", dib(24, H, 0, {}, rows(24, false, picture), 0, 100), bmp::BmpReadError::BadInfoSize},
      {"124-byte header past the block", Bytes{124, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0}, bmp::BmpReadError::TooSmall},
      {"12-byte header without rows", Bytes{12, 0, 0, 0, 5, 0, 3, 0, 1, 0, 24, 0}, bmp::BmpReadError::DataOutsideBlock},
      {"rows cut short", short_rows, bmp::BmpReadError::DataOutsideBlock},
      {"7 bits", odd_depth, bmp::BmpReadError::UnsupportedFormat},
  };
  for (const Case& c : cases) EXPECT_EQ(paste(c.source).error, c.error) << c.name;
  EXPECT_EQ(paste(good).error, bmp::BmpReadError::None);
}

// Which image paste takes. The CF_BITMAP the system makes from a CF_DIB is
// built from the DIB's block unchecked, so it stands in for a refused DIB
// only when the producer put the bitmap there (it is listed before any DIB
// format) or the DIB is self-consistent but of a kind the normaliser does
// not take; a DIB that claims more than its block holds is refused.
TEST(PasteDib, SourceChosenByWhatTheDibPromisesAndWhoPutTheBitmap) {
  const Bytes good = dib(24, H, 0, {}, rows(24, false, picture));
  Bytes seven_bits = good;  // a depth nobody reads, rows inside the block
  fmt::put_u16le(&seven_bits[14], 7);
  fmt::put_u32le(&seven_bits[32], 1);  // one table entry
  Bytes long_table = dib(8, H, 0, fixtures::ramp_table(16), rows(8, false, [](uint32_t, uint32_t) { return 1u; }));
  Bytes tall = good;  // twice the rows the block holds
  fmt::put_u32le(&tall[8], 2 * H);
  Bytes jpeg = dib(0, H, 0, {}, Bytes(20, 0xFF), bmp::kBiJpeg);  // image size 20, inside
  Bytes jpeg_past = jpeg;
  fmt::put_u32le(&jpeg_past[20], 21);
  Bytes big_header = good;  // a header size nobody knows, larger than the block
  fmt::put_u32le(&big_header[0], static_cast<uint32_t>(good.size() + 1));
  Bytes unknown_header = dib(24, H, 0, {}, rows(24, false, picture), 0, 100);
  Bytes masks_cut = dib(32, H, 0, {}, {}, bmp::kBiBitfields);  // no masks, no rows

  const std::vector<unsigned> own_dib = {bmp::kCfDib, bmp::kCfBitmap, bmp::kCfDibV5};
  const std::vector<unsigned> own_bitmap = {bmp::kCfBitmap, bmp::kCfDib, bmp::kCfDibV5};
  const std::vector<unsigned> own_v5 = {bmp::kCfDibV5, bmp::kCfBitmap, bmp::kCfDib};
  using S = bmp::PasteSource;
  struct Case {
    const char* name;
    Bytes source;
    bool consistent;
    std::vector<unsigned> formats;
    S want;
  } cases[] = {
      {"a DIB the normaliser takes", good, true, own_dib, S::Dib},
      {"unknown depth, inside its block", seven_bits, true, own_dib, S::Bitmap},
      {"JPEG pixels inside the block", jpeg, true, own_dib, S::Bitmap},
      {"unknown header size, inside", unknown_header, true, own_dib, S::Bitmap},
      {"table past the block", long_table, false, own_dib, S::Refused},
      {"rows past the block", tall, false, own_dib, S::Refused},
      {"JPEG data past the block", jpeg_past, false, own_dib, S::Refused},
      {"header past the block", big_header, false, own_dib, S::Refused},
      {"masks past the block", masks_cut, false, own_dib, S::Refused},
      {"lying, but the producer's own bitmap", tall, false, own_bitmap, S::Bitmap},
      {"lying, bitmap made from a CF_DIBV5", tall, false, own_v5, S::Refused},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(bmp::dib_is_self_consistent(c.source.data(), c.source.size()), c.consistent);
    const bmp::NormalisePlan plan = bmp::plan_paste(c.source.data(), c.source.size());
    EXPECT_EQ(bmp::choose_paste_source(true, plan, c.consistent, true, bmp::producer_offered_bitmap(c.formats)),
              c.want);
    // Without a bitmap on the clipboard nothing stands in.
    if (c.want == S::Bitmap) {
      EXPECT_EQ(bmp::choose_paste_source(true, plan, c.consistent, false, false), S::Refused);
    }
  }
  EXPECT_FALSE(bmp::dib_is_self_consistent(good.data(), 3));
  EXPECT_FALSE(bmp::dib_is_self_consistent(good.data(), good.size() - 1));
}
