#include <cstring>
#include <vector>

#include "capture/grab/grab.h"
#include "capture/grab/grab_logic.h"
#include "capture/grab/grab_messages.h"
#include "capture/grab/icon_build.h"
#include "capture/grab/save_flow.h"
#include "frame/scoped.h"

namespace capture {

namespace {

GrabContext g_ctx;
constexpr UINT kTakeKeyboard = WM_APP + 1;

// Capture mode: from the Icon command until the release, Esc or a close.
bool g_captureMode = false;
bool g_buttonDown = false;
bool g_cursorHidden = false;
GrabPoint g_previousOrigin;
// What the Icon command changed, put back when capture mode ends without a capture.
IconForm g_formBefore;
RECT g_mainRectBefore{};

// The screen as it was when capture mode began, top-down 32-bit pixels. The
// capture window shows it and the square is taken from it: a full-screen
// window under this platform hides what lies beneath it.
struct Picture {
  frame::MemoryDc dc;
  uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
};
Picture g_frozen;
Picture g_captured;  // the captured image, N x N

void free_picture(Picture& p) {
  p.dc.reset();
  p.bits = nullptr;
  p.width = p.height = 0;
}

bool make_picture(Picture& p, HDC reference, int width, int height) {
  free_picture(p);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  if (!p.dc.take(reference, CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0)) || !bits) {
    free_picture(p);
    return false;
  }
  p.bits = static_cast<uint32_t*>(bits);
  p.width = width;
  p.height = height;
  return true;
}

const IconForm& form() { return *g_ctx.current; }

// The frame at origin, drawn straight onto the capture window.
void draw_frame(HDC dc, GrabPoint origin) {
  DWORD rop = DSTINVERT;
  if (*g_ctx.frameColour == kFrameBlack) rop = BLACKNESS;
  if (*g_ctx.frameColour == kFrameWhite) rop = WHITENESS;
  for (const GrabRect& r : frame_rects(form().size)) PatBlt(dc, origin.x + r.x, origin.y + r.y, r.w, r.h, rop);
}

// Erases the frame by putting the frozen pixels back: exact for every frame
// colour, whatever the frame covered.
void erase_frame(HDC dc, GrabPoint origin) {
  for (const GrabRect& r : frame_rects(form().size))
    BitBlt(dc, origin.x + r.x, origin.y + r.y, r.w, r.h, g_frozen.dc.get(), origin.x + r.x, origin.y + r.y, SRCCOPY);
}

GrabPoint pointer_of(LPARAM lp) {
  return GrabPoint{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

void show_cursor_again() {
  if (g_cursorHidden) ShowCursor(TRUE);
  g_cursorHidden = false;
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

// Leaves capture mode; the capture window goes and the main window comes back.
void leave_capture_mode() {
  g_captureMode = false;
  g_buttonDown = false;
  if (GetCapture() == g_ctx.grab) ReleaseCapture();
  show_cursor_again();
  ShowWindow(g_ctx.grab, SW_HIDE);
  free_picture(g_frozen);
}

// Esc or a close request: no capture, and what the Icon command changed
// (the form in use and the main window's size) is as before, so an earlier
// capture is shown as it was.
void cancel_capture() {
  if (!g_captureMode) return;
  leave_capture_mode();
  *g_ctx.current = g_formBefore;
  SetWindowPos(g_ctx.main, nullptr, 0, 0, g_mainRectBefore.right - g_mainRectBefore.left,
               g_mainRectBefore.bottom - g_mainRectBefore.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(g_ctx.main, SW_RESTORE);
  SetForegroundWindow(g_ctx.main);
  InvalidateRect(g_ctx.main, nullptr, TRUE);
}

void on_button_down(HWND w, LPARAM lp) {
  if (!g_captureMode) return;
  SetCapture(w);
  g_buttonDown = true;
  g_previousOrigin = square_origin(pointer_of(lp), form().halfSize);
  frame::WindowDc dc(w);
  draw_frame(dc.get(), g_previousOrigin);
  if (!g_cursorHidden) ShowCursor(FALSE);
  g_cursorHidden = true;
}

// Keys (Esc, Alt+F4) go to the foreground window. Taking the foreground right
// after the window is shown may come too early for the window system, so the
// capture window asks again once it is up and whenever the pointer moves over
// it without it being in front.
void take_keyboard(HWND w) {
  if (GetForegroundWindow() != w) SetForegroundWindow(w);
  if (GetFocus() != w) SetFocus(w);
}

void on_mouse_move(HWND w, LPARAM lp) {
  if (g_captureMode) take_keyboard(w);
  if (!g_captureMode || !g_buttonDown) return;
  const GrabPoint origin = square_origin(pointer_of(lp), form().halfSize);
  if (origin == g_previousOrigin) return;
  frame::WindowDc dc(w);
  erase_frame(dc.get(), g_previousOrigin);
  g_previousOrigin = origin;
  draw_frame(dc.get(), origin);
}

void on_button_up(HWND w, LPARAM lp) {
  if (!g_captureMode || !g_buttonDown) return;
  {
    frame::WindowDc dc(w);
    erase_frame(dc.get(), g_previousOrigin);
  }
  const GrabPoint origin = square_origin(pointer_of(lp), form().halfSize);
  const int n = form().size;
  free_picture(g_captured);
  *g_ctx.captureState = 0;
  bool made = false;
  {
    frame::WindowDc dc(w);
    made = make_picture(g_captured, dc.get(), n, n);
  }
  if (made) {
    const std::vector<uint32_t> square =
        take_square(g_frozen.bits, g_frozen.width, g_frozen.height, origin, n, form().orientation);
    GdiFlush();
    std::memcpy(g_captured.bits, square.data(), square.size() * sizeof(uint32_t));
  }
  leave_capture_mode();
  ShowWindow(g_ctx.main, SW_RESTORE);
  SetForegroundWindow(g_ctx.main);
  if (!made) {
    InvalidateRect(g_ctx.main, nullptr, TRUE);
    frame::show(g_ctx.main, msg::kNoBitmap);
    return;
  }
  *g_ctx.captureState = kCaptureStateCaptured;
  InvalidateRect(g_ctx.main, nullptr, TRUE);
  UpdateWindow(g_ctx.main);
  // The reduction reads the captured image itself, the very pixels the main
  // window shows, so a window over the main window cannot spoil it.
  if (!reduce_image(g_captured.dc.get(), g_captured.bits, form())) {
    frame::show(g_ctx.main, msg::kNoBitmap);
    return;
  }
  run_save_dialogue(g_ctx.main, form());
}

void on_paint(HWND w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  if (g_frozen.dc) {
    BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
           ps.rcPaint.bottom - ps.rcPaint.top, g_frozen.dc.get(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    if (g_buttonDown) draw_frame(dc, g_previousOrigin);
  }
  EndPaint(w, &ps);
}

}  // namespace

void grab_attach(const GrabContext& context) { g_ctx = context; }

bool in_capture_mode() { return g_captureMode; }

HDC captured_image_dc() { return g_captured.dc.get(); }

void free_captured_image() {
  free_picture(g_captured);
  free_picture(g_frozen);
  release_reduced_image();
}

void start_capture(HWND main) {
  if (g_captureMode || !g_ctx.grab) return;
  g_formBefore = *g_ctx.current;
  GetWindowRect(main, &g_mainRectBefore);
  *g_ctx.current = *g_ctx.pending;
  SetWindowPos(main, nullptr, 0, 0, g_ctx.mainWidth, g_ctx.baseHeight + g_ctx.current->size,
               SWP_NOMOVE | SWP_NOZORDER);
  Sleep(100);
  g_captureMode = true;
  ShowWindow(main, SW_HIDE);
  // Time for the windows beneath to repaint: the copy must not show ours.
  Sleep(200);

  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  bool frozen = false;
  {
    frame::WindowDc screen(nullptr);
    frozen = screen && make_picture(g_frozen, screen.get(), width, height) &&
             BitBlt(g_frozen.dc.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY | CAPTUREBLT);
    GdiFlush();
  }
  if (!frozen) {
    cancel_capture();
    frame::show(main, msg::kNoBitmap);
    return;
  }
  SetWindowPos(g_ctx.grab, HWND_TOPMOST, 0, 0, width, height, SWP_NOACTIVATE);
  ShowWindow(g_ctx.grab, SW_SHOWNORMAL);
  UpdateWindow(g_ctx.grab);
  take_keyboard(g_ctx.grab);
  SetCapture(g_ctx.grab);
  SetCursor(g_ctx.cross);
  // While the main window goes, the window system may pass the focus on once
  // more (under X it falls to the window below the pointer): take it back
  // until it stays, at most about a second, so that Esc reaches us at once.
  int steady = 0;
  for (int i = 0; i < 100 && steady < 5; ++i) {
    MSG m;
    while (PeekMessageA(&m, g_ctx.grab, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    if (!g_captureMode) return;
    take_keyboard(g_ctx.grab);
    steady = GetForegroundWindow() == g_ctx.grab ? steady + 1 : 0;
    Sleep(10);
  }
  PostMessageA(g_ctx.grab, kTakeKeyboard, 0, 0);
}

LRESULT CALLBACK grab_window_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: on_paint(w); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN: on_button_down(w, lp); return 0;
    case WM_MOUSEMOVE: on_mouse_move(w, lp); return 0;
    case WM_LBUTTONUP: on_button_up(w, lp); return 0;
    case WM_SETCURSOR:
      if (g_captureMode) {
        SetCursor(g_ctx.cross);
        return TRUE;
      }
      break;
    case kTakeKeyboard:
      if (g_captureMode) take_keyboard(w);
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) {
        cancel_capture();
        return 0;
      }
      break;
    // A close request (Alt+F4, the system menu) never destroys the window;
    // during capture mode it ends capture mode like Esc.
    case WM_CLOSE: cancel_capture(); return 0;
    default: break;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace capture
