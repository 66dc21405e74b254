#include "frame/hint_logic.h"

#include <gtest/gtest.h>

using namespace frame;

// The viewer's strip: thirteen hinted buttons from x 16 to 431, 32 pixels
// each, in the 20 rows below the border. The capture program's shorter strip
// ends earlier, and its hints stop one row higher. Fillers at both ends have
// no hint (0); off the strip there is none at all (-1).
TEST(HintTarget, ButtonsAreThirtyTwoPixelsFromTheFirstOn) {
  struct Row {
    int x, y, border, count, lastRow, want;
  };
  const Row rows[] = {
      {16, 5, 1, 13, 20, 1},   {47, 5, 1, 13, 20, 1},    {48, 5, 1, 13, 20, 2},
      {240, 5, 1, 13, 20, 8},  // Save Image
      {239, 5, 1, 13, 20, 7},  // Copy
      {400, 5, 1, 13, 20, 13}, {431, 5, 1, 13, 20, 13},  {15, 5, 1, 13, 20, 0},
      {0, 5, 1, 13, 20, 0},    {-3, 5, 1, 13, 20, 0},    {432, 5, 1, 13, 20, 0},
      {1000, 5, 1, 13, 20, 0}, {100, 1, 1, 13, 20, 3},   {100, 20, 1, 13, 20, 3},
      {100, 0, 1, 13, 20, -1}, {100, 21, 1, 13, 20, -1}, {100, -40, 1, 13, 20, -1},  // on the caption
      {5, 300, 1, 13, 20, -1}, {100, 2, 3, 13, 20, -1},  {100, 22, 3, 13, 20, 3},
      {16 + 32 * 3, 5, 1, 3, 19, 0}, {16 + 32 * 3 - 1, 5, 1, 3, 19, 3}, {50, 19, 1, 3, 19, 2},
      {50, 20, 1, 3, 19, -1},  {50, 0, 1, 3, 19, -1},
  };
  for (const Row& r : rows)
    EXPECT_EQ(hint_target(r.x, r.y, r.border, 16, r.count, r.lastRow), r.want)
        << r.x << "," << r.y << " border " << r.border << ", " << r.count << " buttons";
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

TEST(HintBox, AboveTheToolBarEndsOverTheMenuBar) {
  struct Case {
    int buttonX, textWidth, extraWidth, charHeight, leading, cxBorder, cyBorder, cyCaption, cyMenu, uiStyle;
    HintBox expect;
  };
  const Case cases[] = {
      // Form (x 16), 14-pixel font: bottom at 1 + 19 + 19 + 2, 20 rows up.
      {16, 24, 2, 14, 0, 1, 1, 19, 19, 3, {18, 21, 18 + 24 + 2 + 5, 41}},
      // Styles above 5 have taller frames: 3 pixels lower.
      {48, 20, 2, 14, 0, 1, 1, 19, 19, 6, {50, 24, 50 + 20 + 2 + 5, 44}},
      {48, 20, 2, 14, 0, 1, 1, 19, 19, 5, {50, 21, 50 + 20 + 2 + 5, 41}},
      // External leading makes it taller upwards; the bottom stays.
      {80, 30, 1, 12, 3, 2, 2, 18, 20, 7, {83, 45 - 21, 83 + 30 + 1 + 5, 2 + 18 + 20 + 2 + 3}},
      // A font taller than the buffer keeps the bottom edge and loses the top.
      {16, 20, 2, 60, 0, 1, 1, 19, 19, 3, {18, 41 - 29, 18 + 20 + 2 + 5, 41}},
      // Too wide a text is cut at the buffer's width.
      {80, 500, 2, 14, 0, 1, 1, 19, 19, 3, {82, 21, 82 + 129, 41}},
  };
  for (const Case& c : cases) {
    const HintBox b = hint_box_above(c.buttonX, c.textWidth, c.extraWidth, c.charHeight, c.leading, c.cxBorder,
                                     c.cyBorder, c.cyCaption, c.cyMenu, c.uiStyle);
    EXPECT_EQ(b.left, c.expect.left) << c.buttonX;
    EXPECT_EQ(b.top, c.expect.top) << c.buttonX;
    EXPECT_EQ(b.right, c.expect.right) << c.buttonX;
    EXPECT_EQ(b.bottom, c.expect.bottom) << c.buttonX;
    EXPECT_LE(b.bottom - b.top + 1, kHintBufferHeight);
    EXPECT_LE(b.right - b.left + 1, kHintBufferWidth);
  }
}
