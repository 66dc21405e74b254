// Icons made from captures: the fixed palettes, the reduced image's block and
// the icon file of each of the eight forms, byte for byte.
#include <gtest/gtest.h>

#include <set>

#include "bmp_icon_fixtures.h"
#include "formats/bytes.h"
#include "formats/capture_icon.h"
#include "formats/icon_layout.h"

namespace {

namespace ci = fmt::capture_icon;
using fixtures::Bytes;
using fmt::dib::Rgb;

TEST(CaptureIcon, FixedPalettes) {
  const auto p16 = ci::fixed_palette(16);
  const auto p256 = ci::fixed_palette(256);
  ASSERT_EQ(p16.size(), 16u);
  ASSERT_EQ(p256.size(), 256u);
  EXPECT_TRUE(ci::fixed_palette(2).empty());
  // Each channel of the 16 colours is 0, 128 or 255 (192 for light grey), as
  // index bits: 1 red, 2 green, 4 blue, 8 bright.
  for (int i = 0; i < 16; ++i) {
    if (i == 7 || i == 8) continue;
    const uint8_t on = i & 8 ? 255 : 128;
    EXPECT_EQ(p16[i], (Rgb{static_cast<uint8_t>(i & 1 ? on : 0), static_cast<uint8_t>(i & 2 ? on : 0),
                           static_cast<uint8_t>(i & 4 ? on : 0)}))
        << i;
  }
  EXPECT_EQ(p16[7], (Rgb{128, 128, 128}));
  EXPECT_EQ(p16[8], (Rgb{192, 192, 192}));

  // Entries of the 256 colours across the irregular part, the grid and the
  // static colours, at the boundaries of each.
  struct Entry {
    int index;
    Rgb colour;
  };
  const Entry entries[] = {
      {0, {0, 0, 0}},          {7, {192, 192, 192}},    {8, {192, 220, 192}},    {9, {166, 202, 240}},
      {10, {155, 104, 24}},    {53, {0, 24, 0}},        {62, {7, 7, 7}},         {97, {39, 13, 24}},
      {133, {210, 195, 160}},  {146, {207, 148, 35}},   {147, {223, 223, 127}},  {148, {255, 223, 127}},
      {149, {63, 255, 127}},   {156, {63, 63, 159}},    {204, {255, 255, 159}},  {205, {63, 63, 191}},
      {245, {223, 223, 191}},  {246, {255, 251, 240}},  {247, {160, 160, 164}},  {248, {128, 128, 128}},
      {249, {255, 0, 0}},      {252, {0, 0, 255}},      {255, {255, 255, 255}},
  };
  for (const Entry& e : entries) EXPECT_EQ(p256[e.index], e.colour) << e.index;
  // The grid part: entry 147 + k is cell 138 + k of the 7-level grid.
  for (int i = 147; i <= 245; ++i) {
    const Rgb c = p256[i];
    for (uint8_t v : {c.r, c.g, c.b}) ASSERT_EQ((v - 63) % 32, 0) << i;
    EXPECT_EQ((c.r - 63) / 32 + 7 * ((c.g - 63) / 32) + 49 * ((c.b - 63) / 32), i - 147 + 138) << i;
  }
  // Pure white and black exist once each, so they map to one index: 0 and the last.
  for (const auto& p : {p16, p256}) {
    int whites = 0, blacks = 0;
    for (const Rgb& c : p) {
      whites += c == Rgb{255, 255, 255};
      blacks += c == Rgb{0, 0, 0};
    }
    EXPECT_EQ(whites, 1);
    EXPECT_EQ(blacks, 1);
    EXPECT_EQ(p.back(), (Rgb{255, 255, 255}));
  }
}

// A reduced block of the form whose index bytes are a recognisable pattern.
std::vector<uint8_t> reduced_block(uint32_t n, int colours) {
  std::vector<uint8_t> block(ci::reduced_block_size(n, colours), 0);
  ci::put_reduced_header(block.data(), n, colours);
  const uint32_t pixelsAt = 40 + 4 * static_cast<uint32_t>(colours);
  for (size_t i = pixelsAt; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i * 7 + 3);
  return block;
}

TEST(CaptureIcon, HeaderAndFileOfEachForm) {
  struct Row {
    uint32_t n;
    int colours;
    uint32_t block, bytesInRes, sizeImage, fileSize;
  };
  const Row rows[] = {
      {16, 16, 232, 296, 192, 318},      {32, 16, 616, 744, 640, 766},      {48, 16, 1256, 1640, 1536, 1662},
      {64, 16, 2152, 2664, 2560, 2686},  {16, 256, 1320, 1384, 320, 1406},  {32, 256, 2088, 2216, 1152, 2238},
      {48, 256, 3368, 3752, 2688, 3774}, {64, 256, 5160, 5672, 4608, 5694},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.n << " x " << r.n << ", " << r.colours << " colours");
    const int bits = r.colours == 16 ? 4 : 8;
    ASSERT_EQ(ci::reduced_block_size(r.n, r.colours), r.block);
    const std::vector<uint8_t> block = reduced_block(r.n, r.colours);
    const auto n = static_cast<int32_t>(r.n);
    const uint32_t pixels = r.block - 40 - 4 * r.colours;
    EXPECT_EQ(Bytes(block.begin(), block.begin() + 40), fixtures::info_header(n, n, bits, 0, pixels));
    const Rgb last = ci::fixed_palette(r.colours).back();
    EXPECT_EQ(block[40 + 4 * (r.colours - 1) + 2], last.r);

    const std::vector<uint8_t> file = ci::icon_file(block.data(), block.size(), r.n, r.colours);
    ASSERT_EQ(file.size(), r.fileSize);
    const uint8_t directory[22] = {0, 0, 1, 0, 1, 0, static_cast<uint8_t>(r.n), static_cast<uint8_t>(r.n),
                                   static_cast<uint8_t>(r.colours == 16 ? 16 : 0), 0, 0, 0, 0, 0,
                                   static_cast<uint8_t>(r.bytesInRes), static_cast<uint8_t>(r.bytesInRes >> 8), 0, 0,
                                   22, 0, 0, 0};
    for (int k = 0; k < 22; ++k) EXPECT_EQ(file[k], directory[k]) << "offset " << k;
    EXPECT_EQ(Bytes(file.begin() + 22, file.begin() + 62), fixtures::info_header(n, 2 * n, bits, 0, r.sizeImage));
    const auto header = ci::icon_header(r.n, r.colours);
    EXPECT_TRUE(std::equal(header.begin(), header.end(), file.begin()));

    // The block's table and rows unchanged, then the all-zero mask.
    const size_t image = r.block - 40;
    EXPECT_TRUE(std::equal(block.begin() + 40, block.end(), file.begin() + 62));
    const size_t maskAt = 62 + image;
    EXPECT_EQ(maskAt, (r.colours == 16 ? 126u : 1086u) + (r.colours == 16 ? r.n * r.n / 2 : r.n * r.n));
    EXPECT_EQ(file.size() - maskAt, r.n * ((r.n + 31) / 32 * 4));
    for (size_t k = maskAt; k < file.size(); ++k) ASSERT_EQ(file[k], 0) << k;

    fmt::icon::IconFigures figures;
    EXPECT_EQ(fmt::icon::check_icon(file.data(), file.size(), file.size(), &figures), fmt::icon::IconCheckResult::Ok);
    EXPECT_EQ(figures.bits, bits);
  }
}

