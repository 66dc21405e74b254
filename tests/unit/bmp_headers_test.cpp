// Files with every info header a bitmap may carry, made here from known
// pixels, read the way the viewer reads them: the normalised block is the
// plain 40-byte one holding exactly those pixels, or the file is refused
// with the message its fault calls for.
#include <gtest/gtest.h>

#include <string>

#include "bmp_icon_fixtures.h"
#include "dib_normalise_fixtures.h"
#include "formats/bmp_scan.h"

using namespace fmt::bmp;
using namespace normfix;
using fixtures::Bytes;

namespace {

constexpr int32_t W = 5, ROWS = 3;  // odd width: every depth pads its rows

struct Kind {
  const char* name;
  uint32_t header;       // info header size
  uint32_t bits;
  uint32_t compression;
  bool top_down;
  uint32_t masks[4];     // red, green, blue, alpha (in the header from 52 bytes, after it at 40)
  uint32_t planes;
};

// The stored value of pixel (x, y), y from the top: an index, or a 16-,
// 24- or 32-bit word whose every bit (alpha bits too) changes over the image.
uint32_t raw_of(const Kind& k, uint32_t x, uint32_t y) {
  if (k.bits <= 8) return (x * 3 + y * 5 + 1) % (1u << k.bits);
  const uint32_t v = (x * 2654435761u) ^ (y * 0x9E3779B9u) ^ (x << 13) ^ (y << 27);
  return k.bits == 16 ? v & 0xFFFF : k.bits == 24 ? v & 0xFFFFFF : v;
}

// The colour a correct reader shows for pixel (x, y), as R, G, B.
void expected_rgb(const Kind& k, uint32_t x, uint32_t y, Bytes& out) {
  const uint32_t raw = raw_of(k, x, y);
  if (k.bits <= 8) {  // ramp table entry raw: blue raw, green 2 raw, red 3 raw
    out.insert(out.end(), {uint8_t(3 * raw), uint8_t(2 * raw), uint8_t(raw)});
    return;
  }
  const uint32_t bgr[3] = {0xFF0000, 0xFF00, 0xFF};
  // What BI_RGB stands for.
  const uint32_t* m = k.compression != kBiRgb ? k.masks : k.bits == 16 ? kMasks555 : bgr;
  out.insert(out.end(), {replicate(raw, m[0]), replicate(raw, m[1]), replicate(raw, m[2])});
}

// A whole file of kind k: its header laid out field by field (colour-space
// bytes of V4 and V5 filled with noise), the ramp table in the header's
// entry size, rows packed bottom-up unless top-down.
Bytes file_of(const Kind& k) {
  const uint32_t entries = k.bits <= 8 ? 1u << k.bits : 0;
  const Bytes rows =
      fixtures::pack_rows(W, ROWS, static_cast<int>(k.bits), [&](uint32_t x, uint32_t y) { return raw_of(k, x, y); },
                          k.top_down);
  Bytes info;
  Bytes table;
  if (k.header == kCoreHeaderSize) {
    fixtures::append_u32(info, 12);
    fixtures::append_u16(info, W);
    fixtures::append_u16(info, ROWS);
    fixtures::append_u16(info, k.planes);
    fixtures::append_u16(info, k.bits);
    for (uint32_t i = 0; i < entries; ++i) table.insert(table.end(), {uint8_t(i), uint8_t(2 * i), uint8_t(3 * i)});
  } else {
    info = fixtures::info_header(W, k.top_down ? -ROWS : ROWS, static_cast<int>(k.bits), 0,
                                 static_cast<uint32_t>(rows.size()), k.header, k.compression);
    fmt::put_u16le(&info[kOffPlanes], k.planes);
    info.resize(k.header, 0x5A);
    for (size_t i = 0; i < 4 && kOffRedMask + 4 * i + 4 <= k.header; ++i)
      fmt::put_u32le(&info[kOffRedMask + 4 * i], k.masks[i]);
    if (k.header == kInfoHeaderSize && k.compression == kBiBitfields)
      for (int i = 0; i < 3; ++i) fixtures::append_u32(table, k.masks[i]);
    fixtures::append(table, fixtures::ramp_table(entries));
  }
  return fixtures::bmp_file(info, table, rows);
}

constexpr uint32_t kBf = kBiBitfields;
constexpr uint32_t kBgra[4] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};

}  // namespace

