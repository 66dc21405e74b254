// Start-up rules of the viewer: where the task bar is, where the window
// goes, which displays are refused, the readme's name and the minimum size.
#include <gtest/gtest.h>

#include <string>

#include "viewer/app/startup_logic.h"

using namespace viewer;

namespace {
constexpr int kSw = 1024, kSh = 768;
}

TEST(TaskbarOffsets, EachEdgeOfTheWorkArea) {
  // Bottom bar of 30 pixels.
  TaskbarOffsets t = taskbar_offsets({0, 0, kSw, kSh - 30}, kSw, kSh);
  EXPECT_EQ(t.bottom, 30);
  EXPECT_EQ(t.right + t.left + t.top, 0);
  // Right bar.
  t = taskbar_offsets({0, 0, kSw - 60, kSh}, kSw, kSh);
  EXPECT_EQ(t.right, 60);
  EXPECT_EQ(t.bottom + t.left + t.top, 0);
  // Top bar.
  t = taskbar_offsets({0, 28, kSw, kSh}, kSw, kSh);
  EXPECT_EQ(t.top, 28);
  EXPECT_EQ(t.bottom + t.left + t.right, 0);
  // Left bar.
  t = taskbar_offsets({70, 0, kSw, kSh}, kSw, kSh);
  EXPECT_EQ(t.left, 70);
  EXPECT_EQ(t.bottom + t.top + t.right, 0);
  // No bar.
  t = taskbar_offsets({0, 0, kSw, kSh}, kSw, kSh);
  EXPECT_EQ(t.left + t.right + t.top + t.bottom, 0);
}

TEST(TaskbarOffsets, AtMostOneOffsetAndBottomWinsOverRight) {
  TaskbarOffsets t = taskbar_offsets({0, 0, kSw - 60, kSh - 30}, kSw, kSh);
  EXPECT_EQ(t.bottom, 30);
  EXPECT_EQ(t.right, 0);
  // Bars on the left and the top at once: nothing can be trusted.
  t = taskbar_offsets({70, 28, kSw, kSh}, kSw, kSh);
  EXPECT_EQ(t.left + t.right + t.top + t.bottom, 0);
}

TEST(Placement, CentresInTheSpaceTheBarLeaves) {
  const int w = kSw * 8 / 10, h = kSh * 8 / 10;  // 819 × 614
  const Point start{(kSw - w) / 2, (kSh - h) / 2};
  // Bottom: vertically centred above the bar, x unchanged.
  Point p = place_window(start, w, h, kSw, kSh, {0, 0, 0, 40});
  EXPECT_EQ(p.x, start.x);
  EXPECT_EQ(p.y, (kSh - 40 - h) / 2);
  // Right: horizontally centred left of the bar, y unchanged.
  p = place_window(start, w, h, kSw, kSh, {0, 100, 0, 0});
  EXPECT_EQ(p.x, (kSw - 100 - w) / 2);
  EXPECT_EQ(p.y, start.y);
  // Top: centred in the free height but not moved below the bar.
  p = place_window(start, w, h, kSw, kSh, {0, 0, 30, 0});
  EXPECT_EQ(p.y, (kSh - 30 - h) / 2);
  EXPECT_EQ(p.x, start.x);
  // Left: centred right of the bar.
  p = place_window(start, w, h, kSw, kSh, {50, 0, 0, 0});
  EXPECT_EQ(p.x, (kSw - 50 - w) / 2 + 50);
  EXPECT_EQ(p.y, start.y);
  // None: the plain centre.
  p = place_window(start, w, h, kSw, kSh, {});
  EXPECT_EQ(p.x, (kSw - w) / 2);
}

TEST(Placement, WindowsLargerThanTheFreeSpaceStayOnScreen) {
  // A bar so large that the centre would be negative.
  Point p = place_window({5, 5}, 900, 700, kSw, kSh, {0, 0, 0, 200});
  EXPECT_EQ(p.y, 0);
  p = place_window({5, 5}, 900, 700, kSw, kSh, {0, 300, 0, 0});
  EXPECT_EQ(p.x, 0);
  p = place_window({5, 5}, 900, 700, kSw, kSh, {0, 0, 200, 0});
  EXPECT_EQ(p.y, 200);
  p = place_window({5, 5}, 1000, 700, kSw, kSh, {300, 0, 0, 0});
  EXPECT_EQ(p.x, 300);
}

TEST(DisplayDepth, SixteenColoursOrFewerAreRefused) {
  EXPECT_TRUE(display_too_shallow(1));
  EXPECT_TRUE(display_too_shallow(4));
  EXPECT_TRUE(display_too_shallow(-4));  // the sign of the depth does not matter
  EXPECT_TRUE(display_too_shallow(0));
  EXPECT_FALSE(display_too_shallow(8));
  EXPECT_FALSE(display_too_shallow(16));
  EXPECT_FALSE(display_too_shallow(24));
  EXPECT_FALSE(display_too_shallow(32));
}

TEST(MinimumSize, GrowsWithTheVisibleScrollBars) {
  const int sbh = 16, base = 47;
  EXPECT_EQ(minimum_window_size(sbh, base, false, false).w, 440);
  EXPECT_EQ(minimum_window_size(sbh, base, false, false).h, base);
  EXPECT_EQ(minimum_window_size(sbh, base, false, true).h, base + sbh);
  EXPECT_EQ(minimum_window_size(sbh, base, true, false).h, base + 2 * sbh);
  EXPECT_EQ(minimum_window_size(sbh, base, true, true).h, base + 3 * sbh);
}
