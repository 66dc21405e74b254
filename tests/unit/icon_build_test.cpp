// The icon built from two bitmaps: hand-computed bytes for small pairs, every
// depth and width from 1 to 70 against a pixel-by-pixel reference, and the
// files the checks must refuse.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "bmp_icon_fixtures.h"
#include "formats/icon_build.h"
#include "formats/icon_layout.h"

using fixtures::Bytes;
namespace icon = fmt::icon;

namespace {

// A pixel grid, top row first: palette indices, or 0xRRGGBB for 24 bits.
struct Grid {
  uint32_t w = 0, h = 0;
  std::vector<uint32_t> px;
  uint32_t& at(uint32_t x, uint32_t y) { return px[y * w + x]; }
  uint32_t at(uint32_t x, uint32_t y) const { return px[y * w + x]; }
};

// A table of n entries, entry 0 black and the others bright and distinct.
Bytes table_of(uint32_t n, bool black_first = true) {
  Bytes t;
  for (uint32_t i = 0; i < n; ++i) {
    const bool black = black_first && i == 0;
    t.insert(t.end(), {static_cast<uint8_t>(black ? 0 : 30 + i), static_cast<uint8_t>(black ? 0 : 200 - i / 2),
                       static_cast<uint8_t>(black ? 0 : 255 - i), 0});
  }
  return t;
}

Bytes bmp_of(const Grid& g, int bits, const Bytes& table) {
  const auto n = static_cast<uint32_t>(table.size() / 4);
  const Bytes rows = fixtures::pack_rows(g.w, g.h, bits, [&](uint32_t x, uint32_t y) { return g.at(x, y); });
  return fixtures::bmp_file(
      fixtures::info_header(static_cast<int32_t>(g.w), static_cast<int32_t>(g.h), bits,
                            bits == 24 || n == (1u << bits) ? 0 : n, static_cast<uint32_t>(rows.size())),
      table, rows);
}

// The icon decoded as a person sees it: colour 0xRRGGBB and whether the
// background shows (AND bit 1 over black).
struct Shown {
  uint32_t colour = 0;
  bool clear = false;
  bool operator==(const Shown&) const = default;
};

std::vector<Shown> decode_icon(const Bytes& ico) {
  icon::IconFigures f;
  EXPECT_EQ(icon::check_icon(ico.data(), ico.size(), ico.size(), &f), icon::IconCheckResult::Ok);
  if (f.bits == 0) return {};
  const auto w = static_cast<uint32_t>(f.width), h = static_cast<uint32_t>(f.height);
  const uint64_t rx = icon::xor_row_bytes(w, f.bits), ra = icon::and_row_bytes(w);
  const uint64_t xor_at = icon::xor_offset(f.bits), and_at = icon::and_offset(ico.size(), h, w);
  std::vector<Shown> out;
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) {
      const uint32_t r = h - 1 - y;
      const uint8_t* row = &ico[static_cast<size_t>(xor_at + r * rx)];
      uint32_t colour;
      if (f.bits == 24) {
        colour = (uint32_t{row[3 * x + 2]} << 16) | (uint32_t{row[3 * x + 1]} << 8) | row[3 * x];
      } else {
        const uint32_t per = 8 / static_cast<uint32_t>(f.bits);
        const uint32_t index = (row[x / per] >> (f.bits * (per - 1 - x % per))) & ((1u << f.bits) - 1);
        const uint8_t* e = &ico[62 + 4 * index];
        colour = (uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0];
      }
      const bool and_bit = (ico[static_cast<size_t>(and_at + r * ra + x / 8)] >> (7 - x % 8)) & 1;
      out.push_back({colour, and_bit && colour == 0});
    }
  return out;
}

// What the icon must show, worked out from the two grids alone.
std::vector<Shown> reference(const Grid& a, const Grid& b, int bits, const Bytes& table) {
  std::vector<Shown> out;
  for (uint32_t y = 0; y < a.h; ++y)
    for (uint32_t x = 0; x < a.w; ++x) {
      if (a.at(x, y) != b.at(x, y)) {
        out.push_back({0, true});
        continue;
      }
      const uint32_t v = a.at(x, y);
      out.push_back({bits == 24 ? v : (uint32_t{table[4 * v + 2]} << 16) | (uint32_t{table[4 * v + 1]} << 8) |
                                          table[4 * v]});
    }
  return out;
}

