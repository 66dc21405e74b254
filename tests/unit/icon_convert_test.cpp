#include "formats/icon_convert.h"

#include <gtest/gtest.h>

#include "bmp_icon_fixtures.h"

using namespace fmt::icon;
using fixtures::Bytes;

namespace {

IconFigures figures_of(const Bytes& icon) {
  IconFigures f;
  EXPECT_EQ(check_icon(icon.data(), icon.size(), icon.size(), &f), IconCheckResult::Ok);
  return f;
}

// A converted bitmap: file and info header (the image size set), table, rows.
Bytes converted(int32_t w, int32_t h, int bits, uint32_t entries, const Bytes& table, const Bytes& rows) {
  const auto image = static_cast<uint32_t>(rows.size());
  return fixtures::bmp_file(fixtures::info_header(w, h, bits, entries, image), table, rows);
}

Bytes tail(const Bytes& b, size_t n) { return Bytes(b.end() - static_cast<std::ptrdiff_t>(n), b.end()); }

// The converted table of every 2-colour icon after its own two colours.
const Bytes kFixedTable = {0, 0, 128, 0,   0, 128, 128, 0, 0, 128, 0, 0,   128, 128, 0, 0,
                           128, 0, 0, 0,   128, 0, 128, 0, 0, 0, 0, 0,     255, 255, 255, 0,
                           0, 0, 0, 0,     0, 0, 0, 0,     0, 0, 0, 0,     0, 0, 0, 0,
                           0, 0, 0, 0,     0, 0, 0, 0};

// 3 x 2, two colours. Bottom row 1 0 1 and padding bits 1 0 1 1 0 in its
// first byte and ones in the rest; top row 0 1 0.
Bytes two_colour_icon(const Bytes& and_rows) {
  return fixtures::icon_file(3, 2, 1, {0x10, 0x20, 0x30, 0, 0xF0, 0xE0, 0xD0, 0},
                             {0xB6, 0xFF, 0xAA, 0x55, 0x40, 0, 0, 0}, and_rows);
}

}  // namespace

TEST(IconConvert, TwoColoursBecomeSixteenColourRows) {
  const Bytes icon = two_colour_icon(Bytes(8, 0));
  const IconFigures f = figures_of(icon);
  const Bytes bmp = icon_to_bmp(icon.data(), icon.size(), f);

  Bytes table = {0x10, 0x20, 0x30, 0, 0xF0, 0xE0, 0xD0, 0};
  fixtures::append(table, kFixedTable);
  // The whole first icon byte spreads over the 4-byte row, padding bits too.
  EXPECT_EQ(bmp, converted(3, 2, 4, 16, table, {0x10, 0x11, 0x01, 0x10, 0x01, 0x00, 0x00, 0x00}));
  EXPECT_FALSE(has_masked_pixels(icon.data(), icon.size(), f));

  fmt::bmp::ExportFigures fig;
  ASSERT_TRUE(converted_figures(bmp, &fig));
  EXPECT_EQ(fig.width, 3);
  EXPECT_EQ(fig.height, 2);
  EXPECT_EQ(fig.palette_size, 16u);
  EXPECT_EQ(fig.bmp_file_size, 126u);
  EXPECT_EQ(fig.padded_row_length, 4u);
  EXPECT_EQ(fig.unpadded_row_length, 2u);
  EXPECT_EQ(fig.palette[1].red, 0xD0);
  EXPECT_EQ(fig.palette[2].red, 128);

  const auto pal = mask_palette(icon.data(), icon.size(), f);
  ASSERT_EQ(pal.size(), 16u);
  EXPECT_EQ(pal[0].red, 0x30);
  EXPECT_EQ(pal[0].blue, 0x10);
  EXPECT_EQ(pal[5].green, 128);  // dark cyan
  EXPECT_EQ(pal[5].blue, 128);
  EXPECT_EQ(pal[9].red, 255);
}

