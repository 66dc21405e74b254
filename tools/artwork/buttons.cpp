#include "tools/artwork/buttons.h"

namespace art {

namespace {

// Palettes. The classic sets keep the VGA colours the glyphs are typed in;
// the later looks trade the colours no glyph uses (purple, teal and, for XP,
// navy and silver, which fall back to the nearest frame colours) for their
// own face and frame shades.
namespace slot {
constexpr uint8_t Light98 = 5, Face2000 = 7, DarkShadow2000 = 6;
constexpr uint8_t XpBorder = 4, XpFaceMid = 5, XpShade = 6, XpBack = 7;
}  // namespace slot

std::vector<Rgb> palette_for(Era era) {
  std::vector<Rgb> p = vga_palette();
  switch (era) {
    case Era::Win95:
      break;
    case Era::Win98:
      p[slot::Light98] = {223, 223, 223};  // the 3-D light line inside the highlight
      break;
    case Era::Win2000:
      p[slot::Face2000] = {212, 208, 200};
      p[slot::DarkShadow2000] = {64, 64, 64};
      break;
    case Era::WinXP:
      p[slot::XpBorder] = {0, 60, 116};
      p[slot::XpFaceMid] = {244, 243, 238};
      p[slot::XpShade] = {214, 208, 197};
      p[slot::XpBack] = {236, 233, 216};
      break;
  }
  return p;
}

uint8_t face_of(Era era) { return era == Era::WinXP ? slot::XpFaceMid : vga::Silver; }

// Two-line bevel: outer and inner lines of the top-left and bottom-right
// sides, drawn so the bottom-right lines own the corners they share.
void bevel(Canvas& c, uint8_t tl_outer, uint8_t tl_inner, uint8_t br_outer, uint8_t br_inner) {
  const int r = c.width() - 1, b = c.height() - 1;
  c.hline(0, r, 0, tl_outer);
  c.vline(0, 0, b, tl_outer);
  c.hline(1, r - 1, 1, tl_inner);
  c.vline(1, 1, b - 1, tl_inner);
  c.hline(0, r, b, br_outer);
  c.vline(r, 0, b, br_outer);
  c.hline(1, r - 1, b - 1, br_inner);
  c.vline(r - 1, 1, b - 1, br_inner);
}

void classic_frame(Canvas& c, Era era, bool pressed) {
  c.fill_rect(0, 0, c.width(), c.height(), vga::Silver);
  const uint8_t light = era == Era::Win98 ? slot::Light98 : vga::Silver;
  if (era == Era::Win95) {
    // Windows 95: a white highlight right at the edge, black and grey below.
    if (pressed)
      bevel(c, vga::Black, vga::Grey, vga::White, vga::Silver);
    else
      bevel(c, vga::White, vga::Silver, vga::Black, vga::Grey);
  } else {
    // Windows 98: a light line outside the white one softens the top edge.
    if (pressed)
      bevel(c, vga::Grey, vga::Black, vga::White, light);
    else
      bevel(c, light, vga::White, vga::Black, vga::Grey);
  }
}

// Windows 2000: the flatter single-line edge, with a dark line only below.
void frame_2000(Canvas& c, bool pressed) {
  c.fill_rect(0, 0, c.width(), c.height(), slot::Face2000);
  const int r = c.width() - 1, b = c.height() - 1;
  const uint8_t tl = pressed ? vga::Grey : vga::White;
  const uint8_t br = pressed ? vga::White : slot::DarkShadow2000;
  c.hline(0, r, 0, tl);
  c.vline(0, 0, b, tl);
  c.hline(0, r, b, br);
  c.vline(r, 0, b, br);
  if (!pressed) {
    c.hline(1, r - 1, b - 1, vga::Grey);
    c.vline(r - 1, 1, b - 1, vga::Grey);
  }
}

// Windows XP: a rounded dark-blue border around a face that is white at the
// top and darkens toward the bottom (reversed while pressed); the cut
// corners show the tool bar's beige.
void frame_xp(Canvas& c, ButtonState state) {
  const int w = c.width(), h = c.height(), r = w - 1, b = h - 1;
  c.fill_rect(0, 0, w, h, slot::XpBack);
  for (int y = 1; y < b; ++y) {
    uint8_t face = slot::XpFaceMid;
    if (state == ButtonState::Up) {
      if (y <= 4) face = vga::White;
      else if (y >= b - 2) face = slot::XpShade;
      else if (y >= b - 5) face = slot::XpBack;
    } else if (state == ButtonState::Down) {
      face = y <= 2 ? slot::XpShade : y >= b - 3 ? slot::XpFaceMid : slot::XpBack;
    }
    c.hline(1, r - 1, y, face);
  }
  const uint8_t edge = state == ButtonState::Disabled ? slot::XpShade : slot::XpBorder;
  c.hline(2, r - 2, 0, edge);
  c.hline(2, r - 2, b, edge);
  c.vline(0, 2, b - 2, edge);
  c.vline(r, 2, b - 2, edge);
  // Rounded corners: one diagonal step, softened by a grey pixel each side.
  const uint8_t soft = state == ButtonState::Disabled ? slot::XpShade : vga::Grey;
  for (const auto [cx, cy, dx, dy] : {std::array{0, 0, 1, 1}, std::array{r, 0, -1, 1},
                                      std::array{0, b, 1, -1}, std::array{r, b, -1, -1}}) {
    c.set(cx + dx, cy + dy, edge);
    c.set(cx + dx, cy, soft);
    c.set(cx, cy + dy, soft);
  }
  if (state == ButtonState::Up) {
    // The soft inner glow along the left and right of an XP button.
    c.vline(r - 1, 2, b - 1, slot::XpShade);
  }
}

void draw_frame(Canvas& c, Era era, ButtonState state) {
  const bool pressed = state == ButtonState::Down;
  switch (era) {
    case Era::Win95:
    case Era::Win98: classic_frame(c, era, pressed); break;
    case Era::Win2000: frame_2000(c, pressed); break;
    case Era::WinXP: frame_xp(c, state); break;
  }
}

// Fillers carry no glyph. On XP the left one shows the dotted grip of a
// tool bar band; the others are the set's plain raised (or pressed) strip.
void draw_filler(Canvas& c, const ButtonSpec& button, Era era, ButtonState state) {
  if (era != Era::WinXP) {
    draw_frame(c, era, state);
    return;
  }
  const int w = c.width(), h = c.height();
  c.fill_rect(0, 0, w, h, slot::XpBack);
  c.hline(0, w - 1, h - 1, slot::XpShade);
  c.hline(0, w - 1, 0, vga::White);
  if (button.width < 100) {
    for (int y = 4; y <= h - 6; y += 4) {
      c.set(6, y, slot::XpShade);
      c.set(7, y + 1, vga::White);
      c.set(6, y + 1, vga::Grey);
    }
  }
}

// The classic disabled look: the glyph's darker pixels become a grey shape
// with a white copy one pixel down and right; its light pixels vanish into
// the face, as they would when the glyph is reduced to one colour.
// A glyph's own disabled picture counts every pixel it sets.
void draw_embossed(Canvas& c, const PixelArt& glyph, bool own_picture, int x, int y) {
  auto dark = [&](int gx, int gy) {
    return !glyph.clear(gx, gy) &&
           (own_picture || luminance(vga_legend().colour(glyph.at(gx, gy))) < 160);
  };
  for (int pass = 0; pass < 2; ++pass)
    for (int gy = 0; gy < glyph.height; ++gy)
      for (int gx = 0; gx < glyph.width; ++gx)
        if (dark(gx, gy)) {
          if (pass == 0) c.set(x + gx + 1, y + gy + 1, vga::White);
          else c.set(x + gx, y + gy, vga::Grey);
        }
}

}  // namespace

const std::array<ButtonSet, 4>& button_sets() {
  static const std::array<ButtonSet, 4> sets = {
      ButtonSet{Era::Win95, ""}, ButtonSet{Era::Win98, "9"}, ButtonSet{Era::Win2000, "8"},
      ButtonSet{Era::WinXP, "X"}};
  return sets;
}

const std::array<ButtonState, 3>& button_states() {
  static const std::array<ButtonState, 3> states = {ButtonState::Up, ButtonState::Down,
                                                    ButtonState::Disabled};
  return states;
}

const char* state_suffix(ButtonState state) {
  switch (state) {
    case ButtonState::Up: return "Up";
    case ButtonState::Down: return "Dn";
    case ButtonState::Disabled: return "In";
  }
  return "";
}

std::string button_name(const ButtonSpec& button, const ButtonSet& set, ButtonState state) {
  return button.base + set.suffix + state_suffix(state);
}

Canvas draw_button(const ButtonSpec& button, Era era, ButtonState state) {
  Canvas c(button.width, kButtonHeight, palette_for(era), face_of(era));
  if (!button.glyph) {
    draw_filler(c, button, era, state);
    return c;
  }
  draw_frame(c, era, state);
  const PixelArt& glyph = *button.glyph;
  const int x = (button.width - glyph.width) / 2;
  const int y = (kButtonHeight - glyph.height) / 2;
  if (state == ButtonState::Disabled && button.disabled_glyph)
    draw_embossed(c, *button.disabled_glyph, true, x, y);
  else if (state == ButtonState::Disabled)
    draw_embossed(c, glyph, false, x, y);
  else if (state == ButtonState::Down)
    draw_art(c, glyph, x + 1, y + 1, vga_legend());  // the pressed glyph sinks with the face
  else
    draw_art(c, glyph, x, y, vga_legend());
  return c;
}

}  // namespace art
