// The open command's look at a BMP file before it is loaded: the figures
// that the savers, the printer and the colour extraction read later.
#pragma once
#include <cstddef>
#include <cstdint>

namespace fmt::bmp {

// File header, the largest info header and the largest colour table: all a
// scan reads.
constexpr size_t kScanBytes = 14 + 124 + 4 * 256;

struct PaletteEntry {
  uint8_t blue = 0, green = 0, red = 0;
};

struct ExportFigures {
  int32_t width = 0;
  int32_t height = 0;            // rows, always positive
  uint32_t palette_size = 0;     // colour-table entries, 0 without a table
  PaletteEntry palette[256];     // entries past palette_size keep older values
  uint32_t grey_entries = 0;     // palette entries with blue = green = red
  uint32_t image_size = 0;       // bytes of pixel rows
  uint64_t bmp_file_size = 0;
  uint32_t padded_row_length = 0;
  uint32_t unpadded_row_length = 0;  // bytes for 2 and 16 colours, pixels otherwise
};

enum class ScanResult {
  Ok,
  NotBitmap,  // "Not a bitmap file with correct format."
  ZeroSize,   // "Unable to process a bitmap with zero width or height."
};

// head: the first bytes of the file, min(file_size, kScanBytes) of them (a
// longer head is not read past file_size). A byte past the end of the file
// reads as 0xFF, what the EOF of a stdio read becomes when stored in a byte: it
// never matches the "BM" signature or the info header size, and in a field
// or a palette entry it stands for 255.
//
// Every known info header (bmp_header.h) is scanned; the figures of a file
// whose header is not the 40-byte one are those the reader's normalised
// block replaces. Beyond the checks of the signature, the info header size
// and a zero size,
// a file is not a bitmap (NotBitmap) when its width is negative, its height
// is INT32_MIN, or its colours-used field exceeds the table its depth allows.
// A top-down file (negative height) is described as the bottom-up image the
// reader turns it into. An image-size field of 0 is taken from the file
// length, and is 0 when the file is too short to hold any rows.
//
// On Ok the figures are written to *out: every field but the palette entries
// past palette_size. On failure *out is untouched.
ScanResult scan_bmp(const uint8_t* head, size_t head_len, uint64_t file_size, ExportFigures* out);

}  // namespace fmt::bmp
