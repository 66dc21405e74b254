#include "viewer/app/kept_picture_logic.h"

#include <algorithm>

namespace viewer {

bool keeps_reduced_picture(int zoomStep, long long w, long long h) {
  if (zoomStep >= 0 || w <= 0 || h <= 0) return false;
  return w * h <= kKeptPictureMaxBytes / 4;
}

PixelRect picture_part(const PixelRect& u, long long ox, long long oy, long long w, long long h) {
  PixelRect r{std::max(u.left - ox, 0LL), std::max(u.top - oy, 0LL), std::min(u.right - ox, w),
              std::min(u.bottom - oy, h)};
  if (r.empty()) return {0, 0, 0, 0};
  return r;
}

int tile_count(long long pixels) { return static_cast<int>((pixels + kKeptTile - 1) / kKeptTile); }

TileRange tiles_of(const PixelRect& r) {
  if (r.empty()) return {0, 0, 0, 0};
  return {static_cast<int>(r.left / kKeptTile), static_cast<int>(r.top / kKeptTile),
          static_cast<int>((r.right - 1) / kKeptTile + 1), static_cast<int>((r.bottom - 1) / kKeptTile + 1)};
}

}  // namespace viewer
