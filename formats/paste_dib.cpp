#include "formats/paste_dib.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "formats/bytes.h"

namespace fmt::bmp {

namespace {

constexpr uint32_t kBiAlphaBitfields = 6;  // four masks after a 40-byte header

}  // namespace

NormalisePlan plan_paste(const uint8_t* dib, size_t size) {
  // A clipboard block has no file header: its rows follow the table.
  return plan_normalise(dib, size, FileHeader{});
}

bool dib_is_self_consistent(const uint8_t* dib, size_t size) {
  if (size < 4) return false;
  const uint32_t header = get_u32le(dib + kOffSize);
  if (header < kCoreHeaderSize || header > size) return false;
  int64_t width = 0, height = 0;
  uint32_t bits = 0, compression = kBiRgb, image_size = 0, used = 0, entry_bytes = 4;
  if (header == kCoreHeaderSize) {
    width = get_u16le(dib + kCoreOffWidth);
    height = get_u16le(dib + kCoreOffHeight);
    bits = get_u16le(dib + kCoreOffBitCount);
    entry_bytes = 3;
  } else {
    uint8_t f[kInfoHeaderSize] = {};
    std::memcpy(f, dib, std::min<size_t>(header, kInfoHeaderSize));
    width = get_i32le(f + kOffWidth);
    height = get_i32le(f + kOffHeight);
    bits = get_u16le(f + kOffBitCount);
    compression = get_u32le(f + kOffCompression);
    image_size = get_u32le(f + kOffImageSize);
    used = get_u32le(f + kOffColoursUsed);
  }
  if (width <= 0 || height == 0 || height == INT32_MIN) return false;
  const uint64_t rows = static_cast<uint64_t>(height < 0 ? -height : height);

  uint64_t at = header;
  if (header == kInfoHeaderSize && compression == kBiBitfields) at += kMaskBytes;
  if (header == kInfoHeaderSize && compression == kBiAlphaBitfields) at += kMaskBytes + 4;
  // The longer of the readings: a count of 0 stands for the full table of
  // 8 bits or fewer, and the rows of a CF_DIB follow every entry it names.
  const uint64_t entries = used != 0 || bits == 0 || bits > 8 ? used : uint64_t{1} << bits;
  const uint64_t end = uint64_t{size};
  if (at > end || entries * entry_bytes > end - at) return false;
  at += entries * entry_bytes;

  const uint64_t room = end - at;
  if (compression == kBiRgb || compression == kBiBitfields || compression == kBiAlphaBitfields) {
    const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;  // < 2^48
    return stride == 0 || rows <= room / stride;
  }
  // Compressed data has no stride: its length is the header's image size.
  return image_size != 0 && image_size <= room;
}

bool producer_offered_bitmap(const std::vector<unsigned>& formats_in_order) {
  for (const unsigned f : formats_in_order) {
    if (f == kCfBitmap) return true;
    if (f == kCfDib || f == kCfDibV5) return false;
  }
  return false;
}

PasteSource choose_paste_source(bool dib_available, const NormalisePlan& plan, bool dib_self_consistent,
                                bool bitmap_available, bool bitmap_from_producer) {
  if (dib_available && plan.error == BmpReadError::None) return PasteSource::Dib;
  // Too large to convert: the allocation message, not another picture.
  if (dib_available && plan.error == BmpReadError::TooLarge) return PasteSource::Refused;
  if (!bitmap_available) return PasteSource::Refused;
  if (bitmap_from_producer || !dib_available) return PasteSource::Bitmap;
  const bool other_kind = plan.error == BmpReadError::BadInfoSize || plan.error == BmpReadError::UnsupportedFormat;
  return other_kind && dib_self_consistent ? PasteSource::Bitmap : PasteSource::Refused;
}

}  // namespace fmt::bmp
