#include "viewer/app/view.h"

#include <cstdio>

#include "frame/os_style.h"
#include "frame/paths.h"
#include "frame/scoped.h"

#include "viewer/app/buttons.h"
#include "viewer/app/kept_picture.h"
#include "viewer/app/view_logic.h"
#include "viewer/app/viewer_state.h"
#include "viewer/extract/extraction.h"
#include "viewer/image/image_record.h"
#include "viewer/image/open_timing.h"

namespace viewer {

namespace {
HWND g_sizeGrip = nullptr;
char g_captionBase[512];
char g_caption[512];

void enable_button(int id, bool on) {
  if (g_toolbar) EnableWindow(GetDlgItem(g_toolbar, id), on ? TRUE : FALSE);
}

// The buttons that act on a shown image, besides the two zoom buttons whose
// state follows the zoom step.
constexpr int kImageButtons[] = {kModeButton, kCopyButton, kSaveButton, kPrintButton};

void enable_image_buttons(bool on) {
  for (int id : kImageButtons) enable_button(id, on);
}

void disable_image_and_zoom_buttons() {
  enable_button(kZoomOutButton, false);
  enable_button(kZoomInButton, false);
  enable_image_buttons(false);
}

RECT view_area(HWND w) {
  RECT r;
  GetClientRect(w, &r);
  r.top = kStripHeight;
  if (g_image.view.vBarVisible) r.right -= g_screen.vScrollWidth;
  if (g_image.view.hBarVisible) r.bottom -= g_screen.hScrollHeight;
  return r;
}

int clamp_int(long long v) {
  if (v > 0x7FFFFFFF) return 0x7FFFFFFF;
  if (v < -0x7FFFFFFF) return -0x7FFFFFFF;
  return static_cast<int>(v);
}

void set_range(HWND bar, long long max, int position) {
  SetScrollRange(bar, SB_CTL, 0, clamp_int(max < 0 ? 0 : max), FALSE);
  SetScrollPos(bar, SB_CTL, position, TRUE);
}
}  // namespace

void recompute_zoom_factor() { g_image.view.zoomFactor = zoom_factor(g_image.view.zoomStep); }

void on_paint(HWND w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  enable_button(kPasteButton,
                IsClipboardFormatAvailable(CF_BITMAP) || IsClipboardFormatAvailable(CF_DIB));
  RECT client;
  GetClientRect(w, &client);
  const int cw = client.right, ch = client.bottom;

  if (g_image.displayKind == Splash) {
    if (g_splash) {
      const int x = cw >= kSplashWidth ? (cw - kSplashWidth) / 2 : 0;
      const int y = ch >= 212 ? (ch - 212) / 2 + kStripHeight : kStripHeight;
      BitBlt(dc, x, y, kSplashWidth, kSplashHeight, g_splash.get(), 0, 0, SRCCOPY);
    }
    disable_image_and_zoom_buttons();
  } else if (g_image.displayKind != Unset && g_image.dib) {
    const ViewState& v = g_image.view;
    const int z = v.zoomFactor;
    const int W = g_image.width, H = g_image.height;
    const long long x = magnifying(v.zoomStep) ? -1LL * v.scrollX * z : -1LL * v.scrollX / z;
    const long long y = (magnifying(v.zoomStep) ? -1LL * v.scrollY * z : -1LL * v.scrollY / z) + kStripHeight;
    open_timing_painting();
    if (!paint_from_kept_picture(w, dc, ps.rcPaint, x, y)) {
      if (lock_image()) {
        const Extent d = displayed_size(W, H, v.zoomStep);
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, clamp_int(x), clamp_int(y), clamp_int(d.w), clamp_int(d.h), 0, 0, W, H, g_image.pixels,
                      reinterpret_cast<BITMAPINFO*>(g_image.infoHeader), DIB_RGB_COLORS, SRCCOPY);
      }
      unlock_image();
    }
    open_timing_painted();
    const ImageButtons b =
        zoom_buttons(g_image.view.zoomStep, g_image.view.fitZoomStep, g_image.width, g_image.height,
                     g_screen.width - g_taskbar.left - g_taskbar.right,
                     g_screen.height - g_taskbar.top - g_taskbar.bottom);
    enable_button(kZoomOutButton, b.zoomOut);
    enable_button(kZoomInButton, b.zoomIn);
    enable_image_buttons(true);
  } else if (g_image.displayKind != Unset) {
    // A load that failed after the old image was released leaves nothing to
    // zoom, copy, save or print: the buttons are the commands' only guard.
    disable_image_and_zoom_buttons();
  }
  EndPaint(w, &ps);
}

