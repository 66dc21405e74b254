#include "formats/icon_build.h"

#include <cstring>

#include "formats/bmp_header.h"
#include "formats/bytes.h"
#include "formats/head_reader.h"
#include "formats/icon_layout.h"

namespace fmt::icon {

namespace {

// Offsets in a BMP file (file header, then the 40-byte info header).
constexpr size_t kOffPixelOffset = 10;
constexpr size_t kOffInfoSize = 14;
constexpr size_t kOffWidth = 18;
constexpr size_t kOffHeight = 22;
constexpr size_t kOffBitCount = 28;
constexpr size_t kOffCompression = 30;
constexpr size_t kOffColoursUsed = 46;
constexpr size_t kTableOffset = 54;
// Both resolutions, colours used and colours important may differ between
// the two files: they do not change what the pixels mean.
constexpr size_t kUncomparedFrom = 38;
constexpr size_t kUncomparedTo = 53;

bool known_depth(unsigned bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24; }

// What the 1st file says about its own layout.
struct Layout {
  uint32_t width = 0;
  int32_t stored_height = 0;  // negative for rows stored top-down
  uint32_t height = 0;
  int bits = 0;
  uint32_t colours = 0;       // entries of the file's own table, 0 for 24 bits
  uint32_t pixel_offset = 0;
  uint64_t row_bytes = 0;
  uint64_t rows_end = 0;      // pixel offset + H rows
};

Layout layout_of(const HeadReader& in) {
  Layout l;
  l.width = in.u32(kOffWidth);
  l.stored_height = static_cast<int32_t>(in.u32(kOffHeight));
  l.height = l.stored_height < 0 ? 0u - static_cast<uint32_t>(l.stored_height) : static_cast<uint32_t>(l.stored_height);
  l.bits = in.u16(kOffBitCount);
  const uint32_t used = in.u32(kOffColoursUsed);
  l.colours = l.bits == 24 ? 0 : (used != 0 ? used : uint32_t{1} << l.bits);
  l.pixel_offset = in.u32(kOffPixelOffset);
  l.row_bytes = 4 * ((uint64_t{l.width} * static_cast<uint64_t>(l.bits) + 31) / 32);
  l.rows_end = uint64_t{l.pixel_offset} + uint64_t{l.height} * l.row_bytes;
  return l;
}

// A file the construction can lay out: a real width and height, a table no
// larger than the depth allows, rows after the table and all of them in the file.
bool sound_layout(const HeadReader& in, uint64_t size, const Layout& l) {
  const int32_t width = static_cast<int32_t>(l.width);
  if (width <= 0 || l.stored_height == 0 || l.stored_height == INT32_MIN) return false;
  const uint64_t most = uint64_t{1} << l.bits;
  if (in.u32(kOffColoursUsed) > most) return false;
  if (l.pixel_offset < kTableOffset + 4 * uint64_t{l.colours}) return false;
  return size >= l.rows_end;
}

PairCheck compare_heads(const HeadReader& a, const HeadReader& b, size_t end) {
  for (size_t i = 0; i < end; ++i) {
    if (i >= kUncomparedFrom && i <= kUncomparedTo) continue;
    if (a.at(i) == b.at(i)) continue;
    if (i >= 18 && i <= 21) return PairCheck::DifferentWidth;
    if (i >= 22 && i <= 25) return PairCheck::DifferentHeight;
    if (i == 28 || i == 29) return PairCheck::DifferentColours;
    if (i < kTableOffset) return PairCheck::DifferentHeader;
    return PairCheck::DifferentPalette;
  }
  return PairCheck::Ok;
}

// The value of pixel x of a row: its index, or its blue-green-red bytes.
uint32_t pixel_at(const uint8_t* row, uint32_t x, int bits) {
  switch (bits) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1u;
    case 4: return x % 2 ? row[x / 2] & 0x0Fu : row[x / 2] >> 4;
    case 8: return row[x];
    default: return uint32_t{row[3 * x]} | (uint32_t{row[3 * x + 1]} << 8) | (uint32_t{row[3 * x + 2]} << 16);
  }
}

void set_pixel(uint8_t* row, uint32_t x, int bits, uint8_t index) {
  switch (bits) {
    case 1: {
      const auto bit = static_cast<uint8_t>(0x80u >> (x % 8));
      row[x / 8] = static_cast<uint8_t>(index ? row[x / 8] | bit : row[x / 8] & ~bit);
      break;
    }
    case 4:
      row[x / 2] = x % 2 ? static_cast<uint8_t>((row[x / 2] & 0xF0u) | index)
                         : static_cast<uint8_t>((row[x / 2] & 0x0Fu) | (index << 4));
      break;
    case 8: row[x] = index; break;
    default: row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = 0; break;  // black
  }
}

bool is_black(const uint8_t* entry) { return entry[0] == 0 && entry[1] == 0 && entry[2] == 0; }

// Transparent pixels show the background only when their colour is black:
// entry 0 when it is black, else the lowest black entry. The icon's table
// always has one (icon_bits_for sees to that).
uint8_t transparent_index(const uint8_t* table, uint32_t entries) {
  for (uint32_t i = 0; i < entries; ++i)
    if (is_black(table + 4 * i)) return static_cast<uint8_t>(i);
  return 0;
}

// The icon's depth: the 1st file's, unless its table is full and holds no
// black. Windows draws a masked pixel as the background exclusive-or its
// colour, so a clear pixel of any other colour shows the background
// inverted; the next depth up has room for the file's colours and black
// after them (256 colours go to 24 bits, where clear pixels are black
// themselves).
int icon_bits_for(const Layout& l, const uint8_t* file_table) {
  if (l.bits == 24 || l.colours < (uint32_t{1} << l.bits)) return l.bits;  // room left: black follows
  for (uint32_t i = 0; i < l.colours; ++i)
    if (is_black(file_table + 4 * i)) return l.bits;
  return l.bits == 1 ? 4 : l.bits == 4 ? 8 : 24;
}

// A row of the file written again at a greater depth: each pixel's index,
// or at 24 bits its table colour; the padding stays 0.
void widen_row(const uint8_t* in, int in_bits, const uint8_t* file_table, uint32_t width, uint8_t* out,
               int out_bits) {
  for (uint32_t x = 0; x < width; ++x) {
    const uint32_t index = pixel_at(in, x, in_bits);
    if (out_bits == 24) {
      const uint8_t* e = file_table + 4 * index;
      out[3 * x] = e[0];
      out[3 * x + 1] = e[1];
      out[3 * x + 2] = e[2];
    } else {
      set_pixel(out, x, out_bits, static_cast<uint8_t>(index));
    }
  }
}

}  // namespace

