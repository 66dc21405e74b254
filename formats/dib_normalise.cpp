#include "formats/dib_normalise.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "formats/bytes.h"

namespace fmt::bmp {

namespace {

uint64_t stride_of(uint32_t width, uint32_t bits) { return (uint64_t{width} * bits + 31) / 32 * 4; }

// A mask must be one run of set bits inside the pixel; zero is allowed.
bool mask_ok(uint32_t mask, uint32_t bit_count) {
  if (mask == 0) return true;
  if (bit_count < 32 && (mask >> bit_count) != 0) return false;
  uint32_t m = mask;
  while ((m & 1) == 0) m >>= 1;
  return (m & (m + 1)) == 0;
}

// Per channel: the field's value v (shifted down and cut to at most 8 bits)
// indexes a table of its replicated 8-bit values.
struct Channel {
  uint32_t mask = 0;
  uint32_t shift = 0;
  uint8_t table[256] = {};
};

void prepare_channel(uint32_t mask, Channel* c) {
  c->mask = mask;
  if (mask == 0) return;  // table stays zero: the channel is black
  uint32_t low = 0;
  while (((mask >> low) & 1) == 0) ++low;
  uint32_t width = 0;
  while (low + width < 32 && ((mask >> (low + width)) & 1) != 0) ++width;
  // Wider fields keep their top 8 bits, which is what replication gives them.
  const uint32_t kept = std::min<uint32_t>(width, 8);
  c->shift = low + (width - kept);
  for (uint32_t v = 0; v < (uint32_t{1} << kept); ++v) {
    uint32_t r = v, filled = kept;
    while (filled < 8) {
      r = (r << kept) | v;
      filled += kept;
    }
    c->table[v] = static_cast<uint8_t>(r >> (filled - 8));
  }
}

inline uint8_t channel_value(const Channel& c, uint32_t pixel) {
  return c.table[((pixel & c.mask) >> c.shift) & 0xFF];
}

void convert_bitfields(const uint8_t* src, const NormalisePlan& plan, uint8_t* rows) {
  Channel red, green, blue;
  prepare_channel(plan.masks[0], &red);
  prepare_channel(plan.masks[1], &green);
  prepare_channel(plan.masks[2], &blue);
  const uint64_t in_stride = stride_of(static_cast<uint32_t>(plan.width), plan.bit_count);
  const size_t w = static_cast<size_t>(plan.width);
  const size_t h = static_cast<size_t>(plan.height);
  for (size_t y = 0; y < h; ++y) {
    const uint8_t* in = src + plan.src_rows_offset + y * in_stride;
    uint8_t* out = rows + y * plan.out_row_bytes;
    for (size_t x = 0; x < w; ++x) {
      const uint32_t p = plan.bit_count == 16 ? uint32_t{get_u16le(in + 2 * x)} : get_u32le(in + 4 * x);
      out[3 * x + 0] = channel_value(blue, p);
      out[3 * x + 1] = channel_value(green, p);
      out[3 * x + 2] = channel_value(red, p);
    }
    std::memset(out + 3 * w, 0, static_cast<size_t>(plan.out_row_bytes) - 3 * w);
  }
}

// Decodes RLE8 or RLE4 codes into zeroed bottom-up rows. Every write is
// checked against the row it lands in; every read against the data.
class RleDecoder {
 public:
  RleDecoder(const uint8_t* data, size_t len, const NormalisePlan& plan, uint8_t* rows)
      : data_(data), len_(len), rows_(rows), stride_(static_cast<size_t>(plan.out_row_bytes)),
        width_(static_cast<uint32_t>(plan.width)), height_(static_cast<uint32_t>(plan.height)),
        four_(plan.compression == kBiRle4) {
    // Writers such as ImageMagick encode a row's padding too, with runs that
    // go past the width into the stored row's padded length: those are
    // accepted and the pixels past the width dropped. Past the padded row a
    // run has no place in the image.
    capacity_ = static_cast<uint32_t>(std::min<uint64_t>(four_ ? 2 * uint64_t{stride_} : stride_, UINT32_MAX));
  }