Grid random_grid(uint32_t w, uint32_t h, int bits, std::mt19937& rng) {
  Grid g{w, h, std::vector<uint32_t>(size_t{w} * h)};
  const uint32_t limit = bits == 24 ? 0xFFFFFFu : (1u << bits) - 1;
  for (uint32_t& v : g.px) v = std::uniform_int_distribution<uint32_t>(0, limit)(rng);
  return g;
}

Grid changed(const Grid& g, int bits, std::mt19937& rng) {
  Grid c = g;
  for (uint32_t& v : c.px)
    if (rng() % 3 == 0) {
      // A change in one channel, or one index, is enough to count.
      v = bits == 24 ? v ^ (0xFFu << (8 * (rng() % 3))) : v ^ 1u;
    }
  return c;
}

// The icon of the pair of bitmaps made from the two grids.
Bytes build(const Grid& a, const Grid& b, int bits, const Bytes& table) {
  const Bytes first = bmp_of(a, bits, table), second = bmp_of(b, bits, table);
  return icon::build_icon(first.data(), first.size(), second.data(), second.size());
}

uint32_t u32(const Bytes& b, size_t at) { return fmt::get_u32le(&b[at]); }

// The directory and info header describe exactly a w x h image of `bits`.
void expect_directory(const Bytes& ico, uint32_t w, uint32_t h, int bits) {
  const uint32_t entries = icon::palette_entries(bits);
  const uint64_t image = h * (icon::xor_row_bytes(w, bits) + icon::and_row_bytes(w));
  EXPECT_EQ(ico[8], entries == 2 || entries == 16 ? entries : 0u);
  EXPECT_EQ(u32(ico, 14), 40 + 4 * entries + image);
  EXPECT_EQ(u32(ico, 22 + 20), image);
}

}  // namespace

TEST(IconBuild, EveryDepthAndWidthMatchesTheReference) {
  std::mt19937 rng(11);
  for (const int bits : {1, 4, 8, 24}) {
    for (uint32_t w = 1; w <= 70; ++w) {
      SCOPED_TRACE(testing::Message() << bits << " bits, width " << w);
      const uint32_t h = 1 + w % 5;
      const Grid a = random_grid(w, h, bits, rng), b = changed(a, bits, rng);
      const Bytes table = bits == 24 ? Bytes{} : table_of(1u << bits);
      const Bytes ico = build(a, b, bits, table);
      ASSERT_EQ(ico.size(), icon::expected_file_size(w, h, bits));
      EXPECT_EQ(decode_icon(ico), reference(a, b, bits, table));
      expect_directory(ico, w, h, bits);
    }
  }
}