TEST(IconConvert, TwoColourRowsLongerThanOutputAreCut) {
  // 40 wide: 8 icon bytes a row would spread to 32, the row holds 20.
  const Bytes icon = fixtures::icon_file(40, 1, 1, {0, 0, 0, 0, 255, 255, 255, 0},
                                         {0xFF, 0, 0xFF, 0, 0xFF, 0x81, 0x81, 0x81}, {0, 0, 0, 0, 0x01, 0, 0, 0});
  const IconFigures f = figures_of(icon);
  Bytes bmp = icon_to_bmp(icon.data(), icon.size(), f);
  ASSERT_EQ(bmp.size(), 118u + 20);
  Bytes row = fixtures::repeat({0x11}, 4);
  fixtures::append(row, Bytes(4, 0));
  fixtures::append(row, fixtures::repeat({0x11}, 4));
  fixtures::append(row, Bytes(4, 0));
  fixtures::append(row, fixtures::repeat({0x11}, 4));
  EXPECT_EQ(tail(bmp, 20), row);

  ASSERT_TRUE(paint_masked(bmp, icon.data(), icon.size(), f, 6, 0));  // the last pixel only
  row[19] = 0x16;
  EXPECT_EQ(tail(bmp, 20), row);
}

TEST(IconConvert, TwoColourMaskWalk) {
  // Bottom row masks pixels 1, 2 and 4 (outside the width); top row 0 and 3.
  const Bytes icon = two_colour_icon({0x68, 0, 0, 0, 0x90, 0, 0, 0});
  const IconFigures f = figures_of(icon);
  Bytes bmp = icon_to_bmp(icon.data(), icon.size(), f);
  ASSERT_TRUE(has_masked_pixels(icon.data(), icon.size(), f));
  ASSERT_TRUE(paint_masked(bmp, icon.data(), icon.size(), f, 5, 0x808000));
  // Pixel 3 is the second of a pair whose first lies inside: it takes M too.
  EXPECT_EQ(tail(bmp, 8), (Bytes{0x15, 0x51, 0x01, 0x10, 0x51, 0x05, 0x00, 0x00}));

  // A set padding bit alone counts as a masked pixel.
  const Bytes padding_only = two_colour_icon({0, 0, 0, 0x01, 0, 0, 0, 0});
  EXPECT_TRUE(has_masked_pixels(padding_only.data(), padding_only.size(), figures_of(padding_only)));
}

