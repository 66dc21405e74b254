#include "capture/grab/form_choice_logic.h"

namespace capture {

ButtonGroup group_of(int c) {
  if (c >= kSize16 && c <= kSize64) return {kSize16, kSize64};
  if (c == kColours16 || c == kColours256) return {kColours16, kColours256};
  if (c >= kErectButton && c <= kInvertedMirrorButton) return {kErectButton, kInvertedMirrorButton};
  if (c >= kFrameInvertedButton && c <= kFrameWhiteButton) return {kFrameInvertedButton, kFrameWhiteButton};
  return {0, 0};
}

CheckedButtons checked_for(const IconForm& form, int frameColour) {
  CheckedButtons b{};
  b.size = form.size == 16 ? kSize16 : form.size == 32 ? kSize32 : form.size == 48 ? kSize48 : kSize64;
  b.colours = form.colourCount == 16 ? kColours16 : kColours256;
  b.orientation = form.orientation >= 0 && form.orientation <= 2 ? kErectButton + form.orientation
                                                                  : kInvertedMirrorButton;
  b.frame = frameColour == 0 ? kFrameInvertedButton : frameColour == 1 ? kFrameBlackButton : kFrameWhiteButton;
  return b;
}

int apply_choice(int control, IconForm& pending, int& frameColour, bool refuse256) {
  switch (group_of(control).first) {
    case kSize16:
      pending.size = 16 * (control - kSize16 + 1);
      recompute_form(pending);
      return control;
    case kColours16:
      if (control == kColours256 && refuse256) return 0;
      pending.colourCount = control == kColours16 ? 16 : 256;
      recompute_form(pending);
      return control;
    case kErectButton:
      pending.orientation = control - kErectButton;
      return control;
    case kFrameInvertedButton:
      frameColour = control - kFrameInvertedButton;
      return control;
    default:
      return 0;
  }
}

bool refuses_256_colours(int bits) { return bits <= 4; }

}  // namespace capture
