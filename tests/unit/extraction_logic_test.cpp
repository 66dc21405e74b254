// The colour extraction on image blocks as the reader leaves them: every
// choice at every depth, and files whose figures would mislead a layout
// taken from anywhere but the block.
#include <gtest/gtest.h>

#include <random>

#include "bmp_icon_fixtures.h"
#include "formats/bmp_read.h"
#include "formats/bmp_scan.h"
#include "viewer/extract/extraction_logic.h"

using fixtures::Bytes;
namespace bmp = fmt::bmp;

namespace {

// A file read the way the viewer reads it: the block after the file header,
// brought into shape, with its layout and the figures of the open command's scan.
struct Loaded {
  Bytes block;
  bmp::DibLayout layout;
  bmp::ExportFigures figures;
};

Loaded load(const Bytes& file) {
  Loaded l;
  bmp::FileHeader h;
  EXPECT_EQ(bmp::parse_file_header(file.data(), file.size(), &h), bmp::BmpReadError::None);
  EXPECT_EQ(bmp::scan_bmp(file.data(), file.size(), file.size(), &l.figures), bmp::ScanResult::Ok);
  l.block.assign(file.begin() + 14, file.begin() + 14 + h.block_size);
  EXPECT_EQ(bmp::finish_dib(l.block.data(), l.block.size(), h, &l.layout), bmp::BmpReadError::None);
  return l;
}

// Rows of random bytes; each row's padding is 0xAB.
Bytes random_rows(int32_t w, int32_t h, int bits, std::mt19937& rng) {
  const uint32_t stride = fixtures::row_bytes(w, bits), used = (static_cast<uint32_t>(w) * bits + 7) / 8;
  Bytes rows;
  for (int32_t r = 0; r < h; ++r)
    for (uint32_t k = 0; k < stride; ++k) rows.push_back(k < used ? static_cast<uint8_t>(rng()) : 0xAB);
  return rows;
}

// Applies a choice the way the viewer does, from the saved palette or copy.
void apply(Loaded& l, const Bytes& copy, int choice) {
  if (viewer::extracts_through_table(l.layout))
    viewer::extract_table(l.block.data(), l.layout, l.figures.palette, l.figures.palette_size, choice);
  else
    viewer::extract_pixels(l.block.data(), l.layout, copy.data(), choice);
}

// Checks every byte of an extracted block against the loaded one.
void expect_extracted(const Loaded& was, const Bytes& now, int choice) {
  const viewer::KeptChannels k = viewer::kept_channels(choice);
  const bool keep[3] = {k.blue, k.green, k.red};
  const bmp::DibLayout& l = was.layout;
  const Bytes& old = was.block;
  ASSERT_EQ(now.size(), old.size());
  for (size_t i = 0; i < old.size(); ++i) {
    SCOPED_TRACE(i);
    if (l.bit_count <= 8 && i >= 40 && i < 40 + 4 * size_t{l.table_entries}) {
      const size_t c = (i - 40) % 4;
      EXPECT_EQ(now[i], c == 3 || keep[c] ? old[i] : 0);
      continue;
    }
    const bool in_rows = i >= l.rows_offset && i < l.rows_offset + l.image_bytes;
    const size_t at = i - static_cast<size_t>(l.rows_offset);
    const size_t in_row = in_rows ? at % static_cast<size_t>(l.row_bytes) : 0;
    const size_t data = static_cast<size_t>(l.width) * l.bit_count / 8;
    if (l.bit_count <= 8 || !in_rows || in_row >= data) {
      EXPECT_EQ(now[i], old[i]);  // header, pixels of table images, gaps, padding
    } else if (l.bit_count == 16) {
      if (in_row % 2) continue;  // checked with its low byte
      const uint32_t v = fmt::get_u16le(&old[i]), n = fmt::get_u16le(&now[i]);
      const uint32_t fields[3] = {0x001F, 0x03E0, 0x7C00};
      for (int c = 0; c < 3; ++c) EXPECT_EQ(n & fields[c], keep[c] ? v & fields[c] : 0) << c;
      EXPECT_EQ(n & 0x8000, v & 0x8000);
    } else {
      const size_t c = in_row % (l.bit_count / 8);
      EXPECT_EQ(now[i], c == 3 || keep[c] ? old[i] : 0);
    }
  }
}

void run_every_choice(const Bytes& file) {
  Loaded l = load(file);
  const Loaded loaded = l;
  Bytes copy(static_cast<size_t>(viewer::extraction_copy_size(l.layout)));
  viewer::fill_extraction_copy(copy.data(), l.block.data(), l.layout);
  ASSERT_TRUE(viewer::extraction_copy_fits(copy.data(), copy.size(), l.block.data(), l.layout));
  // Choices in an order that would show any leftover of the one before.
  for (const int choice : {4, 6, 5, 1, 2, 3, 0, 6, 0}) {
    SCOPED_TRACE(choice);
    apply(l, copy, choice);
    expect_extracted(loaded, l.block, choice);
  }
  EXPECT_EQ(l.block, loaded.block);  // all channels: back to the loaded bytes
}

}  // namespace

