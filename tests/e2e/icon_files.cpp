#include "tests/e2e/icon_files.h"

#include "formats/bytes.h"

namespace e2e {

namespace {

// Info header, table and both bitmaps: the image data of a directory entry.
std::vector<uint8_t> image_data(const IconPicture& p) {
  const size_t entries = p.bits <= 8 ? size_t{1} << p.bits : 0;  // the full table
  // At 32 bits every pixel is opaque.
  const std::vector<uint8_t> xorRows = rows_of(p.width, p.height, p.bits, [&](int x, int y) {
    return p.pixels[static_cast<size_t>(y) * p.width + x] | (p.bits == 32 ? 0xFF000000u : 0);
  });
  const std::vector<uint8_t> andRows = rows_of(p.width, p.height, 1, [&](int x, int y) { return p.is_masked(x, y); });
  std::vector<uint8_t> d(40 + 4 * entries);
  fmt::put_u32le(&d[0], 40);
  fmt::put_u32le(&d[4], static_cast<uint32_t>(p.width));
  fmt::put_u32le(&d[8], static_cast<uint32_t>(2 * p.height));
  fmt::put_u16le(&d[12], 1);
  fmt::put_u16le(&d[14], static_cast<uint32_t>(p.bits));
  fmt::put_u32le(&d[20], static_cast<uint32_t>(xorRows.size() + andRows.size()));
  for (size_t i = 0; i < p.palette.size() && i < entries; ++i) {
    d[40 + 4 * i] = static_cast<uint8_t>(p.palette[i]);
    d[41 + 4 * i] = static_cast<uint8_t>(p.palette[i] >> 8);
    d[42 + 4 * i] = static_cast<uint8_t>(p.palette[i] >> 16);
  }
  d.insert(d.end(), xorRows.begin(), xorRows.end());
  d.insert(d.end(), andRows.begin(), andRows.end());
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

std::vector<uint8_t> rows_of(int w, int h, int bits, const std::function<uint32_t(int, int)>& value, bool topDown,
                             uint8_t fill) {
  const size_t stride = (static_cast<size_t>(w) * bits + 31) / 32 * 4;
  std::vector<uint8_t> rows(stride * h, fill);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = &rows[static_cast<size_t>(topDown ? y : h - 1 - y) * stride];
    for (int x = 0; x < w; ++x) {
      const uint32_t v = value(x, y);
      if (bits < 8) {
        const int shift = 8 - bits * (x % (8 / bits) + 1);
        row[x * bits / 8] = static_cast<uint8_t>((row[x * bits / 8] & ~(((1u << bits) - 1) << shift)) | (v << shift));
      } else {
        for (int k = 0; k < bits / 8; ++k) row[x * bits / 8 + k] = static_cast<uint8_t>(v >> (8 * k));
      }
    }
  }
  return rows;
}

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
