// The colour in which icon pixels marked by the AND mask are shown, chosen
// by the user in a small dialog and kept for the run.
#pragma once
#include <windows.h>
#include "resources/viewer/resource.h"

namespace viewer {

extern COLORREF maskColour;   // 0x00BBGGRR, dark cyan at start
extern int maskColourIndex;   // its position in the dialog's list

constexpr int kColourListId = IDC_COLOUR_LIST;

// Shows the dialog modally. Cancel and the close box put back the colour
// that was chosen before it opened.
void choose_mask_colour(HWND owner);

}  // namespace viewer
