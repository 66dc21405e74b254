// The image reduced to chosen colour channels, on the bytes of the image
// block. Everything is laid out from the block itself (bit count, stride,
// where the rows start, the table entries it holds), never from figures
// kept elsewhere, so no choice can reach outside the block.
#pragma once
#include <cstddef>
#include <cstdint>

#include "formats/bmp_read.h"
#include "formats/bmp_scan.h"

namespace viewer {

constexpr int kExtractionChoices = 7;  // 0 keeps every channel

struct KeptChannels {
  bool blue, green, red;
};
// The channels a choice keeps (out-of-range choices keep all).
KeptChannels kept_channels(int choice);

// Images of 8 bits or fewer are changed through their colour table, deeper
// ones through their pixels.
inline bool extracts_through_table(const fmt::bmp::DibLayout& l) { return l.bit_count <= 8; }

// Bytes of the saved copy an image needs: its info header, then its rows.
uint64_t extraction_copy_size(const fmt::bmp::DibLayout& l);
// Fills a copy of extraction_copy_size bytes from the block.
void fill_extraction_copy(uint8_t* copy, const uint8_t* block, const fmt::bmp::DibLayout& l);
// Whether a copy belongs to this image: large enough, and the same width,
// height and bit count in its header.
bool extraction_copy_fits(const uint8_t* copy, size_t copy_size, const uint8_t* block,
                          const fmt::bmp::DibLayout& l);

// Rewrites blue, green and red of the table entries the block holds (at most
// saved_count of them) from the saved palette or 0; the fourth byte stays.
void extract_table(uint8_t* block, const fmt::bmp::DibLayout& l, const fmt::bmp::PaletteEntry* saved,
                   uint32_t saved_count, int choice);
// Rewrites every pixel of a 16-, 24- or 32-bit image from the copy (a copy
// that fits), keeping the chosen channels: 24 and 32 bits as blue, green,
// red bytes (the fourth byte of 32 stays), 16 bits as 5-5-5 fields (blue in
// bits 0-4, green 5-9, red 10-14; bit 15 stays). Row padding is not touched.
void extract_pixels(uint8_t* block, const fmt::bmp::DibLayout& l, const uint8_t* copy, int choice);

}  // namespace viewer
