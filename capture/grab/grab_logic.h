// Window-free rules of the area capture: where the square lies around the
// pointer, which pixels its dashed frame covers, how the orientations turn
// the square, and the texts built from the form.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace capture {

struct GrabPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const GrabPoint&, const GrabPoint&) = default;
};
struct GrabRect {
  int x = 0, y = 0, w = 0, h = 0;
  friend bool operator==(const GrabRect&, const GrabRect&) = default;
};

// Top-left pixel of the N x N square for a pointer position: the pointer
// sits on pixel (N/2 - 1, N/2 - 1) of the square.
GrabPoint square_origin(GrabPoint pointer, int halfSize);

// Dashes of 3 pixels along each edge: 5, 10, 15 or 21 of them for N = 16,
// 32, 48, 64 (0 for any other N).
constexpr int kDashLength = 3;
int dash_count(int n);

// The rectangles the frame paints, relative to the square's origin, in
// drawing order: the top and bottom rows first, then the left and right
// columns. Each edge starts with a dash, dashes and gaps alternate, and the
// stretch left after the last full one (ending before the edge's last pixel)
// takes whichever of the two comes next. The top-left pixel is painted by
// both the first row dash and the first column dash, the bottom-right pixel
// by neither.
std::vector<GrabRect> frame_rects(int n);

// How many of the frame's rectangles cover pixel (i, j) of the square. An
// inverting frame shows a pixel inverted when this is odd.
int frame_hits(const std::vector<GrabRect>& rects, int i, int j);

// The screen pixel, relative to the square's origin, that pixel (i, j) of
// the captured image (column i, row j from the top) takes:
// erect (i, j); inverted (N-1-i, N-1-j); erect mirror (N-1-i, j);
// inverted mirror (i, N-1-j). Other values are taken as erect.
GrabPoint source_offset(int orientation, int n, int i, int j);

// The captured image: N x N pixels (rows top-down) taken from a top-down
// screen picture of width x height pixels through the orientation. Pixels of
// the square that lie outside the screen are 0 (black).
std::vector<uint32_t> take_square(const uint32_t* screen, int width, int height, GrabPoint origin, int n,
                                  int orientation);

// "32x32/16 color icon file\nhas been created." and its Japanese wording.
std::string success_text(int n, int colours, bool japanese);

}  // namespace capture
