// Reading a BMP file into the viewer's packed DIB block. The Win32 side reads
// the 14-byte file header, lets parse_file_header say how large the block is,
// reads that many bytes into a global block and hands the block to finish_dib,
// which checks that everything the header promises lies inside the block and
// brings the block into the one shape the view and the savers draw from:
// a 40-byte info header, the colour table and bottom-up rows.
#pragma once
#include <cstddef>
#include <cstdint>

#include "formats/bmp_header.h"

namespace fmt::bmp {

// GDI takes at most this many colour-table entries from a DIB whatever its
// colours-used field says, so at most this many have to be present.
constexpr uint32_t kMaxTableEntries = 256;

enum class BmpReadError {
  None,
  ShortFileHeader,    // fewer than 14 bytes in the file
  BadMagic,           // type is not "BM"
  TooSmall,           // declared size leaves no room for the smallest info header
  ShortRead,          // the file ends before its declared size (found by the caller)
  BadInfoSize,        // info header size is no known one (finish_dib: not 40)
  BadDimensions,      // width not positive, height 0 or INT32_MIN
  UnsupportedFormat,  // bit count not 1/4/8/16/24/32, or compressed
  BadPixelOffset,     // pixel rows said to start inside the headers
  DataOutsideBlock,   // colour table or pixel rows run past the end of the block
  BadCompressedData,  // bitfield or RLE block that cannot be decoded
  TooLarge,           // decoded block above the cap, or its allocation failed
};

// The messages the viewer can show for a failed read; the Win32 side holds
// their English and Japanese texts.
enum class BmpReadMessage {
  None,
  FileHeaderNotRead,     // "Unable to read bitmap file header."
  BadMagicNumber,        // "Bad magic number (0x%04x) in bitmap."
  InfoHeaderNotRead,     // "Unable to read bitmap info header."
  IllegalStructureSize,  // "Illegal structure size is found in info header."
  AllocationFailed,      // "Unable to allocate space for bitmap."
};
BmpReadMessage message_for(BmpReadError error);


// Parses the first bytes of a file (len of them, as many as were read).
// On BadMagic the header's type is filled in for the message.
BmpReadError parse_file_header(const uint8_t* bytes, size_t len, FileHeader* out);

// Compares the size a file header declares with the file's real length, so
// that nothing is allocated that the file cannot fill: ShortRead when the
// file is shorter. Called before the block is allocated.
BmpReadError check_declared_size(const FileHeader& header, uint64_t file_length);

// Where things are in a DIB block, and the values derived from its header.
struct DibLayout {
  int32_t width = 0;
  int32_t height = 0;         // as stored: negative for a top-down block
  uint32_t bit_count = 0;
  uint32_t colour_count = 0;  // colours-used, or the count the depth implies
  uint32_t table_entries = 0; // entries GDI takes from the table
  uint64_t rows_offset = 0;   // from the block start
  uint64_t row_bytes = 0;     // padded to 4 bytes
  uint64_t image_bytes = 0;   // row_bytes * |height|
};

// The colour count a header implies: colours-used when set, else none for
// 24 bits and 2 to the power of (bit count modulo 32) otherwise, which gives
// 65536 for 16 bits and 1 for 32 bits.
uint32_t colour_count_for(uint32_t colours_used, uint32_t bit_count);

// Checks a block without changing it and works out its layout. A zero file
// header (pasted images) locates the rows after the colour table.
BmpReadError dib_layout(const uint8_t* block, size_t block_size, const FileHeader& header,
                        DibLayout* out);

// dib_layout, then fills in a zero colours-used and image-size field, sets the
// plane count to 1 and turns a top-down block into bottom-up rows with a
// positive height. Running it again on its own result changes nothing. On failure the block is unchanged.
BmpReadError finish_dib(uint8_t* block, size_t block_size, const FileHeader& header,
                        DibLayout* out = nullptr);

}  // namespace fmt::bmp
