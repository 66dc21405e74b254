#include "viewer/app/main_window.h"

#include <cstdio>
#include <cstring>

#include "frame/os_style.h"
#include "frame/scoped.h"
#include "frame/single_instance.h"
#include "frame/toolbar.h"
#include "viewer/app/about_help.h"
#include "viewer/app/buttons.h"
#include "viewer/app/clipboard_watch.h"
#include "viewer/app/kept_picture.h"
#include "viewer/app/view.h"
#include "viewer/app/viewer_state.h"
#include "viewer/clipboard/copy_command.h"
#include "viewer/export/save_command.h"
#include "viewer/export/tif_conditions.h"
#include "viewer/export/print_command.h"
#include "viewer/extract/extraction.h"
#include "viewer/icon/open_command.h"
#include "viewer/iconmaker/make_icon_command.h"
#include "viewer/image/image_record.h"

namespace viewer {

HINSTANCE g_instance = nullptr;
HWND g_mainWindow = nullptr;
HWND g_toolbar = nullptr;
HWND g_hScrollBar = nullptr;
HWND g_vScrollBar = nullptr;
ScreenMetrics g_screen;
WindowGeometry g_defaultGeometry;
TaskbarOffsets g_taskbar;
LanguageTexts g_texts;
PRINTDLGA g_printSettings;
frame::MemoryDc g_splash;

namespace {

void copy_text(char (&dst)[256], const char* src) { std::snprintf(dst, sizeof dst, "%s", src); }

void fill_language_texts() {
  using frame::tr;
  copy_text(g_texts.captionPrefix, tr("Kaldero - ", "カルデロ - "));
  copy_text(g_texts.openTitle, tr("Select a bitmap or an icon file to open.", "Bitmap または Icon ファイルの選択"));
  copy_text(g_texts.saveTitle, tr("Assign a filename to save.", "保存するファイル名の指定"));
  copy_text(g_texts.iconSaveTitle, tr("Assign an icon file to be saved.", "保存するアイコンファイルの設定"));
  copy_text(g_texts.firstBitmapTitle, tr("Select a 1st bitmap file.", "第１のビットマップファイルの選択"));
  copy_text(g_texts.secondBitmapTitle, tr("Select a 2nd bitmap file.", "第２のビットマップファイルの選択"));
}

BOOL CALLBACK find_running_viewer(HWND w, LPARAM found) {
  char title[256] = {};
  GetWindowTextA(w, title, 255);
  if (std::strstr(title, g_texts.captionPrefix)) {
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
  }
  return TRUE;
}

HWND running_viewer() {
  HWND found = nullptr;
  EnumWindows(find_running_viewer, reinterpret_cast<LPARAM>(&found));
  return found;
}

void place_main_window(HWND w) {
  if (IsIconic(w)) return;
  const Point p = place_window({g_defaultGeometry.x, g_defaultGeometry.y}, g_defaultGeometry.width,
                               g_defaultGeometry.height, g_screen.width, g_screen.height, g_taskbar);
  SetWindowPos(w, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  g_defaultGeometry.x = p.x;
  g_defaultGeometry.y = p.y;
}

void show_splash(HWND w) {
  HBITMAP bitmap = LoadBitmapA(g_instance, IDB_SPLASH);
  ShowWindow(w, SW_SHOWNORMAL);
  UpdateWindow(w);
  RECT client;
  GetClientRect(w, &client);
  frame::WindowDc dc(w);
  // Without the picture the view stays white; nothing half-made is kept.
  if (g_splash.take(dc.get(), bitmap) && dc)
    BitBlt(dc.get(), (client.right - kSplashWidth) / 2, (client.bottom - 212) / 2 + kStripHeight, kSplashWidth,
           kSplashHeight, g_splash.get(), 0, 0, SRCCOPY);
  g_image.displayKind = Splash;
}

void create_scroll_bars(HWND w) {
  RECT client;
  GetClientRect(w, &client);
  const int cw = client.right, ch = client.bottom;
  const int sbh = g_screen.hScrollHeight, sbv = g_screen.vScrollWidth;
  g_hScrollBar = CreateWindowA("SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, ch - sbh, cw - sbv, sbh, w,
                               nullptr, g_instance, nullptr);
  g_vScrollBar = CreateWindowA("SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, cw - sbv, kStripHeight, sbv,
                               ch - sbh - kStripHeight, w, nullptr, g_instance, nullptr);
  ShowWindow(g_hScrollBar, SW_HIDE);
  ShowWindow(g_vScrollBar, SW_HIDE);
  g_image.view = ViewState{};
}

LRESULT on_create(HWND w) {
  g_mainWindow = w;
  frame::decide_language();
  frame::detect_style();
  fill_language_texts();
  if (HWND running = running_viewer()) {
    frame::bring_forward(running, kMainClass);
    SendMessageA(w, WM_CLOSE, 0, 0);
    return 0;
  }
  RECT work;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
    Sleep(100);
    SendMessageA(w, WM_CLOSE, 0, 0);
    return 0;
  }
  g_taskbar = taskbar_offsets({work.left, work.top, work.right, work.bottom}, g_screen.width, g_screen.height);
  place_main_window(w);
  if (display_too_shallow(frame::display_bits_per_pixel())) {
    SendMessageA(w, WM_CLOSE, 0, 0);
    return 0;
  }
  set_caption_untitled(w);
  show_splash(w);
  create_scroll_bars(w);
  clipboard_watch_start(w);
  return 0;
}

void enforce_minimum_size(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  const Size min = minimum_window_size(g_screen.hScrollHeight, g_screen.minHeightBase, g_image.view.vBarVisible != 0,
                                       g_image.view.hBarVisible != 0);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width < min.w || height < min.h)
    SetWindowPos(w, nullptr, 0, 0, width < min.w ? min.w : width, height < min.h ? min.h : height,
                 SWP_NOMOVE | SWP_NOZORDER);
}

void on_size(HWND w, WPARAM kind) {
  recompute_zoom_factor();
  if (g_hScrollBar && g_vScrollBar) layout_scroll_bars(w);
  if (kind != SIZE_MINIMIZED) enforce_minimum_size(w);
  extraction_focus_dialog();
}

void on_command(HWND w, int command) {
  frame::erase_hint(w);
  switch (command) {
    case kCmdParameters: tif_conditions_command(w); break;
    case kCmdOpen: open_command(w); break;
    case kCmdPaste: paste_command(w); break;
    case kCmdCopy: copy_command(w); break;
    case kCmdSave: save_command(w); break;
    case kCmdZoomOut: zoom_out(w); break;
    case kCmdZoomIn: zoom_in(w); break;
    case kCmdExtraction: extraction_command(w); break;
    case kCmdMakeIcon: make_icon_command(w); break;
    case kCmdPrint: print_command(w); break;
    case kCmdAbout: about_command(w); break;
    case kCmdHelp: help_command(w); break;
    case kCmdExit: shutdown(w); break;
    default: break;  // commands of later tool bar buttons
  }
}

}  // namespace

