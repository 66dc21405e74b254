#include "capture/capture_state.h"
#include "capture/mask/mask_tool.h"
#include "frame/messages.h"
#include "frame/os_style.h"

namespace capture {

namespace {

constexpr int kPixelButton = IDC_FILL_PIXEL;
constexpr int kAreaButton = IDC_FILL_AREA;

int* g_value = nullptr;
int g_saved = 0;

void check(HWND dialog) {
  CheckRadioButton(dialog, kPixelButton, kAreaButton, *g_value == 1 ? kAreaButton : kPixelButton);
}

INT_PTR CALLBACK fill_dialog_proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG: check(dialog); return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kPixelButton: *g_value = 0; check(dialog); return TRUE;
        case kAreaButton: *g_value = 1; check(dialog); return TRUE;
        case IDOK: EndDialog(dialog, IDOK); return TRUE;
        case IDCANCEL: *g_value = g_saved; EndDialog(dialog, IDCANCEL); return TRUE;
        default: return FALSE;
      }
    case WM_CLOSE: *g_value = g_saved; EndDialog(dialog, IDCANCEL); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

void run_fill_tool_dialog(HWND main, int* fillTool) {
  g_value = fillTool;
  g_saved = *fillTool;
  const INT_PTR result =
      DialogBoxParamA(g_instance, japaneseUi ? IDD_FILL_TOOL_J : IDD_FILL_TOOL, main, fill_dialog_proc, 0);
  if (result == -1) {
    *fillTool = g_saved;
    frame::report_dialog_failure();
  }
}

}  // namespace capture
