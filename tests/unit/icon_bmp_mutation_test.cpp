// Every byte of small valid files flipped, and every truncation, through the
// BMP reader, the header scan, the icon check and the conversion. Each piece
// gets a buffer of exactly the bytes it is given, so the sanitizers report
// any access outside it; what the pieces accept must hold together.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "bmp_icon_fixtures.h"
#include "formats/bmp_read.h"
#include "formats/bmp_scan.h"
#include "formats/icon_convert.h"

using fixtures::Bytes;
namespace bmp = fmt::bmp;
namespace icon = fmt::icon;

namespace {

volatile unsigned g_sink;
using testing::Test;

Bytes prefix(const Bytes& b, size_t n) { return Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(std::min(n, b.size()))); }

// Reads a file as the viewer does; returns whether it was accepted.
bool read_bmp(const Bytes& file) {
  const Bytes first = prefix(file, bmp::kFileHeaderSize);
  bmp::FileHeader h;
  if (bmp::parse_file_header(first.data(), first.size(), &h) != bmp::BmpReadError::None) return false;
  if (file.size() - bmp::kFileHeaderSize < h.block_size) return false;  // short read
  Bytes block(file.begin() + 14, file.begin() + 14 + h.block_size);
  bmp::DibLayout l;
  if (bmp::finish_dib(block.data(), block.size(), h, &l) != bmp::BmpReadError::None) return false;

  // Everything the layout points at is inside the block.
  unsigned sum = 0;
  for (size_t i = 0; i < bmp::kInfoHeaderSize + 4 * size_t{l.table_entries}; ++i) sum += block[i];
  for (uint64_t i = 0; i < l.image_bytes; ++i) sum += block[static_cast<size_t>(l.rows_offset + i)];
  g_sink = sum;

  bmp::DibLayout again;
  EXPECT_EQ(bmp::dib_layout(block.data(), block.size(), h, &again), bmp::BmpReadError::None);
  EXPECT_GT(again.height, 0);
  EXPECT_EQ(again.image_bytes, l.image_bytes);
  return true;
}

void scan_bmp(const Bytes& file) {
  const Bytes head = prefix(file, bmp::kScanBytes);
  bmp::ExportFigures f;
  if (bmp::scan_bmp(head.data(), head.size(), file.size(), &f) == bmp::ScanResult::Ok) {
    EXPECT_GT(f.width, 0);
    EXPECT_GT(f.height, 0);
    EXPECT_LE(f.palette_size, 256u);
  }
}

bool open_icon(const Bytes& file) {
  const Bytes head = prefix(file, icon::kHeadBytesNeeded);
  icon::IconFigures f;
  if (icon::check_icon(head.data(), head.size(), file.size(), &f) != icon::IconCheckResult::Ok) return false;
  Bytes out = icon::icon_to_bmp(file.data(), file.size(), f);
  EXPECT_EQ(out.size(), icon::converted_file_size(f));
  if (out.empty()) return false;
  icon::has_masked_pixels(file.data(), file.size(), f);
  EXPECT_EQ(icon::mask_palette(file.data(), file.size(), f).size(), f.bits == 24 ? 0u : (f.bits == 8 ? 256u : 16u));
  EXPECT_TRUE(icon::paint_masked(out, file.data(), file.size(), f, 5, 0x808000));
  bmp::ExportFigures fig;
  EXPECT_TRUE(icon::converted_figures(out, &fig));
  // What the conversion writes, the reader takes.
  EXPECT_TRUE(read_bmp(out));
  return true;
}

// Mutants that got through to the end, so that a loop which never reaches
// the conversion or the row handling does not pass unnoticed.
int g_read = 0, g_converted = 0;

void all_readers(const Bytes& file) {
  g_read += read_bmp(file);
  scan_bmp(file);
  g_converted += open_icon(file);
}

// Returns how many mutants the reader and the conversion accepted.
std::pair<int, int> mutate(const Bytes& seed) {
  g_read = g_converted = 0;
  for (size_t i = 0; i < seed.size(); ++i)
    for (int flip : {0xFF, 0x01, 0x80}) {
      Bytes m = seed;
      m[i] = static_cast<uint8_t>(m[i] ^ flip);
      all_readers(m);
      if (Test::HasFailure()) {
        ADD_FAILURE() << "byte " << i << " ^ " << flip;
        return {};
      }
    }
  for (size_t n = 0; n < seed.size(); ++n) {
    all_readers(prefix(seed, n));
    if (Test::HasFailure()) {
      ADD_FAILURE() << "truncated to " << n;
      return {};
    }
  }
  return {g_read, g_converted};
}

Bytes bmp_seed(int32_t w, int32_t h, int bits, uint32_t used, uint32_t entries, uint32_t offset = ~0u) {
  return fixtures::numbered_bmp(w, h, bits, used, entries, 0, offset);
}

}  // namespace

TEST(Mutation, BmpFilesOfEachDepth) {
  for (const Bytes& seed : {bmp_seed(13, 3, 1, 0, 2), bmp_seed(5, 2, 4, 3, 3, 0), bmp_seed(3, -3, 8, 0, 256),
                            bmp_seed(20, 26, 16, 0, 0), bmp_seed(5, 3, 24, 0, 0), bmp_seed(2, -2, 32, 1, 1)}) {
    ASSERT_TRUE(read_bmp(seed));
    const auto [read, converted] = mutate(seed);
    EXPECT_GT(read, static_cast<int>(seed.size()));  // pixel and table bytes at least
    EXPECT_EQ(converted, 0);
  }
}

TEST(Mutation, IconsOfEachDepth) {
  for (const Bytes& seed :
       {fixtures::numbered_icon(3, 2, 1, 0x6A), fixtures::numbered_icon(40, 1, 1, 0x81),
        fixtures::numbered_icon(5, 2, 4, 0x5C), fixtures::numbered_icon(5, 1, 8, 0x4C),
        fixtures::numbered_icon(3, 2, 24, 0xA0)}) {
    icon::IconFigures f;
    ASSERT_EQ(icon::check_icon(seed.data(), seed.size(), seed.size(), &f), icon::IconCheckResult::Ok);
    const auto [read, converted] = mutate(seed);
    EXPECT_GT(converted, static_cast<int>(seed.size()));
    EXPECT_EQ(read, 0);
  }
}
