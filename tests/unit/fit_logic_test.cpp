#include "viewer/image/fit_logic.h"

#include <gtest/gtest.h>

#include <climits>

using viewer::fit_zoom_step;

// Scroll bars 17 wide; with a client of cw x ch the room is (cw - 17) x (ch - 17 - 21).
TEST(FitLogic, SmallestDivisorThatFits) {
  EXPECT_EQ(fit_zoom_step(100, 50, 800, 600, 17, 17), 0);
  EXPECT_EQ(fit_zoom_step(1000, 50, 417, 600, 17, 17), -2);   // room 400: 1000/2 too wide, 1000/3 fits
  EXPECT_EQ(fit_zoom_step(800, 50, 417, 600, 17, 17), -1);    // 800/2 = 400 fits exactly
  EXPECT_EQ(fit_zoom_step(802, 50, 417, 600, 17, 17), -2);  // 802/2 = 401
  EXPECT_EQ(fit_zoom_step(50, 1000, 800, 438, 17, 17), -2);   // room 400 high
  EXPECT_EQ(fit_zoom_step(801, 1300, 417, 438, 17, 17), -3);  // the larger divisor wins
  EXPECT_EQ(fit_zoom_step(4000, 10, 417, 600, 17, 17), -9);
  // An image that would need less than 1:10 opens at 1:10, the lowest ratio
  // Zoom Out offers: 6000 x 4000 in a small window asks for 1:21.
  EXPECT_EQ(fit_zoom_step(6000, 4000, 440, 300, 17, 17), viewer::kLowestZoomStep);
  EXPECT_EQ(fit_zoom_step(4400, 10, 417, 600, 17, 17), viewer::kLowestZoomStep);  // 1:11
  EXPECT_EQ(fit_zoom_step(40000, 10, 417, 600, 17, 17), viewer::kLowestZoomStep);
  EXPECT_EQ(fit_zoom_step(INT_MAX, INT_MAX, 18, 40, 17, 17), viewer::kLowestZoomStep);
}

TEST(FitLogic, NoRoomEndsAtTheLowestStep) {
  EXPECT_EQ(fit_zoom_step(10, 10, 17, 600, 17, 17), viewer::kLowestZoomStep);
  EXPECT_EQ(fit_zoom_step(10, 10, 800, 38, 17, 17), viewer::kLowestZoomStep);
  EXPECT_EQ(fit_zoom_step(10, 10, 0, 0, 17, 17), viewer::kLowestZoomStep);
  EXPECT_EQ(fit_zoom_step(10, 10, 18, 39, 17, 17), -5);  // one pixel of room: 10 / 6 = 1
}
