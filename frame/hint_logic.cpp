#include "frame/hint_logic.h"

namespace frame {

int hint_target(int x, int y, int cyBorder, int firstX, int count) {
  if (y < cyBorder || y > cyBorder + 19) return -1;
  const int lastX = firstX + 32 * count - 1;
  if (x < firstX || x > lastX) return 0;
  return (x - firstX) / 32 + 1;
}

HintBox hint_box(int buttonX, int cx, int extraWidth, int charHeight, int externalLeading, int cxBorder,
                 int cyBorder, int cyCaption) {
  HintBox b{};
  b.left = cxBorder + buttonX + 1;
  b.top = cyBorder + cyCaption + 32;
  b.right = b.left + cx + extraWidth + 5;
  b.bottom = cyBorder + cyCaption + externalLeading + charHeight + 38;
  if (b.right - b.left + 1 > kHintBufferWidth) b.right = b.left + kHintBufferWidth - 1;
  if (b.bottom - b.top + 1 > kHintBufferHeight) b.bottom = b.top + kHintBufferHeight - 1;
  if (b.right < b.left) b.right = b.left;
  if (b.bottom < b.top) b.bottom = b.top;
  return b;
}

}  // namespace frame
