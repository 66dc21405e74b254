// Start-up rules of the viewer: where the task bar is, where the window
// goes, which displays are refused, the readme's name and the minimum size.
#include <gtest/gtest.h>

#include <string>

#include "viewer/app/startup_logic.h"

using namespace viewer;

namespace {
constexpr int kSw = 1024, kSh = 768;
}

// At most one offset: bottom wins over right, and bars on the left and the
// top at once leave nothing that can be trusted.
TEST(TaskbarOffsets, EachEdgeOfTheWorkArea) {
  struct Row {
    const char* what;
    Rect area;
    TaskbarOffsets want;
  };
  const Row rows[] = {
      {"bottom bar of 30 pixels", {0, 0, kSw, kSh - 30}, {0, 0, 0, 30}},
      {"right bar", {0, 0, kSw - 60, kSh}, {0, 60, 0, 0}},
      {"top bar", {0, 28, kSw, kSh}, {0, 0, 28, 0}},
      {"left bar", {70, 0, kSw, kSh}, {70, 0, 0, 0}},
      {"no bar", {0, 0, kSw, kSh}, {0, 0, 0, 0}},
      {"bottom and right", {0, 0, kSw - 60, kSh - 30}, {0, 0, 0, 30}},
      {"left and top", {70, 28, kSw, kSh}, {0, 0, 0, 0}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const TaskbarOffsets t = taskbar_offsets(r.area, kSw, kSh);
    EXPECT_EQ(t.left, r.want.left);
    EXPECT_EQ(t.right, r.want.right);
    EXPECT_EQ(t.top, r.want.top);
    EXPECT_EQ(t.bottom, r.want.bottom);
  }
}

// Centred in the space the bar leaves; a window larger than that space
// stays on the screen.
TEST(Placement, CentresInTheSpaceTheBarLeaves) {
  constexpr int w = kSw * 8 / 10, h = kSh * 8 / 10;  // 819 × 614
  constexpr Point start{(kSw - w) / 2, (kSh - h) / 2};
  struct Row {
    const char* what;
    Point from;
    int w, h;
    TaskbarOffsets bar;
    Point want;
  };
  const Row rows[] = {
      {"bottom: centred above the bar, x unchanged", start, w, h, {0, 0, 0, 40}, {start.x, (kSh - 40 - h) / 2}},
      {"right: centred left of the bar, y unchanged", start, w, h, {0, 100, 0, 0}, {(kSw - 100 - w) / 2, start.y}},
      {"top: centred in the free height", start, w, h, {0, 0, 30, 0}, {start.x, (kSh - 30 - h) / 2}},
      {"left: centred right of the bar", start, w, h, {50, 0, 0, 0}, {(kSw - 50 - w) / 2 + 50, start.y}},
      {"none: the plain centre", start, w, h, {}, {(kSw - w) / 2, start.y}},
      // A bar so large that the centre would be negative.
      {"too tall above a bottom bar", {5, 5}, 900, 700, {0, 0, 0, 200}, {5, 0}},
      {"too wide beside a right bar", {5, 5}, 900, 700, {0, 300, 0, 0}, {0, 5}},
      {"too tall below a top bar: not moved under it", {5, 5}, 900, 700, {0, 0, 200, 0}, {5, 200}},
      {"too wide beside a left bar", {5, 5}, 1000, 700, {300, 0, 0, 0}, {300, 5}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const Point p = place_window(r.from, r.w, r.h, kSw, kSh, r.bar);
    EXPECT_EQ(p.x, r.want.x);
    EXPECT_EQ(p.y, r.want.y);
  }
}

TEST(DisplayDepth, SixteenColoursOrFewerAreRefused) {
  // The sign of the depth does not matter.
  for (const int bits : {1, 4, -4, 0}) EXPECT_TRUE(display_too_shallow(bits)) << bits;
  for (const int bits : {8, 16, 24, 32}) EXPECT_FALSE(display_too_shallow(bits)) << bits;
}

TEST(MinimumSize, GrowsWithTheVisibleScrollBars) {
  const int sbh = 16, base = 47;
  EXPECT_EQ(minimum_window_size(sbh, base, false, false).w, 440);
  EXPECT_EQ(minimum_window_size(sbh, base, false, false).h, base);
  EXPECT_EQ(minimum_window_size(sbh, base, false, true).h, base + sbh);
  EXPECT_EQ(minimum_window_size(sbh, base, true, false).h, base + 2 * sbh);
  EXPECT_EQ(minimum_window_size(sbh, base, true, true).h, base + 3 * sbh);
}
