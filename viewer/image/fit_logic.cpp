#include "viewer/image/fit_logic.h"

#include <algorithm>
#include <cstdint>

namespace viewer {

namespace {

constexpr int kToolBarStrip = 21;  // the 20-pixel tool bar and one pixel below it

// Smallest d >= 1 with size / d <= room, for room > 0. size / d <= room holds
// exactly when size < (room + 1) * d, so d = size / (room + 1) + 1.
int64_t smallest_divisor(int64_t size, int64_t room) {
  if (size <= room) return 1;
  return size / (room + 1) + 1;
}

}  // namespace

int fit_zoom_step(int width, int height, int client_w, int client_h, int vscroll_w, int hscroll_h) {
  const int64_t room_w = int64_t{client_w} - vscroll_w;
  const int64_t room_h = int64_t{client_h} - hscroll_h - kToolBarStrip;
  if (room_w <= 0 || room_h <= 0) return kLowestZoomStep;
  const int64_t d = std::max(smallest_divisor(width, room_w), smallest_divisor(height, room_h));
  return static_cast<int>(std::max<int64_t>(1 - d, kLowestZoomStep));
}

}  // namespace viewer
