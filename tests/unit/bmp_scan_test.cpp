#include "formats/bmp_scan.h"

#include <gtest/gtest.h>

#include <climits>

#include "bmp_icon_fixtures.h"

using namespace fmt::bmp;
using fixtures::Bytes;

namespace {

ScanResult scan(const Bytes& file, ExportFigures* f) {
  return scan_bmp(file.data(), std::min(file.size(), kScanBytes), file.size(), f);
}

Bytes file_of(int32_t w, int32_t h, int bits, uint32_t used, uint32_t entries, uint32_t image_size = 0) {
  return fixtures::numbered_bmp(w, h, bits, used, entries, image_size);
}

}  // namespace

TEST(BmpScan, FiguresOfEachDepth) {
  struct Case {
    int bits;
    int32_t w;
    uint32_t used, entries, palette, padded, unpadded;
  };
  // The unpadded length goes by the palette size, not the depth: a short
  // 16-colour table counts the row in pixels.
  const Case cases[] = {
      {1, 13, 0, 2, 2, 4, 2},        {4, 13, 0, 16, 16, 8, 7},  {4, 13, 5, 5, 5, 8, 13},
      {8, 13, 0, 256, 256, 16, 13},  {8, 13, 200, 200, 200, 16, 13}, {16, 13, 0, 0, 0, 28, 13},
      {24, 13, 0, 0, 0, 40, 13},     {32, 13, 7, 0, 0, 52, 13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    const Bytes file = file_of(c.w, 3, c.bits, c.used, c.entries);
    ExportFigures f;
    ASSERT_EQ(scan(file, &f), ScanResult::Ok);
    EXPECT_EQ(f.width, 13);
    EXPECT_EQ(f.height, 3);
    EXPECT_EQ(f.palette_size, c.palette);
    EXPECT_EQ(f.bmp_file_size, file.size());
    // The image-size field is 0: it comes from the file length.
    EXPECT_EQ(f.image_size, 3 * c.padded);
    EXPECT_EQ(f.padded_row_length, c.padded);
    EXPECT_EQ(f.unpadded_row_length, c.unpadded);
    if (c.palette) {
      EXPECT_EQ(f.palette[c.palette - 1].blue, static_cast<uint8_t>(c.palette - 1));
      EXPECT_EQ(f.palette[c.palette - 1].green, static_cast<uint8_t>(2 * (c.palette - 1)));
      EXPECT_EQ(f.palette[c.palette - 1].red, static_cast<uint8_t>(3 * (c.palette - 1)));
    }
    EXPECT_EQ(f.grey_entries, c.palette ? 1u : 0u);  // only entry 0 of a ramp is grey
  }
}

TEST(BmpScan, ImageSizeFieldAndRowLength) {
  ExportFigures f;
  ASSERT_EQ(scan(file_of(5, 3, 24, 0, 0, 50), &f), ScanResult::Ok);  // 50 / 3 = 16.67
  EXPECT_EQ(f.image_size, 50u);
  EXPECT_EQ(f.padded_row_length, 16u);
  ASSERT_EQ(scan(file_of(8, 200, 24, 0, 0, 1999), &f), ScanResult::Ok);  // 9.995 + 0.01
  EXPECT_EQ(f.padded_row_length, 10u);
  // Top-down: the rows counted as a positive height.
  ASSERT_EQ(scan(file_of(5, -3, 24, 0, 0), &f), ScanResult::Ok);
  EXPECT_EQ(f.height, 3);
  EXPECT_EQ(f.padded_row_length, 16u);
}

TEST(BmpScan, GreyEntriesAndOldPaletteEntries) {
  Bytes table;
  for (uint8_t i = 0; i < 16; ++i) table.insert(table.end(), {i, i, static_cast<uint8_t>(i < 10 ? i : 0), 0});
  const Bytes file = fixtures::bmp_file(fixtures::info_header(2, 1, 4, 0, 0), table, Bytes(4, 0));
  ExportFigures f;
  f.palette[16] = PaletteEntry{1, 2, 3};
  ASSERT_EQ(scan(file, &f), ScanResult::Ok);
  EXPECT_EQ(f.grey_entries, 10u);
  EXPECT_EQ(f.palette[16].red, 3);
}

TEST(BmpScan, Rejections) {
  const Bytes good = file_of(4, 2, 8, 0, 256);
  ExportFigures f;
  f.width = 77;
  auto with = [&](size_t at, uint32_t v) {
    Bytes b = good;
    fmt::put_u32le(&b[at], v);
    return scan(b, &f);
  };
  for (size_t at : {0u, 1u}) {
    Bytes b = good;
    b[at] ^= 0x20;
    EXPECT_EQ(scan(b, &f), ScanResult::NotBitmap);
  }
  EXPECT_EQ(with(14, 100), ScanResult::NotBitmap);  // no info header has 100 bytes
  EXPECT_EQ(with(14, 11), ScanResult::NotBitmap);
  EXPECT_EQ(with(14, 0x128), ScanResult::Ok);  // only the low byte of the size is looked at
  EXPECT_EQ(with(18, 0), ScanResult::ZeroSize);
  EXPECT_EQ(with(22, 0), ScanResult::ZeroSize);
  EXPECT_EQ(with(18, static_cast<uint32_t>(-4)), ScanResult::NotBitmap);
  EXPECT_EQ(with(22, static_cast<uint32_t>(INT32_MIN)), ScanResult::NotBitmap);
  EXPECT_EQ(with(46, 257), ScanResult::NotBitmap);
  f.width = 77;
  EXPECT_EQ(scan(file_of(4, 2, 4, 17, 17), &f), ScanResult::NotBitmap);
  EXPECT_EQ(scan(file_of(4, 2, 1, 3, 3), &f), ScanResult::NotBitmap);
  EXPECT_EQ(f.width, 77);  // figures untouched on failure
}

TEST(BmpScan, ShortFilesReadAsEndOfFile) {
  const Bytes good = file_of(4, 2, 8, 0, 256);
  ExportFigures f;
  EXPECT_EQ(scan(Bytes(good.begin(), good.begin() + 14), &f), ScanResult::NotBitmap);
  // Cut inside the width: the missing bytes read as 0xFF, a negative width.
  EXPECT_EQ(scan(Bytes(good.begin(), good.begin() + 20), &f), ScanResult::NotBitmap);
  // Cut after two table entries: the rest read as white, grey entries.
  ASSERT_EQ(scan(Bytes(good.begin(), good.begin() + 62), &f), ScanResult::Ok);
  EXPECT_EQ(f.palette_size, 256u);
  EXPECT_EQ(f.palette[1].green, 2);
  EXPECT_EQ(f.palette[2].blue, 0xFF);
  EXPECT_EQ(f.palette[255].red, 0xFF);
  EXPECT_EQ(f.grey_entries, 255u);
  EXPECT_EQ(f.image_size, 0u);  // no room for rows in the file
  EXPECT_EQ(f.padded_row_length, 0u);
  // A head longer than the file is not read past the file's end.
  Bytes head = good;
  head.resize(kScanBytes, 0);
  ASSERT_EQ(scan_bmp(head.data(), head.size(), 62, &f), ScanResult::Ok);
  EXPECT_EQ(f.palette[2].blue, 0xFF);
}
