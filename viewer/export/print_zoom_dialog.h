// The print zoom dialog: how large the image prints, 20 to 100 per cent.
#pragma once
#include <windows.h>
#include "resources/viewer/resource.h"

namespace viewer {

// Kept for the whole run; every run starts at 100.
extern int printZoomPercent;

// Control ids of PRINTZOOM_DLG and PRINTZOOM_DLG_J.
constexpr int kPrintZoomSliderId = IDC_PRINT_ZOOM_SLIDER;
constexpr int kPrintZoomValueId = IDC_PRINT_ZOOM_VALUE;
constexpr int kPrintZoomOkId = IDC_PRINT_ZOOM_OK;
constexpr int kPrintZoomCancelId = IDC_PRINT_ZOOM_CANCEL;

// Shows the dialog modally; 1 once it has been shown (whichever way it was
// closed), 0 when it could not be shown (with the message said).
int print_zoom_dialog(HWND owner);

}  // namespace viewer
