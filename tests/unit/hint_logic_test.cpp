#include "frame/hint_logic.h"

#include <gtest/gtest.h>

using namespace frame;

namespace {
// The viewer's strip: thirteen hinted buttons from x 16 to 431.
int target(int x, int y) { return hint_target(x, y, 1, 16, 13); }
}  // namespace

TEST(HintTarget, ButtonsAreThirtyTwoPixelsFromTheFirstOn) {
  EXPECT_EQ(target(16, 5), 1);
  EXPECT_EQ(target(47, 5), 1);
  EXPECT_EQ(target(48, 5), 2);
  EXPECT_EQ(target(240, 5), 8);  // Save Image
  EXPECT_EQ(target(239, 5), 7);  // Copy
  EXPECT_EQ(target(400, 5), 13);
  EXPECT_EQ(target(431, 5), 13);
}

TEST(HintTarget, FillersAtBothEndsAndEverythingOffTheStripHaveNoHint) {
  EXPECT_EQ(target(15, 5), 0);
  EXPECT_EQ(target(0, 5), 0);
  EXPECT_EQ(target(-3, 5), 0);
  EXPECT_EQ(target(432, 5), 0);
  EXPECT_EQ(target(1000, 5), 0);
  // The strip runs from the border height down 20 rows.
  EXPECT_EQ(target(100, 1), 3);
  EXPECT_EQ(target(100, 20), 3);
  EXPECT_EQ(target(100, 0), -1);
  EXPECT_EQ(target(100, 21), -1);
  EXPECT_EQ(target(100, -40), -1);  // on the caption
  EXPECT_EQ(target(5, 300), -1);
  EXPECT_EQ(hint_target(100, 2, 3, 16, 13), -1);
  EXPECT_EQ(hint_target(100, 22, 3, 16, 13), 3);
  // The capture program's shorter strip ends earlier.
  EXPECT_EQ(hint_target(16 + 32 * 5, 5, 1, 16, 5), 0);
  EXPECT_EQ(hint_target(16 + 32 * 5 - 1, 5, 1, 16, 5), 5);
}

TEST(HintBox, SitsBelowTheButtonAndFitsTheText) {
  // Paste (x 80), text 30 wide, 12-pixel font, borders 1, caption 19.
  const HintBox b = hint_box(80, 30, 2, 12, 0, 1, 1, 19);
  EXPECT_EQ(b.left, 82);
  EXPECT_EQ(b.top, 52);
  EXPECT_EQ(b.right, 82 + 30 + 2 + 5);
  EXPECT_EQ(b.bottom, 1 + 19 + 0 + 12 + 38);
  // External leading and thicker borders push it down and right.
  const HintBox c = hint_box(16, 40, 1, 14, 2, 2, 3, 18);
  EXPECT_EQ(c.left, 19);
  EXPECT_EQ(c.top, 53);
  EXPECT_EQ(c.right, 19 + 40 + 1 + 5);
  EXPECT_EQ(c.bottom, 3 + 18 + 2 + 14 + 38);
}

TEST(HintBox, NeverOutgrowsTheSavedPixels) {
  // Both edges belong to the box: at most 130 x 30 pixels.
  const HintBox wide = hint_box(400, 500, 2, 12, 0, 1, 1, 19);
  EXPECT_EQ(wide.right - wide.left + 1, kHintBufferWidth);
  const HintBox tall = hint_box(16, 20, 2, 60, 4, 1, 1, 19);
  EXPECT_EQ(tall.bottom - tall.top + 1, kHintBufferHeight);
  EXPECT_EQ(tall.right, tall.left + 20 + 2 + 5);
  // The largest box that fits is kept whole.
  const HintBox exact = hint_box(16, 130 - 8, 2, 23, 0, 1, 1, 19);
  EXPECT_EQ(exact.right - exact.left + 1, 130);
  EXPECT_EQ(exact.bottom - exact.top + 1, 30);
  // A nonsensical negative extent still leaves a box inside the buffer.
  const HintBox neg = hint_box(16, -100, 0, -50, 0, 1, 1, 19);
  EXPECT_GE(neg.right, neg.left);
  EXPECT_GE(neg.bottom, neg.top);
}
