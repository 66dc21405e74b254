#include "formats/bmp_write.h"

#include "formats/bmp_read.h"
#include "formats/bytes.h"

namespace fmt::bmp {

DisplayedLayout displayed_layout(uint32_t width, uint32_t height, int zoom_step, uint32_t bit_count,
                                 uint32_t colours_used) {
  DisplayedLayout l;
  if (zoom_step >= 0) {
    const uint64_t z = static_cast<uint64_t>(zoom_step) + 1;
    l.width = static_cast<uint32_t>(width * z > 0xFFFFFFFFu ? 0xFFFFFFFFu : width * z);
    l.height = static_cast<uint32_t>(height * z > 0xFFFFFFFFu ? 0xFFFFFFFFu : height * z);
  } else {
    const uint32_t z = static_cast<uint32_t>(1 - static_cast<int64_t>(zoom_step));
    l.width = width / z;
    l.height = height / z;
  }
  // 1000 x 1 at 1:3 still shows a line of pixels; an empty bitmap is no image.
  if (l.width == 0) l.width = 1;
  if (l.height == 0) l.height = 1;
  l.bit_count = bit_count == 16 ? 24 : bit_count;
  if (l.bit_count <= 8) {
    const uint32_t full = uint32_t{1} << l.bit_count;
    l.colours = colours_used >= 1 && colours_used < full ? colours_used : full;
  }
  l.row_bytes = (uint64_t{l.width} * l.bit_count + 31) / 32 * 4;
  l.image_bytes = l.row_bytes * l.height;
  l.dib_bytes = kInfoHeaderSize + 4 * uint64_t{l.colours} + l.image_bytes;
  l.file_size = kFileHeaderSize + l.dib_bytes;
  return l;
}

void put_displayed_info_header(uint8_t* p, const DisplayedLayout& l) {
  InfoHeader h;
  h.width = static_cast<int32_t>(l.width);
  h.height = static_cast<int32_t>(l.height);
  h.bit_count = l.bit_count;
  h.image_size = static_cast<uint32_t>(l.image_bytes);
  h.colours_used = h.colours_important = l.colours;
  put_info_header(p, h);
}

bool plain_copy_of(const uint8_t* block, size_t block_size, uint32_t file_pixel_offset, PlainCopy* out) {
  FileHeader header;
  header.pixel_offset = file_pixel_offset;
  DibLayout l;
  if (dib_layout(block, block_size, header, &l) != BmpReadError::None) return false;
  if (uint64_t{block_size} + kFileHeaderSize > 0xFFFFFFFFu) return false;
  out->file_size = static_cast<uint32_t>(block_size + kFileHeaderSize);
  out->pixel_offset = static_cast<uint32_t>(l.rows_offset + kFileHeaderSize);
  return true;
}

}  // namespace fmt::bmp
