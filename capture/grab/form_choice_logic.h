// The icon form dialog's buttons and what each does to the pending form and
// the frame colour. Four groups of radio buttons that the dialog checks
// itself (none checks itself when clicked).
#pragma once
#include "capture/grab/form_logic.h"

namespace capture {

enum FormControl {
  kSize16 = 113, kSize32 = 114, kSize48 = 115, kSize64 = 116,
  kColours16 = 117, kColours256 = 118,
  kErectButton = 119, kInvertedButton = 120, kErectMirrorButton = 121, kInvertedMirrorButton = 122,
  kFrameInvertedButton = 127, kFrameBlackButton = 128, kFrameWhiteButton = 129,
};

struct ButtonGroup {
  int first, last;
};
// The group a control belongs to ({0, 0} for none).
ButtonGroup group_of(int control);

// The buttons checked when the dialog opens on this form and frame colour.
struct CheckedButtons {
  int size, colours, orientation, frame;
};
CheckedButtons checked_for(const IconForm& form, int frameColour);

// A click on control: changes the pending form (derived fields recomputed)
// or the frame colour and returns the button to check, or 0 when nothing
// changes (256 colours refused on a display of 4 bits or fewer, or a control
// outside the groups).
int apply_choice(int control, IconForm& pending, int& frameColour, bool refuse256);

// 256 colours cannot be chosen on a display of this depth.
bool refuses_256_colours(int displayBitsPerPixel);

}  // namespace capture
