// Entry point of the capture program: the three window classes, the main
// window, the hidden capture window, the tool bar and the loop.
#include <windows.h>

#include "capture/app/buttons.h"
#include "capture/app/main_window.h"
#include "capture/capture_state.h"
#include "capture/grab/grab.h"
#include "capture/mask/mask_tool.h"
#include "frame/toolbar.h"

using namespace capture;

namespace {

bool register_class(HINSTANCE instance, const char* name, WNDPROC proc, HBRUSH background, const char* icon,
                    const char* menu) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, icon);
  wc.hbrBackground = background;
  wc.lpszMenuName = menu;
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  g_instance = instance;
  if (!register_class(instance, "MERIDOT5", main_window_proc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)),
                      IDI_MERIDOT, IDR_MENU_J) ||
      !register_class(instance, "GRAB", grab_window_proc, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), IDI_GRAB,
                      nullptr))
    return 0;

  g_screenWidth = GetSystemMetrics(SM_CXSCREEN);
  g_screenHeight = GetSystemMetrics(SM_CYSCREEN);
  g_sizes = main_sizes(g_screenWidth, g_screenHeight, GetSystemMetrics(SM_CYMIN), GetSystemMetrics(SM_CYMENU));

  HWND main = CreateWindowA("MERIDOT5", "Meridot_Area", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX, 0,
                            0, kMainWidth, g_sizes.baseHeight + 16, nullptr, nullptr, instance, nullptr);
  // A second instance closes its window while it is being created.
  if (!main || !IsWindow(main)) return 0;
  g_mainWindow = main;
  ShowWindow(main, show);
  UpdateWindow(main);

  g_grabWindow = CreateWindowA("GRAB", "Meridot_Area", WS_POPUP | WS_SYSMENU, 0, 0, g_screenWidth, g_screenHeight,
                               nullptr, nullptr, instance, nullptr);
  if (!g_grabWindow) return 0;
  GrabContext context;
  context.main = main;
  context.grab = g_grabWindow;
  context.cross = g_crossCursor;
  context.baseHeight = g_sizes.baseHeight;
  context.mainWidth = kMainWidth;
  context.pending = &g_pendingForm;
  context.current = &g_currentForm;
  context.frameColour = &g_frameColour;
  context.captureState = &g_captureState;
  grab_attach(context);

  install_toolbar_rules();
  if (frame::register_toolbar_class(instance))
    g_toolbar = frame::create_toolbar(instance, main, g_screenWidth, GetSystemMetrics(SM_CYBORDER) + 20);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (mask_tool_key(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
