// Geometry of the view: zoom ratios, scroll limits, scroll bar layout and the
// enabled state of the image buttons. Pure functions, tested natively.
#pragma once
#include <cstddef>

namespace viewer {

// step ≥ 0 magnifies (step + 1):1, step < 0 reduces 1:(1 − step).
int zoom_factor(int zoomStep);
bool magnifying(int zoomStep);

struct Extent {
  long long w, h;
};
// The image's size on screen at this step; a reduced side is at least one
// pixel.
Extent displayed_size(int imageW, int imageH, int zoomStep);

// Largest scroll position (image pixels) of each axis for a scroll action.
struct ScrollLimits {
  long long x, y;
};
ScrollLimits scroll_limits(int imageW, int imageH, int zoomStep, int clientW, int clientH, int sbh, int sbv,
                           bool hVisible, bool vVisible);

// Applies a scroll code to a position: line ±1, page ±10, thumb to a given
// position, start to 0, end to the limit; then keeps it within 0 … limit
// (0 when the limit is below 0).
enum class ScrollCode { LineBack, LineForward, PageBack, PageForward, Thumb, Start, End, Other };
long long scroll_to(long long position, ScrollCode code, long long thumb, long long limit);

// What the mouse wheel asks of the view: the wheel's delta not yet used
// (kWheelDelta a notch, positive turned away from the user) and the system's
// lines per notch (kWheelPageScroll: a page a notch) give a scroll code to
// apply `times` times and the part of a notch kept for the next message.
constexpr int kWheelDelta = 120;
constexpr unsigned kWheelPageScroll = 0xFFFFFFFFu;
struct WheelScroll {
  ScrollCode code = ScrollCode::Other;
  int times = 0;
  int remainder = 0;
};
WheelScroll wheel_scroll(int pendingDelta, unsigned linesPerNotch);

struct BarPlacement {
  int x, y, w, h;
};
struct ScrollLayout {
  bool hVisible, vVisible;
  BarPlacement hBar, vBar;
  long long hRangeMax, vRangeMax;  // ranges start at 0
  bool showGrip;
  BarPlacement grip;
  bool resetX, resetY;  // the hidden axis scrolls back to 0
};
// A bar is shown when the image exceeds the client area on its axis, or the
// part of it the other bar leaves; ranges end where the scroll limit does.
ScrollLayout layout_scroll_bars(int imageW, int imageH, int zoomStep, int clientW, int clientH, int sbh, int sbv);

struct ImageButtons {
  bool zoomOut, zoomIn;
};
// Zoom buttons with an image shown; free screen = screen less the task bar.
ImageButtons zoom_buttons(int zoomStep, int fitZoomStep, int imageW, int imageH, int freeScreenW, int freeScreenH);

// " [1:3]"-style ratio text without the opening bracket: "1:3]" or "2:1]".
void ratio_text(int zoomStep, char* out, size_t outSize);

// The file name of a path: what follows its last backslash. Steps through
// the path by characters so that a double-byte character whose second byte
// is a backslash is not taken for a separator.
const char* file_name_of(const char* path, bool (*isLeadByte)(unsigned char));

}  // namespace viewer