// After the platform's mapping, a pixel of exactly a palette colour gets
// that entry (the first one of the colour); others keep what they have.
TEST(CaptureIcon, PaletteColoursKeepTheirOwnEntry) {
  struct Row {
    uint32_t rgb;
    int index16, index256;
  };
  const Row rows[] = {
      {0x000000, 0, 0},   {0xFFFFFF, 15, 255}, {0x808080, 7, 248}, {0xC0C0C0, 8, 7},   {0x070707, -1, 62},
      {0xDFDF7F, -1, 147}, {0xFFFBF0, -1, 246}, {0x0000FF, 12, 252}, {0x010000, -1, -1}, {0xFF000000, 0, 0},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ci::exact_index(r.rgb, 16), r.index16) << std::hex << r.rgb;
    EXPECT_EQ(ci::exact_index(r.rgb, 256), r.index256) << std::hex << r.rgb;
  }
  for (int colours : {16, 256}) {
    SCOPED_TRACE(colours);
    constexpr uint32_t n = 16;
    const int bits = colours == 16 ? 4 : 8;
    std::vector<uint8_t> block = reduced_block(n, colours);
    const std::vector<uint8_t> before = block;
    // Row 0 (the top, stored last) holds palette colours at odd and even
    // columns; row 5 holds none; the rest nothing exact either.
    std::vector<uint32_t> pixels(n * n, 0x123456);
    pixels[0] = 0x000000;
    pixels[1] = 0xFFFFFF;
    pixels[6] = 0x808080;
    pixels[15] = 0x00FFFF;
    ci::keep_exact_colours(block.data(), block.size(), pixels.data(), n, colours);
    const size_t stride = n * bits / 8;
    const size_t top = 40 + 4 * static_cast<size_t>(colours) + (n - 1) * stride;
    auto index_at = [&](const std::vector<uint8_t>& b, uint32_t x) {
      const uint8_t v = b[top + x * bits / 8];
      return bits == 8 ? int{v} : x % 2 ? v & 0x0F : v >> 4;
    };
    EXPECT_EQ(index_at(block, 0), 0);
    EXPECT_EQ(index_at(block, 1), colours - 1);
    EXPECT_EQ(index_at(block, 6), colours == 16 ? 7 : 248);
    EXPECT_EQ(index_at(block, 15), colours == 16 ? 14 : 254);
    for (uint32_t x : {2u, 3u, 7u, 14u}) EXPECT_EQ(index_at(block, x), index_at(before, x)) << x;
    // Nothing else changed: header, table and the other rows.
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + static_cast<long>(top), before.begin()));
  }
}