static void zoom_by(HWND w, int delta) {
  ViewState& v = g_image.view;
  if ((delta < 0 && v.zoomStep <= -9) || (delta > 0 && v.zoomStep >= 9)) return;
  v.zoomStep += delta;
  frame::WaitCursor busy;
  invalidate_kept_picture();
  recompute_zoom_factor();
  layout_scroll_bars(w);
  v.vBarVisibleNow = v.vBarVisible;
  follow_extraction_dialog(w);
  extraction_focus_dialog();
  redraw_view(w, true);
  set_caption_ratio(w);
}

void zoom_out(HWND w) { zoom_by(w, -1); }
void zoom_in(HWND w) { zoom_by(w, +1); }

ScrollCode scroll_code_of(WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case SB_LINELEFT: return ScrollCode::LineBack;
    case SB_LINERIGHT: return ScrollCode::LineForward;
    case SB_PAGELEFT: return ScrollCode::PageBack;
    case SB_PAGERIGHT: return ScrollCode::PageForward;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: return ScrollCode::Thumb;
    default: return ScrollCode::Other;
  }
}

void on_scroll(HWND w, bool vertical, WPARAM wParam) {
  HWND bar = vertical ? g_vScrollBar : g_hScrollBar;
  const ScrollCode code = scroll_code_of(wParam);
  long long thumb = 0;
  if (code == ScrollCode::Thumb) {
    // The message carries 16 bits only; the bar knows the full position.
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_TRACKPOS;
    thumb = GetScrollInfo(bar, SB_CTL, &si) ? si.nTrackPos : HIWORD(wParam);
  }
  scroll_view(w, vertical, code, thumb, 1);
}

void scroll_view(HWND w, bool vertical, ScrollCode code, long long thumb, int times) {
  if (g_image.displayKind == Splash || g_image.displayKind == Unset || !g_image.dib) return;
  HWND bar = vertical ? g_vScrollBar : g_hScrollBar;
  RECT client;
  GetClientRect(w, &client);
  ViewState& v = g_image.view;
  const ScrollLimits lim = scroll_limits(g_image.width, g_image.height, v.zoomStep, client.right, client.bottom,
                                         g_screen.hScrollHeight, g_screen.vScrollWidth, v.hBarVisible != 0,
                                         v.vBarVisible != 0);
  int& pos = vertical ? v.scrollY : v.scrollX;
  int& last = vertical ? v.lastScrollY : v.lastScrollX;
  long long to = pos;
  for (int i = 0; i < times; ++i) to = scroll_to(to, code, thumb, vertical ? lim.y : lim.x);
  pos = clamp_int(to);
  if (pos == last) return;
  RECT area = view_area(w);
  InvalidateRect(w, &area, FALSE);
  UpdateWindow(w);
  SetScrollPos(bar, SB_CTL, pos, TRUE);
  last = pos;
}

void destroy_size_grip() {
  if (g_sizeGrip) DestroyWindow(g_sizeGrip);
  g_sizeGrip = nullptr;
}

