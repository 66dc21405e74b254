#include "tests/e2e/icon_files.h"

#include "formats/bytes.h"

namespace e2e {

namespace {

size_t row_bytes(int width, int bits) { return (static_cast<size_t>(width) * bits + 31) / 32 * 4; }
size_t table_entries(int bits) { return bits <= 8 ? size_t{1} << bits : 0; }

// Info header, table and both bitmaps: the image data of a directory entry.
std::vector<uint8_t> image_data(const IconPicture& p) {
  const size_t entries = table_entries(p.bits);
  const size_t xorRow = row_bytes(p.width, p.bits), andRow = row_bytes(p.width, 1);
  std::vector<uint8_t> d(40 + 4 * entries + p.height * (xorRow + andRow));
  fmt::put_u32le(&d[0], 40);
  fmt::put_u32le(&d[4], static_cast<uint32_t>(p.width));
  fmt::put_u32le(&d[8], static_cast<uint32_t>(2 * p.height));
  fmt::put_u16le(&d[12], 1);
  fmt::put_u16le(&d[14], static_cast<uint32_t>(p.bits));
  fmt::put_u32le(&d[20], static_cast<uint32_t>(p.height * (xorRow + andRow)));
  for (size_t i = 0; i < p.palette.size() && i < entries; ++i) {
    d[40 + 4 * i] = static_cast<uint8_t>(p.palette[i]);
    d[41 + 4 * i] = static_cast<uint8_t>(p.palette[i] >> 8);
    d[42 + 4 * i] = static_cast<uint8_t>(p.palette[i] >> 16);
  }
  uint8_t* xorBits = &d[40 + 4 * entries];
  uint8_t* andBits = xorBits + p.height * xorRow;
  for (int y = 0; y < p.height; ++y) {
    uint8_t* xr = xorBits + static_cast<size_t>(p.height - 1 - y) * xorRow;
    uint8_t* ar = andBits + static_cast<size_t>(p.height - 1 - y) * andRow;
    for (int x = 0; x < p.width; ++x) {
      const uint32_t v = p.pixels[static_cast<size_t>(y) * p.width + x];
      if (p.bits >= 24) {
        uint8_t* px = xr + static_cast<size_t>(x) * (p.bits / 8);
        px[0] = static_cast<uint8_t>(v);
        px[1] = static_cast<uint8_t>(v >> 8);
        px[2] = static_cast<uint8_t>(v >> 16);
        if (p.bits == 32) px[3] = 0xFF;
      } else {
        const int perByte = 8 / p.bits, shift = 8 - p.bits * (x % perByte + 1);
        xr[x / perByte] |= static_cast<uint8_t>(v << shift);
      }
      if (p.is_masked(x, y)) ar[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
  }
  return d;
}

void put_entry(uint8_t* e, const IconPicture& p, uint32_t size, uint32_t offset) {
  e[0] = static_cast<uint8_t>(p.width);
  e[1] = static_cast<uint8_t>(p.height);
  e[2] = static_cast<uint8_t>(p.bits < 8 ? 1 << p.bits : 0);
  fmt::put_u16le(&e[4], 1);
  fmt::put_u16le(&e[6], static_cast<uint32_t>(p.bits));
  fmt::put_u32le(&e[8], size);
  fmt::put_u32le(&e[12], offset);
}

}  // namespace

uint32_t IconPicture::colour(int x, int y) const {
  const uint32_t v = pixels[static_cast<size_t>(y) * width + x];
  if (bits >= 24) return v & 0xFFFFFF;
  return v < palette.size() ? palette[v] : 0;
}

bool IconPicture::is_masked(int x, int y) const {
  return !masked.empty() && masked[static_cast<size_t>(y) * width + x] != 0;
}

std::vector<uint8_t> icon_file(const std::vector<IconPicture>& images) {
  std::vector<uint8_t> f(6 + 16 * images.size());
  fmt::put_u16le(&f[2], 1);
  fmt::put_u16le(&f[4], static_cast<uint32_t>(images.size()));
  for (size_t i = 0; i < images.size(); ++i) {
    const std::vector<uint8_t> image = image_data(images[i]);
    put_entry(&f[6 + 16 * i], images[i], static_cast<uint32_t>(image.size()), static_cast<uint32_t>(f.size()));
    f.insert(f.end(), image.begin(), image.end());
  }
  return f;
}

}  // namespace e2e
