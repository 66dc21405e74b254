// The save command's rules and the sizes of the BMP files and clipboard
// DIBs it writes.
#include <gtest/gtest.h>

#include "dib_fixture.h"
#include "formats/bmp_write.h"
#include "formats/dib_file.h"
#include "formats/dib_normalise.h"
#include "viewer/export/save_logic.h"

using viewer::SaveWriter;

TEST(SaveDecisions, WriterByExtensionAndOrigin) {
  struct Case {
    const char* path;
    int origin;
    SaveWriter want;
  } cases[] = {
      {"C:\\DATA\\A.TIF", 0, SaveWriter::Tif},         {"C:\\a.Tif", 0, SaveWriter::Tif},
      {"C:\\a.tif", 0, SaveWriter::Tif},               {"C:\\a.bmp", 0, SaveWriter::WrongExtension},
      {"C:\\a.tiff", 0, SaveWriter::WrongExtension},   {"tif", 0, SaveWriter::WrongExtension},
      {"C:\\a.BMP", 1, SaveWriter::PlainBmp},          {"C:\\a.tif", 1, SaveWriter::WrongExtension},
      {"C:\\a.bmp", 2, SaveWriter::DisplayedBmp},      {"C:\\a.tif", 2, SaveWriter::WrongExtension},
      {"C:\\a.dib", 2, SaveWriter::WrongExtension},    {"C:\\\x95\x5c.bmp", 2, SaveWriter::DisplayedBmp},
  };
  for (const Case& c : cases) EXPECT_EQ(viewer::save_writer(c.path, c.origin), c.want) << c.path << " " << c.origin;
  EXPECT_STREQ(viewer::save_default_extension(0), "tif");
  EXPECT_STREQ(viewer::save_default_extension(1), "bmp");
  EXPECT_STREQ(viewer::save_filter(0), "Tiff (*.tif)");
  EXPECT_STREQ(viewer::save_filter(0) + 13, "*.tif");
  EXPECT_STREQ(viewer::save_filter(2), "Bitmap (*.bmp)");
  EXPECT_STREQ(viewer::save_filter(2) + 15, "*.bmp");
  EXPECT_EQ(viewer::save_filter(2)[21], '\0');  // the empty string that ends the list
}

TEST(SaveDecisions, FreeSpaceBoundary) {
  for (const uint64_t size : {uint64_t{0}, uint64_t{174}, uint64_t{5000000000}}) {
    EXPECT_FALSE(viewer::enough_free_space(size + 999, size)) << size;
    EXPECT_TRUE(viewer::enough_free_space(size + 1000, size)) << size;
  }
}

// The image as displayed: its size, bit count, colour count, row length
// and file size at the view's zoom.
TEST(SaveDecisions, DisplayedBitmapLayout) {
  struct Case {
    uint32_t w, h;
    int step;
    uint32_t bits, used;
    uint32_t want_w, want_h, want_bits, want_colours;
    uint64_t want_row, want_file;
  } cases[] = {
      {100, 60, -2, 24, 0, 33, 20, 24, 0, 100, 2054},  // 1:3
      {10, 10, 1, 1, 2, 20, 20, 1, 2, 4, 142},         // 2:1
      {101, 51, -1, 8, 0, 50, 25, 8, 256, 52, 54 + 1024 + 52 * 25},
      {101, 51, 2, 8, 16, 303, 153, 8, 16, 304, 54 + 64 + 304 * 153},
      {4, 4, 0, 8, 256, 4, 4, 8, 256, 4, 54 + 1024 + 16},
      {4, 4, 0, 8, 300, 4, 4, 8, 256, 4, 54 + 1024 + 16},
      {4, 4, 0, 4, 3, 4, 4, 4, 3, 4, 54 + 12 + 16},
      {5, 2, 0, 16, 0, 5, 2, 24, 0, 16, 54 + 32},
      {5, 2, 0, 32, 0, 5, 2, 32, 0, 20, 54 + 40},
      {1000, 1, -2, 24, 0, 333, 1, 24, 0, 1000, 54 + 1000},
      {2, 2, -9, 24, 0, 1, 1, 24, 0, 4, 58},
  };
  for (const Case& c : cases) {
    const auto l = fmt::bmp::displayed_layout(c.w, c.h, c.step, c.bits, c.used);
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " step " + std::to_string(c.step));
    EXPECT_EQ(l.width, c.want_w);
    EXPECT_EQ(l.height, c.want_h);
    EXPECT_EQ(l.bit_count, c.want_bits);
    EXPECT_EQ(l.colours, c.want_colours);
    EXPECT_EQ(l.row_bytes, c.want_row);
    EXPECT_EQ(l.file_size, c.want_file);
    EXPECT_EQ(l.dib_bytes + 14, l.file_size);
    uint8_t h[40];
    fmt::bmp::put_displayed_info_header(h, l);
    EXPECT_EQ(fmt::get_u32le(h + 20), l.image_bytes);
    EXPECT_EQ(fmt::get_u32le(h + 32), c.want_colours);
    EXPECT_EQ(fmt::get_u16le(h + 14), c.want_bits);
  }
}

// The plain copy of a converted 16-colour 32 x 32 icon is that bitmap again:
// 630 bytes with rows at 118; a block read from a file with a gap before its
// rows keeps its pixel offset.
TEST(SaveDecisions, PlainCopyReproducesTheBitmap) {
  fmt::dib::IndexedImage icon;
  icon.width = icon.height = 32;
  icon.bits = 4;
  icon.palette.resize(16);
  icon.pixels.assign(32 * 32, 3);
  const std::vector<uint8_t> bmp = fmt::dib::bmp_file(icon);
  ASSERT_EQ(bmp.size(), 630u);
  fmt::bmp::PlainCopy copy;
  ASSERT_TRUE(fmt::bmp::plain_copy_of(bmp.data() + 14, bmp.size() - 14, fmt::get_u32le(&bmp[10]), &copy));
  EXPECT_EQ(copy.file_size, 630u);
  EXPECT_EQ(copy.pixel_offset, 118u);
  uint8_t head[14];
  fmt::bmp::FileHeader fh;
  fh.type = fmt::bmp::kMagic;
  fh.declared_size = copy.file_size;
  fh.pixel_offset = copy.pixel_offset;
  fmt::bmp::put_file_header(fh, head);
  EXPECT_EQ(std::vector<uint8_t>(head, head + 14), std::vector<uint8_t>(bmp.begin(), bmp.begin() + 14));

  auto gap = fixtures::make_dib(3, 2, 24, {}, [](uint32_t, uint32_t) { return 0u; });
  gap.block.insert(gap.block.begin() + 40, 8, 0xEE);
  ASSERT_TRUE(fmt::bmp::plain_copy_of(gap.block.data(), gap.block.size(), 14 + 48, &copy));
  EXPECT_EQ(copy.pixel_offset, 62u);
  EXPECT_EQ(copy.file_size, 14u + 40 + 8 + 24);
  EXPECT_FALSE(fmt::bmp::plain_copy_of(gap.block.data(), 50, 14 + 48, &copy));
}
