#include "formats/bmp_read.h"

#include <gtest/gtest.h>

#include <climits>

#include "bmp_icon_fixtures.h"

using namespace fmt::bmp;
using fixtures::Bytes;

namespace {

struct Loaded {
  BmpReadError error = BmpReadError::None;
  Bytes block;  // exactly the declared size less the file header
  DibLayout layout;
};

// What the viewer does with a file: header, one read of the block, finish.
Loaded load(const Bytes& file) {
  Loaded r;
  FileHeader h;
  r.error = parse_file_header(file.data(), file.size(), &h);
  if (r.error != BmpReadError::None) return r;
  if (file.size() - 14 < h.block_size) {
    r.error = BmpReadError::ShortRead;
    return r;
  }
  r.block.assign(file.begin() + 14, file.begin() + 14 + h.block_size);
  r.error = finish_dib(r.block.data(), r.block.size(), h, &r.layout);
  return r;
}

Bytes bmp8(int32_t w, int32_t h) { return fixtures::numbered_bmp(w, h, 8, 0, 256); }

uint32_t field(const Bytes& block, size_t at) { return fmt::get_u32le(&block[at]); }

}  // namespace

TEST(BmpRead, FileHeaderChecks) {
  const Bytes good = bmp8(3, 2);
  FileHeader h;
  EXPECT_EQ(parse_file_header(good.data(), 13, &h), BmpReadError::ShortFileHeader);
  ASSERT_EQ(parse_file_header(good.data(), 14, &h), BmpReadError::None);
  EXPECT_EQ(h.block_size, good.size() - 14);
  EXPECT_EQ(h.pixel_offset, 14u + 40 + 1024);

  Bytes ba = good;
  ba[1] = 'A';
  EXPECT_EQ(parse_file_header(ba.data(), ba.size(), &h), BmpReadError::BadMagic);
  EXPECT_EQ(h.type, 0x4142);

  Bytes tiny = good;
  // The smallest info header is the 12-byte OS/2 one.
  fmt::put_u32le(&tiny[2], 25);
  EXPECT_EQ(parse_file_header(tiny.data(), tiny.size(), &h), BmpReadError::TooSmall);
  fmt::put_u32le(&tiny[2], 26);
  ASSERT_EQ(parse_file_header(tiny.data(), tiny.size(), &h), BmpReadError::None);
  EXPECT_EQ(h.block_size, 12u);

  Bytes longer_than_file = good;
  fmt::put_u32le(&longer_than_file[2], static_cast<uint32_t>(good.size() + 1));
  EXPECT_EQ(load(longer_than_file).error, BmpReadError::ShortRead);
}

TEST(BmpRead, RejectsWhatItDoesNotRead) {
  const Bytes table = fixtures::ramp_table(2), rows = Bytes(8, 0);
  auto with_info = [&](const Bytes& info) { return load(fixtures::bmp_file(info, table, rows)).error; };
  // 12- and 108-byte headers, with the rest of the file laid out to match.
  EXPECT_EQ(with_info(fixtures::info_header(3, 2, 1, 2, 0, 12)), BmpReadError::BadInfoSize);
  EXPECT_EQ(with_info(fixtures::info_header(3, 2, 1, 2, 0, 108)), BmpReadError::BadInfoSize);
  EXPECT_EQ(with_info(fixtures::info_header(0, 2, 1, 2, 0)), BmpReadError::BadDimensions);
  EXPECT_EQ(with_info(fixtures::info_header(-3, 2, 1, 2, 0)), BmpReadError::BadDimensions);
  EXPECT_EQ(with_info(fixtures::info_header(3, 0, 1, 2, 0)), BmpReadError::BadDimensions);
  EXPECT_EQ(with_info(fixtures::info_header(3, INT32_MIN, 1, 2, 0)), BmpReadError::BadDimensions);
  EXPECT_EQ(with_info(fixtures::info_header(3, 2, 2, 2, 0)), BmpReadError::UnsupportedFormat);
  EXPECT_EQ(with_info(fixtures::info_header(3, 2, 1, 2, 0, 40, 1)), BmpReadError::UnsupportedFormat);
  EXPECT_EQ(with_info(fixtures::info_header(3, 3, 1, 2, 0)), BmpReadError::DataOutsideBlock);
  EXPECT_EQ(with_info(fixtures::info_header(3, -3, 1, 2, 0)), BmpReadError::DataOutsideBlock);
  EXPECT_EQ(with_info(fixtures::info_header(3, 2, 1, 3, 0)), BmpReadError::None);  // table overlaps rows
  EXPECT_EQ(with_info(fixtures::info_header(3, 2, 1, 5, 0)), BmpReadError::DataOutsideBlock);

  const Bytes info = fixtures::info_header(3, 2, 1, 2, 0);
  EXPECT_EQ(load(fixtures::bmp_file(info, table, rows, 53)).error, BmpReadError::BadPixelOffset);
  EXPECT_EQ(load(fixtures::bmp_file(info, table, rows, 62)).error, BmpReadError::None);
  EXPECT_EQ(load(fixtures::bmp_file(info, table, rows, 63)).error, BmpReadError::DataOutsideBlock);
  // Rows after a table of 2^32 - 1 entries: the offset must not wrap around.
  EXPECT_EQ(load(fixtures::bmp_file(fixtures::info_header(3, 2, 1, 0xFFFFFFFF, 0), fixtures::ramp_table(256),
                                    rows, 0))
                .error,
            BmpReadError::DataOutsideBlock);
}

