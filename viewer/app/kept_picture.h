// The reduced picture the view keeps between paints. At reduced ratios a
// direct paint costs the part of the image it shrinks, which for a large
// image is far more than the screen it fills; the kept picture holds what the
// same StretchDIBits drew, so that repaints only copy screen pixels.
#pragma once
#include <windows.h>

namespace viewer {

// Paints the update rectangle of the view from the kept picture, drawing the
// tiles it needs first. The picture's top-left corner is at (originX,
// originY) in client coordinates. False when no picture is kept for this view
// (not reduced, too large, no memory for it, or the view's first paint):
// the caller paints directly.
bool paint_from_kept_picture(HWND w, HDC dc, const RECT& update, long long originX, long long originY);

// The kept picture no longer shows the image: call it whenever the image's
// pixels or colour table change in place (the colour extraction does), as
// well as when another image arrives, the ratio changes or the display does.
// The next paint draws it afresh.
void invalidate_kept_picture();

}  // namespace viewer
