// The capture program's pictures: its two class icons (the About boxes show
// the first), the cross cursor, and the glyphs of its Form and Icon buttons.
#include <stdexcept>

#include "tools/artwork/artwork.h"
#include "tools/artwork/buttons.h"

namespace art {

namespace {

// Form: three nested squares, the icon sizes to choose from.
const PixelArt kCaptSz = parse_art({
    "KKKKKKKKKKKKKK..",
    "KWWWWWWWWWWWWK..",
    "KWBBBBBBBBBBWK..",
    "KWBWWWWWWWWBWK..",
    "KWBWRRRRRRWBWK..",
    "KWBWRYYYYRWBWK..",
    "KWBWRYYYYRWBWK..",
    "KWBWRYYYYRWBWK..",
    "KWBWRYYYYRWBWK..",
    "KWBWRRRRRRWBWK..",
    "KWBWWWWWWWWBWK..",
    "KWBBBBBBBBBBWK..",
    "KWWWWWWWWWWWWK..",
    "KKKKKKKKKKKKKK..",
});

// Icon: the dashed square of a capture around the cross of the pointer.
const PixelArt kCapt = parse_art({
    "KK.KK.KK.KK.KK..",
    "K.....R......K..",
    "......R.........",
    "K.....R......K..",
    "K.....R......K..",
    "................",
    "KRRRR.R.RRRR.K..",
    "K............K..",
    "......R.........",
    "K.....R......K..",
    "K.....R......K..",
    "......R.........",
    "K............K..",
    "KK.KK.KK.KK.KK..",
});

// Draws with a record of which pixels are set, for the icon's mask.
struct Painter {
  IconArt icon{Canvas(32, 32, vga_palette(), vga::Black), std::vector<uint8_t>(32 * 32, 1)};
  void set(int x, int y, uint8_t c) {
    if (x < 0 || y < 0 || x >= 32 || y >= 32) return;
    icon.image.set(x, y, c);
    icon.mask[static_cast<size_t>(y * 32 + x)] = 0;
  }
  void rect(int x0, int y0, int x1, int y1, uint8_t c) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) set(x, y, c);
  }
  void outline(int x0, int y0, int x1, int y1, uint8_t c) {
    for (int x = x0; x <= x1; ++x) set(x, y0, c), set(x, y1, c);
    for (int y = y0; y <= y1; ++y) set(x0, y, c), set(x1, y, c);
  }
  // A square of dashes, 3 on and 2 off, in two colours so it shows on anything.
  void dashed(int x0, int y0, int x1, int y1) {
    int step = 0;
    auto dash = [&](int x, int y) { set(x, y, step++ % 5 < 3 ? vga::Black : vga::White); };
    for (int x = x0; x < x1; ++x) dash(x, y0);
    for (int y = y0; y < y1; ++y) dash(x1, y);
    for (int x = x1; x > x0; --x) dash(x, y1);
    for (int y = y1; y > y0; --y) dash(x0, y);
  }
};

}  // namespace

// A screen showing a landscape, with the dashed square of a capture on it.
IconArt draw_capture_icon() {
  Painter p;
  p.outline(1, 2, 30, 24, vga::Black);
  p.rect(2, 3, 29, 23, vga::Silver);
  p.outline(4, 5, 27, 20, vga::Grey);
  p.rect(5, 6, 26, 13, vga::Aqua);
  p.rect(5, 14, 26, 19, vga::Green);
  for (int x = 5; x <= 26; ++x)  // a hill against the sky
    for (int y = 11; y <= 13; ++y)
      if ((x - 16) * (x - 16) / 6 + 11 <= y) p.set(x, y, vga::Lime);
  p.rect(22, 7, 24, 9, vga::Yellow);
  p.dashed(9, 8, 19, 18);
  p.set(25, 22, vga::Lime);
  p.rect(13, 25, 18, 27, vga::Grey);
  p.outline(8, 28, 23, 30, vga::Black);
  p.rect(9, 29, 22, 29, vga::Silver);
  return p.icon;
}

// The capture window's icon: a cross of red over the dashed square.
IconArt draw_grab_icon() {
  Painter p;
  p.rect(3, 3, 28, 28, vga::White);
  p.dashed(3, 3, 28, 28);
  for (int d = 3; d <= 11; ++d) {
    p.set(15 + d, 15, vga::Red), p.set(15 - d, 15, vga::Red);
    p.set(15, 15 + d, vga::Red), p.set(15, 15 - d, vga::Red);
  }
  p.set(15, 15, vga::Red);
  return p.icon;
}

// The cross of the pointer while capturing: black arms with a white edge, so
// that it shows on light and dark screens, a one-pixel gap ring around the
// centre pixel, which is the hot spot.
CursorArt draw_cross_cursor() {
  CursorArt c{Canvas(32, 32, vga_palette(), vga::Black), std::vector<uint8_t>(32 * 32, 1), kCursorHotSpot,
              kCursorHotSpot};
  auto set = [&](int x, int y, uint8_t colour) {
    c.image.set(x, y, colour);
    c.mask[static_cast<size_t>(y * 32 + x)] = 0;
  };
  const int h = kCursorHotSpot;
  // White edges first, then the black arms over them.
  for (int d = 2; d <= 13; ++d)
    for (int side = -1; side <= 1; side += 2)
      for (int e = -1; e <= 1; ++e) {
        set(h + side * d, h + e, vga::White);
        set(h + e, h + side * d, vga::White);
      }
  for (int e = -1; e <= 1; ++e)
    for (int f = -1; f <= 1; ++f) set(h + e, h + f, vga::White);
  for (int d = 2; d <= 12; ++d)
    for (int side = -1; side <= 1; side += 2) {
      set(h + side * d, h, vga::Black);
      set(h, h + side * d, vga::Black);
    }
  set(h, h, vga::Black);
  return c;
}

const std::vector<ButtonSpec>& capture_buttons() {
  static const std::vector<ButtonSpec> buttons = [] {
    const ButtonSpec* about = nullptr;
    for (const ButtonSpec& b : viewer_buttons())
      if (b.base == "About") about = &b;
    if (!about) throw std::runtime_error("the viewer's About button is missing");
    return std::vector<ButtonSpec>{
        {"Gap", 16, nullptr}, {"CaptSz", 32, &kCaptSz}, {"Capt", 32, &kCapt}, *about, {"Space", 2000, nullptr},
    };
  }();
  return buttons;
}

}  // namespace art
