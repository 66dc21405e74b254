// Start-up rules of the viewer's main window that need no window system:
// where the task bar is, where the window goes, which displays are refused
// and how small the window may get.
#pragma once
#include <cstddef>

namespace viewer {

struct TaskbarOffsets {
  int left = 0, right = 0, top = 0, bottom = 0;
};

struct Rect {
  long left, top, right, bottom;
};

// The desktop's work area is what the desktop view covered on the systems the
// viewer was first written for; the task bar is the strip of screen outside it.
// At most one offset stays non-zero; bottom wins over right.
TaskbarOffsets taskbar_offsets(const Rect& workArea, int screenW, int screenH);

struct Point {
  int x, y;
};
// Centres the window in the space the task bar leaves free.
Point place_window(Point current, int w, int h, int screenW, int screenH, const TaskbarOffsets& t);

// Displays of 16 colours or fewer cannot show the images and are refused.
bool display_too_shallow(int bitsPerPixel);

// Smallest window size the viewer accepts, given which scroll bars are shown.
struct Size {
  int w, h;
};
Size minimum_window_size(int scrollBarHeight, int minHeightBase, bool vBarVisible, bool hBarVisible);

}  // namespace viewer
