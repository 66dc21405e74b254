// The icon form dialog's buttons and what each does to the pending form and
// the frame colour. Four groups of radio buttons that the dialog checks
// itself (none checks itself when clicked).
#pragma once
#include "capture/grab/form_logic.h"
#include "resources/capture/resource.h"

namespace capture {

enum FormControl {
  kSize16 = IDC_SIZE_16, kSize32 = IDC_SIZE_32, kSize48 = IDC_SIZE_48, kSize64 = IDC_SIZE_64,
  kColours16 = IDC_COLOURS_16, kColours256 = IDC_COLOURS_256,
  kErectButton = IDC_ERECT, kInvertedButton = IDC_INVERTED, kErectMirrorButton = IDC_ERECT_MIRROR,
  kInvertedMirrorButton = IDC_INVERTED_MIRROR,
  kFrameInvertedButton = IDC_FRAME_INVERTED, kFrameBlackButton = IDC_FRAME_BLACK, kFrameWhiteButton = IDC_FRAME_WHITE,
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
