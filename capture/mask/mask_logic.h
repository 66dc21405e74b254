// The rules of the transparent-pixel tool that need no window: where the
// enlarged view's cells are, which pixels an area click reaches, how marks
// toggle, and where the tool's controls sit.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace capture {

// Each image pixel is a 6 x 6 cell of the enlarged view: a 5 x 5 area of its
// colour with the grid line on its left and below it.
constexpr int kCellSide = 6;
constexpr int kViewTop = 21;  // the enlarged view starts below the tool bar

// The cell under client point (x, y) of an N x N view: column k with
// 6k < x <= 6k + 6 and row j with 6j + 21 <= y < 6j + 27. False outside.
bool cell_at(int x, int y, int n, int* column, int* row);

// The pixels an area click at (column, row) reaches: every pixel connected
// to it through left, right, up and down steps over pixels of exactly its
// colour. colours holds N x N values, row 0 at the top; the result holds N x N
// flags in the same order (all 0 when the start lies outside).
std::vector<uint8_t> region_of(const std::vector<uint32_t>& colours, int n, int column, int row);

// An area click gives every pixel of the region the opposite of the clicked
// pixel's state, also pixels marked one by one. marks: 64 x 64 flags.
void toggle_region(uint8_t* marks, const std::vector<uint8_t>& region, int n, int column, int row);

// The tool's controls (ids 123 to 126) in client coordinates for size N; the
// colour list's height is that of its open list.
struct ToolControl {
  int id, x, y, width, height;
};
std::array<ToolControl, 4> tool_controls(int n);

// The main window's size while the tool is open: the view and the column of
// controls beside it.
int tool_window_width(int n, int frameWidth);
int tool_window_height(int n, int baseHeight);

// Where the grown window goes: its top-left (x, y) moved left and up just as
// far as a w x h window needs to lie inside the work area (left, top, right,
// bottom; right and bottom outside it), never past its left or top edge, so
// the caption and the controls stay reachable.
struct WindowPlace {
  int x, y;
};
WindowPlace keep_inside(int x, int y, int w, int h, int left, int top, int right, int bottom);

// The colours of the list, 0xRRGGBB, in their order; the first is the start.
const std::array<uint32_t, 14>& mark_colours();

}  // namespace capture
