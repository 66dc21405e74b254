// Headers of the BMP files the viewer saves and of the DIB it puts on the
// clipboard: the plain copy of a block behind a file header, and the image
// drawn again at the displayed size.
#pragma once
#include <cstddef>
#include <cstdint>

namespace fmt::bmp {

// The image as it is displayed: W x H at a zoom step (step >= 0 magnifies
// step + 1 times, step < 0 reduces 1 - step times).
struct DisplayedLayout {
  uint32_t width = 0;        // W', at least 1
  uint32_t height = 0;       // H', at least 1
  uint32_t bit_count = 0;    // the image's, 16 drawn as 24
  uint32_t colours = 0;      // table entries N
  uint64_t row_bytes = 0;    // S
  uint64_t image_bytes = 0;  // S * H'
  uint64_t dib_bytes = 0;    // 40 + 4N + S * H' (the clipboard block)
  uint64_t file_size = 0;    // 14 + dib_bytes
};

// colours_used: the image header's field. N is that field when it lies in
// 1 ... 2^b - 1, else the full 2^b, for 1, 4 and 8 bits; 0 above.
// A reduced side that would round to 0 pixels is drawn as 1.
DisplayedLayout displayed_layout(uint32_t width, uint32_t height, int zoom_step, uint32_t bit_count,
                                 uint32_t colours_used);

// The 40-byte info header of the displayed DIB (BI_RGB, bottom-up,
// no resolution, N colours used and important).
void put_displayed_info_header(uint8_t* p, const DisplayedLayout& l);
// The plain copy of a block behind a file header: the file is the header
// and every byte of the block, its rows where the block has them.
struct PlainCopy {
  uint32_t file_size = 0;
  uint32_t pixel_offset = 0;
};
// file_pixel_offset: the pixel offset of the file the block came from, or 0.
// False when the block is not one the reader accepts.
bool plain_copy_of(const uint8_t* block, size_t block_size, uint32_t file_pixel_offset, PlainCopy* out);

// The file header before either is bmp_header.h's put_file_header.

}  // namespace fmt::bmp