TEST(IconBuild, HandComputedPairs) {
  struct Case {
    const char* name;
    uint32_t w, h;
    int bits;
    uint8_t first, second;  // the first row byte of each file (others equal)
    size_t size;
    uint8_t xor_byte;       // the first XOR byte of the icon
    std::vector<uint8_t> mask_row;  // the bottom mask row
  };
  const Case cases[] = {
      {"16 colours, identical", 32, 32, 4, 0x12, 0x12, 766, 0x12, {0, 0, 0, 0}},
      {"2 colours, identical", 16, 16, 1, 0xA5, 0xA5, 198, 0xA5, {0, 0, 0, 0}},
      {"256 colours, identical", 32, 32, 8, 0x07, 0x07, 2238, 0x07, {0, 0, 0, 0}},
      // The second pixel from the left differs: it turns to index 0.
      {"2 colours, one pixel", 16, 16, 1, 0xF0, 0xB0, 198, 0xB0, {0x40, 0, 0, 0}},
      // The right pixel of the first byte differs.
      {"16 colours, right pixel", 32, 32, 4, 0x3A, 0x3C, 766, 0x30, {0x40, 0, 0, 0}},
      {"16 colours, both pixels", 32, 32, 4, 0x3A, 0x4B, 766, 0x00, {0xC0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes table = table_of(1u << c.bits);
    const uint32_t stride = fixtures::row_bytes(static_cast<int32_t>(c.w), c.bits);
    Bytes rows(size_t{stride} * c.h, 0x11);
    const Bytes info = fixtures::info_header(static_cast<int32_t>(c.w), static_cast<int32_t>(c.h), c.bits, 0,
                                             static_cast<uint32_t>(rows.size()));
    rows[0] = c.first;
    const Bytes a = fixtures::bmp_file(info, table, rows);
    rows[0] = c.second;
    const Bytes b = fixtures::bmp_file(info, table, rows);
    const Bytes ico = icon::build_icon(a.data(), a.size(), b.data(), b.size());
    ASSERT_EQ(ico.size(), c.size);
    const size_t xor_at = 62 + table.size();
    EXPECT_EQ(ico[xor_at], c.xor_byte);
    // The table and every other row byte come from the 1st file unchanged.
    EXPECT_EQ(Bytes(ico.begin() + 62, ico.begin() + static_cast<long>(xor_at)), table);
    EXPECT_EQ(Bytes(ico.begin() + static_cast<long>(xor_at) + 1, ico.begin() + static_cast<long>(xor_at + rows.size())),
              Bytes(rows.begin() + 1, rows.end()));
    const size_t mask_at = xor_at + rows.size();
    EXPECT_EQ(Bytes(ico.begin() + static_cast<long>(mask_at), ico.begin() + static_cast<long>(mask_at) + 4),
              c.mask_row);
    if (c.w == 32 && c.bits == 4) {
      EXPECT_EQ(u32(ico, 14), 744u);
      EXPECT_EQ(u32(ico, 42), 640u);
    }
    EXPECT_EQ(ico[6], c.w);
    EXPECT_EQ(u32(ico, 18), 22u);
    EXPECT_EQ(fmt::get_u16le(&ico[10]), 0u);  // planes and bit count of the entry stay 0
    EXPECT_EQ(fmt::get_u16le(&ico[12]), 0u);
  }

  // 24 bits, 5 pixels: one mask byte a row, bits 7 to 3; red alone makes a pixel clear.
  Grid g{5, 2, {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 1, 2, 3, 4, 5}};
  Grid g2 = g;
  g2.at(4, 1) ^= 0x010000;
  Bytes ico = build(g, g2, 24, {});
  ASSERT_EQ(ico.size(), 62u + 2 * 16 + 2 * 4);
  EXPECT_EQ(Bytes(ico.begin() + 62 + 12, ico.begin() + 62 + 16), (Bytes{0, 0, 0, 0}));  // black, padding kept
  EXPECT_EQ(ico[62 + 32], 0x08);  // bottom row: the fifth pixel
  EXPECT_EQ(ico[62 + 36], 0x00);

  // 256 colours, 12 pixels, every pixel differs: the second group has four pixels.
  Grid e{12, 1, std::vector<uint32_t>(12, 5)}, f{12, 1, std::vector<uint32_t>(12, 6)};
  ico = build(e, f, 8, table_of(256));
  ASSERT_FALSE(ico.empty());
  EXPECT_EQ(Bytes(ico.begin() + 1086 + 12, ico.end()), (Bytes{0xFF, 0xF0, 0, 0}));

  // A width of 300 does not fit the directory's byte.
  Grid wide{300, 2, std::vector<uint32_t>(600, 1)};
  ico = build(wide, wide, 4, table_of(16));
  ASSERT_FALSE(ico.empty());
  EXPECT_EQ(ico[6], 0);
  EXPECT_EQ(ico[7], 2);
}

// Clear pixels must be black for Windows to show the background through
// them: the table's black entry, black added where the table has room, and
// the next depth up when a full table holds none.
TEST(IconBuild, ClearPixelsAreBlackAtTheDepthThatHasRoomForIt) {
  struct Case {
    int bits;
    uint32_t entries;  // in the file; fewer than 2^bits is a short table
    int black;         // the entry made black, -1 for none
    int icon_bits;
  };
  const Case cases[] = {
      {1, 2, 0, 1},    {1, 2, 1, 1},   {1, 2, -1, 4},  {1, 1, -1, 1},     //
      {4, 16, 0, 4},   {4, 16, 9, 4},  {4, 16, -1, 8}, {4, 5, -1, 4}, {4, 5, 4, 4},  //
      {8, 256, 0, 8},  {8, 256, 200, 8}, {8, 256, -1, 24}, {8, 40, -1, 8},
  };
  std::mt19937 rng(5);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bits << " bits, " << c.entries << " entries, black " << c.black);
    const uint32_t w = 11, h = 3;
    Grid a = random_grid(w, h, c.bits, rng);
    for (uint32_t& v : a.px) v %= c.entries;
    const Grid b = changed(a, c.bits, rng);  // may point past a short table, at its black fill
    Bytes table = table_of(c.entries, false);
    if (c.black >= 0) std::fill_n(table.begin() + 4 * c.black, 3, 0);
    if (c.black != 1 && c.entries > 1) table[4] = table[5] = 0;  // dark red: black in two channels only
    Bytes full = table;  // the table as the icon's pixels mean it
    full.resize(size_t{4} << c.bits, 0);

    const Bytes ico = build(a, b, c.bits, table);
    ASSERT_EQ(ico.size(), icon::expected_file_size(w, h, c.icon_bits));
    icon::IconFigures f;
    ASSERT_EQ(icon::check_icon(ico.data(), ico.size(), ico.size(), &f), icon::IconCheckResult::Ok);
    EXPECT_EQ(f.bits, c.icon_bits);
    expect_directory(ico, w, h, c.icon_bits);
    // The file's colours first, then black.
    Bytes out_table = table;
    out_table.resize(4 * size_t{icon::palette_entries(c.icon_bits)}, 0);
    EXPECT_EQ(Bytes(ico.begin() + 62, ico.begin() + 62 + static_cast<long>(out_table.size())), out_table);
    EXPECT_EQ(decode_icon(ico), reference(a, b, c.bits, full));
  }
}

