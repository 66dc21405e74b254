// The layouts of a BMP file's two headers, each offset named once, the one
// reader of every info header the viewer takes, and the one writer of the
// 40-byte info header and of the file header.
//
// Info headers come in these sizes, told apart by their first 4 bytes:
//   12        OS/2 1.x core header: 16-bit width and height, 3-byte table entries
//   16 ... 64 OS/2 2.x (fields past its size read as 0), but 40, 52 and 56
//   40        BITMAPINFOHEADER; with BI_BITFIELDS the three masks follow it
//   52, 56    the same with the red, green, blue (and alpha) masks inside
//   108, 124  V4 and V5: masks inside, then colour-space data (and a profile)
// Every one but the core header starts with the 40-byte layout's fields.
#pragma once
#include <cstddef>
#include <cstdint>

namespace fmt::bmp {

constexpr uint32_t kFileHeaderSize = 14;   // BITMAPFILEHEADER
constexpr uint32_t kInfoHeaderSize = 40;   // BITMAPINFOHEADER, the shape the viewer keeps
constexpr uint32_t kCoreHeaderSize = 12;   // OS/2 1.x
constexpr uint32_t kOs2MinSize = 16;       // OS/2 2.x may stop after any field
constexpr uint32_t kOs2MaxSize = 64;
constexpr uint32_t kV2HeaderSize = 52;     // masks red, green, blue
constexpr uint32_t kV3HeaderSize = 56;     // and alpha
constexpr uint32_t kV4HeaderSize = 108;
constexpr uint32_t kV5HeaderSize = 124;
constexpr uint16_t kMagic = 0x4D42;        // "BM", read little-endian

// Offsets inside the file header.
constexpr size_t kFileOffType = 0;
constexpr size_t kFileOffSize = 2;
constexpr size_t kFileOffReserved = 6;     // two 16-bit words
constexpr size_t kFileOffPixelOffset = 10;

// Offsets inside the info header (the start of a packed DIB).
constexpr size_t kOffSize = 0;
constexpr size_t kOffWidth = 4;
constexpr size_t kOffHeight = 8;
constexpr size_t kOffPlanes = 12;
constexpr size_t kOffBitCount = 14;
constexpr size_t kOffCompression = 16;
constexpr size_t kOffImageSize = 20;
constexpr size_t kOffXPelsPerMetre = 24;
constexpr size_t kOffYPelsPerMetre = 28;
constexpr size_t kOffColoursUsed = 32;
constexpr size_t kOffColoursImportant = 36;
constexpr size_t kOffRedMask = 40;         // headers of 52 bytes and more
// Offsets inside the OS/2 1.x core header (16-bit fields).
constexpr size_t kCoreOffWidth = 4;
constexpr size_t kCoreOffHeight = 6;
constexpr size_t kCoreOffPlanes = 8;
constexpr size_t kCoreOffBitCount = 10;

// A field of the info header as it stands in a whole file.
constexpr size_t in_file(size_t info_offset) { return kFileHeaderSize + info_offset; }

// Compression values. OS/2 2.x gives 3 and 4 other meanings.
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;       // OS/2 2.x: Huffman 1D
constexpr uint32_t kBiJpeg = 4;            // OS/2 2.x: RLE24
constexpr uint32_t kBiPng = 5;
constexpr uint32_t kMaskBytes = 12;        // red, green and blue masks after a 40-byte header

// True for every size in the list above.
bool known_info_header_size(uint32_t size);

// Any known info header, read into the 40-byte layout's fields.
struct InfoHeader {
  uint32_t size = kInfoHeaderSize;  // the header's own size field
  bool os2 = false;                 // an OS/2 header (1.x or 2.x)
  int32_t width = 0;
  int32_t height = 0;               // negative: rows stored top-down
  uint32_t planes = 1;
  uint32_t bit_count = 0;
  uint32_t compression = kBiRgb;
  uint32_t image_size = 0;
  uint32_t x_pels_per_metre = 0;
  uint32_t y_pels_per_metre = 0;
  uint32_t colours_used = 0;
  uint32_t colours_important = 0;
  bool masks_inside = false;        // the header holds the masks (52 bytes and more)
  uint32_t masks[3] = {};           // red, green, blue, when inside
  uint32_t entry_bytes = 4;         // of a colour-table entry: 3 in OS/2 1.x files
};

// Reads the header at the start of a block of len bytes. False when its size
// is not a known one or the header runs past len (at least 4 bytes needed).
bool read_info_header(const uint8_t* p, size_t len, InfoHeader* out);

// The one writer of a 40-byte info header: every field from h (its size,
// OS/2 flag, masks and entry size are not written; the size is always 40).
void put_info_header(uint8_t* p, const InfoHeader& h);

// The common case: uncompressed rows, no resolution, colours used 0 (the
// full table of the depth follows, or none above 8 bits).
void put_plain_info_header(uint8_t* p, uint32_t width, uint32_t height, uint32_t bits, uint32_t image_bytes);

struct FileHeader {
  uint16_t type = 0;
  uint32_t declared_size = 0;
  uint32_t pixel_offset = 0;  // 0: rows follow the colour table
  uint32_t block_size = 0;    // bytes to read after the file header
};

// The one writer of the 14 bytes of a file header (reserved words 0).
void put_file_header(const FileHeader& header, uint8_t out[kFileHeaderSize]);

}  // namespace fmt::bmp
