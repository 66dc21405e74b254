// Drawing surfaces of the artwork tool: pixel art parsed from text, a palette
// canvas for the 16-colour buttons and icons, and a true-colour canvas for
// the smooth start-up picture, which is reduced to a palette at the end.
#pragma once
#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include "formats/dib_file.h"

namespace art {

using fmt::dib::Rgb;

// A picture typed as text: equal-length rows, one character a pixel. '.' is
// a clear pixel that leaves whatever lies below.
struct PixelArt {
  int width = 0;
  int height = 0;
  std::vector<char> cells;  // row by row, top-down
  char at(int x, int y) const { return cells[static_cast<size_t>(y * width + x)]; }
  bool clear(int x, int y) const { return at(x, y) == '.'; }
};

// Throws std::runtime_error on ragged rows, so a slip in the typing stops
// the build instead of shifting a picture.
PixelArt parse_art(std::initializer_list<std::string_view> rows);

// The colour each art character stands for.
class Legend {
 public:
  Legend(std::initializer_list<std::pair<char, Rgb>> entries);
  // Throws std::runtime_error for a character the legend does not know.
  Rgb colour(char c) const;

 private:
  std::array<std::optional<Rgb>, 128> colours_{};
};

// The sixteen colours of the classic VGA palette in the order Windows uses,
// and the letters the text art names them by:
// K black, M maroon, G green, O olive, N navy, P purple, T teal, L silver,
// D grey, R red, g lime, Y yellow, B blue, F fuchsia, C aqua, W white.
const std::vector<Rgb>& vga_palette();
const Legend& vga_legend();
namespace vga {
constexpr uint8_t Black = 0, Maroon = 1, Green = 2, Olive = 3, Navy = 4, Purple = 5, Teal = 6,
                  Silver = 7, Grey = 8, Red = 9, Lime = 10, Yellow = 11, Blue = 12, Fuchsia = 13,
                  Aqua = 14, White = 15;
}

int luminance(Rgb c);  // 0 .. 255

// A palette picture; drawing calls clip to the canvas.
class Canvas {
 public:
  Canvas(int width, int height, std::vector<Rgb> palette, uint8_t fill = 0);
  int width() const { return width_; }
  int height() const { return height_; }
  const std::vector<Rgb>& palette() const { return palette_; }

  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  uint8_t get(int x, int y) const { return px_[index(x, y)]; }
  void set(int x, int y, uint8_t c) {
    if (inside(x, y)) px_[index(x, y)] = c;
  }
  void fill_rect(int x, int y, int w, int h, uint8_t c);
  void hline(int x0, int x1, int y, uint8_t c) { fill_rect(x0, y, x1 - x0 + 1, 1, c); }
  void vline(int x, int y0, int y1, uint8_t c) { fill_rect(x, y0, 1, y1 - y0 + 1, c); }
  // The palette entry closest to a colour.
  uint8_t nearest(Rgb c) const;
  // Copies another canvas's pixels by colour, matched into this palette.
  void paste(const Canvas& src, int x, int y);

  fmt::dib::IndexedImage image(int bits) const;

 private:
  size_t index(int x, int y) const { return static_cast<size_t>(y * width_ + x); }
  int width_;
  int height_;
  std::vector<Rgb> palette_;
  std::vector<uint8_t> px_;
};

// Draws the art's non-clear pixels with the legend's colours, each matched
// to the canvas palette.
void draw_art(Canvas& canvas, const PixelArt& art, int x, int y, const Legend& legend);

// A true-colour picture with floating-point channels (0 .. 255).
struct Colour {
  float r = 0, g = 0, b = 0;
};
Colour mix(Colour a, Colour b, float t);  // t = 0 gives a, 1 gives b
Colour to_colour(Rgb c);

class RgbCanvas {
 public:
  RgbCanvas(int width, int height) : width_(width), height_(height), px_(static_cast<size_t>(width * height)) {}
  int width() const { return width_; }
  int height() const { return height_; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  Colour get(int x, int y) const { return px_[static_cast<size_t>(y * width_ + x)]; }
  void set(int x, int y, Colour c) {
    if (inside(x, y)) px_[static_cast<size_t>(y * width_ + x)] = c;
  }
  // Lays c over the pixel with the given opacity (0 .. 1).
  void blend(int x, int y, Colour c, float alpha) {
    if (inside(x, y)) set(x, y, mix(get(x, y), c, alpha));
  }

 private:
  int width_;
  int height_;
  std::vector<Colour> px_;
};

// Reduces a true-colour picture to at most max_colours palette entries by
// median cut, spreading the rounding error to the neighbours so smooth
// gradients do not band. A picture with few enough colours comes out exact.
Canvas reduce_colours(const RgbCanvas& picture, int max_colours);

}  // namespace art
