// Entry point of the viewer: the main window, the tool bar and the loop.
#include <windows.h>

#include "frame/toolbar.h"
#include "viewer/app/buttons.h"
#include "viewer/app/main_window.h"
#include "viewer/app/view_keys.h"
#include "viewer/app/viewer_state.h"

using namespace viewer;

namespace {

bool register_main_class(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = main_window_proc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, IDI_KALDERO);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kMainClass;
  return RegisterClassA(&wc) != 0;
}

void read_screen_metrics() {
  g_screen.width = GetSystemMetrics(SM_CXSCREEN);
  g_screen.height = GetSystemMetrics(SM_CYSCREEN);
  g_screen.hScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
  g_screen.vScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  g_screen.minHeightBase = GetSystemMetrics(SM_CYMIN) + 20;
  g_screen.dialogOffset = GetSystemMetrics(SM_CYCAPTION) + 30;
  g_screen.toolbarHeight = GetSystemMetrics(SM_CYBORDER) + 19;
  g_screen.toolbarWidth = g_screen.width;
  g_defaultGeometry.width = g_screen.width * 8 / 10;
  g_defaultGeometry.height = g_screen.height * 8 / 10;
  g_defaultGeometry.x = (g_screen.width - g_defaultGeometry.width) / 2;
  g_defaultGeometry.y = (g_screen.height - g_defaultGeometry.height) / 2;
}

void set_up_print_settings(HWND main) {
  ZeroMemory(&g_printSettings, sizeof g_printSettings);
  g_printSettings.lStructSize = sizeof g_printSettings;
  g_printSettings.hwndOwner = main;
  g_printSettings.Flags = PD_SHOWHELP | PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  g_instance = instance;
  if (!register_main_class(instance)) return 0;
  read_screen_metrics();
  HWND main = CreateWindowExA(0, kMainClass, "Kaldero_Frame", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX,
                              g_defaultGeometry.x, g_defaultGeometry.y, g_defaultGeometry.width,
                              g_defaultGeometry.height, nullptr, nullptr, instance, nullptr);
  // The start-up checks close the window while it is being created.
  if (!main || !IsWindow(main)) return 0;
  g_mainWindow = main;
  ShowWindow(main, show);
  UpdateWindow(main);
  set_up_print_settings(main);

  install_tool_buttons();
  if (frame::register_toolbar_class(instance))
    g_toolbar = frame::create_toolbar(instance, main, g_screen.toolbarWidth, g_screen.toolbarHeight);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (route_view_input(main, msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
