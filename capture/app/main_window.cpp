#include "capture/app/main_window.h"

#include <cstdio>

#include "capture/app/about_help.h"
#include "capture/app/desktop.h"
#include "capture/app/startup_logic.h"
#include "capture/capture_state.h"
#include "capture/grab/form_dialog.h"
#include "capture/grab/grab.h"
#include "capture/mask/mask_tool.h"
#include "frame/os_style.h"
#include "frame/path_logic.h"
#include "frame/paths.h"
#include "frame/scoped.h"
#include "frame/single_instance.h"
#include "frame/toolbar.h"

namespace capture {

HINSTANCE g_instance = nullptr;
HWND g_mainWindow = nullptr;
HWND g_grabWindow = nullptr;
HWND g_toolbar = nullptr;
int g_captureState = kStateNone;
IconForm g_currentForm;
IconForm g_pendingForm;
int g_frameColour = kFrameInverted;
MainSizes g_sizes;
int g_screenWidth = 0, g_screenHeight = 0;
char g_iniPath[256];
HCURSOR g_arrowCursor = nullptr;
HCURSOR g_crossCursor = nullptr;

namespace {

constexpr const char* kTitle = "Meridot";
// A second instance closes itself during creation and leaves the desktop and
// the stored position to the first.
bool g_secondInstance = false;
bool g_shutDown = false;

void build_paths() {
  char program[256];
  if (!frame::program_file_path("MERIDOT5.EXE", program, sizeof program) ||
      !frame::replace_last_chars(program, 3, "INI", frame::is_lead_byte, g_iniPath, sizeof g_iniPath)) {
    // Too long a path: no INI rather than one in an unexpected place.
    g_iniPath[0] = '\0';
  }
}

void move_to_stored_position(HWND w) {
  int x = 0, y = 0;
  if (g_iniPath[0]) {
    char text[6];
    GetPrivateProfileStringA("Position", "x", "0", text, sizeof text, g_iniPath);
    x = clamp(leading_number(text), 0, g_sizes.maxX);
    GetPrivateProfileStringA("Position", "y", "0", text, sizeof text, g_iniPath);
    y = clamp(leading_number(text), 0, g_sizes.maxY);
  }
  MoveWindow(w, x, y, kMainWidth, g_sizes.baseHeight + 16, TRUE);
}

void store_position(HWND w) {
  if (!g_iniPath[0]) return;
  RECT r;
  GetWindowRect(w, &r);
  // A minimised window keeps its place on the screen in its placement.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (IsIconic(w) && GetWindowPlacement(w, &placement)) r = placement.rcNormalPosition;
  char text[16];
  std::snprintf(text, sizeof text, "%d", clamp(static_cast<int>(r.left), 0, g_sizes.maxX));
  WritePrivateProfileStringA("Position", "x", text, g_iniPath);
  std::snprintf(text, sizeof text, "%d", clamp(static_cast<int>(r.top), 0, g_sizes.maxY));
  WritePrivateProfileStringA("Position", "y", text, g_iniPath);
}

LRESULT on_create(HWND w) {
  g_mainWindow = w;
  frame::decide_language();
  frame::detect_style(style_from_nt_version);
  if (HWND running = FindWindowA(nullptr, kTitle)) {
    g_secondInstance = true;
    frame::bring_forward(running, "MERIDOT5");
    SendMessageA(w, WM_CLOSE, 0, 0);
    return 0;
  }
  if (!japaneseUi) {
    if (HMENU english = LoadMenuA(g_instance, IDR_MENU)) {
      HMENU classMenu = GetMenu(w);
      SetMenu(w, english);
      if (classMenu) DestroyMenu(classMenu);
    }
  }
  // The paths come first: the INI notes what the desktop steps switch off.
  build_paths();
  switch_off_desktop_extras(g_iniPath);
  SetWindowTextA(w, kTitle);
  move_to_stored_position(w);
  g_arrowCursor = LoadCursor(nullptr, IDC_ARROW);
  g_crossCursor = LoadCursorA(g_instance, IDC_CROSS_CURSOR);
  SetCursor(g_arrowCursor);
  return 0;
}

void shutdown(HWND w) {
  if (g_shutDown) return;
  g_shutDown = true;
  if (!g_secondInstance) {
    drop_mask_tool();  // the icon just saved stays as it was written
    free_captured_image();
    restore_desktop_extras(g_iniPath);
    store_position(w);
  }
  frame::release_hint_buffer();
  PostQuitMessage(0);
}

void enable_button(int id, bool on) {
  if (g_toolbar) EnableWindow(GetDlgItem(g_toolbar, id), on ? TRUE : FALSE);
}

void on_paint(HWND w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  if (g_captureState == kStateCaptured) {
    const int n = g_currentForm.size;
    if (HDC image = captured_image_dc()) BitBlt(dc, 0, kImageTop, n, n, image, 0, 0, SRCCOPY);
    frame::GdiObject<HBRUSH> hatch(CreateHatchBrush(HS_DIAGCROSS, GetSysColor(COLOR_BTNFACE)));
    // Beside a small image, up to the right edge of the 135-pixel window's client area.
    const RECT rest{n, kImageTop, 129, n + kImageTop};
    if (hatch && rest.right > rest.left) FillRect(dc, &rest, hatch.get());
  } else if (g_captureState == kStateMarking) {
    paint_mask_view(dc);
  }
  EndPaint(w, &ps);
  const bool marking = g_captureState == kStateMarking;
  enable_button(kFormButton, !marking);
  enable_button(kIconButton, !marking);
}

// Over the client area below the tool bar the class has no cursor of its
// own: the arrow comes back there after the cross, unless a capture runs.
void restore_arrow(HWND w) {
  if (in_capture_mode()) return;
  POINT p;
  if (!GetCursorPos(&p)) return;
  ScreenToClient(w, &p);
  const bool overToolbar = p.y >= 0 && p.y < GetSystemMetrics(SM_CYBORDER) + frame::kButtonHeight;
  if (!overToolbar && GetCursor() != g_arrowCursor) SetCursor(g_arrowCursor);
}

void on_command(HWND w, int command) {
  frame::erase_hint(w);
  switch (command) {
    case kCmdAbout:
    case kCmdButtonAbout: about_command(w); break;
    case kCmdHelp: help_command(w); break;
    case kCmdForm:
    case kCmdButtonForm: open_form_dialog(w); break;
    case kCmdIcon:
    case kCmdButtonIcon:
      cancel_mask_tool(w);  // an open tool closes first, as its Cancel does
      start_capture(w);
      break;
    case kCmdExit: DestroyWindow(w); break;
    case kCmdToolOk:
    case kCmdToolCancel:
    case kCmdToolFill:
    case kCmdToolColour: mask_command(w, command); break;
    default: break;
  }
}

}  // namespace

LRESULT CALLBACK main_window_proc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: return on_create(w);
    case WM_DESTROY: shutdown(w); return 0;
    case WM_PAINT: on_paint(w); return 0;
    case WM_SETCURSOR:
      DefWindowProcA(w, msg, wParam, lParam);
      frame::update_hint(w);
      restore_arrow(w);
      return TRUE;
    case WM_DRAWITEM: draw_colour_item(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_LBUTTONDOWN:
      if (g_captureState == kStateMarking) mask_click(w);
      return 0;
    case WM_MEASUREITEM: reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 20; return TRUE;
    case WM_COMMAND: on_command(w, LOWORD(wParam)); return 0;
    default: return DefWindowProcA(w, msg, wParam, lParam);
  }
}

}  // namespace capture
