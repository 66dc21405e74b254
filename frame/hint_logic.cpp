#include "frame/hint_logic.h"

namespace frame {

namespace {
// Keeps the box within the saved-pixel buffer: a box that would grow too wide
// loses its right part; one too tall loses the edge away from the anchor.
HintBox fit(HintBox b, bool anchoredAtBottom) {
  if (b.right - b.left + 1 > kHintBufferWidth) b.right = b.left + kHintBufferWidth - 1;
  if (b.right < b.left) b.right = b.left;
  if (anchoredAtBottom) {
    if (b.bottom - b.top + 1 > kHintBufferHeight) b.top = b.bottom - kHintBufferHeight + 1;
    if (b.top > b.bottom) b.top = b.bottom;
  } else {
    if (b.bottom - b.top + 1 > kHintBufferHeight) b.bottom = b.top + kHintBufferHeight - 1;
    if (b.bottom < b.top) b.bottom = b.top;
  }
  return b;
}
}  // namespace

int hint_target(int x, int y, int cyBorder, int firstX, int count, int rows) {
  if (y < cyBorder || y > cyBorder + rows - 1) return -1;
  const int lastX = firstX + kButtonWidth * count - 1;
  if (x < firstX || x > lastX) return 0;
  return (x - firstX) / kButtonWidth + 1;
}

HintBox hint_box(int buttonX, int cx, int extraWidth, int charHeight, int externalLeading, int cxBorder,
                 int cyBorder, int cyCaption) {
  HintBox b{};
  b.left = cxBorder + buttonX + 1;
  b.top = cyBorder + cyCaption + 32;
  b.right = b.left + cx + extraWidth + 5;
  b.bottom = cyBorder + cyCaption + externalLeading + charHeight + 38;
  return fit(b, false);
}

HintBox hint_box_above(int buttonX, int cx, int extraWidth, int charHeight, int externalLeading, int cxBorder,
                       int cyBorder, int cyCaption, int cyMenu, int uiStyle) {
  HintBox b{};
  b.left = cxBorder + buttonX + 1;
  b.right = b.left + cx + extraWidth + 5;
  b.bottom = cyBorder + cyCaption + cyMenu + 2 + (uiStyle > 5 ? 3 : 0);
  b.top = b.bottom - (charHeight + externalLeading + 6);
  return fit(b, true);
}

}  // namespace frame
