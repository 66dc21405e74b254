// Page geometry of a print and the print zoom slider's rule. Pure functions,
// tested natively.
#pragma once

#include "viewer/app/view_logic.h"

namespace viewer {

constexpr int kPrintZoomMin = 20;
constexpr int kPrintZoomMax = 100;

// What the printer's device context reports.
struct PrinterPage {
  int horzSizeMm, vertSizeMm;  // HORZSIZE, VERTSIZE
  int dpiX, dpiY;              // LOGPIXELSX, LOGPIXELSY
};

// Where the image goes, in device pixels from the printable area's top left
// corner.
struct PrintPlacement {
  int x, y, width, height;
};

// The image's size as the view shows it. An axis reduced below one pixel
// counts as one, so that the proportions below never divide by zero.
Extent printed_source_size(int imageW, int imageH, int zoomStep);

// The box is percent of 80 per cent of the printable area; the image keeps
// the proportions of displayed and fills the box's width or height.
PrintPlacement print_placement(Extent displayed, const PrinterPage& page, int percent);

int clamp_print_zoom(int percent);
// The print zoom after a slider action: lines move by 1, pages by 10, the
// thumb sets it; the result stays within 20 … 100.
int print_zoom_after(int percent, ScrollCode code, int thumb);

}  // namespace viewer
