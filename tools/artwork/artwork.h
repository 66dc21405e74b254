// The pictures the artwork tool draws besides the tool bar buttons.
#pragma once
#include <cstdint>
#include <vector>

#include "tools/artwork/canvas.h"

namespace art {

// An icon picture and its transparency: mask is width * height flags,
// non-zero where the screen shows through (those pixels are black).
struct IconArt {
  Canvas image;
  std::vector<uint8_t> mask;
};

// The viewer's start-up picture, 256 x 192 in at most 256 colours.
Canvas draw_viewer_splash();
// The viewer's program icon, 32 x 32 in the 16 VGA colours.
IconArt draw_viewer_icon();

// The capture program's class icons (main window, capture window), 32 x 32
// in the 16 VGA colours.
IconArt draw_capture_icon();
IconArt draw_grab_icon();

// A 32 x 32 cursor picture in the VGA colours (black, white and clear only,
// so that its monochrome form is the same picture) and its hot spot.
struct CursorArt {
  Canvas image;
  std::vector<uint8_t> mask;
  int hotX, hotY;
};
constexpr int kCursorHotSpot = 15;
CursorArt draw_cross_cursor();
// A cursor file holding the picture twice: 16 colours and monochrome.
std::vector<uint8_t> cursor_file(const CursorArt& cursor);

}  // namespace art
