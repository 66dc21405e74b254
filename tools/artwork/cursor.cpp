// Cursor files: the directory of an icon file with type 2, whose entries hold
// the hot spot where an icon keeps planes and bit count. Each image is built
// by the icon writer and its bytes are moved behind the longer directory.
#include <stdexcept>

#include "formats/bytes.h"
#include "tools/artwork/artwork.h"

namespace art {

namespace {
constexpr size_t kHeader = 6, kEntry = 16;

fmt::dib::IndexedImage monochrome(const CursorArt& c) {
  fmt::dib::IndexedImage image;
  image.width = static_cast<uint32_t>(c.image.width());
  image.height = static_cast<uint32_t>(c.image.height());
  image.bits = 1;
  image.palette = {{0, 0, 0}, {255, 255, 255}};
  for (int y = 0; y < c.image.height(); ++y)
    for (int x = 0; x < c.image.width(); ++x) {
      const uint8_t index = c.image.get(x, y);
      if (index != vga::Black && index != vga::White) throw std::runtime_error("a cursor is black and white");
      image.pixels.push_back(index == vga::White ? 1 : 0);
    }
  return image;
}
}  // namespace

std::vector<uint8_t> cursor_file(const CursorArt& c) {
  const std::vector<uint8_t> images[2] = {fmt::dib::icon_file(c.image.image(4), c.mask),
                                          fmt::dib::icon_file(monochrome(c), c.mask)};
  const uint8_t colours[2] = {16, 2};
  std::vector<uint8_t> file(kHeader + 2 * kEntry);
  fmt::put_u16le(&file[0], 0);
  fmt::put_u16le(&file[2], 2);  // a cursor
  fmt::put_u16le(&file[4], 2);
  for (int i = 0; i < 2; ++i) {
    const std::vector<uint8_t>& icon = images[i];
    if (icon.size() <= kHeader + kEntry) throw std::runtime_error("the cursor image was refused");
    uint8_t* entry = &file[kHeader + kEntry * static_cast<size_t>(i)];
    entry[0] = static_cast<uint8_t>(c.image.width());
    entry[1] = static_cast<uint8_t>(c.image.height());
    entry[2] = colours[i];
    entry[3] = 0;
    fmt::put_u16le(entry + 4, static_cast<uint32_t>(c.hotX));
    fmt::put_u16le(entry + 6, static_cast<uint32_t>(c.hotY));
    fmt::put_u32le(entry + 8, static_cast<uint32_t>(icon.size() - kHeader - kEntry));
    fmt::put_u32le(entry + 12, static_cast<uint32_t>(file.size()));
    file.insert(file.end(), icon.begin() + kHeader + kEntry, icon.end());
  }
  return file;
}

}  // namespace art