void layout_scroll_bars(HWND w) {
  destroy_size_grip();
  ViewState& v = g_image.view;
  if (v.hBarVisible) ShowWindow(g_hScrollBar, SW_HIDE);
  if (v.vBarVisible) ShowWindow(g_vScrollBar, SW_HIDE);
  RECT client;
  GetClientRect(w, &client);
  const bool haveImage = g_image.displayKind != Splash && g_image.displayKind != Unset && g_image.dib;
  const ScrollLayout l = layout_scroll_bars(haveImage ? g_image.width : 0, haveImage ? g_image.height : 0,
                                            v.zoomStep, client.right, client.bottom, g_screen.hScrollHeight,
                                            g_screen.vScrollWidth);
  MoveWindow(g_hScrollBar, l.hBar.x, l.hBar.y, l.hBar.w, l.hBar.h, FALSE);
  MoveWindow(g_vScrollBar, l.vBar.x, l.vBar.y, l.vBar.w, l.vBar.h, FALSE);
  v.hBarVisible = l.hVisible ? 1 : 0;
  v.vBarVisible = l.vVisible ? 1 : 0;
  if (l.resetX) v.scrollX = v.lastScrollX = 0;
  if (l.resetY) v.scrollY = v.lastScrollY = 0;
  // A larger window or a smaller ratio lowers the limits: positions beyond
  // them would leave a band of background at the far edge and make the
  // thumb disagree with the view until the next scroll.
  const ScrollLimits lim = scroll_limits(haveImage ? g_image.width : 0, haveImage ? g_image.height : 0, v.zoomStep,
                                         client.right, client.bottom, g_screen.hScrollHeight, g_screen.vScrollWidth,
                                         l.hVisible, l.vVisible);
  v.scrollX = v.lastScrollX = clamp_int(scroll_to(v.scrollX, ScrollCode::Other, 0, lim.x));
  v.scrollY = v.lastScrollY = clamp_int(scroll_to(v.scrollY, ScrollCode::Other, 0, lim.y));
  set_range(g_hScrollBar, l.hRangeMax, v.scrollX);
  set_range(g_vScrollBar, l.vRangeMax, v.scrollY);
  if (l.hVisible) ShowWindow(g_hScrollBar, SW_SHOW);
  if (l.vVisible) ShowWindow(g_vScrollBar, SW_SHOW);
  if (l.showGrip) {
    g_sizeGrip = CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP | SBS_VERT,
                                 l.grip.x, l.grip.y, l.grip.w, l.grip.h, w, nullptr, g_instance, nullptr);
  }
}

void reset_view_for_load(HWND w) {
  ViewState& v = g_image.view;
  v.scrollX = v.scrollY = v.lastScrollX = v.lastScrollY = 0;
  const bool hWas = v.hBarVisible, vWas = v.vBarVisible;
  v.hBarVisible = v.vBarVisible = 0;
  destroy_size_grip();
  if (hWas) ShowWindow(g_hScrollBar, SW_HIDE);
  if (vWas) ShowWindow(g_vScrollBar, SW_HIDE);
  invalidate_kept_picture();
  redraw_view(w, true);
}

void lay_out_as_no_image(HWND w) {
  ViewState& v = g_image.view;
  v.zoomStep = v.fitZoomStep = 0;
  recompute_zoom_factor();
  invalidate_kept_picture();
  layout_scroll_bars(w);
  v.vBarVisibleNow = v.vBarVisibleAtLastMove = v.vBarVisible;
  set_caption_untitled(w);
  redraw_view(w, true);
}

void on_display_change(HWND w) {
  invalidate_kept_picture();
  redraw_view(w, true);
}

void redraw_view(HWND w, bool erase) {
  RECT area = view_area(w);
  InvalidateRect(w, &area, erase ? TRUE : FALSE);
  UpdateWindow(w);
}

void refresh_paste_button(HWND w) {
  RECT r{79, 0, 111, 20};
  InvalidateRect(w, &r, TRUE);
  UpdateWindow(w);
}

void set_caption_ratio(HWND w) {
  char ratio[32];
  ratio_text(g_image.view.zoomStep, ratio, sizeof ratio);
  std::snprintf(g_caption, sizeof g_caption, "%s%s", g_captionBase, ratio);
  SetWindowTextA(w, g_caption);
}

void set_caption_untitled(HWND w) {
  g_captionBase[0] = '\0';
  std::snprintf(g_caption, sizeof g_caption, "%s%s", g_texts.captionPrefix, frame::tr("(No title)", "(無題)"));
  SetWindowTextA(w, g_caption);
}

void set_caption_from_path(HWND w, const char* path) {
  std::snprintf(g_captionBase, sizeof g_captionBase, "%s%s [", g_texts.captionPrefix, frame::file_name_in(path));
  set_caption_ratio(w);
}

void set_caption_base(HWND w, const char* base) {
  std::snprintf(g_captionBase, sizeof g_captionBase, "%s", base);
  set_caption_ratio(w);
}

void follow_extraction_dialog(HWND w) {
  ViewState& v = g_image.view;
  if (v.vBarVisibleNow != v.vBarVisibleAtLastMove) {
    extraction_follow_main_window(w, v.vBarVisibleNow != 0);
    v.vBarVisibleAtLastMove = v.vBarVisibleNow;
  }
}

}  // namespace viewer