// 16 colours, 256 and true colour: the bitmap holds the icon's table and XOR
// rows as they are; masked pixels, those in the row padding too, then take
// the index or colour painted.
TEST(IconConvert, DeeperIconsKeepTheirRowsAndPaintTheMaskedPixels) {
  Bytes true_colour = fixtures::numbered_rows(12, 2), painted_true_colour = true_colour;
  for (size_t at : {6, 12}) {  // bottom row, pixel 2; top row, pixel 0 (pixel 3 is padding)
    painted_true_colour[at] = 0x12, painted_true_colour[at + 1] = 0x34, painted_true_colour[at + 2] = 0x56;
  }
  struct Case {
    const char* name;
    int32_t w, h;
    int bits;
    Bytes table, xor_rows, and_rows;
    uint8_t index;
    uint32_t colour;
    Bytes painted;  // the rows after the painting
    uint32_t padded, unpadded;
  };
  const Case cases[] = {
      // Masked: bottom row pixels 0, 3, 4; top row 0 and 1, and 5 just outside the width. So: left only,
      // right only, left only beside a padding nibble; both, neither, and a right pixel outside the width.
      {"16 colours", 5, 2, 4, fixtures::ramp_table(16), {0x12, 0x34, 0x5F, 0xEE, 0xAB, 0xCD, 0xE0, 0x00},
       {0x98, 0, 0, 0, 0xC4, 0, 0, 0}, 9, 0, {0x92, 0x39, 0x9F, 0xEE, 0x99, 0xCD, 0xE9, 0x00}, 4, 3},
      {"256 colours, pixel 5 is padding", 5, 1, 8, fixtures::ramp_table(256), {1, 2, 3, 4, 5, 0xA0, 0xA1, 0xA2},
       {0x4C, 0, 0, 0}, 0x77, 0, {1, 0x77, 3, 4, 0x77, 0xA0, 0xA1, 0xA2}, 8, 5},
      {"true colour", 3, 2, 24, {}, true_colour, {0x20, 0, 0, 0, 0x90, 0, 0, 0}, 0, 0x123456, painted_true_colour, 12,
       3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes icon = fixtures::icon_file(c.w, c.h, c.bits, c.table, c.xor_rows, c.and_rows);
    const IconFigures f = figures_of(icon);
    Bytes bmp = icon_to_bmp(icon.data(), icon.size(), f);
    const auto entries = static_cast<uint32_t>(c.table.size() / 4);
    EXPECT_EQ(bmp, converted(c.w, c.h, c.bits, entries, c.table, c.xor_rows));
    EXPECT_EQ(mask_palette(icon.data(), icon.size(), f).size(), entries);
    ASSERT_TRUE(paint_masked(bmp, icon.data(), icon.size(), f, c.index, c.colour));
    EXPECT_EQ(tail(bmp, c.painted.size()), c.painted);
    fmt::bmp::ExportFigures fig;
    ASSERT_TRUE(converted_figures(bmp, &fig));
    EXPECT_EQ(fig.palette_size, entries);
    EXPECT_EQ(fig.padded_row_length, c.padded);
    EXPECT_EQ(fig.unpadded_row_length, c.unpadded);
    if (c.bits == 4) {
      EXPECT_FALSE(paint_masked(bmp, icon.data(), icon.size(), f, 16, 0));  // no 4-bit index
    }
  }
}

TEST(IconConvert, RefusesFiguresOfAnotherFile) {
  const Bytes icon = two_colour_icon(Bytes(8, 0));
  IconFigures f = figures_of(icon);
  EXPECT_TRUE(icon_to_bmp(icon.data(), icon.size() - 1, f).empty());
  Bytes bmp = icon_to_bmp(icon.data(), icon.size(), f);
  bmp.pop_back();
  EXPECT_FALSE(paint_masked(bmp, icon.data(), icon.size(), f, 0, 0));
  f.height = 3;
  EXPECT_TRUE(icon_to_bmp(icon.data(), icon.size(), f).empty());
  EXPECT_FALSE(has_masked_pixels(icon.data(), icon.size(), f));
}

// A conversion that cannot have its memory gives no bitmap (the open command
// then reports the temporary bitmap as not made) instead of an exception.
TEST(IconConvert, RefusedWhenTheIconAndItsBitmapDoNotFitInMemory) {
  // A 1-bit icon of 1 GB, 32768 x 131072: its bitmap alone is 2 GB.
  const IconFigures huge{32768, 131072, 1, expected_file_size(32768, 131072, 1)};
  EXPECT_EQ(huge.file_size, 22u + 40 + 8 + 131072u * (4096 + 4096));  // directory, header, table, rows
  EXPECT_FALSE(conversion_fits(huge));
  EXPECT_TRUE(conversion_fits(IconFigures{256, 256, 24, expected_file_size(256, 256, 24)}));

  // The limit counts the icon and its bitmap, byte for byte.
  const Bytes icon = two_colour_icon(Bytes(8, 0));
  const IconFigures f = figures_of(icon);
  const uint64_t both = icon.size() + converted_file_size(f);
  struct Case {
    uint64_t limit;
    bool converted;
  };
  for (const Case c : {Case{both, true}, Case{both - 1, false}, Case{icon.size() - 1, false}, Case{0, false}}) {
    EXPECT_EQ(conversion_fits(f, c.limit), c.converted) << c.limit;
    EXPECT_EQ(icon_to_bmp(icon.data(), icon.size(), f, c.limit).empty(), !c.converted) << c.limit;
  }
}
