#include "viewer/export/displayed_dib.h"

#include <cstring>
#include <vector>

#include "formats/dib_image.h"
#include "viewer/image/image_record.h"

namespace viewer {

namespace {

bool locked_dib(fmt::DibImage* out) {
  const size_t size = g_image.dibSize ? g_image.dibSize : GlobalSize(g_image.dib);
  return fmt::dib_image_of(g_image.blockStart, size, fmt::get_u32le(g_image.fileHeader + 10), out);
}

}  // namespace

bool current_displayed_layout(HWND owner, fmt::bmp::DisplayedLayout* out) {
  if (!g_image.dib) return false;
  fmt::DibImage image;
  const bool ok = lock_image(owner) && locked_dib(&image);
  unlock_image();
  if (!ok) return false;
  *out = fmt::bmp::displayed_layout(image.width, image.height, g_image.view.zoomStep, image.bit_count,
                                    image.colours_used);
  return true;
}

HGLOBAL render_displayed_dib(HWND window, const fmt::bmp::DisplayedLayout& l) {
  if (l.dib_bytes > 0x7FFFFFFF || l.width > 0x7FFFFFFF || l.height > 0x7FFFFFFF) return nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(l.dib_bytes));
  if (!block) return nullptr;
  auto* out = static_cast<uint8_t*>(GlobalLock(block));
  if (!out) {
    GlobalFree(block);
    return nullptr;
  }
  fmt::bmp::put_displayed_info_header(out, l);
  bool drawn = false;
  fmt::DibImage image;
  if (lock_image(window) && locked_dib(&image)) {
    // Entries the image does not hold stay black.
    const uint32_t have = l.colours < image.table_entries ? l.colours : image.table_entries;
    for (uint32_t i = 0; i < have; ++i) std::memcpy(out + 40 + 4 * i, image.table + 4 * i, 3);
    // GetDIBits writes a full table for palette depths whatever the
    // colours-used field says: it gets a header buffer of its own.
    std::vector<uint8_t> info(40 + 4 * 256);
    std::memcpy(info.data(), out, 40 + 4 * size_t{l.colours});
    HDC windowDc = GetDC(window);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(windowDc, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits,
                                       nullptr, 0);
    HDC memory = CreateCompatibleDC(windowDc);
    if (section && memory) {
      HGDIOBJ old = SelectObject(memory, section);
      SetStretchBltMode(memory, COLORONCOLOR);
      StretchDIBits(memory, 0, 0, static_cast<int>(l.width), static_cast<int>(l.height), 0, 0,
                    static_cast<int>(image.width), static_cast<int>(image.height), g_image.pixels,
                    reinterpret_cast<BITMAPINFO*>(g_image.infoHeader), DIB_RGB_COLORS, SRCCOPY);
      SelectObject(memory, old);
      drawn = GetDIBits(windowDc, section, 0, l.height, out + 40 + 4 * size_t{l.colours},
                        reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS) == static_cast<int>(l.height);
    }
    if (memory) DeleteDC(memory);
    if (section) DeleteObject(section);
    ReleaseDC(window, windowDc);
  }
  unlock_image();
  GlobalUnlock(block);
  if (!drawn) {
    GlobalFree(block);
    return nullptr;
  }
  return block;
}

}  // namespace viewer
