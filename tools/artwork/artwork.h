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
// The landscape of the start-up picture's photograph as a photo-like sample
// image for trying the viewer, in 256 colours.
Canvas draw_sample_photo(int width, int height);
// The viewer's program icon, 32 x 32 in the 16 VGA colours.
IconArt draw_viewer_icon();

}  // namespace art
