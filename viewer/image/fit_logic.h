// The zoom step an image opens at: the largest ratio, 1:1 at most, at which
// the whole image fits the view area of the main window.
#pragma once

namespace viewer {

// The lowest step the view offers (1:10).
constexpr int kLowestZoomStep = -9;

// client_w, client_h: the main window's client size; the view area leaves
// room for a vertical bar (vscroll_w) and a horizontal bar (hscroll_h) and
// for the tool bar strip plus one pixel at the top. Finds the smallest
// divisors i, j >= 1 with width / i and height / j (integer division) inside
// that area and returns 1 - max(i, j): 0 when the image fits. The view's
// ratios end at 1:10, so an image that would need less (6000 x 4000 in a
// small window asks for 1:21) opens at kLowestZoomStep and is scrolled to be
// seen whole: the ratio it opens at, the caption and the lowest ratio Zoom
// Out offers are then one and the same, and a Zoom In can always be undone.
// When the window leaves no room at all (a usable width or height of 0 or
// less) nothing can fit, and the image opens at kLowestZoomStep too.
int fit_zoom_step(int width, int height, int client_w, int client_h, int vscroll_w, int hscroll_h);

}  // namespace viewer