TEST(BmpHeaders, EveryHeaderSizeBecomesThePlainBlockOfItsPixels) {
  const Kind kinds[] = {
      {"OS/2 1.x, 8 bits, 3-byte entries", 12, 8, kBiRgb, false, {}, 1},
      {"OS/2 1.x, 24 bits", 12, 24, kBiRgb, false, {}, 1},
      {"OS/2 2.x of 16 bytes, 4 bits", 16, 4, kBiRgb, false, {}, 1},
      {"OS/2 2.x of 64 bytes, 1 bit", 64, 1, kBiRgb, false, {}, 1},
      {"52 bytes, 5-6-5 masks inside", 52, 16, kBf, false, {0xF800, 0x07E0, 0x001F, 0}, 1},
      {"56 bytes, alpha mask dropped", 56, 32, kBf, false, {kBgra[0], kBgra[1], kBgra[2], kBgra[3]}, 1},
      {"V4, 8 bits", 108, 8, kBiRgb, false, {}, 1},
      {"V4, 16 bits BI_RGB is 5-5-5", 108, 16, kBiRgb, false, {0xF800, 0x07E0, 0x001F, 0}, 1},
      {"V4, 24 bits", 108, 24, kBiRgb, false, {}, 1},
      {"V4, 32 bits RGBX masks", 108, 32, kBf, false, {0xFF, 0xFF00, 0xFF0000, 0}, 1},
      {"V5, 8 bits", 124, 8, kBiRgb, false, {}, 1},
      {"V5, 16 bits 4-4-4-4, alpha dropped", 124, 16, kBf, false, {0x0F00, 0x00F0, 0x000F, 0xF000}, 1},
      {"V5, 24 bits, top-down", 124, 24, kBiRgb, true, {}, 1},
      {"V5, 32 bits BGRA, top-down", 124, 32, kBf, true, {kBgra[0], kBgra[1], kBgra[2], kBgra[3]}, 1},
      {"V5, 32 bits BI_RGB", 124, 32, kBiRgb, false, {}, 1},
      // GDI draws nothing from a plane count other than 1: it becomes 1.
      {"40 bytes, 0 planes", 40, 24, kBiRgb, false, {}, 0},
      {"V5, 3 planes", 124, 4, kBiRgb, false, {}, 3},
  };
  for (const Kind& k : kinds) {
    SCOPED_TRACE(k.name);
    const Normalised n = normalise_file(file_of(k));
    ASSERT_EQ(n.error, BmpReadError::None);
    EXPECT_EQ(n.converted, k.header != kInfoHeaderSize);
    const Bytes& b = n.block;
    const uint32_t entries = k.bits <= 8 ? 1u << k.bits : 0;
    expect_plain_block(b, W, ROWS, k.bits > 8 ? 24 : k.bits, entries);
    if (k.header != kInfoHeaderSize) {
      EXPECT_EQ(n.header.pixel_offset, 14 + 40 + 4 * entries);
    }
    Bytes want;
    for (uint32_t y = 0; y < ROWS; ++y)
      for (uint32_t x = 0; x < W; ++x) expected_rgb(k, x, y, want);
    EXPECT_EQ(rgb_of(b), want);
  }
}

// JPEG or PNG pixels, OS/2 Huffman and RLE24 are bitmaps the viewer does not
// read: the header scan lets them through and the reader refuses them with
// its message for unknown compressions. What is no bitmap at all stays "not
// a bitmap file"; a header that runs past the file is a file too short.
TEST(BmpHeaders, Refusals) {
  auto with = [](uint32_t header, uint32_t compression) {
    const Kind k = {"", header, 24, compression, false, {}, 1};
    return file_of(k);
  };
  Bytes past_the_file = with(124, kBiRgb);
  past_the_file.resize(14 + 100);
  fmt::put_u32le(&past_the_file[kFileOffSize], 14 + 100);
  fmt::put_u32le(&past_the_file[kFileOffPixelOffset], 0);
  struct Case {
    const char* name;
    Bytes file;
    ScanResult scan;
    BmpReadError error;
    BmpReadMessage message;
  };
  const Case cases[] = {
      {"V5 with JPEG pixels", with(124, kBiJpeg), ScanResult::Ok, BmpReadError::UnsupportedFormat,
       BmpReadMessage::IllegalStructureSize},
      {"V4 with PNG pixels", with(108, kBiPng), ScanResult::Ok, BmpReadError::UnsupportedFormat,
       BmpReadMessage::IllegalStructureSize},
      {"40 bytes with JPEG pixels", with(40, kBiJpeg), ScanResult::Ok, BmpReadError::UnsupportedFormat,
       BmpReadMessage::IllegalStructureSize},
      {"OS/2 2.x Huffman", with(64, 3), ScanResult::Ok, BmpReadError::UnsupportedFormat,
       BmpReadMessage::IllegalStructureSize},
      {"OS/2 2.x RLE24", with(64, 4), ScanResult::Ok, BmpReadError::UnsupportedFormat,
       BmpReadMessage::IllegalStructureSize},
      {"V5 header past the file", past_the_file, ScanResult::Ok, BmpReadError::TooSmall,
       BmpReadMessage::InfoHeaderNotRead},
      {"100-byte header", with(100, kBiRgb), ScanResult::NotBitmap, BmpReadError::BadInfoSize,
       BmpReadMessage::IllegalStructureSize},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExportFigures f;
    EXPECT_EQ(scan_bmp(c.file.data(), c.file.size(), c.file.size(), &f), c.scan);
    const BmpReadError e = normalise_file(c.file).error;
    EXPECT_EQ(e, c.error);
    EXPECT_EQ(message_for(e), c.message);
  }
}
