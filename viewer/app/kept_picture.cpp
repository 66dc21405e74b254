#include "viewer/app/kept_picture.h"

#include <cstring>
#include <vector>

#include "formats/bytes.h"
#include "frame/scoped.h"

#include "viewer/app/kept_picture_logic.h"
#include "viewer/app/view_logic.h"
#include "viewer/image/image_record.h"

namespace viewer {

namespace {

// What the picture was made for; any difference makes a new one.
struct PictureKey {
  HGLOBAL dib = nullptr;
  int width = 0, height = 0, zoomStep = 0;
  bool operator==(const PictureKey&) const = default;
};

struct KeptPicture {
  PictureKey key;
  long long w = 0, h = 0;
  frame::MemoryDc picture;
  int tilesX = 0;
  std::vector<unsigned char> drawn;  // one flag a tile
  // The view painted last without a picture: the first paint of a view
  // draws directly, so that a view shown once costs what it did before;
  // the picture is made when the same view is painted again.
  PictureKey seen;
  bool seenValid = false;
} g_kept;

void release() {
  g_kept.picture.reset();
  g_kept.key = PictureKey{};
  g_kept.w = g_kept.h = 0;
  g_kept.tilesX = 0;
  g_kept.drawn.clear();
  g_kept.seen = PictureKey{};
  g_kept.seenValid = false;
}

// A bitmap of the displayed size in a memory device context, in a form that
// keeps the transfer's result exact: the image's own colour table for images
// of 8 bits or fewer (so the copy to the screen maps each entry as the direct
// transfer would, also on a screen with a palette), 32 bits otherwise.
bool make(HDC screen, const PictureKey& key, long long width, long long height) {
  release();
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD colours[256];
  } bi{};
  bi.h.biSize = sizeof bi.h;
  bi.h.biWidth = static_cast<LONG>(width);
  bi.h.biHeight = static_cast<LONG>(height);
  bi.h.biPlanes = 1;
  bi.h.biBitCount = 32;
  bi.h.biCompression = BI_RGB;
  const bool locked = lock_image();
  if (locked) {
    const int bits = fmt::get_u16le(g_image.infoHeader + 14);
    if (bits <= 8 && g_image.colourCount > 0 && g_image.colourCount <= 256) {
      bi.h.biBitCount = 8;
      bi.h.biClrUsed = static_cast<DWORD>(g_image.colourCount);
      std::memcpy(bi.colours, g_image.colourTable, 4 * static_cast<size_t>(g_image.colourCount));
    }
  }
  unlock_image();
  if (!locked) return false;
  void* pixels = nullptr;
  if (!g_kept.picture.take(screen, CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS,
                                                    &pixels, nullptr, 0))) {
    release();
    return false;
  }
  try {
    g_kept.tilesX = tile_count(width);
    g_kept.drawn.assign(static_cast<size_t>(g_kept.tilesX) * static_cast<size_t>(tile_count(height)), 0);
  } catch (...) {
    release();
    return false;
  }
  g_kept.key = key;
  g_kept.w = width;
  g_kept.h = height;
  return true;
}

// Draws the tiles of the range that were not drawn yet, with one transfer of
// the whole image clipped to them: the same call and the same destination as
// a direct paint, so the pixels are the same. False when the image could not
// be locked.
bool draw_missing_tiles(const TileRange& t) {
  int x0 = t.x1, y0 = t.y1, x1 = t.x0, y1 = t.y0;
  for (int ty = t.y0; ty < t.y1; ++ty)
    for (int tx = t.x0; tx < t.x1; ++tx)
      if (!g_kept.drawn[static_cast<size_t>(ty) * g_kept.tilesX + tx]) {
        if (tx < x0) x0 = tx;
        if (ty < y0) y0 = ty;
        if (tx + 1 > x1) x1 = tx + 1;
        if (ty + 1 > y1) y1 = ty + 1;
      }
  if (x0 >= x1) return true;
  const bool locked = lock_image();
  if (locked) {
    HDC dc = g_kept.picture.get();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, x0 * kKeptTile, y0 * kKeptTile, x1 * kKeptTile, y1 * kKeptTile);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, static_cast<int>(g_kept.w), static_cast<int>(g_kept.h), 0, 0, g_image.width,
                  g_image.height, g_image.pixels, reinterpret_cast<BITMAPINFO*>(g_image.infoHeader), DIB_RGB_COLORS,
                  SRCCOPY);
    RestoreDC(dc, saved);
    for (int ty = y0; ty < y1; ++ty)
      for (int tx = x0; tx < x1; ++tx) g_kept.drawn[static_cast<size_t>(ty) * g_kept.tilesX + tx] = 1;
  }
  unlock_image();
  return locked;
}

}  // namespace

bool paint_from_kept_picture(HWND, HDC dc, const RECT& update, long long originX, long long originY) {
  const Extent d = displayed_size(g_image.width, g_image.height, g_image.view.zoomStep);
  if (!keeps_reduced_picture(g_image.view.zoomStep, d.w, d.h)) {
    release();
    return false;
  }
  const PictureKey key{g_image.dib.get(), g_image.width, g_image.height, g_image.view.zoomStep};
  if (!(g_kept.picture && g_kept.key == key)) {
    if (!(g_kept.seenValid && g_kept.seen == key)) {
      release();
      g_kept.seen = key;
      g_kept.seenValid = true;
      return false;
    }
    if (!make(dc, key, d.w, d.h)) return false;
  }
  const PixelRect part = picture_part({update.left, update.top, update.right, update.bottom}, originX, originY,
                                      d.w, d.h);
  if (part.empty()) return true;
  // A block that cannot be locked shows nothing, as in a direct paint.
  if (!draw_missing_tiles(tiles_of(part))) return true;
  BitBlt(dc, static_cast<int>(part.left + originX), static_cast<int>(part.top + originY),
         static_cast<int>(part.right - part.left), static_cast<int>(part.bottom - part.top), g_kept.picture.get(),
         static_cast<int>(part.left), static_cast<int>(part.top), SRCCOPY);
  return true;
}

void invalidate_kept_picture() { release(); }

}  // namespace viewer
