#include "viewer/app/startup_logic.h"

namespace viewer {

TaskbarOffsets taskbar_offsets(const Rect& wa, int sw, int sh) {
  TaskbarOffsets t;
  if (wa.left == 0 && wa.top == 0) {
    if (wa.right < sw) t.right = sw - static_cast<int>(wa.right);
    if (wa.bottom < sh) {
      t.bottom = sh - static_cast<int>(wa.bottom);
      t.right = 0;
    }
  } else if (wa.left == 0) {
    t.top = static_cast<int>(wa.top < 0 ? -wa.top : wa.top);
  } else if (wa.top == 0) {
    t.left = static_cast<int>(wa.left < 0 ? -wa.left : wa.left);
  }
  return t;
}

Point place_window(Point p, int w, int h, int sw, int sh, const TaskbarOffsets& t) {
  if (t.right != 0) {
    p.x = (sw - t.right - w) / 2;
    if (p.x < 0) p.x = 0;
  } else if (t.bottom != 0) {
    p.y = (sh - t.bottom - h) / 2;
    if (p.y < 0) p.y = 0;
  } else if (t.top != 0) {
    // Centred in the free height but not pushed below the bar: the original
    // placement, kept so that windows land where users have always seen them.
    p.y = (sh - t.top - h) / 2;
    if (p.y < 0) p.y = t.top;
  } else {
    const int centre = (sw - t.left - w) / 2;
    p.x = centre < 0 ? t.left : centre + t.left;
  }
  return p;
}

bool display_too_shallow(int bitsPerPixel) {
  const int bits = bitsPerPixel < 0 ? -bitsPerPixel : bitsPerPixel;
  return bits <= 4;
}

Size minimum_window_size(int sbh, int minHeightBase, bool vBar, bool hBar) {
  return {440, (2 * (vBar ? 1 : 0) + (hBar ? 1 : 0)) * sbh + minHeightBase};
}

}  // namespace viewer