// 32 and 16 bits: the derived counts are 1 and 65536, but such files carry
// no table unless the header names one, so none is written in or required,
// and a small file still loads. A set image-size field is kept even when it
// is not the rows' size.
TEST(BmpRead, FillsColoursUsedAndImageSize) {
  using fixtures::info_header;
  struct Case {
    const char* name;
    Bytes file;
    uint32_t colours_used, image_size, colour_count;
    uint64_t rows_offset;
  };
  const Case cases[] = {
      {"8 bits", bmp8(3, 2), 256, 8, 256, 40 + 1024},
      {"24 bits", fixtures::bmp_file(info_header(5, 3, 24, 0, 0), {}, Bytes(48, 7)), 0, 48, 0, 40},
      {"24 bits, image size 50", fixtures::bmp_file(info_header(5, 3, 24, 0, 50), {}, Bytes(50, 7)), 0, 50, 0, 40},
      {"32 bits", fixtures::bmp_file(info_header(2, 2, 32, 0, 0), {}, Bytes(16, 1), 0), 0, 16, 1, 40},
      {"16 bits", fixtures::bmp_file(info_header(20, 26, 16, 0, 0), {}, Bytes(40 * 26, 2)), 0, 1040, 65536, 40},
      {"16 bits, small", fixtures::bmp_file(info_header(2, 2, 16, 0, 0), {}, Bytes(8, 2)), 0, 8, 65536, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Loaded r = load(c.file);
    ASSERT_EQ(r.error, BmpReadError::None);
    EXPECT_EQ(field(r.block, kOffColoursUsed), c.colours_used);
    EXPECT_EQ(field(r.block, kOffImageSize), c.image_size);
    EXPECT_EQ(r.layout.colour_count, c.colour_count);
    EXPECT_EQ(r.layout.rows_offset, c.rows_offset);
  }
  // A table the header names must be there.
  EXPECT_EQ(load(fixtures::bmp_file(info_header(2, 2, 16, 3, 0), {}, Bytes(8, 2), 0)).error,
            BmpReadError::DataOutsideBlock);
}

TEST(BmpRead, LocatesRows) {
  // Offset 0: rows right after a 3-entry table.
  const Bytes rows = fixtures::numbered_rows(4, 2);
  Loaded r = load(fixtures::bmp_file(fixtures::info_header(5, 2, 4, 3, 0), fixtures::ramp_table(3), rows, 0));
  ASSERT_EQ(r.error, BmpReadError::None);
  EXPECT_EQ(r.layout.rows_offset, 52u);
  EXPECT_EQ(Bytes(r.block.begin() + 52, r.block.end()), rows);

  // A gap between table and rows, found through the pixel offset.
  Bytes table_and_gap = fixtures::ramp_table(3);
  table_and_gap.insert(table_and_gap.end(), {0xEE, 0xEE, 0xEE});
  r = load(fixtures::bmp_file(fixtures::info_header(5, 2, 4, 3, 0), table_and_gap, rows, 14 + 40 + 12 + 3));
  ASSERT_EQ(r.error, BmpReadError::None);
  EXPECT_EQ(r.layout.rows_offset, 55u);
  EXPECT_EQ(r.layout.row_bytes, 4u);
}

TEST(BmpRead, TopDownBecomesBottomUp) {
  const Bytes file = bmp8(3, -3);  // rows 1 2 3 4 / 17 18 19 20 / 33 34 35 36, top first
  Loaded r = load(file);
  ASSERT_EQ(r.error, BmpReadError::None);
  EXPECT_EQ(fmt::get_i32le(&r.block[kOffHeight]), 3);
  EXPECT_EQ(r.layout.height, 3);
  const Bytes expected = {33, 34, 35, 36, 17, 18, 19, 20, 1, 2, 3, 4};
  EXPECT_EQ(Bytes(r.block.begin() + 40 + 1024, r.block.end()), expected);

  // Finishing again (every lock derives the layout anew) changes nothing.
  FileHeader h;
  ASSERT_EQ(parse_file_header(file.data(), file.size(), &h), BmpReadError::None);
  const Bytes once = r.block;
  EXPECT_EQ(finish_dib(r.block.data(), r.block.size(), h), BmpReadError::None);
  EXPECT_EQ(r.block, once);

  // One row, and two: the middle is left alone and both ends swap.
  r = load(bmp8(2, -1));
  EXPECT_EQ(Bytes(r.block.end() - 4, r.block.end()), (Bytes{1, 2, 3, 4}));
  r = load(bmp8(2, -2));
  EXPECT_EQ(Bytes(r.block.end() - 8, r.block.end()), (Bytes{17, 18, 19, 20, 1, 2, 3, 4}));
}

TEST(BmpRead, ZeroFileHeaderPutsRowsAfterTable) {
  // Pasted images carry no file header.
  Bytes block = fixtures::info_header(3, 2, 1, 0, 0);
  fixtures::append(block, fixtures::ramp_table(2));
  fixtures::append(block, Bytes(8, 0));
  DibLayout l;
  ASSERT_EQ(dib_layout(block.data(), block.size(), FileHeader{}, &l), BmpReadError::None);
  EXPECT_EQ(l.rows_offset, 48u);
  EXPECT_EQ(dib_layout(block.data(), 39, FileHeader{}, &l), BmpReadError::TooSmall);
}
