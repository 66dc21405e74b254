// Bringing any packed DIB the viewer accepts into the one shape every other
// part of it reads: a 40-byte info header, the colour table, then plain
// (BI_RGB) rows, bottom row first, each padded to 4 bytes.
//
// A packed DIB is what follows the 14-byte file header of a BMP file, and
// also what the clipboard's CF_DIB format holds: the info header, then (for
// BI_BITFIELDS) three 32-bit masks red, green, blue, then the colour table,
// then the rows. A file tells where its rows start through the pixel offset
// of its file header; a CF_DIB has no file header, so pass a FileHeader whose
// pixel_offset is 0 and the rows are taken to follow the table directly.
//
//   Every other info header (OS/2 1.x and 2.x, 52 and 56 bytes, V4, V5;
//   bmp_header.h) is read into the 40-byte layout's fields and its block
//   converted: masks inside the header are the bitfield masks, an alpha mask
//   and colour-space data are dropped, 3-byte OS/2 1.x entries widen to 4.
//   Plain rows of 1, 4, 8 or 24 bits under such a header are copied
//   (bottom-up); BI_RGB at 16 and 32 bits is taken as the 5-5-5 and 8-8-8
//   bitfields it stands for. JPEG, PNG, OS/2 Huffman and RLE24 pixels are
//   refused as UnsupportedFormat.
//   Plain 40-byte blocks (BI_RGB, bottom-up or top-down) are checked and finished
//   where they lie: finish_dib (bmp_read.h) fills in zero fields and turns
//   top-down rows over. Nothing is copied.
//   BI_BITFIELDS blocks (16 or 32 bits) become 24-bit BI_RGB blocks without
//   a colour table; each field is scaled to 8 bits by bit replication
//   (a 5-bit v gives (v << 3) | (v >> 2); fields wider than 8 bits keep their
//   top 8). A zero mask gives 0 in its channel; masks may overlap; a mask
//   that is not one contiguous run of bits or has bits the pixel does not
//   have is refused.
//   RLE8 (8 bits) and RLE4 (4 bits) blocks keep their bit count and colour
//   table; their runs are decoded, pixels the codes skip take index 0.
//
// How to use it (the file reader and clipboard paste both do this):
//
//   NormalisePlan plan = plan_normalise(dib, size, header);
//   if (plan.error != BmpReadError::None) -> refuse, message_for(plan.error)
//   if (!plan.convert) -> finish_dib(dib, size, header) on a block you own
//                         (or copy into plan.out_size bytes and finish that;
//                         normalise_into does exactly this)
//   else -> allocate plan.out_size bytes (failure: "Unable to allocate space
//           for bitmap."), then normalise_into(dib, size, header, plan, out,
//           plan.out_size); the result's file header is
//           normalised_file_header(plan).
//
// The block written describes itself: compression 0, its bit count, image
// size = stride * height, colours used = table entries written, a positive
// height; a file header from normalised_file_header gives pixel offset
// 14 + 40 + 4 * table entries and file size 14 + block size.
#pragma once
#include <cstddef>
#include <cstdint>

#include "formats/bmp_read.h"
#include "formats/bmp_scan.h"

namespace fmt::bmp {

// The largest converted block the viewer makes: an RLE file of a few bytes
// can declare an image of any size.
constexpr uint64_t kMaxNormalisedBlock = uint64_t{1} << 30;

enum class ConvertKind {
  Copy,       // rows of 1, 4, 8 or 24 bits under another header: copied, the table widened to 4-byte entries
  Bitfields,  // 16 or 32 bits, masked (or BI_RGB's implied masks) to 24 bits
  Rle,        // RLE8 or RLE4 codes decoded, depth and table kept
};

struct NormalisePlan {
  BmpReadError error = BmpReadError::None;
  // False: the block is already plain and only needs finish_dib.
  bool convert = false;
  // Bytes of the normalised block: the source size when nothing is
  // converted, else the exact size of the converted block.
  uint64_t out_size = 0;

  // Filled for conversions only.
  ConvertKind kind = ConvertKind::Copy;
  uint32_t compression = kBiRgb;
  uint32_t bit_count = 0;       // of the source
  bool top_down = false;        // of the source
  uint32_t entry_bytes = 4;     // of the source's table entries
  uint32_t x_pels_per_metre = 0, y_pels_per_metre = 0;
  uint32_t out_bits = 0;        // 24 for bitfields, the source's for RLE
  int32_t width = 0;
  int32_t height = 0;           // positive
  uint32_t table_entries = 0;   // colour-table entries written to the output
  uint64_t src_table_offset = 0;
  uint64_t src_rows_offset = 0; // from the block start
  uint64_t src_data_bytes = 0;  // bytes of rows or RLE codes present
  uint64_t out_row_bytes = 0;
  uint32_t masks[3] = {};       // red, green, blue (an alpha mask is dropped)
};

// Checks everything that can be checked without decoding. cap bounds
// out_size of a conversion (error TooLarge above it).
NormalisePlan plan_normalise(const uint8_t* dib, size_t size, const FileHeader& header,
                             uint64_t cap = kMaxNormalisedBlock);

// Writes the normalised block into out (out_size must be plan.out_size). For
// a plain block it copies the source and runs finish_dib on the copy. RLE
// codes that break the image's bounds are only found here (error
// BadCompressedData); out's content is then undefined.
BmpReadError normalise_into(const uint8_t* dib, size_t size, const FileHeader& header,
                            const NormalisePlan& plan, uint8_t* out, size_t out_size);

// The 14-byte file header that describes a converted block.
FileHeader normalised_file_header(const NormalisePlan& plan);

// The export figures of a block as it is now (a normalised one), as the
// header scan gives them for a file holding exactly this block: file size
// 14 + size, the block's table and row length.
ScanResult scan_block(const uint8_t* block, size_t size, const FileHeader& header, ExportFigures* out);

}  // namespace fmt::bmp
