// The BMP and ICO writers: exact bytes on tiny asymmetric images (odd widths
// so every row needs padding, distinct colours so flips and red/blue swaps
// show), the icon checks on what the icon writer produces, and a read-back
// through Pillow, a reader that shares no code with ours.
#include "formats/dib_file.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "bmp_icon_fixtures.h"
#include "formats/bytes.h"
#include "formats/icon_layout.h"
#include "thirdparty_files.h"

namespace {

using fmt::dib::IndexedImage;
using fmt::dib::Rgb;

constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

// A 5 x 3 red "F"-like wedge on blue with one white pixel bottom right:
// top-down rows 1 1 1 1 0 / 1 1 0 0 0 / 1 0 0 0 2.
IndexedImage wedge(int bits) {
  IndexedImage im;
  im.width = 5;
  im.height = 3;
  im.bits = bits;
  im.palette = {kBlue, kRed, kWhite};
  im.pixels = {1, 1, 1, 1, 0, 1, 1, 0, 0, 0, 1, 0, 0, 0, 2};
  return im;
}

TEST(DibFile, FourBitHeadersPaletteAndPaddedRowsAreExact) {
  const std::vector<uint8_t> file = fmt::dib::bmp_file(wedge(4));
  ASSERT_EQ(file.size(), 130u);  // pixels at 118, after 16 entries
  // Colour table in blue-green-red-0 order, filled out to 16 entries.
  fixtures::Bytes table = {255, 0, 0, 0, 0, 0, 255, 0, 255, 255, 255, 0};
  table.resize(64, 0);
  // Bottom row first, high nibble = left pixel, one zero byte of padding each.
  const fixtures::Bytes rows = {0x10, 0x00, 0x20, 0x00,   // 1 0 0 0 2
                                0x11, 0x00, 0x00, 0x00,   // 1 1 0 0 0
                                0x11, 0x11, 0x00, 0x00};  // 1 1 1 1 0
  // 5 x 3 bottom-up, BI_RGB, 3 rows of 4 bytes, no resolution or colour counts.
  EXPECT_EQ(file, fixtures::bmp_file(fixtures::info_header(5, 3, 4, 0, 12), table, rows));
}

TEST(DibFile, RowsPadToWholeWordsAtEveryDepth) {
  const int widths_bits_bytes[][3] = {{5, 1, 4}, {33, 1, 8}, {8, 4, 4}, {9, 4, 8}, {5, 8, 8}, {2000, 4, 1000}};
  for (const auto& r : widths_bits_bytes)
    EXPECT_EQ(fmt::dib::row_bytes(r[0], r[1]), static_cast<uint32_t>(r[2])) << r[0] << " pixels of " << r[1] << " bits";

  const std::vector<uint8_t> eight = fmt::dib::bmp_file(wedge(8));
  ASSERT_EQ(eight.size(), 14u + 40 + 1024 + 3 * 8);
  EXPECT_EQ(fmt::get_u32le(&eight[10]), 14u + 40 + 1024);
  const std::array<uint8_t, 24> rows = {1, 0, 0, 0, 2, 0, 0, 0,  1, 1, 0, 0, 0, 0, 0, 0,
                                        1, 1, 1, 1, 0, 0, 0, 0};
  EXPECT_TRUE(std::equal(rows.begin(), rows.end(), eight.begin() + 1078));

  IndexedImage mono = wedge(1);
  mono.palette = {kBlue, kRed};
  mono.pixels.back() = 1;
  const std::vector<uint8_t> one = fmt::dib::bmp_file(mono);
  ASSERT_EQ(one.size(), 14u + 40 + 8 + 3 * 4);
  const std::array<uint8_t, 12> bits = {0x88, 0, 0, 0, 0xC0, 0, 0, 0, 0xF0, 0, 0, 0};
  EXPECT_TRUE(std::equal(bits.begin(), bits.end(), one.begin() + 62));
}

TEST(DibFile, RefusesImagesItCannotStore) {
  auto refused = [](IndexedImage im) {
    return fmt::dib::check_image(im) != nullptr && fmt::dib::bmp_file(im).empty();
  };
  IndexedImage im = wedge(4);
  im.bits = 24;
  EXPECT_TRUE(refused(im));
  im = wedge(4);
  im.pixels[7] = 3;  // only 3 palette entries
  EXPECT_TRUE(refused(im));
  im = wedge(1);  // three colours do not fit one bit
  EXPECT_TRUE(refused(im));
  im = wedge(4);
  im.pixels.pop_back();
  EXPECT_TRUE(refused(im));
  im = wedge(4);
  im.width = 0;
  im.pixels.clear();
  EXPECT_TRUE(refused(im));
  EXPECT_EQ(fmt::dib::check_image(wedge(4)), nullptr);
}

// 32 x 32, 16 colours, transparent at (0, 0) and (9, 31) only.
TEST(DibFile, IconPassesTheIconChecksWithItsMaskInPlace) {
  IndexedImage im;
  im.width = im.height = 32;
  im.bits = 4;
  im.palette = {Rgb{}, kRed, kBlue};
  im.pixels.assign(32 * 32, 1);
  im.pixels[5 * 32 + 7] = 2;
  std::vector<uint8_t> mask(32 * 32, 0);
  mask[0] = 1;
  mask[31 * 32 + 9] = 1;
  im.pixels[0] = im.pixels[31 * 32 + 9] = 0;

  const std::vector<uint8_t> file = fmt::dib::icon_file(im, mask);
  ASSERT_EQ(file.size(), fmt::icon::expected_file_size(32, 32, 4));
  ASSERT_EQ(file.size(), 766u);
  fmt::icon::IconFigures fig;
  ASSERT_EQ(fmt::icon::check_icon(file.data(), file.size(), file.size(), &fig),
            fmt::icon::IconCheckResult::Ok);
  EXPECT_EQ(fig.width, 32);
  EXPECT_EQ(fig.height, 32);
  EXPECT_EQ(fig.bits, 4);

  // Directory entry: 32, 32, 16 colours, planes 1, 4 bits, size, offset 22.
  const std::array<uint8_t, 4> entry = {32, 32, 16, 0};
  EXPECT_TRUE(std::equal(entry.begin(), entry.end(), file.begin() + 6));
  EXPECT_EQ(fmt::get_u16le(&file[10]), 1u);
  EXPECT_EQ(fmt::get_u16le(&file[12]), 4u);
  EXPECT_EQ(fmt::get_u32le(&file[14]), 766u - 22);
  EXPECT_EQ(fmt::get_u32le(&file[18]), 22u);
  EXPECT_EQ(fmt::get_u32le(&file[22 + 8]), 64u);  // colour and mask rows together

  // Colour rows bottom-up: image row 5 is stored row 26; pixel 7 is the low
  // nibble of byte 3.
  const size_t xor_at = fmt::icon::xor_offset(4);
  EXPECT_EQ(file[xor_at + 26 * 16 + 3], 0x12);
  EXPECT_EQ(file[xor_at + 31 * 16 + 0], 0x01);  // the clear top-left pixel is black

  // AND rows bottom-up, leftmost pixel in bit 7: (9, 31) is in the first
  // stored row, (0, 0) in the last; nothing else is set.
  const auto and_at = static_cast<size_t>(fmt::icon::and_offset(file.size(), 32, 32));
  for (size_t i = and_at; i < file.size(); ++i) {
    const size_t off = i - and_at;
    const uint8_t want = off == 1 ? 0x40 : off == 31 * 4 ? 0x80 : 0x00;
    EXPECT_EQ(file[i], want) << "mask byte " << off;
  }

  EXPECT_TRUE(fmt::dib::icon_file(im, std::vector<uint8_t>(10, 0)).empty());
  im.width = im.height = 300;
  im.pixels.assign(300 * 300, 1);
  EXPECT_TRUE(fmt::dib::icon_file(im, std::vector<uint8_t>(300 * 300, 0)).empty());
}

// --- read-back through Pillow -------------------------------------------------

// Pillow's view of the bytes as a file: "W H" then "r,g,b,a" per pixel, rows top-down.
std::string pillow_pixels(const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::filesystem::path path = thirdparty::scratch_file("dib_file", name);
  thirdparty::write_file(path, bytes);
  return thirdparty::output_of(std::string(thirdparty::kPython) +
                               " -c \"import sys; from PIL import Image; im = Image.open(sys.argv[1]).convert('RGBA'); "
                               "print(im.size[0], im.size[1], ' '.join('%d,%d,%d,%d' % p for p in im.getdata()))\" '" +
                               path.string() + "' 2>&1");
}

TEST(DibFileReadBack, PillowSeesTheSamePixelsAtFourAndEightBits) {
  if (!thirdparty::have_pillow()) GTEST_SKIP() << "python3-pil is not installed";
  const std::string want =
      "5 3 255,0,0,255 255,0,0,255 255,0,0,255 255,0,0,255 0,0,255,255 "
      "255,0,0,255 255,0,0,255 0,0,255,255 0,0,255,255 0,0,255,255 "
      "255,0,0,255 0,0,255,255 0,0,255,255 0,0,255,255 255,255,255,255\n";
  EXPECT_EQ(pillow_pixels("wedge4.bmp", fmt::dib::bmp_file(wedge(4))), want);
  EXPECT_EQ(pillow_pixels("wedge8.bmp", fmt::dib::bmp_file(wedge(8))), want);
}

TEST(DibFileReadBack, PillowSeesTheIconMaskAsTransparency) {
  if (!thirdparty::have_pillow()) GTEST_SKIP() << "python3-pil is not installed";
  IndexedImage im = wedge(4);
  std::vector<uint8_t> mask(15, 0);
  mask[4] = 1;   // top right
  mask[10] = 1;  // bottom left
  im.pixels[4] = 0;
  im.pixels[10] = 0;
  im.palette[0] = Rgb{};
  const std::string got = pillow_pixels("wedge.ico", fmt::dib::icon_file(im, mask));
  EXPECT_EQ(got,
            "5 3 255,0,0,255 255,0,0,255 255,0,0,255 255,0,0,255 0,0,0,0 "
            "255,0,0,255 255,0,0,255 0,0,0,255 0,0,0,255 0,0,0,255 "
            "0,0,0,0 0,0,0,255 0,0,0,255 0,0,0,255 255,255,255,255\n");
}

}  // namespace
