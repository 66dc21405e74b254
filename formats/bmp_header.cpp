#include "formats/bmp_header.h"

#include <cstring>

#include "formats/bytes.h"

namespace fmt::bmp {

bool known_info_header_size(uint32_t size) {
  if (size == kCoreHeaderSize || size == kV4HeaderSize || size == kV5HeaderSize) return true;
  return size >= kOs2MinSize && size <= kOs2MaxSize;
}

bool read_info_header(const uint8_t* p, size_t len, InfoHeader* out) {
  if (len < 4) return false;
  InfoHeader h;
  h.size = get_u32le(p + kOffSize);
  if (!known_info_header_size(h.size) || h.size > len) return false;
  if (h.size == kCoreHeaderSize) {
    h.os2 = true;
    h.width = get_u16le(p + kCoreOffWidth);
    h.height = get_u16le(p + kCoreOffHeight);
    h.planes = get_u16le(p + kCoreOffPlanes);
    h.bit_count = get_u16le(p + kCoreOffBitCount);
    h.entry_bytes = 3;
    *out = h;
    return true;
  }
  h.os2 = h.size != kInfoHeaderSize && h.size != kV2HeaderSize && h.size != kV3HeaderSize && h.size <= kOs2MaxSize;
  // An OS/2 2.x header may end after any field: the fields it leaves out are 0.
  uint8_t f[kInfoHeaderSize] = {};
  std::memcpy(f, p, h.size < kInfoHeaderSize ? h.size : kInfoHeaderSize);
  h.width = get_i32le(f + kOffWidth);
  h.height = get_i32le(f + kOffHeight);
  h.planes = get_u16le(f + kOffPlanes);
  h.bit_count = get_u16le(f + kOffBitCount);
  h.compression = get_u32le(f + kOffCompression);
  h.image_size = get_u32le(f + kOffImageSize);
  h.x_pels_per_metre = get_u32le(f + kOffXPelsPerMetre);
  h.y_pels_per_metre = get_u32le(f + kOffYPelsPerMetre);
  h.colours_used = get_u32le(f + kOffColoursUsed);
  h.colours_important = get_u32le(f + kOffColoursImportant);
  if (!h.os2 && h.size >= kV2HeaderSize) {
    h.masks_inside = true;
    for (size_t i = 0; i < 3; ++i) h.masks[i] = get_u32le(p + kOffRedMask + 4 * i);
  }
  *out = h;
  return true;
}

void put_info_header(uint8_t* p, const InfoHeader& h) {
  put_u32le(p + kOffSize, kInfoHeaderSize);
  put_u32le(p + kOffWidth, static_cast<uint32_t>(h.width));
  put_u32le(p + kOffHeight, static_cast<uint32_t>(h.height));
  put_u16le(p + kOffPlanes, h.planes);
  put_u16le(p + kOffBitCount, h.bit_count);
  put_u32le(p + kOffCompression, h.compression);
  put_u32le(p + kOffImageSize, h.image_size);
  put_u32le(p + kOffXPelsPerMetre, h.x_pels_per_metre);
  put_u32le(p + kOffYPelsPerMetre, h.y_pels_per_metre);
  put_u32le(p + kOffColoursUsed, h.colours_used);
  put_u32le(p + kOffColoursImportant, h.colours_important);
}

void put_plain_info_header(uint8_t* p, uint32_t width, uint32_t height, uint32_t bits, uint32_t image_bytes) {
  InfoHeader h;
  h.width = static_cast<int32_t>(width);
  h.height = static_cast<int32_t>(height);
  h.bit_count = bits;
  h.image_size = image_bytes;
  put_info_header(p, h);
}

void put_file_header(const FileHeader& header, uint8_t out[kFileHeaderSize]) {
  put_u16le(out + kFileOffType, header.type);
  put_u32le(out + kFileOffSize, header.declared_size);
  put_u32le(out + kFileOffReserved, 0);
  put_u32le(out + kFileOffPixelOffset, header.pixel_offset);
}

}  // namespace fmt::bmp
