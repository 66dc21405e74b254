#include "viewer/app/view_keys.h"

#include "viewer/app/view.h"
#include "viewer/app/view_logic.h"

#ifndef WM_MOUSEWHEEL
#define WM_MOUSEWHEEL 0x020A
#endif
#ifndef SPI_GETWHEELSCROLLLINES
#define SPI_GETWHEELSCROLLLINES 104
#endif

namespace viewer {

namespace {

// What the wheel has turned and not yet scrolled, for each axis: a wheel with
// finer steps than a notch sends parts of one.
int g_pendingV = 0;
int g_pendingH = 0;

unsigned lines_per_notch() {
  UINT lines = 3;  // the system's own default, and what a system without the setting does
  if (!SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
  return lines;
}

bool shift_down() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }

void wheel(HWND main, int delta, bool horizontal) {
  int& pending = horizontal ? g_pendingH : g_pendingV;
  // A turn the other way drops what was left of the previous direction.
  if ((pending > 0 && delta < 0) || (pending < 0 && delta > 0)) pending = 0;
  const WheelScroll s = wheel_scroll(pending + delta, lines_per_notch());
  pending = s.remainder;
  if (s.times > 0) scroll_view(main, !horizontal, s.code, 0, s.times);
}

// The keys of a scroll bar: arrows by lines, Page Up / Page Down by pages,
// Home / End to the start and the end; with Shift the page keys, Home and End
// work across, as Shift turns the wheel across.
bool key(HWND main, WPARAM vk) {
  const bool across = shift_down();
  switch (vk) {
    case VK_UP: scroll_view(main, true, ScrollCode::LineBack, 0, 1); return true;
    case VK_DOWN: scroll_view(main, true, ScrollCode::LineForward, 0, 1); return true;
    case VK_LEFT: scroll_view(main, false, ScrollCode::LineBack, 0, 1); return true;
    case VK_RIGHT: scroll_view(main, false, ScrollCode::LineForward, 0, 1); return true;
    case VK_PRIOR: scroll_view(main, !across, ScrollCode::PageBack, 0, 1); return true;
    case VK_NEXT: scroll_view(main, !across, ScrollCode::PageForward, 0, 1); return true;
    case VK_HOME: scroll_view(main, !across, ScrollCode::Start, 0, 1); return true;
    case VK_END: scroll_view(main, !across, ScrollCode::End, 0, 1); return true;
    default: return false;
  }
}

}  // namespace

bool route_view_input(HWND main, const MSG& m) {
  if (!main || !(m.hwnd == main || IsChild(main, m.hwnd))) return false;
  // Windows 95 without the wheel's own message gets this one from the
  // mouse's software, with the delta alone in the first parameter.
  static const UINT mswheel = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
  if (m.message == WM_MOUSEWHEEL) {
    wheel(main, static_cast<short>(HIWORD(m.wParam)), (LOWORD(m.wParam) & MK_SHIFT) != 0);
    return true;
  }
  if (mswheel && m.message == mswheel) {
    wheel(main, static_cast<int>(m.wParam), shift_down());
    return true;
  }
  if (m.message == WM_KEYDOWN) return key(main, m.wParam);
  return false;
}

}  // namespace viewer