TEST(CaptureIcon, RefusesBlocksThatAreNotTheForms) {
  const std::vector<uint8_t> good = reduced_block(32, 16);
  ASSERT_FALSE(ci::icon_file(good.data(), good.size(), 32, 16).empty());
  struct Case {
    const char* what;
    size_t offset;  // byte changed (or the length cut when value < 0)
    int value;
  };
  const Case cases[] = {
      {"info header size 41", 0, 41},  {"width 33", 4, 33},        {"height 16", 8, 16},
      {"8 bits", 14, 8},               {"compressed", 16, 2},      {"one byte short", good.size() - 1, -1},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> block = good;
    if (c.value < 0)
      block.resize(c.offset);
    else
      block[c.offset] = static_cast<uint8_t>(c.value);
    EXPECT_TRUE(ci::icon_file(block.data(), block.size(), 32, 16).empty()) << c.what;
  }
  // Forms the capture never makes.
  EXPECT_TRUE(ci::icon_file(good.data(), good.size(), 24, 16).empty());
  EXPECT_TRUE(ci::icon_file(good.data(), good.size(), 32, 2).empty());
  EXPECT_TRUE(ci::icon_file(nullptr, 0, 32, 16).empty());
  // The block of another form does not pass as this one.
  const std::vector<uint8_t> big = reduced_block(64, 256);
  EXPECT_TRUE(ci::icon_file(big.data(), big.size(), 64, 16).empty());
  EXPECT_TRUE(ci::icon_file(big.data(), big.size(), 32, 256).empty());
}

}  // namespace
