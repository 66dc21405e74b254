// The icon maker's three example icons: an apple on aqua (the 1st bitmap),
// the same apple with its background recoloured fuchsia (the 2nd), and the
// icon the program makes of the two, in which the background is clear.
#include "tools/artwork/artwork.h"

namespace art {

namespace {

bool in_circle(int x, int y, int cx, int cy, int r) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; }

bool in_apple(int x, int y) { return in_circle(x, y, 12, 19, 10) || in_circle(x, y, 19, 19, 10); }

Canvas draw_apple(uint8_t background) {
  Canvas c(32, 32, vga_palette(), background);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      if (!in_apple(x, y)) continue;
      const bool edge = !in_apple(x - 1, y) || !in_apple(x + 1, y) || !in_apple(x, y - 1) || !in_apple(x, y + 1);
      c.set(x, y, edge ? vga::Maroon : vga::Red);
    }
  // A shine on the upper left.
  for (int y = 12; y < 18; ++y)
    for (int x = 6; x < 12; ++x)
      if ((x - 9) * (x - 9) * 4 + (y - 15) * (y - 15) * 9 <= 30) c.set(x, y, vga::White);
  c.vline(15, 3, 10, vga::Olive);
  c.vline(16, 3, 10, vga::Olive);
  for (int y = 2; y < 9; ++y)
    for (int x = 17; x < 27; ++x)
      if ((x - 21) * (x - 21) + (y - 5) * (y - 5) * 4 <= 14) c.set(x, y, vga::Green);
  return c;
}

}  // namespace

IconMakerExamples draw_icon_maker_examples() {
  return {draw_apple(vga::Aqua), draw_apple(vga::Fuchsia)};
}

}  // namespace art
