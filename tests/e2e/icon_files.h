// Icon files and bitmap rows for the end-to-end tests, built from known
// pixels so that a test can tell what each pixel of the view must show.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

namespace e2e {

struct IconPicture {
  int width = 0, height = 0;
  int bits = 0;                    // 1, 4, 8, 24 (and 32 for a depth the viewer refuses)
  std::vector<uint32_t> palette;   // 0xRRGGBB; filled up with black to the full table
  std::vector<uint32_t> pixels;    // top row first: palette indices, or 0xRRGGBB from 24 bits up
  std::vector<uint8_t> masked;     // top row first, 1 = AND bit set; empty = no bit set

  uint32_t colour(int x, int y) const;  // the XOR colour as 0xRRGGBB
  bool is_masked(int x, int y) const;
};

// Rows of a w x h picture, bottom-up unless topDown, padded with fill;
// pixel (x, y), y from the top, is value(x, y): a table index up to 8
// bits, the word itself at 16 bits, 0xRRGGBB (and the byte above) beyond.
std::vector<uint8_t> rows_of(int w, int h, int bits, const std::function<uint32_t(int, int)>& value,
                             bool topDown = false, uint8_t fill = 0);

// An icon file: directory of one entry an image, then each image's info
// header with the doubled height, full colour table, XOR rows and AND rows,
// both bottom-up and padded to 4 bytes.
std::vector<uint8_t> icon_file(const std::vector<IconPicture>& images);
inline std::vector<uint8_t> icon_file(const IconPicture& p) { return icon_file(std::vector<IconPicture>{p}); }

}  // namespace e2e
