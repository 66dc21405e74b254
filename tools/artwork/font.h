// Bitmap fonts typed as pixel art ('#' is ink), holding just the letters the
// pictures spell. A missing letter stops the build rather than leaving a gap.
#pragma once
#include <functional>
#include <map>
#include <string_view>

#include "tools/artwork/canvas.h"

namespace art {

struct Font {
  int height = 0;   // rows of every glyph, descenders included
  int spacing = 1;  // blank columns between letters
  int space_width = 3;
  std::map<char, PixelArt> glyphs;
};

// A bold face of 11 rows for the program name.
const Font& title_font();
// A 5 x 7 face with two descender rows for captions.
const Font& small_font();

int text_width(const Font& font, std::string_view text, int scale);
// Calls ink(x, y) for every inked pixel of the text, scaled, with the top
// left of the first letter at (0, 0).
void render_text(const Font& font, std::string_view text, int scale,
                 const std::function<void(int, int)>& ink);

}  // namespace art
