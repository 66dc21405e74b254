#include "capture/mask/mask_logic.h"

#include <cstddef>

#include "formats/icon_marks.h"
#include "resources/capture/resource.h"

namespace capture {

namespace {
constexpr int kGrid = fmt::icon_marks::kGridSide;
}

bool cell_at(int x, int y, int n, int* column, int* row) {
  if (n <= 0 || n > kGrid) return false;
  // x = 6k + 1 ... 6k + 6: the cell's area and the grid line on its right.
  if (x < 1 || x > kCellSide * n) return false;
  if (y < kViewTop || y >= kViewTop + kCellSide * n) return false;
  *column = (x - 1) / kCellSide;
  *row = (y - kViewTop) / kCellSide;
  return true;
}

std::vector<uint8_t> region_of(const std::vector<uint32_t>& colours, int n, int column, int row) {
  const auto cells = static_cast<size_t>(n > 0 ? n : 0) * static_cast<size_t>(n > 0 ? n : 0);
  std::vector<uint8_t> region(cells, 0);
  if (colours.size() < cells || column < 0 || row < 0 || column >= n || row >= n) return region;
  const uint32_t start = colours[static_cast<size_t>(row) * n + column];
  // An explicit stack: a 64 x 64 region of one colour must not need 4096
  // nested calls.
  std::vector<size_t> todo{static_cast<size_t>(row) * n + column};
  region[todo.back()] = 1;
  while (!todo.empty()) {
    const size_t at = todo.back();
    todo.pop_back();
    const int x = static_cast<int>(at % n), y = static_cast<int>(at / n);
    const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& s : steps) {
      const int nx = x + s[0], ny = y + s[1];
      if (nx < 0 || ny < 0 || nx >= n || ny >= n) continue;
      const size_t next = static_cast<size_t>(ny) * n + nx;
      if (region[next] || colours[next] != start) continue;
      region[next] = 1;
      todo.push_back(next);
    }
  }
  return region;
}

void toggle_region(uint8_t* marks, const std::vector<uint8_t>& region, int n, int column, int row) {
  if (n <= 0 || n > kGrid || column < 0 || row < 0 || column >= n || row >= n) return;
  if (region.size() < static_cast<size_t>(n) * n) return;
  const uint8_t to = marks[row * kGrid + column] ? 0 : 1;
  for (int j = 0; j < n; ++j)
    for (int k = 0; k < n; ++k)
      if (region[static_cast<size_t>(j) * n + k]) marks[j * kGrid + k] = to;
}

std::array<ToolControl, 4> tool_controls(int n) {
  const int o = n == 16 ? 0 : 4;
  const int x = kCellSide * n + 15, bottom = kCellSide * n - o;
  return {{{IDC_TOOL_OK, x, bottom - 73, 70, 20},
           {IDC_TOOL_CANCEL, x, bottom - 51, 70, 20},
           {IDC_TOOL_FILL, x, bottom - 29, 70, 20},
           {IDC_TOOL_COLOUR, x, bottom - 6, 71, 220}}};
}

int tool_window_width(int n, int frameWidth) { return 2 * frameWidth + kCellSide * n + 100; }
int tool_window_height(int n, int baseHeight) { return kCellSide * n + baseHeight; }

WindowPlace keep_inside(int x, int y, int w, int h, int left, int top, int right, int bottom) {
  if (x > right - w) x = right - w;
  if (x < left) x = left;
  if (y > bottom - h) y = bottom - h;
  if (y < top) y = top;
  return {x, y};
}

const std::array<uint32_t, 14>& mark_colours() {
  static const std::array<uint32_t, 14> colours = {
      0x008080, 0x008000, 0x000080, 0x808000, 0x800080, 0x800000, 0x00FFFF,
      0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0xFF0000, 0xFFFFFF, 0x000000,
  };
  return colours;
}

}  // namespace capture
