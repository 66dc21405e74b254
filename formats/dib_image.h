// The pixels of a checked, bottom-up DIB block as the writers and the copy
// read them: everything comes from the block's own header and layout, never
// from figures saved beside it, so a wrong image-size field, a gap after the
// colour table or trailing bytes cannot move or overrun a row.
#pragma once
#include <cstddef>
#include <cstdint>

#include "formats/bmp_read.h"
#include "formats/bytes.h"

namespace fmt {

struct DibImage {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t bit_count = 0;         // 1, 4, 8, 16 (5-5-5), 24 or 32
  uint32_t colours_used = 0;      // the header's field as it stands
  const uint8_t* table = nullptr; // blue, green, red, 0 entries
  uint32_t table_entries = 0;     // entries the block really holds (at most 256)
  const uint8_t* rows = nullptr;  // bottom row first
  uint64_t stride = 0;            // ((width * bits + 31) / 32) * 4
  const uint8_t* row(uint32_t bottom_up_index) const { return rows + bottom_up_index * stride; }
};

// pixel_offset: the file header's field, 0 when the rows follow the table.
// False for a block the reader would refuse, or one still stored top-down.
inline bool dib_image_of(const uint8_t* block, size_t size, uint32_t pixel_offset, DibImage* out) {
  bmp::FileHeader header;
  header.pixel_offset = pixel_offset;
  bmp::DibLayout l;
  if (bmp::dib_layout(block, size, header, &l) != bmp::BmpReadError::None || l.height <= 0) return false;
  DibImage d;
  d.width = static_cast<uint32_t>(l.width);
  d.height = static_cast<uint32_t>(l.height);
  d.bit_count = l.bit_count;
  d.colours_used = get_u32le(block + bmp::kOffColoursUsed);
  d.table = block + bmp::kInfoHeaderSize;
  d.table_entries = l.table_entries;
  d.rows = block + l.rows_offset;
  d.stride = l.row_bytes;
  *out = d;
  return true;
}

}  // namespace fmt
