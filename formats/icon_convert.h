// Turning a validated one-image icon into the BMP file the viewer loads, and
// painting the pixels its AND mask marks in one chosen colour. Transparent
// and reverse pixels are not told apart: both take that colour.
//
// The converted bitmap: 2- and 16-colour icons become 4-bit bitmaps (a
// 2-colour icon gets a 16-entry table whose entries 2 to 9 are the colours the
// user can choose for masked pixels, so that any choice is matched exactly),
// 256-colour icons 8-bit and 24-bit icons 24-bit ones; the icon's colour table
// and XOR rows are kept byte for byte where the depth allows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "formats/bmp_scan.h"
#include "formats/icon_layout.h"

namespace fmt::icon {

struct RgbEntry {
  uint8_t red = 0, green = 0, blue = 0;
};

// Bits per pixel of the converted bitmap: 4, 4, 8, 24 for 1, 4, 8, 24.
int converted_bits(int icon_bits);
// Its padded row length, where its rows start, and its file size.
uint64_t converted_row_bytes(uint32_t width, int icon_bits);
uint32_t converted_pixel_offset(int icon_bits);  // 118, 1078 or 54
uint64_t converted_file_size(const IconFigures& f);

// The most one conversion may hold in memory: the whole icon file and its
// bitmap together. A 32-bit process has no more room in one piece (a 1-bit
// icon of 1 GB becomes a 2 GB bitmap).
constexpr uint64_t kMaxConversionBytes = 0x7FFFFFFF;
// Whether an icon of these figures and its bitmap fit within limit bytes.
bool conversion_fits(const IconFigures& f, uint64_t limit = kMaxConversionBytes);

// The whole converted BMP file. icon is the whole icon file and f what
// check_icon found in it; when they do not belong together (the length is not
// f.file_size or f is not a valid icon's figures), when the conversion does
// not fit limit, or when its memory cannot be had, the result is empty.
// Never throws.
std::vector<uint8_t> icon_to_bmp(const uint8_t* icon, size_t icon_len, const IconFigures& f,
                                 uint64_t limit = kMaxConversionBytes);

// Whether any AND-mask byte, padding included, is non-zero: only then is the
// user asked for a colour and are masked pixels painted.
bool has_masked_pixels(const uint8_t* icon, size_t icon_len, const IconFigures& f);

// The export figures of a converted bitmap, the same a BMP file of that
// content gets from the open command. False when bmp is not one.
bool converted_figures(const std::vector<uint8_t>& bmp, bmp::ExportFigures* out);

// The colours a masked pixel's index is chosen from (the logical palette to
// match the chosen colour against): 16 entries for 2 colours (the converted
// table) and 16 colours, 256 for 256 colours, none for 24 bits.
std::vector<RgbEntry> mask_palette(const uint8_t* icon, size_t icon_len, const IconFigures& f);

// Writes, into bmp (the unmodified result of icon_to_bmp for this icon), the
// index mask_index (for 2, 16 and 256 colours; below 16 for 2 and 16) or
// the colour mask_colour (0x00BBGGRR, for 24 bits) for every pixel inside the
// width whose AND bit is 1. False, with bmp unchanged, when the arguments do
// not belong together.
bool paint_masked(std::vector<uint8_t>& bmp, const uint8_t* icon, size_t icon_len,
                  const IconFigures& f, uint8_t mask_index, uint32_t mask_colour);

}  // namespace fmt::icon