  bool run() {
    for (;;) {
      // Data that stops where the image is complete needs no end code.
      if (len_ - at_ < 2) return complete();
      const uint32_t count = data_[at_], value = data_[at_ + 1];
      at_ += 2;
      if (count > 0) {
        if (!fits(count)) return false;
        for (uint32_t i = 0; i < count; ++i) put(four_ ? (i % 2 ? value & 0x0F : value >> 4) : value);
        continue;
      }
      switch (value) {
        case 0:  // end of line
          if (y_ >= height_) return false;
          x_ = 0;
          ++y_;
          break;
        case 1: return true;  // end of bitmap: the rest stays at index 0
        case 2: {             // delta: move right and up
          if (len_ - at_ < 2) return false;
          const uint32_t nx = x_ + data_[at_], ny = y_ + data_[at_ + 1];
          at_ += 2;
          const bool inside = (ny < height_ && nx <= width_) || (ny == height_ && nx == 0);
          if (!inside) return false;
          x_ = nx;
          y_ = ny;
          break;
        }
        default: {  // absolute run of `value` pixels, padded to 16 bits
          const size_t bytes = four_ ? (value + 1) / 2 : value;
          if (!fits(value) || len_ - at_ < bytes) return false;
          for (uint32_t i = 0; i < value; ++i) {
            const uint8_t b = data_[at_ + (four_ ? i / 2 : i)];
            put(four_ ? (i % 2 ? b & 0x0F : b >> 4) : b);
          }
          at_ += bytes + (bytes % 2);
          // The padding byte of the last run may be missing.
          at_ = std::min(at_, len_);
          break;
        }
      }
    }
  }

 private:
  bool complete() const { return y_ >= height_ || (y_ + 1 == height_ && x_ >= width_); }
  bool fits(uint32_t n) const { return y_ < height_ && n <= capacity_ - x_; }
  void put(uint32_t index) {
    if (x_ >= width_) {  // the row's padding stays zero
      ++x_;
      return;
    }
    uint8_t* row = rows_ + size_t{y_} * stride_;
    if (four_) {
      uint8_t& b = row[x_ / 2];
      b = static_cast<uint8_t>(x_ % 2 ? (b & 0xF0) | index : (b & 0x0F) | (index << 4));
    } else {
      row[x_] = static_cast<uint8_t>(index);
    }
    ++x_;
  }