// Files the construction must lay out from what they really hold, and files
// it must refuse.
TEST(IconBuild, UnusualFilesAreLaidOutOrRefused) {
  std::mt19937 rng(3);
  const Grid a = random_grid(9, 4, 4, rng), b = changed(a, 4, rng);
  // Trailing bytes after the rows, and a gap before them: only the rows are taken.
  Bytes first = bmp_of(a, 4, table_of(16)), second = bmp_of(b, 4, table_of(16));
  for (Bytes* f : {&first, &second}) {
    f->insert(f->begin() + 118, {9, 9, 9, 9});
    fmt::put_u32le(&(*f)[10], 122);
    f->insert(f->end(), 7, 0xEE);
  }
  Bytes ico = icon::build_icon(first.data(), first.size(), second.data(), second.size());
  ASSERT_EQ(ico.size(), icon::expected_file_size(9, 4, 4));
  EXPECT_EQ(decode_icon(ico), reference(a, b, 4, table_of(16)));

  // Top-down files: the same icon as their bottom-up twins.
  const Bytes expected = build(a, b, 4, table_of(16));
  auto top_down = [](const Grid& g) {
    Grid flipped = g;
    for (uint32_t y = 0; y < g.h; ++y)
      for (uint32_t x = 0; x < g.w; ++x) flipped.at(x, y) = g.at(x, g.h - 1 - y);
    Bytes f = bmp_of(flipped, 4, table_of(16));
    fmt::put_u32le(&f[22], static_cast<uint32_t>(-static_cast<int32_t>(g.h)));
    return f;
  };
  ico = icon::build_icon(top_down(a).data(), top_down(a).size(), top_down(b).data(), top_down(b).size());
  EXPECT_EQ(ico, expected);

  // Refusals: each leaves no icon.
  struct Refusal {
    const char* name;
    void (*spoil)(Bytes& first, Bytes& second);
    icon::PairCheck check;
  };
  const Refusal refusals[] = {
      {"zero width", [](Bytes& f, Bytes& s) { fmt::put_u32le(&f[18], 0), fmt::put_u32le(&s[18], 0); },
       icon::PairCheck::NotBitmap},
      {"negative width", [](Bytes& f, Bytes& s) { fmt::put_u32le(&f[18], ~0u), fmt::put_u32le(&s[18], ~0u); },
       icon::PairCheck::NotBitmap},
      {"zero height", [](Bytes& f, Bytes& s) { fmt::put_u32le(&f[22], 0), fmt::put_u32le(&s[22], 0); },
       icon::PairCheck::NotBitmap},
      {"lowest height",
       [](Bytes& f, Bytes& s) { fmt::put_u32le(&f[22], 0x80000000u), fmt::put_u32le(&s[22], 0x80000000u); },
       icon::PairCheck::NotBitmap},
      {"truncated second file", [](Bytes&, Bytes& s) { s.pop_back(); }, icon::PairCheck::NotBitmap},
      {"truncated first file", [](Bytes& f, Bytes&) { f.pop_back(); }, icon::PairCheck::NotBitmap},
      {"more colours used than the depth allows", [](Bytes& f, Bytes&) { fmt::put_u32le(&f[46], 17); },
       icon::PairCheck::NotBitmap},
      {"a 64-byte info header", [](Bytes& f, Bytes&) { fmt::put_u32le(&f[14], 0x140); },
       icon::PairCheck::NotBitmap},
      {"rows inside the table", [](Bytes& f, Bytes& s) { fmt::put_u32le(&f[10], 100), fmt::put_u32le(&s[10], 100); },
       icon::PairCheck::NotBitmap},
      {"rows that end past 4 GiB",
       [](Bytes& f, Bytes& s) { fmt::put_u32le(&f[22], 0x7FFFFFFF), fmt::put_u32le(&s[22], 0x7FFFFFFF); },
       icon::PairCheck::NotBitmap},
      {"16 bits", [](Bytes& f, Bytes&) { fmt::put_u16le(&f[28], 16); }, icon::PairCheck::UnsupportedDepth},
      {"a bit count of 0x104", [](Bytes& f, Bytes&) { fmt::put_u16le(&f[28], 0x104); },
       icon::PairCheck::UnsupportedDepth},
      {"RLE4", [](Bytes& f, Bytes&) { fmt::put_u32le(&f[30], 2); }, icon::PairCheck::Compressed},
      {"second narrower", [](Bytes&, Bytes& s) { fmt::put_u32le(&s[18], 8); }, icon::PairCheck::DifferentWidth},
      {"second lower", [](Bytes&, Bytes& s) { fmt::put_u32le(&s[22], 3); }, icon::PairCheck::DifferentHeight},
      {"second 8 bits", [](Bytes&, Bytes& s) { s[28] = 8; }, icon::PairCheck::DifferentColours},
      {"second file size field", [](Bytes&, Bytes& s) { s[2] ^= 1; }, icon::PairCheck::DifferentHeader},
      {"second planes", [](Bytes&, Bytes& s) { s[26] = 2; }, icon::PairCheck::DifferentHeader},
      {"second last table entry", [](Bytes&, Bytes& s) { s[54 + 63 - 1] ^= 1; }, icon::PairCheck::DifferentPalette},
      {"second not a bitmap at all", [](Bytes&, Bytes& s) { s.resize(10); }, icon::PairCheck::DifferentHeader},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.name);
    first = bmp_of(a, 4, table_of(16));
    second = bmp_of(b, 4, table_of(16));
    r.spoil(first, second);
    EXPECT_EQ(icon::check_pair(first.data(), first.size(), first.size(), second.data(), second.size(), second.size()),
              r.check);
    EXPECT_TRUE(icon::build_icon(first.data(), first.size(), second.data(), second.size()).empty());
  }
  // Resolutions and colours important may differ.
  first = bmp_of(a, 4, table_of(16));
  second = bmp_of(b, 4, table_of(16));
  for (size_t i = 38; i < 46; ++i) second[i] = 0x5A;
  fmt::put_u32le(&second[50], 3);
  EXPECT_EQ(icon::check_pair(first.data(), first.size(), first.size(), second.data(), second.size(), second.size()),
            icon::PairCheck::Ok);
}
