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

}  // namespace