  const uint8_t* data_;
  size_t len_;
  size_t at_ = 0;
  uint8_t* rows_;
  size_t stride_;
  uint32_t width_, height_;
  uint32_t capacity_ = 0;  // pixels a stored row holds, padding included
  bool four_;
  uint32_t x_ = 0, y_ = 0;
};

}  // namespace

NormalisePlan plan_normalise(const uint8_t* dib, size_t size, const FileHeader& header, uint64_t cap) {
  NormalisePlan plan;
  auto refuse = [&plan](BmpReadError e) {
    plan.error = e;
    return plan;
  };
  InfoHeader h;
  if (!read_info_header(dib, size, &h))
    return refuse(size >= 4 && !known_info_header_size(get_u32le(dib + kOffSize)) ? BmpReadError::BadInfoSize
                                                                                  : BmpReadError::TooSmall);
  if (h.size == kInfoHeaderSize && h.compression == kBiRgb) {
    plan.error = dib_layout(dib, size, header, nullptr);
    plan.out_size = size;
    return plan;
  }

  plan.convert = true;
  plan.width = h.width;
  plan.height = h.height;
  plan.bit_count = h.bit_count;
  plan.x_pels_per_metre = h.x_pels_per_metre;
  plan.y_pels_per_metre = h.y_pels_per_metre;
  plan.entry_bytes = h.entry_bytes;
  plan.top_down = h.height < 0;
  if (plan.width <= 0 || plan.height == 0 || plan.height == INT32_MIN) return refuse(BmpReadError::BadDimensions);

  // Huffman-coded OS/2 files, RLE24, JPEG and PNG pixels, and compressions
  // nobody defined are all the same to the viewer: a kind it does not read.
  const uint32_t compression = h.os2 && (h.compression == kBiBitfields || h.compression == kBiJpeg)
                                   ? UINT32_MAX
                                   : h.compression;
  switch (compression) {
    case kBiRgb:
      switch (plan.bit_count) {
        case 1: case 4: case 8: case 24: plan.kind = ConvertKind::Copy; break;
        // The masks BI_RGB implies, so that these rows take the bitfield path.
        case 16: plan.kind = ConvertKind::Bitfields, plan.masks[0] = 0x7C00, plan.masks[1] = 0x03E0,
                 plan.masks[2] = 0x001F; break;
        case 32: plan.kind = ConvertKind::Bitfields, plan.masks[0] = 0xFF0000, plan.masks[1] = 0xFF00,
                 plan.masks[2] = 0xFF; break;
        default: return refuse(BmpReadError::UnsupportedFormat);
      }
      break;
    case kBiRle8:
    case kBiRle4: plan.kind = ConvertKind::Rle; break;
    case kBiBitfields: plan.kind = ConvertKind::Bitfields; break;
    default: return refuse(BmpReadError::UnsupportedFormat);
  }
  plan.compression = h.compression;

  const uint64_t block = size;
  const uint32_t colours_used = h.colours_used;
  uint64_t table_at = h.size;
  uint32_t entries_in_file = 0;
  if (plan.kind == ConvertKind::Bitfields) {
    if (plan.bit_count != 16 && plan.bit_count != 32) return refuse(BmpReadError::BadCompressedData);
    if (compression == kBiBitfields) {
      // Headers of 52 bytes and more hold the masks; a 40-byte one is followed by them.
      const uint8_t* masks = dib + (h.masks_inside ? kOffRedMask : h.size);
      if (!h.masks_inside) {
        if (block < table_at + kMaskBytes) return refuse(BmpReadError::DataOutsideBlock);
        table_at += kMaskBytes;
      }
      for (size_t i = 0; i < 3; ++i) plan.masks[i] = get_u32le(masks + 4 * i);
    }
    for (const uint32_t mask : plan.masks)
      if (!mask_ok(mask, plan.bit_count)) return refuse(BmpReadError::BadCompressedData);
    entries_in_file = colours_used;  // an optional table, not carried over
    plan.out_bits = 24;
    plan.table_entries = 0;
  } else if (plan.kind == ConvertKind::Copy && plan.bit_count == 24) {
    entries_in_file = colours_used;
    plan.out_bits = 24;
    plan.table_entries = 0;
  } else {
    if (plan.kind == ConvertKind::Rle) {
      const uint32_t wanted = compression == kBiRle8 ? 8 : 4;
      // RLE rows run bottom-up by definition: a top-down RLE block has no meaning.
      if (plan.bit_count != wanted || plan.top_down) return refuse(BmpReadError::BadCompressedData);
    }
    entries_in_file = colour_count_for(colours_used, plan.bit_count);
    // An OS/2 1.x header has no colour count: where the rows start tells
    // how many entries lie before them.
    if (h.size == kCoreHeaderSize && header.pixel_offset >= kFileHeaderSize + table_at) {
      const uint64_t room = (header.pixel_offset - kFileHeaderSize - table_at) / plan.entry_bytes;
      if (room < entries_in_file) entries_in_file = static_cast<uint32_t>(room);
      if (entries_in_file == 0) return refuse(BmpReadError::BadPixelOffset);
    }
    plan.out_bits = plan.bit_count;
    // GDI reads no more than 256 entries, so no more have to be present.
    plan.table_entries = std::min(entries_in_file, kMaxTableEntries);
    if (table_at + uint64_t{plan.entry_bytes} * plan.table_entries > block)
      return refuse(BmpReadError::DataOutsideBlock);
  }
  plan.src_table_offset = table_at;

  if (header.pixel_offset != 0) {
    // Rows over the masks or the headers.
    if (uint64_t{header.pixel_offset} < kFileHeaderSize + table_at)
      return refuse(compression == kBiBitfields ? BmpReadError::BadCompressedData : BmpReadError::BadPixelOffset);
    plan.src_rows_offset = header.pixel_offset - kFileHeaderSize;
  } else {
    plan.src_rows_offset = table_at + uint64_t{plan.entry_bytes} * entries_in_file;
  }
  if (plan.src_rows_offset > block) return refuse(BmpReadError::DataOutsideBlock);
  plan.src_data_bytes = block - plan.src_rows_offset;

  if (plan.height < 0) plan.height = -plan.height;  // INT32_MIN was refused above
  const auto rows = static_cast<uint32_t>(plan.height);
  const uint64_t in_stride = stride_of(static_cast<uint32_t>(plan.width), plan.bit_count);
  if (plan.kind == ConvertKind::Rle) {
    // The codes end where the header says they do, when that lies in the block.
    const uint32_t declared = h.image_size;
    if (declared != 0 && declared < plan.src_data_bytes) plan.src_data_bytes = declared;
  } else if (in_stride * rows > plan.src_data_bytes) {
    return refuse(BmpReadError::DataOutsideBlock);
  }
  plan.out_row_bytes = stride_of(static_cast<uint32_t>(plan.width), plan.out_bits);
  plan.out_size = kInfoHeaderSize + 4 * uint64_t{plan.table_entries} + plan.out_row_bytes * rows;
  if (plan.out_size > cap) return refuse(BmpReadError::TooLarge);
  return plan;
}

BmpReadError normalise_into(const uint8_t* dib, size_t size, const FileHeader& header, const NormalisePlan& plan,
                            uint8_t* out, size_t out_size) {
  if (plan.error != BmpReadError::None) return plan.error;
  if (out_size != plan.out_size) return BmpReadError::TooLarge;
  if (!plan.convert) {
    std::memcpy(out, dib, size);
    return finish_dib(out, out_size, header);
  }

  const uint64_t table_bytes = 4 * uint64_t{plan.table_entries};
  InfoHeader h;
  h.width = plan.width;
  h.height = plan.height;
  h.bit_count = plan.out_bits;
  // Below the cap, so it fits 32 bits.
  h.image_size = static_cast<uint32_t>(plan.out_row_bytes * static_cast<uint32_t>(plan.height));
  h.x_pels_per_metre = plan.x_pels_per_metre;
  h.y_pels_per_metre = plan.y_pels_per_metre;
  h.colours_used = plan.table_entries;
  put_info_header(out, h);
  const uint8_t* table = dib + plan.src_table_offset;
  if (plan.entry_bytes == 4) {
    if (table_bytes) std::memcpy(out + kInfoHeaderSize, table, static_cast<size_t>(table_bytes));
  } else {
    for (size_t i = 0; i < plan.table_entries; ++i) {
      uint8_t* e = out + kInfoHeaderSize + 4 * i;
      std::memcpy(e, table + 3 * i, 3);
      e[3] = 0;
    }
  }
  uint8_t* rows = out + kInfoHeaderSize + table_bytes;
  const size_t stride = static_cast<size_t>(plan.out_row_bytes);
  const size_t h_rows = static_cast<size_t>(plan.height);

  switch (plan.kind) {
    case ConvertKind::Copy:
      // Same depth, same stride: rows are copied, bottom row first.
      for (size_t y = 0; y < h_rows; ++y)
        std::memcpy(rows + y * stride, dib + plan.src_rows_offset + (plan.top_down ? h_rows - 1 - y : y) * stride,
                    stride);
      return BmpReadError::None;
    case ConvertKind::Bitfields:
      // A top-down block is converted row by row, then the output turned over.
      convert_bitfields(dib, plan, rows);
      if (plan.top_down)
        for (size_t top = 0, bottom = h_rows - 1; top < bottom; ++top, --bottom)
          std::swap_ranges(rows + top * stride, rows + (top + 1) * stride, rows + bottom * stride);
      return BmpReadError::None;
    case ConvertKind::Rle: break;
  }
  std::memset(rows, 0, static_cast<size_t>(plan.out_size - kInfoHeaderSize - table_bytes));
  (void)size;
  RleDecoder decoder(dib + plan.src_rows_offset, static_cast<size_t>(plan.src_data_bytes), plan, rows);
  return decoder.run() ? BmpReadError::None : BmpReadError::BadCompressedData;
}

FileHeader normalised_file_header(const NormalisePlan& plan) {
  FileHeader h;
  h.type = kMagic;
  h.block_size = static_cast<uint32_t>(plan.out_size);
  h.declared_size = kFileHeaderSize + h.block_size;
  h.pixel_offset = kFileHeaderSize + kInfoHeaderSize + 4 * plan.table_entries;
  return h;
}

ScanResult scan_block(const uint8_t* block, size_t size, const FileHeader& header, ExportFigures* out) {
  uint8_t head[kScanBytes];
  put_file_header(header, head);
  const size_t n = std::min(size, kScanBytes - kFileHeaderSize);
  std::memcpy(head + kFileHeaderSize, block, n);
  return scan_bmp(head, kFileHeaderSize + n, kFileHeaderSize + uint64_t{size}, out);
}

}  // namespace fmt::bmp
