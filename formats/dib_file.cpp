#include "formats/dib_file.h"

#include "formats/bmp_header.h"
#include "formats/bytes.h"
#include "formats/icon_layout.h"

namespace fmt::dib {

namespace {

uint32_t full_palette(int bits) { return uint32_t{1} << bits; }

// Colour table entries are blue, green, red, zero.
void put_palette(uint8_t* p, const std::vector<Rgb>& palette, int bits) {
  for (uint32_t i = 0; i < full_palette(bits); ++i) {
    const Rgb c = i < palette.size() ? palette[i] : Rgb{};
    p[4 * i + 0] = c.b;
    p[4 * i + 1] = c.g;
    p[4 * i + 2] = c.r;
    p[4 * i + 3] = 0;
  }
}

// Packs one row of indices (or 0/1 flags for a mask) high bits first, the
// leftmost pixel in the most significant bits of its byte. The padding to
// the word boundary is left as the caller zeroed it.
void put_row(uint8_t* out, const uint8_t* row, uint32_t width, int bits) {
  const uint32_t per_byte = 8 / static_cast<uint32_t>(bits);
  for (uint32_t x = 0; x < width; ++x) {
    const uint32_t shift = static_cast<uint32_t>(bits) * (per_byte - 1 - x % per_byte);
    out[x / per_byte] = static_cast<uint8_t>(out[x / per_byte] | (row[x] << shift));
  }
}

// Writes the image's rows bottom-up from offset at, each row_bytes long.
void put_rows(uint8_t* at, const std::vector<uint8_t>& pixels, uint32_t width, uint32_t height,
              int bits) {
  const uint64_t stride = row_bytes(width, bits);
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = pixels.data() + uint64_t{height - 1 - y} * width;
    put_row(at + y * stride, row, width, bits);
  }
}

}  // namespace

uint64_t row_bytes(uint32_t width, int bits) {
  return 4 * ((uint64_t{width} * static_cast<uint64_t>(bits) + 31) / 32);
}

const char* check_image(const IndexedImage& image) {
  if (image.bits != 1 && image.bits != 4 && image.bits != 8) return "bit depth is not 1, 4 or 8";
  if (image.width == 0 || image.height == 0) return "empty image";
  if (image.width > kMaxSide || image.height > kMaxSide) return "image too large";
  if (image.palette.empty() || image.palette.size() > full_palette(image.bits))
    return "palette size does not fit the bit depth";
  if (image.pixels.size() != uint64_t{image.width} * image.height)
    return "pixel count does not match the size";
  for (const uint8_t index : image.pixels)
    if (index >= image.palette.size()) return "pixel index outside the palette";
  return nullptr;
}

std::vector<uint8_t> bmp_file(const IndexedImage& image) {
  if (check_image(image)) return {};
  const uint32_t palette_bytes = 4 * full_palette(image.bits);
  const uint32_t offset = kFileHeaderSize + kInfoHeaderSize + palette_bytes;
  // At most 16384 rows of 16384 bytes: the sum stays well inside 32 bits.
  const auto image_bytes = static_cast<uint32_t>(row_bytes(image.width, image.bits) * image.height);
  std::vector<uint8_t> file(offset + image_bytes, 0);

  bmp::FileHeader header;
  header.type = bmp::kMagic;
  header.declared_size = static_cast<uint32_t>(file.size());
  header.pixel_offset = offset;
  bmp::put_file_header(header, &file[0]);
  // Positive height: rows run bottom-up; colours used 0: the full table follows.
  bmp::put_plain_info_header(&file[kFileHeaderSize], image.width, image.height, static_cast<uint32_t>(image.bits),
                             image_bytes);
  put_palette(&file[kFileHeaderSize + kInfoHeaderSize], image.palette, image.bits);
  put_rows(&file[offset], image.pixels, image.width, image.height, image.bits);
  return file;
}

std::vector<uint8_t> icon_file(const IndexedImage& image, const std::vector<uint8_t>& mask) {
  if (check_image(image) || image.width > 256 || image.height > 256) return {};
  if (mask.size() != image.pixels.size()) return {};
  const uint32_t w = image.width;
  const uint32_t h = image.height;
  const auto size = static_cast<uint32_t>(icon::expected_file_size(w, h, image.bits));
  const uint32_t xor_at = icon::xor_offset(image.bits);
  const auto and_at = static_cast<uint32_t>(icon::and_offset(size, h, w));
  std::vector<uint8_t> file(size, 0);

  // Directory: reserved, type 1 (icon), one entry.
  put_u16le(&file[0], 0);
  put_u16le(&file[2], 1);
  put_u16le(&file[4], 1);
  // The entry stores 256 as 0 in its one-byte sides; an 8-bit table is
  // counted as 0 colours as well.
  uint8_t* entry = &file[6];
  entry[0] = static_cast<uint8_t>(w & 0xFF);
  entry[1] = static_cast<uint8_t>(h & 0xFF);
  entry[2] = static_cast<uint8_t>(full_palette(image.bits) & 0xFF);
  entry[3] = 0;
  put_u16le(entry + 4, 1);  // planes
  put_u16le(entry + 6, static_cast<uint32_t>(image.bits));
  put_u32le(entry + 8, size - icon::kDirectorySize);
  put_u32le(entry + 12, icon::kDirectorySize);

  // The info header counts colour and mask rows together: twice the height.
  bmp::put_plain_info_header(&file[icon::kDirectorySize], w, 2 * h, static_cast<uint32_t>(image.bits), size - xor_at);
  put_palette(&file[icon::kColourTableOffset], image.palette, image.bits);
  put_rows(&file[xor_at], image.pixels, w, h, image.bits);

  std::vector<uint8_t> mask_bits(mask.size());
  for (size_t i = 0; i < mask.size(); ++i) mask_bits[i] = mask[i] ? 1 : 0;
  put_rows(&file[and_at], mask_bits, w, h, 1);
  return file;
}

}  // namespace fmt::dib
