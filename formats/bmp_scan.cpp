#include "formats/bmp_scan.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "formats/bmp_header.h"
#include "formats/bytes.h"
#include "formats/head_reader.h"

namespace fmt::bmp {

namespace {

constexpr uint32_t kNoTable = 1024;  // nominal colours of depths above 8 bits

}  // namespace

ScanResult scan_bmp(const uint8_t* head, size_t head_len, uint64_t file_size, ExportFigures* out) {
  const HeadReader in(head, head_len, file_size);
  if (in.at(kFileOffType) != 'B' || in.at(kFileOffType + 1) != 'M') return ScanResult::NotBitmap;
  // A low byte of 40 is the plain header, whatever its other bytes say (the
  // reader refuses those); every other header size must be a known one.
  uint8_t info[kV5HeaderSize];
  for (size_t i = 0; i < sizeof info; ++i) info[i] = in.u8(kFileHeaderSize + i);
  if (in.at(in_file(kOffSize)) == static_cast<int>(kInfoHeaderSize)) put_u32le(info + kOffSize, kInfoHeaderSize);
  InfoHeader h;
  if (!read_info_header(info, sizeof info, &h)) return ScanResult::NotBitmap;

  const int32_t width = h.width;
  const int32_t raw_height = h.height;
  if (width == 0 || raw_height == 0) return ScanResult::ZeroSize;
  if (width < 0 || raw_height == INT32_MIN) return ScanResult::NotBitmap;
  const int32_t height = raw_height < 0 ? -raw_height : raw_height;

  // Only the low byte of the bit count is looked at.
  const uint32_t bits = h.bit_count & 0xFF;
  const uint32_t nominal = bits <= 8 ? uint32_t{1} << bits : kNoTable;
  uint32_t image_size = h.image_size;
  const size_t table_at = kFileHeaderSize + h.size;

  uint32_t palette_size = 0;
  if (nominal != kNoTable) {
    const uint32_t used = h.colours_used;
    // A table longer than the depth can index is no table we can keep.
    if (used > nominal) return ScanResult::NotBitmap;
    palette_size = used != 0 ? used : nominal;
  }

  ExportFigures f = out ? *out : ExportFigures{};
  f.width = width;
  f.height = height;
  f.palette_size = palette_size;
  f.grey_entries = 0;
  for (uint32_t i = 0; i < palette_size; ++i) {
    const size_t at = table_at + h.entry_bytes * size_t{i};
    PaletteEntry& e = f.palette[i];
    e.blue = in.u8(at);
    e.green = in.u8(at + 1);
    e.red = in.u8(at + 2);
    if (e.blue == e.green && e.green == e.red) ++f.grey_entries;
  }
  f.bmp_file_size = file_size;

  if (image_size == 0) {
    const uint64_t headers = table_at + uint64_t{h.entry_bytes} * palette_size;
    image_size = file_size > headers
                     ? static_cast<uint32_t>(std::min<uint64_t>(file_size - headers, UINT32_MAX))
                     : 0;
  }
  f.image_size = image_size;
  // The small addend rounds a stride that divides evenly but comes out a hair
  // low in floating point.
  f.padded_row_length =
      static_cast<uint32_t>(std::floor(static_cast<double>(image_size) / height + 0.01));
  const uint64_t w = static_cast<uint64_t>(width);
  switch (palette_size) {
    case 2: f.unpadded_row_length = static_cast<uint32_t>((w + 7) / 8); break;
    case 16: f.unpadded_row_length = static_cast<uint32_t>((w + 1) / 2); break;
    default: f.unpadded_row_length = static_cast<uint32_t>(w); break;
  }
  if (out) *out = f;
  return ScanResult::Ok;
}

}  // namespace fmt::bmp
