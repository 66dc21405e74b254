// The transparent-pixel tool's window-free rules: the cell under a click,
// the region an area click reaches, how an area click toggles, and the
// controls' places.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/mask/mask_logic.h"
#include "formats/icon_marks.h"

namespace {

using capture::cell_at;

TEST(MaskLogic, CellUnderAClickUpToTheGridsEdges) {
  struct Case {
    int x, y, n;
    bool hit;
    int column, row;
  };
  const Case cases[] = {
      {0, 21, 16, false, 0, 0},   // the grid's left line
      {1, 21, 16, true, 0, 0},    // the first pixel of the first cell
      {6, 26, 16, true, 0, 0},    // the grid lines right of and below it
      {7, 27, 16, true, 1, 1},
      {1, 20, 16, false, 0, 0},   // the tool bar's last row
      {96, 116, 16, true, 15, 15},
      {97, 21, 16, false, 0, 0},  // right of the last column
      {1, 117, 16, false, 0, 0},  // below the last row
      {384, 404, 64, true, 63, 63},
      {385, 404, 64, false, 0, 0},
      {384, 405, 64, false, 0, 0},
      {-5, 30, 32, false, 0, 0},
      {150, 100, 48, true, 24, 13},
  };
  for (const Case& c : cases) {
    int column = -1, row = -1;
    EXPECT_EQ(cell_at(c.x, c.y, c.n, &column, &row), c.hit) << c.x << "," << c.y << " N " << c.n;
    if (c.hit) {
      EXPECT_EQ(column * 100 + row, c.column * 100 + c.row) << c.x << "," << c.y << " N " << c.n;
    }
  }
}

// Grids written as text: each letter a colour, '#' in the expected picture a
// pixel of the region.
std::vector<uint32_t> colours_of(const std::vector<std::string>& rows) {
  std::vector<uint32_t> out;
  for (const std::string& r : rows)
    for (char c : r) out.push_back(static_cast<uint32_t>(c) * 0x010101u);
  return out;
}

TEST(MaskLogic, RegionIsFourConnectedOverExactlyTheStartColour) {
  struct Case {
    const char* what;
    std::vector<std::string> image;
    int column, row;
    std::vector<std::string> region;
  };
  const Case cases[] = {
      {"a ring around a hole",
       {"aaaa", "abba", "abba", "aaaa"}, 0, 0, {"####", "#..#", "#..#", "####"}},
      {"the hole itself", {"aaaa", "abba", "abba", "aaaa"}, 2, 1, {"....", ".##.", ".##.", "...."}},
      {"diagonal neighbours are not connected",
       {"abab", "baba", "abab", "baba"}, 1, 1, {"....", ".#..", "....", "...."}},
      {"a one-pixel region", {"aaaa", "aaca", "aaaa", "aaaa"}, 2, 1, {"....", "..#.", "....", "...."}},
      {"a close colour is another colour", {"ab", "aa"}, 0, 0, {"#.", "##"}},
      {"a winding path", {"abbb", "aaab", "bbab", "aaab"}, 0, 0, {"#...", "###.", "..#.", "###."}},
      {"outside the grid", {"aa", "aa"}, 2, 0, {"..", ".."}},
  };
  for (const Case& c : cases) {
    const int n = static_cast<int>(c.image.size());
    std::vector<uint8_t> want;
    for (const std::string& r : c.region)
      for (char ch : r) want.push_back(ch == '#');
    EXPECT_EQ(capture::region_of(colours_of(c.image), n, c.column, c.row), want) << c.what;
  }
  // The whole 64 x 64 image of one colour, from its last pixel.
  const std::vector<uint32_t> flat(64 * 64, 7);
  EXPECT_EQ(capture::region_of(flat, 64, 63, 63), std::vector<uint8_t>(64 * 64, 1));
}

TEST(MaskLogic, AreaClickSetsTheRegionToTheOppositeOfTheClickedPixel) {
  namespace im = fmt::icon_marks;
  const std::vector<uint32_t> image = colours_of({"aab", "abb", "bbb"});
  const std::vector<uint8_t> region = capture::region_of(image, 3, 0, 0);  // the three a's
  struct Case {
    const char* what;
    std::vector<int> markedBefore;  // cells as row * 64 + column
    int column, row;
    std::vector<int> markedAfter;
  };
  const Case cases[] = {
      {"nothing marked", {}, 0, 0, {0, 1, 64}},
      {"all marked", {0, 1, 64}, 1, 0, {}},
      {"clicked pixel marked one by one, the rest not", {1}, 1, 0, {}},
      {"clicked pixel unmarked, another marked", {64}, 0, 0, {0, 1, 64}},
      {"marks outside the region stay", {2, 130}, 0, 0, {0, 1, 2, 64, 130}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> marks(im::kGridCells, 0);
    for (int i : c.markedBefore) marks[i] = 1;
    capture::toggle_region(marks.data(), region, 3, c.column, c.row);
    std::vector<int> after;
    for (size_t i = 0; i < marks.size(); ++i)
      if (marks[i]) after.push_back(static_cast<int>(i));
    EXPECT_EQ(after, c.markedAfter) << c.what;
  }
}

TEST(MaskLogic, ControlsBesideTheView) {
  struct Case {
    int n, okY, listY;
  };
  // No offset for 16; 4 pixels higher for the other sizes.
  const Case cases[] = {{16, 23, 90}, {32, 115, 182}, {48, 211, 278}, {64, 307, 374}};
  for (const Case& c : cases) {
    const auto controls = capture::tool_controls(c.n);
    EXPECT_EQ(controls[0].y, c.okY) << c.n;
    EXPECT_EQ(controls[1].y - controls[0].y, 22) << c.n;
    EXPECT_EQ(controls[2].y - controls[1].y, 22) << c.n;
    EXPECT_EQ(controls[3].y, c.listY) << c.n;
    for (const auto& ctl : controls) EXPECT_EQ(ctl.x, 6 * c.n + 15) << c.n << " id " << ctl.id;
    EXPECT_EQ(capture::tool_window_width(c.n, 4), 6 * c.n + 108);
  }
}

// The grown tool window (N = 64: 492 x 451 with a 4-pixel frame and a base
// height of 67) is moved just far enough to lie inside the work area.
TEST(MaskLogic, GrownWindowIsMovedInsideTheWorkArea) {
  const int w = capture::tool_window_width(64, 4), h = capture::tool_window_height(64, 67);
  ASSERT_EQ(w, 492);
  ASSERT_EQ(h, 451);
  struct Area {
    int left, top, right, bottom;
  };
  struct Case {
    const char* what;
    int x, y;
    Area area;
    int expectX, expectY;
  };
  const Case cases[] = {
      {"inside: stays", 100, 120, {0, 0, 1024, 768}, 100, 120},
      {"at the right edge, as far as the program allows", 889, 100, {0, 0, 1024, 768}, 1024 - w, 100},
      {"near the bottom", 300, 685, {0, 0, 1024, 768}, 300, 768 - h},
      {"in the bottom-right corner", 889, 685, {0, 0, 1024, 768}, 532, 317},
      {"exactly fitting", 532, 317, {0, 0, 1024, 768}, 532, 317},
      {"a task bar at the bottom", 300, 685, {0, 0, 1024, 738}, 300, 738 - h},
      {"a task bar on the right", 889, 0, {0, 0, 964, 768}, 964 - w, 0},
      {"a task bar at the top keeps the caption below it", 10, 0, {0, 30, 1024, 768}, 10, 30},
      {"a task bar on the left", 0, 10, {60, 0, 1024, 768}, 60, 10},
      {"an area smaller than the window: the top-left corner wins", 200, 200, {0, 0, 400, 300}, 0, 0},
  };
  for (const Case& c : cases) {
    const capture::WindowPlace p = capture::keep_inside(c.x, c.y, w, h, c.area.left, c.area.top, c.area.right,
                                                        c.area.bottom);
    EXPECT_EQ(p.x, c.expectX) << c.what;
    EXPECT_EQ(p.y, c.expectY) << c.what;
  }
}

}  // namespace
