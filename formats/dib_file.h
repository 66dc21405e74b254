// Whole BMP and one-image ICO files built from a palette image held in
// memory. The artwork tool writes every bitmap and icon the programs carry
// through these functions, so the files match what the programs' own readers
// and the icon checks expect.
#pragma once
#include <cstdint>
#include <vector>

#include "formats/bmp_header.h"

namespace fmt::dib {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// One palette index a byte, rows top-down as pictures are drawn; the writers
// store them bottom-up and packed to the bit depth.
struct IndexedImage {
  uint32_t width = 0;
  uint32_t height = 0;
  int bits = 8;                 // 1, 4 or 8
  std::vector<Rgb> palette;     // 1 .. (1 << bits) entries
  std::vector<uint8_t> pixels;  // width * height indices, each below palette.size()
};

using bmp::kFileHeaderSize;
using bmp::kInfoHeaderSize;
// Larger sides are refused so that every size field fits its 32 bits.
constexpr uint32_t kMaxSide = 16384;

// Bytes of one stored row: width * bits rounded up to whole 32-bit words.
uint64_t row_bytes(uint32_t width, int bits);

// Why the image cannot be written, or nullptr when it can.
const char* check_image(const IndexedImage& image);

// A complete BMP file: file header, info header, a full colour table of
// 1 << bits entries (those past the image's palette are black), rows
// bottom-up. Empty when check_image refuses the image.
std::vector<uint8_t> bmp_file(const IndexedImage& image);

// A one-image icon file: directory, info header with the doubled height, the
// full colour table, the colour rows and the 1-bit AND mask, both bottom-up.
// mask holds width * height flags, non-zero where the screen shows through;
// the colour index of such pixels should be 0 (black) so they stay clear.
// Empty when the image is refused, is wider or taller than 256, or the mask
// has the wrong size.
std::vector<uint8_t> icon_file(const IndexedImage& image, const std::vector<uint8_t>& mask);

}  // namespace fmt::dib
