// Where the tool bar hints go: which button the cursor is over and the box
// drawn under it, in window coordinates.
#pragma once

namespace frame {

constexpr int kHintBufferWidth = 130;
constexpr int kHintBufferHeight = 30;

// Hint target for a cursor at (x, y) in client coordinates: −1 off the strip,
// 0 over a filler at either end, n ≥ 1 over the n-th hinted button. Buttons
// are 32 pixels wide from firstX on, count of them.
int hint_target(int x, int y, int cyBorder, int firstX, int count);

struct HintBox {
  int left, top, right, bottom;  // both edges inside the box
};
// The box under the button at buttonX, clipped so that it fits the saved-pixel
// buffer however large the font makes the text.
HintBox hint_box(int buttonX, int textWidth, int extraWidth, int charHeight, int externalLeading, int cxBorder,
                 int cyBorder, int cyCaption);

}  // namespace frame
