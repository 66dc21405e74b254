#include "viewer/export/displayed_dib.h"

#include <cstring>
#include <vector>

#include "formats/dib_image.h"
#include "viewer/image/image_record.h"

namespace viewer {

namespace {

bool locked_dib(fmt::DibImage* out) {
  const size_t size = g_image.dibSize ? g_image.dibSize : g_image.dib.size();
  return fmt::dib_image_of(g_image.blockStart, size, fmt::get_u32le(g_image.fileHeader + 10), out);
}

}  // namespace

bool current_displayed_layout(fmt::bmp::DisplayedLayout* out) {
  if (!g_image.dib) return false;
  fmt::DibImage image;
  const bool ok = lock_image() && locked_dib(&image);
  unlock_image();
  if (!ok) return false;
  *out = fmt::bmp::displayed_layout(image.width, image.height, g_image.view.zoomStep, image.bit_count,
                                    image.colours_used);
  return true;
}

frame::GlobalBlock render_displayed_dib(HWND window, const fmt::bmp::DisplayedLayout& l) {
  frame::GlobalBlock block;
  if (l.dib_bytes > 0x7FFFFFFF || l.width > 0x7FFFFFFF || l.height > 0x7FFFFFFF) return block;
  if (!block.allocate(static_cast<SIZE_T>(l.dib_bytes), GMEM_ZEROINIT)) return block;
  uint8_t* out = block.lock();
  if (!out) return frame::GlobalBlock();
  fmt::bmp::put_displayed_info_header(out, l);
  bool drawn = false;
  fmt::DibImage image;
  if (lock_image() && locked_dib(&image)) {
    // Entries the image does not hold stay black.
    const uint32_t have = l.colours < image.table_entries ? l.colours : image.table_entries;
    for (uint32_t i = 0; i < have; ++i) std::memcpy(out + 40 + 4 * i, image.table + 4 * i, 3);
    // GetDIBits writes a full table for palette depths whatever the
    // colours-used field says: it gets a header buffer of its own.
    std::vector<uint8_t> info(40 + 4 * 256);
    std::memcpy(info.data(), out, 40 + 4 * size_t{l.colours});
    frame::WindowDc windowDc(window);
    void* bits = nullptr;
    frame::GdiObject<HBITMAP> section(CreateDIBSection(
        windowDc.get(), reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0));
    frame::OwnDc memory(CreateCompatibleDC(windowDc.get()));
    if (section && memory) {
      {
        frame::Selection selected(memory.get(), section.get());
        SetStretchBltMode(memory.get(), COLORONCOLOR);
        StretchDIBits(memory.get(), 0, 0, static_cast<int>(l.width), static_cast<int>(l.height), 0, 0,
                      static_cast<int>(image.width), static_cast<int>(image.height), g_image.pixels,
                      reinterpret_cast<BITMAPINFO*>(g_image.infoHeader), DIB_RGB_COLORS, SRCCOPY);
      }
      drawn = GetDIBits(windowDc.get(), section.get(), 0, l.height, out + 40 + 4 * size_t{l.colours},
                        reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS) == static_cast<int>(l.height);
    }
  }
  unlock_image();
  if (!drawn) return frame::GlobalBlock();
  block.unlock();
  return block;
}

}  // namespace viewer
