// Bitfield and RLE files made here from known pixels, read the way the
// viewer reads them: the normalised block must hold exactly those pixels as
// plain bottom-up rows and describe itself, or the file must be refused.
#include "formats/dib_normalise.h"

#include <gtest/gtest.h>

#include <string>

#include "bmp_icon_fixtures.h"
#include "dib_normalise_fixtures.h"

using namespace fmt::bmp;
using namespace normfix;
using fixtures::Bytes;

namespace {

// 16- or 32-bit raw values that reach every bit of a field over a few
// pixels; different in each pixel so that a swapped row or column shows.
uint32_t raw_value(uint32_t x, uint32_t y, uint32_t bits) {
  const uint32_t v = (x * 2654435761u) ^ (y * 40503u + 0x9E3779B9u) ^ (x << 11) ^ (y << 23);
  return bits == 16 ? v & 0xFFFF : v;
}

}  // namespace

TEST(DibNormalise, BitfieldFilesBecomeTheirPixelsIn24Bits) {
  struct Case {
    const char* name;
    uint32_t bits;
    uint32_t masks[3];
    int32_t width, height;  // negative height: top-down
  };
  const Case cases[] = {
      {"5-5-5", 16, {0x7C00, 0x03E0, 0x001F}, 5, 3},
      {"5-6-5", 16, {0xF800, 0x07E0, 0x001F}, 7, 4},
      {"5-6-5 top-down", 16, {0xF800, 0x07E0, 0x001F}, 3, -5},
      {"4-4-4 with alpha bits", 16, {0x0F00, 0x00F0, 0x000F}, 1, 2},
      {"32 bits BGRX", 32, {0x00FF0000, 0x0000FF00, 0x000000FF}, 3, 3},
      {"32 bits RGBX", 32, {0x000000FF, 0x0000FF00, 0x00FF0000}, 2, 3},
      {"10-10-10", 32, {0x3FF00000, 0x000FFC00, 0x000003FF}, 5, 2},
      {"zero blue, 1-bit red", 16, {0x8000, 0x7FE0, 0x0000}, 6, 2},
      {"overlapping, 3-bit", 32, {0x000000E0, 0x000001F8, 0x07000000}, 4, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const uint32_t rows = static_cast<uint32_t>(c.height < 0 ? -c.height : c.height);
    std::vector<uint32_t> raw;  // top row first
    for (uint32_t y = 0; y < rows; ++y)
      for (uint32_t x = 0; x < static_cast<uint32_t>(c.width); ++x) raw.push_back(raw_value(x, y, c.bits));
    const Bytes file = bitfield_file(c.width, c.height, c.bits, c.masks, raw);

    const Normalised n = normalise_file(file);
    ASSERT_EQ(n.error, BmpReadError::None);
    ASSERT_TRUE(n.converted);
    const Image img = pixels_of(n.block);
    ASSERT_EQ(img.bits, 24);
    ASSERT_EQ(img.width, c.width);
    ASSERT_EQ(img.height, static_cast<int32_t>(rows));
    for (size_t i = 0; i < raw.size(); ++i) {
      ASSERT_EQ(img.rgb[i], masked_rgb(raw[i], c.masks)) << "pixel " << i % c.width << "," << i / c.width;
    }
    EXPECT_TRUE(padding_is_zero(n.block)) << "row padding";
  }
}

// Each case: codes and the index image they stand for, top row first.
TEST(DibNormalise, RleCodesDecodeToTheirPixels) {
  struct Case {
    const char* name;
    uint32_t compression;
    int32_t width, height;
    Bytes codes;
    std::vector<uint8_t> top_down;
  };
  const Case cases[] = {
      {"encoded runs and end of line", kBiRle8, 3, 2, {3, 7, 0, 0, 2, 9, 1, 4, 0, 0, 0, 1}, {9, 9, 4, 7, 7, 7}},
      {"absolute run, odd, padded", kBiRle8, 5, 1, {0, 3, 1, 2, 3, 0xEE, 2, 6, 0, 1}, {1, 2, 3, 6, 6}},
      {"absolute run, even", kBiRle8, 4, 1, {0, 4, 5, 6, 7, 8, 0, 1}, {5, 6, 7, 8}},
      {"delta skips to index 0", kBiRle8, 4, 3, {1, 5, 0, 2, 2, 1, 1, 6, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 6, 5, 0, 0, 0}},
      {"end of bitmap early", kBiRle8, 3, 2, {2, 4, 0, 1, 9, 9}, {0, 0, 0, 4, 4, 0}},
      {"no end of bitmap, rows complete", kBiRle8, 2, 2, {2, 1, 0, 0, 2, 3}, {3, 3, 1, 1}},
      {"no end code after last end of line", kBiRle8, 1, 2, {1, 1, 0, 0, 1, 2, 0, 0}, {2, 1}},
      {"RLE4 run alternates nibbles", kBiRle4, 5, 1, {5, 0x1A, 0, 1}, {1, 10, 1, 10, 1}},
      {"RLE4 absolute, odd count", kBiRle4, 7, 1, {0, 3, 0x23, 0x40, 4, 0x55, 0, 1}, {2, 3, 4, 5, 5, 5, 5}},
      {"RLE4 absolute, padded", kBiRle4, 5, 2, {0, 5, 0x12, 0x34, 0x50, 0, 0, 0, 5, 0xF0}, {15, 0, 15, 0, 15, 1, 2, 3, 4, 5}},
      {"RLE4 delta", kBiRle4, 3, 2, {0, 2, 1, 1, 2, 0x77, 0, 1}, {0, 7, 7, 0, 0, 0}},
      // Runs into the stored row's padding, as ImageMagick writes them: the
      // pixels past the width are dropped.
      {"run into the padding", kBiRle8, 3, 2, {4, 7, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1}, {1, 2, 3, 7, 7, 7}},
      {"RLE4 run into the padding", kBiRle4, 3, 1, {8, 0x56}, {5, 6, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const uint32_t bits = c.compression == kBiRle8 ? 8 : 4;
    const Normalised n = normalise_file(rle_file(c.width, c.height, bits, c.codes));
    ASSERT_EQ(n.error, BmpReadError::None);
    const Image img = pixels_of(n.block);
    EXPECT_EQ(img.bits, static_cast<int>(bits));
    EXPECT_EQ(img.index, c.top_down);
    EXPECT_TRUE(padding_is_zero(n.block));
  }
}

// An encoder written for the tests (runs where pixels repeat, absolute runs
// elsewhere) over images of every width up to 19: what it writes must read
// back as the image it started from.
TEST(DibNormalise, RleImagesOfEveryWidthComeBackExactly) {
  for (uint32_t bits : {4u, 8u}) {
    for (int32_t w = 1; w <= 19; ++w) {
      SCOPED_TRACE("bits " + std::to_string(bits) + " width " + std::to_string(w));
      const int32_t h = 3;
      std::vector<uint8_t> img;
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
          img.push_back(static_cast<uint8_t>(((x / 3) * 7 + y * 5 + (x % 5 == 4 ? 3 : 0)) % (bits == 4 ? 16 : 256)));
      const Normalised n = normalise_file(rle_file(w, h, bits, rle_encode(img, w, h, bits)));
      ASSERT_EQ(n.error, BmpReadError::None);
      EXPECT_EQ(pixels_of(n.block).index, img);
      EXPECT_TRUE(padding_is_zero(n.block));
    }
  }
}

// Bitfield and RLE files the normaliser cannot read: each is refused with the
// error that names its fault, and the message that error gives.
TEST(DibNormalise, RefusesFilesItCannotRead) {
  const uint32_t good[3] = {0xF800, 0x07E0, 0x001F};
  const std::vector<uint32_t> raw(6, 0x1234);
  auto with_masks = [&](uint32_t bits, uint32_t r, uint32_t g, uint32_t b) {
    const uint32_t m[3] = {r, g, b};
    return bitfield_file(3, 2, bits, m, raw);
  };
  Bytes eight_bits = bitfield_file(3, 2, 16, good, raw);
  fmt::put_u16le(&eight_bits[14 + kOffBitCount], 8);
  Bytes over_masks = bitfield_file(3, 2, 16, good, raw);
  fmt::put_u32le(&over_masks[10], 14 + 40 + 8);  // rows start on the blue mask
  Bytes short_rows = bitfield_file(3, 2, 16, good, raw);
  short_rows.resize(short_rows.size() - 1);
  fmt::put_u32le(&short_rows[2], static_cast<uint32_t>(short_rows.size()));
  Bytes no_masks = fixtures::bmp_file(fixtures::info_header(1, 1, 16, 0, 0, 40, kBiBitfields), {}, {});
  // Headers that do not fit the compression.
  Bytes rle8_at_4 = rle_file(2, 1, 8, {2, 1, 0, 1});
  fmt::put_u16le(&rle8_at_4[14 + kOffBitCount], 4);
  Bytes top_down = rle_file(2, 1, 8, {2, 1, 0, 1});
  fmt::put_u32le(&top_down[14 + kOffHeight], static_cast<uint32_t>(-1));
  constexpr BmpReadError kBad = BmpReadError::BadCompressedData;
  struct Case {
    const char* name;
    Bytes file;
    BmpReadError want;
  };
  const Case cases[] = {
      {"split mask", with_masks(16, 0xF000, 0x0F0F, 0x00F0), kBad},
      {"mask past 16 bits", with_masks(16, 0x1F0000, 0x07E0, 0x001F), kBad},
      {"bitfields at 8 bits", eight_bits, kBad},
      {"rows over the masks", over_masks, kBad},
      {"rows past the data", short_rows, BmpReadError::DataOutsideBlock},
      {"masks past the data", no_masks, BmpReadError::DataOutsideBlock},
      {"run leaves the padded row", rle_file(3, 2, 8, {5, 1, 0, 1}), kBad},
      {"run after the padding leaves it", rle_file(3, 2, 8, {4, 1, 1, 1, 0, 1}), kBad},
      {"RLE4 run leaves the padded row", rle_file(3, 1, 4, {9, 0x11, 0, 1}), kBad},
      {"absolute run leaves the padded row", rle_file(2, 1, 8, {0, 5, 1, 2, 3, 4, 5, 0, 0, 1}), kBad},
      {"absolute run past the data", rle_file(8, 1, 8, {0, 6, 1, 2, 3}), kBad},
      {"delta past the right edge", rle_file(3, 2, 8, {0, 2, 4, 0, 0, 1}), kBad},
      {"delta past the top", rle_file(3, 2, 8, {0, 2, 0, 3, 0, 1}), kBad},
      {"delta cut short", rle_file(3, 2, 8, {0, 2, 1}), kBad},
      {"run above the last row", rle_file(1, 1, 8, {1, 1, 0, 0, 1, 1, 0, 1}), kBad},
      {"end of line above the last row", rle_file(1, 1, 8, {0, 0, 0, 0, 0, 1}), kBad},
      {"data ends early", rle_file(3, 2, 8, {3, 1, 0, 0, 1, 1}), kBad},
      {"no data at all", rle_file(3, 2, 8, {}), kBad},
      {"RLE8 at 4 bits", rle8_at_4, kBad},
      {"RLE top-down", top_down, kBad},
      // A few bytes that declare an image far above the cap: refused before
      // anything is allocated, with the allocation message.
      {"60000 x 60000 RLE8", rle_file(60000, 60000, 8, {0, 1}), BmpReadError::TooLarge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(normalise_file(c.file).error, c.want);
    EXPECT_EQ(message_for(c.want), c.want == BmpReadError::TooLarge ? BmpReadMessage::AllocationFailed
                                                                     : BmpReadMessage::InfoHeaderNotRead);
  }
  // Just below and above a small cap, to pin the comparison.
  const Bytes small = rle_file(8, 2, 8, {0, 1});
  FileHeader h;
  ASSERT_EQ(parse_file_header(small.data(), small.size(), &h), BmpReadError::None);
  const uint64_t need = 40 + 4 * 256 + 8 * 2;
  EXPECT_EQ(plan_normalise(&small[14], small.size() - 14, h, need).error, BmpReadError::None);
  EXPECT_EQ(plan_normalise(&small[14], small.size() - 14, h, need - 1).error, BmpReadError::TooLarge);
}

// What the viewer keeps of a converted file describes the block: the info
// header, the record's file header and the export figures all come from it,
// and the block passes the reader's checks unchanged.
TEST(DibNormalise, ConvertedBlockDescribesItself) {
  const uint32_t masks[3] = {0xF800, 0x07E0, 0x001F};
  struct Case {
    const char* name;
    Bytes file;
    uint32_t bits, table, width, height;
  };
  const Case cases[] = {
      {"5-6-5", bitfield_file(5, -3, 16, masks, std::vector<uint32_t>(15, 0xF81F)), 24, 0, 5, 3},
      {"RLE8, 20 colours", rle_file(3, 2, 8, {3, 1, 0, 0, 3, 2, 0, 1}, 20), 8, 20, 3, 2},
      {"RLE4, full table", rle_file(9, 1, 4, {9, 0x12, 0, 1}), 4, 16, 9, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Normalised n = normalise_file(c.file);
    ASSERT_EQ(n.error, BmpReadError::None);
    const Bytes& b = n.block;
    const uint32_t stride = fixtures::row_bytes(static_cast<int32_t>(c.width), static_cast<int>(c.bits));
    expect_plain_block(b, static_cast<int32_t>(c.width), static_cast<int32_t>(c.height), c.bits, c.table);

    EXPECT_EQ(n.header.type, kMagic);
    EXPECT_EQ(n.header.pixel_offset, 14 + 40 + 4 * c.table);
    EXPECT_EQ(n.header.declared_size, 14 + b.size());
    uint8_t raw[14];
    put_file_header(n.header, raw);
    FileHeader back;
    ASSERT_EQ(parse_file_header(raw, 14, &back), BmpReadError::None);
    EXPECT_EQ(back.pixel_offset, n.header.pixel_offset);
    EXPECT_EQ(back.block_size, b.size());

    // Checked again at every lock: nothing to change any more.
    Bytes again = b;
    DibLayout l;
    ASSERT_EQ(finish_dib(again.data(), again.size(), n.header, &l), BmpReadError::None);
    EXPECT_EQ(again, b);
    EXPECT_EQ(l.rows_offset, 40 + 4 * c.table);

    ExportFigures f;
    ASSERT_EQ(scan_block(b.data(), b.size(), n.header, &f), ScanResult::Ok);
    EXPECT_EQ(f.width, static_cast<int32_t>(c.width));
    EXPECT_EQ(f.height, static_cast<int32_t>(c.height));
    EXPECT_EQ(f.palette_size, c.bits == 24 ? 0u : c.table);
    EXPECT_EQ(f.bmp_file_size, 14 + b.size());
    EXPECT_EQ(f.image_size, stride * c.height);
    EXPECT_EQ(f.padded_row_length, stride);
    if (c.table) {
      EXPECT_EQ(f.palette[c.table - 1].red, b[40 + 4 * (c.table - 1) + 2]);
    }
  }
}

// Plain files go the old way: no copy, and the same block as before.
TEST(DibNormalise, PlainBlocksAreLeftToTheReader) {
  const Bytes rows = fixtures::numbered_rows(8, 2);
  const Bytes file = fixtures::bmp_file(fixtures::info_header(2, -2, 24, 0, 0), {}, rows);
  FileHeader h;
  ASSERT_EQ(parse_file_header(file.data(), file.size(), &h), BmpReadError::None);
  const NormalisePlan plan = plan_normalise(&file[14], file.size() - 14, h);
  EXPECT_EQ(plan.error, BmpReadError::None);
  EXPECT_FALSE(plan.convert);
  EXPECT_EQ(plan.out_size, file.size() - 14);
  // The copying path (paste) gives the block finish_dib gives in place.
  Bytes in_place(file.begin() + 14, file.end());
  ASSERT_EQ(finish_dib(in_place.data(), in_place.size(), h), BmpReadError::None);
  Bytes copy(static_cast<size_t>(plan.out_size));
  ASSERT_EQ(normalise_into(&file[14], file.size() - 14, h, plan, copy.data(), copy.size()), BmpReadError::None);
  EXPECT_EQ(copy, in_place);
  // Compressions the viewer does not read keep their old refusal.
  Bytes jpeg = file;
  fmt::put_u32le(&jpeg[14 + kOffCompression], 4);
  EXPECT_EQ(plan_normalise(&jpeg[14], jpeg.size() - 14, h).error, BmpReadError::UnsupportedFormat);
}

// A CF_DIB has no file header: its rows follow the masks and the table.
TEST(DibNormalise, PackedDibWithoutFileHeader) {
  const uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
  const Bytes file = bitfield_file(2, 1, 32, masks, {0x00102030, 0x00405060});
  const Bytes dib(file.begin() + 14, file.end());
  const FileHeader none{};
  const NormalisePlan plan = plan_normalise(dib.data(), dib.size(), none);
  ASSERT_EQ(plan.error, BmpReadError::None);
  Bytes out(static_cast<size_t>(plan.out_size));
  ASSERT_EQ(normalise_into(dib.data(), dib.size(), none, plan, out.data(), out.size()), BmpReadError::None);
  EXPECT_EQ(pixels_of(out).rgb, (std::vector<uint32_t>{0x102030, 0x405060}));
}

TEST(BmpRead, DeclaredSizeIsCheckedAgainstTheFileBeforeAllocating) {
  struct Case {
    uint32_t declared;
    uint64_t length;
    BmpReadError want;
  };
  const Case cases[] = {
      {0x80000000u, 60, BmpReadError::ShortRead},  // 60 bytes that claim 2 GB
      {61, 60, BmpReadError::ShortRead},
      {60, 60, BmpReadError::None},
      {60, 61, BmpReadError::None},  // trailing bytes are simply not read
  };
  for (const Case& c : cases) {
    FileHeader h;
    h.declared_size = c.declared;
    EXPECT_EQ(check_declared_size(h, c.length), c.want) << c.declared << " in " << c.length;
  }
  EXPECT_EQ(message_for(BmpReadError::ShortRead), BmpReadMessage::InfoHeaderNotRead);
}