TEST(Extraction, EveryChoiceAtEveryDepth) {
  std::mt19937 rng(7);
  for (const int bits : {1, 4, 8, 16, 24, 32}) {
    for (const int32_t w : {1, 3, 6, 13}) {
      SCOPED_TRACE(testing::Message() << bits << " bits, width " << w);
      const Bytes rows = random_rows(w, 3, bits, rng);
      Bytes table;
      if (bits <= 8)
        for (uint32_t i = 0; i < (1u << bits); ++i)
          table.insert(table.end(), {static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()),
                                     static_cast<uint8_t>(rng()), static_cast<uint8_t>(0xC0 + i % 16)});
      run_every_choice(
          fixtures::bmp_file(fixtures::info_header(w, 3, bits, 0, static_cast<uint32_t>(rows.size())), table, rows));
    }
  }
}

TEST(Extraction, FilesWhoseFiguresMislead) {
  std::mt19937 rng(5);
  const Bytes rows8 = random_rows(7, 4, 8, rng), rows24 = random_rows(7, 4, 24, rng);
  struct Case {
    const char* name;
    Bytes file;
    uint32_t table_entries;
  };
  const Case cases[] = {
      // 16 entries: the rows follow them, and only they are rewritten.
      {"8 bits with a 16-entry table",
       fixtures::bmp_file(fixtures::info_header(7, 4, 8, 16, 32), fixtures::ramp_table(16), rows8), 16},
      // A table a 24-bit image does not use: the pixels change, not the table.
      {"24 bits with a table",
       fixtures::bmp_file(fixtures::info_header(7, 4, 24, 3, 96), fixtures::ramp_table(3), rows24), 3},
      {"24 bits with a gap before the rows", [&] {
         Bytes f = fixtures::bmp_file(fixtures::info_header(7, 4, 24, 0, 96), {}, rows24);
         f.insert(f.begin() + 54, 10, 0x77);
         fmt::put_u32le(&f[10], 64);
         fmt::put_u32le(&f[2], static_cast<uint32_t>(f.size()));
         return f;
       }(), 0},
      // The image-size field claims half the rows; the stride still comes from the width.
      {"24 bits with a wrong image size",
       fixtures::bmp_file(fixtures::info_header(7, 4, 24, 0, 48), {}, rows24), 0},
      {"8 bits with a wrong image size",
       fixtures::bmp_file(fixtures::info_header(7, 4, 8, 0, 999), fixtures::ramp_table(256), rows8), 256},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Loaded l = load(c.file);
    EXPECT_EQ(l.layout.table_entries, c.table_entries);
    run_every_choice(c.file);
  }
}

// A palette saved with more entries than the block holds rewrites only what
// the block has; a copy of another image is not taken for this one's.
TEST(Extraction, NothingOutsideTheBlock) {
  std::mt19937 rng(9);
  Loaded l = load(fixtures::bmp_file(fixtures::info_header(5, 2, 8, 4, 16), fixtures::ramp_table(4),
                                     random_rows(5, 2, 8, rng)));
  l.figures.palette_size = 256;  // figures of an earlier, larger image
  for (auto& e : l.figures.palette) e = {9, 9, 9};
  const Bytes before = l.block;
  viewer::extract_table(l.block.data(), l.layout, l.figures.palette, l.figures.palette_size, 4);
  for (size_t i = 0; i < before.size(); ++i) {
    const bool rewritten = i >= 40 && i < 56 && (i - 40) % 4 != 3;
    EXPECT_EQ(l.block[i], rewritten ? ((i - 40) % 4 == 2 ? 9 : 0) : before[i]) << i;
  }

  const Loaded wide = load(fixtures::bmp_file(fixtures::info_header(6, 2, 24, 0, 48), {}, random_rows(6, 2, 24, rng)));
  const Loaded narrow = load(fixtures::bmp_file(fixtures::info_header(5, 2, 24, 0, 32), {}, random_rows(5, 2, 24, rng)));
  Bytes copy(static_cast<size_t>(viewer::extraction_copy_size(narrow.layout)));
  viewer::fill_extraction_copy(copy.data(), narrow.block.data(), narrow.layout);
  EXPECT_TRUE(viewer::extraction_copy_fits(copy.data(), copy.size(), narrow.block.data(), narrow.layout));
  EXPECT_FALSE(viewer::extraction_copy_fits(copy.data(), copy.size(), wide.block.data(), wide.layout));
  EXPECT_FALSE(viewer::extraction_copy_fits(copy.data(), copy.size() - 1, narrow.block.data(), narrow.layout));
}
