// The OS family decides the tool bar's bitmap set and the hint font. These
// rules need no window system, so they are kept here and tested natively.
#pragma once

namespace frame {

// UiStyle from the NT "CurrentVersion" text (first match wins).
int style_from_nt_version(const char* currentVersion);
// UiStyle from the 9x "ProductName" text.
int style_from_product_name(const char* productName);
// Set suffix of the button bitmaps: "9", "8", "X" or "".
const char* bitmap_set_suffix(int uiStyle);

// The font of the hints drawn under the tool bar.
struct HintFont {
  int height;
  int charset;      // SHIFTJIS_CHARSET (128) or OEM_CHARSET (255)
  const char* face;
  int extraWidth;
  int offsetX;
  int offsetY;
};
HintFont hint_font(bool japaneseUi, int uiStyle);

}  // namespace frame
