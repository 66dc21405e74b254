// The one-image icon file as both programs read and write it: an icon
// directory with one entry, the image's info header at offset 22 with a
// doubled height, a full colour table, the XOR rows and the 1-bit AND mask.
#pragma once
#include <cstddef>
#include <cstdint>

namespace fmt::icon {

constexpr uint32_t kDirectorySize = 22;   // ICONDIR (6) + one ICONDIRENTRY (16)
constexpr uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr uint32_t kColourTableOffset = kDirectorySize + kInfoHeaderSize;  // 62
constexpr uint32_t kHeadBytesNeeded = 38; // enough to run every validation step

enum class IconCheckResult { Ok, NotIcon, MultipleIcons, ZeroSize, UnsupportedDepth, WrongSize };

struct IconFigures {
  int32_t width = 0;
  int32_t height = 0;   // the image's height, half of biHeight
  int bits = 0;         // 1, 4, 8 or 24
  uint64_t file_size = 0;
};

// Entries in the colour table: 2, 16, 256 for 1, 4, 8 bits, none for 24.
uint32_t palette_entries(int bits);
// Bytes of one XOR row, padded to 4 bytes.
uint64_t xor_row_bytes(uint32_t width, int bits);
// Bytes of one AND row: one bit a pixel, padded to 4 bytes.
uint64_t and_row_bytes(uint32_t width);
// Header, directory and colour table together: 70, 126, 1086 or 62.
uint32_t fixed_part(int bits);
// The only file size a valid icon of these figures can have.
uint64_t expected_file_size(uint32_t width, uint32_t height, int bits);
// Where the XOR rows begin (right after the full colour table).
inline uint32_t xor_offset(int bits) { return fixed_part(bits); }
// Where the AND mask begins: it is located from the end of the file.
inline uint64_t and_offset(uint64_t file_size, uint32_t height, uint32_t width) {
  return file_size - uint64_t{height} * and_row_bytes(width);
}

// Runs the checks in their fixed order on the first bytes of a file (head,
// as many as the file has, up to kHeadBytesNeeded) and the file's size.
// Bytes past head_len (or past file_size) read as end-of-file, as
// head_reader.h reads them, and never match an expected value.
IconCheckResult check_icon(const uint8_t* head, size_t head_len, uint64_t file_size,
                           IconFigures* figures);

}  // namespace fmt::icon