void free_splash() { g_splash.reset(); }

void shutdown(HWND w) {
  clipboard_watch_stop(w);
  if (g_image.displayKind != Splash) {
    free_image();
    extraction_shutdown();
  }
  // Also after a start that ended before the picture was shown.
  free_splash();
  invalidate_kept_picture();
  frame::release_hint_buffer();
  PostQuitMessage(0);
}

LRESULT CALLBACK main_window_proc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: return on_create(w);
    case WM_DESTROY: shutdown(w); return 0;
    case WM_SIZE: on_size(w, wParam); return 0;
    case WM_PAINT:
      recompute_zoom_factor();
      on_paint(w);
      return 0;
    case WM_SETCURSOR:
      DefWindowProcA(w, msg, wParam, lParam);
      frame::update_hint(w);
      return 0;
    case WM_COMMAND: on_command(w, LOWORD(wParam)); return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      recompute_zoom_factor();
      on_scroll(w, msg == WM_VSCROLL, wParam);
      return 0;
    case kApplyExtractionMessage: extraction_apply(w); return 0;  // the extraction dialog's choice
    case WM_DISPLAYCHANGE: on_display_change(w); return 0;
    case WM_DRAWCLIPBOARD:
    case WM_CHANGECBCHAIN: return clipboard_watch_message(w, msg, wParam, lParam);
    default: return DefWindowProcA(w, msg, wParam, lParam);
  }
}

}  // namespace viewer
