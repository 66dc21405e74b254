#include "formats/bmp_read.h"

#include <algorithm>
#include <climits>

#include "formats/bytes.h"

namespace fmt::bmp {

BmpReadMessage message_for(BmpReadError error) {
  switch (error) {
    case BmpReadError::None: return BmpReadMessage::None;
    case BmpReadError::ShortFileHeader: return BmpReadMessage::FileHeaderNotRead;
    case BmpReadError::BadMagic: return BmpReadMessage::BadMagicNumber;
    // Each of these means the file holds fewer bytes than its header needs.
    case BmpReadError::TooSmall:
    case BmpReadError::ShortRead:
    case BmpReadError::DataOutsideBlock:
    // Compressed data that does not decode is as good as missing.
    case BmpReadError::BadCompressedData: return BmpReadMessage::InfoHeaderNotRead;
    case BmpReadError::TooLarge: return BmpReadMessage::AllocationFailed;
    // A header the viewer does not read.
    case BmpReadError::BadInfoSize:
    case BmpReadError::BadDimensions:
    case BmpReadError::UnsupportedFormat:
    case BmpReadError::BadPixelOffset: return BmpReadMessage::IllegalStructureSize;
  }
  return BmpReadMessage::IllegalStructureSize;
}

BmpReadError parse_file_header(const uint8_t* bytes, size_t len, FileHeader* out) {
  if (len < kFileHeaderSize) return BmpReadError::ShortFileHeader;
  FileHeader h;
  h.type = get_u16le(bytes + kFileOffType);
  h.declared_size = get_u32le(bytes + kFileOffSize);
  h.pixel_offset = get_u32le(bytes + kFileOffPixelOffset);
  if (h.type != kMagic) {
    if (out) *out = h;
    return BmpReadError::BadMagic;
  }
  if (h.declared_size < kFileHeaderSize + kCoreHeaderSize) return BmpReadError::TooSmall;
  h.block_size = h.declared_size - kFileHeaderSize;
  if (out) *out = h;
  return BmpReadError::None;
}

BmpReadError check_declared_size(const FileHeader& header, uint64_t file_length) {
  return uint64_t{header.declared_size} > file_length ? BmpReadError::ShortRead : BmpReadError::None;
}

uint32_t colour_count_for(uint32_t colours_used, uint32_t bit_count) {
  if (colours_used != 0) return colours_used;
  if (bit_count == 24) return 0;
  return uint32_t{1} << (bit_count % 32);
}

BmpReadError dib_layout(const uint8_t* block, size_t block_size, const FileHeader& header,
                        DibLayout* out) {
  if (block_size < kInfoHeaderSize) return BmpReadError::TooSmall;
  if (get_u32le(block + kOffSize) != kInfoHeaderSize) return BmpReadError::BadInfoSize;

  DibLayout l;
  l.width = get_i32le(block + kOffWidth);
  l.height = get_i32le(block + kOffHeight);
  // INT32_MIN has no positive counterpart to flip to.
  if (l.width <= 0 || l.height == 0 || l.height == INT32_MIN) return BmpReadError::BadDimensions;

  l.bit_count = get_u16le(block + kOffBitCount);
  switch (l.bit_count) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return BmpReadError::UnsupportedFormat;
  }
  // Compressed rows have no fixed stride; nothing in the viewer reads them.
  if (get_u32le(block + kOffCompression) != 0) return BmpReadError::UnsupportedFormat;

  const uint32_t colours_used = get_u32le(block + kOffColoursUsed);
  l.colour_count = colour_count_for(colours_used, l.bit_count);
  // Above 8 bits a colour table is optional: only the entries the header
  // names are in the file, and only those are what GDI reads.
  const uint32_t present = l.bit_count > 8 ? colours_used : l.colour_count;
  l.table_entries = std::min(present, kMaxTableEntries);
  const uint64_t size = block_size;
  if (kInfoHeaderSize + 4 * uint64_t{l.table_entries} > size) return BmpReadError::DataOutsideBlock;

  if (header.pixel_offset != 0) {
    if (header.pixel_offset < kFileHeaderSize + kInfoHeaderSize) return BmpReadError::BadPixelOffset;
    l.rows_offset = header.pixel_offset - kFileHeaderSize;
  } else {
    l.rows_offset = kInfoHeaderSize + 4 * uint64_t{present};
  }

  const uint64_t rows = l.height < 0 ? uint64_t{0} - static_cast<uint64_t>(int64_t{l.height})
                                     : static_cast<uint64_t>(l.height);
  l.row_bytes = (uint64_t(static_cast<uint32_t>(l.width)) * l.bit_count + 31) / 32 * 4;
  l.image_bytes = l.row_bytes * rows;  // < 2^36 * 2^31, no overflow
  if (l.rows_offset > size || l.image_bytes > size - l.rows_offset)
    return BmpReadError::DataOutsideBlock;

  if (out) *out = l;
  return BmpReadError::None;
}

BmpReadError finish_dib(uint8_t* block, size_t block_size, const FileHeader& header,
                        DibLayout* out) {
  DibLayout l;
  const BmpReadError e = dib_layout(block, block_size, header, &l);
  if (e != BmpReadError::None) return e;

  // The view and the savers only know bottom-up rows.
  if (l.height < 0) {
    const uint64_t rows = static_cast<uint64_t>(-int64_t{l.height});
    uint8_t* base = block + l.rows_offset;
    const size_t stride = static_cast<size_t>(l.row_bytes);
    for (uint64_t top = 0, bottom = rows - 1; top < bottom; ++top, --bottom)
      std::swap_ranges(base + top * stride, base + (top + 1) * stride, base + bottom * stride);
    l.height = -l.height;
    put_u32le(block + kOffHeight, static_cast<uint32_t>(l.height));
  }
  // Writing 65536 or 1 into a 16- or 32-bit header would announce a table
  // the file does not have; only palette depths get their count filled in.
  if (l.bit_count <= 8 && get_u32le(block + kOffColoursUsed) == 0)
    put_u32le(block + kOffColoursUsed, l.colour_count);
  // A plane count other than 1 is written as 1 rather than refused: it has
  // meant nothing since the first DIBs, other readers ignore it, and GDI
  // would draw nothing at all from such a header.
  if (get_u16le(block + kOffPlanes) != 1) put_u16le(block + kOffPlanes, 1);
  // image_bytes fits the block, so it fits 32 bits.
  if (get_u32le(block + kOffImageSize) == 0)
    put_u32le(block + kOffImageSize, static_cast<uint32_t>(l.image_bytes));

  if (out) *out = l;
  return BmpReadError::None;
}

}  // namespace fmt::bmp
