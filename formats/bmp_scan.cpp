#include "formats/bmp_scan.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace fmt::bmp {

namespace {

// Byte access with end-of-file behaviour: past the end every byte is 0xFF.
class HeadReader {
 public:
  HeadReader(const uint8_t* head, size_t head_len, uint64_t file_size)
      : head_(head), len_(static_cast<size_t>(std::min<uint64_t>(head_len, file_size))) {}
  uint8_t u8(size_t at) const { return at < len_ ? head_[at] : 0xFF; }
  uint32_t u32(size_t at) const {
    uint32_t v = 0;
    for (size_t k = 0; k < 4; ++k) v |= uint32_t{u8(at + k)} << (8 * k);
    return v;
  }

 private:
  const uint8_t* head_;
  size_t len_;
};

constexpr size_t kOffSignature = 0;
constexpr size_t kOffInfoSize = 14;
constexpr size_t kOffWidth = 18;
constexpr size_t kOffHeight = 22;
constexpr size_t kOffBitCount = 28;
constexpr size_t kOffImageSize = 34;
constexpr size_t kOffColoursUsed = 46;
constexpr size_t kOffColourTable = 54;
constexpr uint32_t kNoTable = 1024;  // nominal colours of depths above 8 bits

}  // namespace

ScanResult scan_bmp(const uint8_t* head, size_t head_len, uint64_t file_size, ExportFigures* out) {
  const HeadReader in(head, head_len, file_size);
  if (in.u8(kOffSignature) != 'B' || in.u8(kOffSignature + 1) != 'M' || in.u8(kOffInfoSize) != 40)
    return ScanResult::NotBitmap;

  const int32_t width = static_cast<int32_t>(in.u32(kOffWidth));
  const int32_t raw_height = static_cast<int32_t>(in.u32(kOffHeight));
  if (width == 0 || raw_height == 0) return ScanResult::ZeroSize;
  if (width < 0 || raw_height == INT32_MIN) return ScanResult::NotBitmap;
  const int32_t height = raw_height < 0 ? -raw_height : raw_height;

  const uint32_t bits = in.u8(kOffBitCount);
  const uint32_t nominal = bits <= 8 ? uint32_t{1} << bits : kNoTable;
  uint32_t image_size = in.u32(kOffImageSize);

  uint32_t palette_size = 0;
  if (nominal != kNoTable) {
    const uint32_t used = in.u32(kOffColoursUsed);
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
    const size_t at = kOffColourTable + 4 * size_t{i};
    PaletteEntry& e = f.palette[i];
    e.blue = in.u8(at);
    e.green = in.u8(at + 1);
    e.red = in.u8(at + 2);
    if (e.blue == e.green && e.green == e.red) ++f.grey_entries;
  }
  f.bmp_file_size = file_size;

  if (image_size == 0) {
    const uint64_t headers = kOffColourTable + 4 * uint64_t{palette_size};
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
