// Where the tool bar hints go: which button the cursor is over and the box
// drawn for it, in window coordinates.
#pragma once

namespace frame {

constexpr int kButtonHeight = 20;  // every tool bar button, filler or not
constexpr int kButtonWidth = 32;   // every hinted button; hints are found by it
constexpr int kHintBufferWidth = 130;
constexpr int kHintBufferHeight = 30;

// Hint target for a cursor at (x, y) in client coordinates: −1 off the strip,
// 0 over a filler at either end, n ≥ 1 over the n-th hinted button. Buttons
// are 32 pixels wide from firstX on, count of them; the strip's hinted rows
// run from cyBorder down `rows` rows.
int hint_target(int x, int y, int cyBorder, int firstX, int count, int rows = kButtonHeight);

struct HintBox {
  int left, top, right, bottom;  // both edges inside the box
};
// The box under the tool bar for the button at buttonX, clipped so that it
// fits the saved-pixel buffer however large the font makes the text.
HintBox hint_box(int buttonX, int textWidth, int extraWidth, int charHeight, int externalLeading, int cxBorder,
                 int cyBorder, int cyCaption);
// The same box laid above the tool bar, over the menu bar, with its bottom edge
// cyBorder + cyCaption + cyMenu + 2 (3 pixels lower for UiStyle above 5, whose
// frames are taller).
HintBox hint_box_above(int buttonX, int textWidth, int extraWidth, int charHeight, int externalLeading,
                       int cxBorder, int cyBorder, int cyCaption, int cyMenu, int uiStyle);

}  // namespace frame
