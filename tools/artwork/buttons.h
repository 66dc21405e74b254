// Tool bar buttons: one glyph drawn into the frame of one of four visual sets
// (the look of Windows 95, 98, 2000 and XP) in one of three states. Both
// programs' strips are made from these; each program lists its own buttons.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "tools/artwork/canvas.h"

namespace art {

enum class Era { Win95, Win98, Win2000, WinXP };
enum class ButtonState { Up, Down, Disabled };

struct ButtonSet {
  Era era;
  const char* suffix;  // in the bitmap names: "", "9", "8", "X"
};
const std::array<ButtonSet, 4>& button_sets();
const std::array<ButtonState, 3>& button_states();
const char* state_suffix(ButtonState state);  // "Up", "Dn", "In"

// One button of a strip. Fillers (the strip's ends) have no glyph.
struct ButtonSpec {
  std::string base;  // "Open"
  int width = 32;
  const PixelArt* glyph = nullptr;
  // Drawn instead of the glyph's own dark pixels in the disabled state, for
  // glyphs whose colours would fuse into one shape there.
  const PixelArt* disabled_glyph = nullptr;
};
constexpr int kButtonHeight = 20;

// The bitmap's resource and file name: base + set suffix + state suffix.
std::string button_name(const ButtonSpec& button, const ButtonSet& set, ButtonState state);

// The 16-colour picture of a button; glyph colours come from vga_legend()
// and are matched into the set's palette.
Canvas draw_button(const ButtonSpec& button, Era era, ButtonState state);

// The viewer's strip, left to right: Gap, the thirteen commands, Space.
const std::vector<ButtonSpec>& viewer_buttons();
// The capture program's strip: Gap, Form, Icon, About (the viewer's), Space.
const std::vector<ButtonSpec>& capture_buttons();

}  // namespace art
