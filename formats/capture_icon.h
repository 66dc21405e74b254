// Icons made from a screen capture: the fixed 16- and 256-colour palettes a
// capture is reduced to, the packed bitmap that holds the reduced image, and
// the icon file built from it (one image, fixed 62-byte header, every pixel
// opaque).
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "formats/dib_file.h"

namespace fmt::capture_icon {

using dib::Rgb;

constexpr uint32_t kHeaderSize = 62;  // directory, its one entry, info header

// The palettes as red, green, blue; the colour table of every icon a capture
// writes. Empty for a colour count other than 16 or 256.
std::span<const Rgb> fixed_palette(int colours);

// Bits per pixel for a colour count: 4 or 8 (0 when the count is neither).
int bits_for(int colours);
// True for the sizes (16, 32, 48, 64) and colour counts (16, 256) of a form.
bool supported(uint32_t n, int colours);

// The reduced image as one packed bitmap: a 40-byte info header (rows
// bottom-up), the fixed palette as blue-green-red-0, then N rows of indices.
// 104 + N·N/2 bytes for 16 colours, 1064 + N·N for 256.
uint32_t reduced_block_size(uint32_t n, int colours);
// Writes the info header and the palette into a zeroed block of
// reduced_block_size bytes; the rows are left for the caller to fill.
void put_reduced_header(uint8_t* block, uint32_t n, int colours);

// Index of the first palette entry of exactly this colour (0xRRGGBB), or -1.
int exact_index(uint32_t rgb, int colours);
// Gives every pixel whose colour is exactly a palette entry that entry's
// index in the block's rows; other pixels keep the index they have. The
// platform's nearest-colour rule is approximate on some systems (one maps
// pure black to entry 62, 7-7-7), but a colour of the palette must come back
// as itself. pixels: N x N colours as 0xRRGGBB, top row first.
void keep_exact_colours(uint8_t* block, size_t blockLen, const uint32_t* pixels, uint32_t n, int colours);

// The fixed header of the icon file for this form. Unlike most icon writers
// the directory entry's planes and bit count are 0.
std::array<uint8_t, kHeaderSize> icon_header(uint32_t n, int colours);

// The whole icon file: the header, the block's colour table and rows as they
// are, and an all-zero AND mask. Empty when the form is not supported or the
// block is not the packed bitmap of that form (too short, or a header that
// does not describe N x N at the form's depth).
std::vector<uint8_t> icon_file(const uint8_t* block, size_t blockLen, uint32_t n, int colours);

}  // namespace fmt::capture_icon