PairCheck check_pair(const uint8_t* first, size_t first_len, uint64_t first_size, const uint8_t* second,
                     size_t second_len, uint64_t second_size) {
  const HeadReader a(first, first_len, first_size);
  const HeadReader b(second, second_len, second_size);
  // A file shorter than its headers is refused whatever its missing bytes
  // read as; past this check every field read lies within the head.
  if (a.at(0) != 'B' || a.at(1) != 'M' || a.u32(kOffInfoSize) != 40 || first_size < kTableOffset)
    return PairCheck::NotBitmap;
  if (!known_depth(a.u16(kOffBitCount))) return PairCheck::UnsupportedDepth;
  if (a.u32(kOffCompression) != 0) return PairCheck::Compressed;
  const Layout l = layout_of(a);
  if (!sound_layout(a, first_size, l)) return PairCheck::NotBitmap;
  const PairCheck c = compare_heads(a, b, kTableOffset + 4 * size_t{l.colours});
  if (c != PairCheck::Ok) return c;
  // Same header, so the same pixel offset and rows: the 2nd must hold them too.
  if (second_size < l.rows_end) return PairCheck::NotBitmap;
  return PairCheck::Ok;
}

std::vector<uint8_t> build_icon(const uint8_t* first, size_t first_len, const uint8_t* second,
                                size_t second_len) {
  if (check_pair(first, first_len, first_len, second, second_len, second_len) != PairCheck::Ok) return {};
  // in: the 1st file as it lies; l: the icon, at in's depth or the next.
  const Layout in = layout_of(HeadReader(first, first_len, first_len));
  const uint8_t* file_table = first + kTableOffset;
  Layout l = in;
  l.bits = icon_bits_for(in, file_table);
  l.row_bytes = xor_row_bytes(l.width, l.bits);
  const uint32_t entries = l.bits == 24 ? 0 : uint32_t{1} << l.bits;
  const uint64_t mask_row = and_row_bytes(l.width);
  const uint64_t image_bytes = uint64_t{l.height} * (l.row_bytes + mask_row);
  const uint64_t resource = kInfoHeaderSize + 4 * uint64_t{entries} + image_bytes;
  // The directory counts the image in 32 bits; nothing larger is an icon.
  if (resource > 0xFFFFFFFFu || kDirectorySize + resource > SIZE_MAX) return {};
  std::vector<uint8_t> icon(static_cast<size_t>(kDirectorySize + resource), 0);

  uint8_t* p = icon.data();
  put_u16le(p + 0, 0);
  put_u16le(p + 2, 1);  // an icon
  put_u16le(p + 4, 1);  // one image
  p[6] = static_cast<uint8_t>(l.width <= 255 ? l.width : 0);
  p[7] = static_cast<uint8_t>(l.height <= 255 ? l.height : 0);
  p[8] = static_cast<uint8_t>(entries == 2 || entries == 16 ? entries : 0);
  // Planes and bit count of the entry stay 0: readers take them from the image.
  put_u32le(p + 14, static_cast<uint32_t>(resource));
  put_u32le(p + 18, kDirectorySize);

  // XOR and AND rows together.
  bmp::put_plain_info_header(p + kDirectorySize, l.width, 2 * l.height, static_cast<uint32_t>(l.bits),
                             static_cast<uint32_t>(image_bytes));

  uint8_t* table = p + kColourTableOffset;
  if (entries && in.colours) std::memcpy(table, file_table, 4 * size_t{in.colours});
  const uint8_t clear = transparent_index(table, entries);

  uint8_t* xor_rows = table + 4 * size_t{entries};
  uint8_t* and_rows = xor_rows + static_cast<size_t>(uint64_t{l.height} * l.row_bytes);
  const auto in_stride = static_cast<size_t>(in.row_bytes);
  const auto stride = static_cast<size_t>(l.row_bytes);
  for (uint32_t r = 0; r < l.height; ++r) {
    // Icon rows run bottom-up; a top-down file stores its bottom row last.
    const uint32_t stored = l.stored_height > 0 ? r : l.height - 1 - r;
    const size_t at = l.pixel_offset + size_t{stored} * in_stride;
    const uint8_t* row1 = first + at;
    const uint8_t* row2 = second + at;
    uint8_t* out = xor_rows + size_t{r} * stride;
    uint8_t* mask = and_rows + static_cast<size_t>(r * mask_row);
    if (l.bits == in.bits)
      std::memcpy(out, row1, stride);
    else
      widen_row(row1, in.bits, file_table, l.width, out, l.bits);
    for (uint32_t x = 0; x < l.width; ++x) {
      if (pixel_at(row1, x, in.bits) == pixel_at(row2, x, in.bits)) continue;
      set_pixel(out, x, l.bits, clear);
      mask[x / 8] = static_cast<uint8_t>(mask[x / 8] | (0x80u >> (x % 8)));
    }
  }
  return icon;
}

}  // namespace fmt::icon
