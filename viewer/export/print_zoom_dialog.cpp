#include "viewer/export/print_zoom_dialog.h"

#include "frame/os_style.h"
#include "viewer/app/view.h"
#include "viewer/export/print_messages.h"
#include "viewer/app/viewer_state.h"
#include "viewer/export/print_logic.h"

namespace viewer {

int printZoomPercent = 100;

namespace {

int g_startPercent = 100;

void show_value(HWND dlg) {
  SetScrollPos(GetDlgItem(dlg, kPrintZoomSliderId), SB_CTL, printZoomPercent, TRUE);
  SetDlgItemInt(dlg, kPrintZoomValueId, static_cast<UINT>(printZoomPercent), TRUE);
}

BOOL on_init(HWND dlg) {
  HWND slider = GetDlgItem(dlg, kPrintZoomSliderId);
  SetScrollRange(slider, SB_CTL, kPrintZoomMin, kPrintZoomMax, FALSE);
  show_value(dlg);
  HWND value = GetDlgItem(dlg, kPrintZoomValueId);
  SendMessageA(value, EM_LIMITTEXT, 3, 0);
  SendMessageA(value, EM_SETREADONLY, TRUE, 0);
  g_startPercent = printZoomPercent;
  return TRUE;
}

void on_slider(HWND dlg, WPARAM wParam) {
  const int next = print_zoom_after(printZoomPercent, scroll_code_of(wParam), static_cast<short>(HIWORD(wParam)));
  if (next == printZoomPercent) return;
  printZoomPercent = next;
  show_value(dlg);
}

// The box is read-only, so only show_value changes its text; a text that is
// not a number (empty for a moment, say) leaves the value alone.
void on_value_changed(HWND dlg) {
  BOOL number = FALSE;
  const int shown = static_cast<int>(GetDlgItemInt(dlg, kPrintZoomValueId, &number, TRUE));
  if (!number || shown == printZoomPercent) return;
  printZoomPercent = clamp_print_zoom(shown);
  SetScrollPos(GetDlgItem(dlg, kPrintZoomSliderId), SB_CTL, printZoomPercent, TRUE);
}

void put_back_start_value(HWND dlg) {
  if (printZoomPercent == g_startPercent) return;
  printZoomPercent = g_startPercent;
  show_value(dlg);
}

INT_PTR CALLBACK print_zoom_proc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG: return on_init(dlg);
    case WM_HSCROLL: on_slider(dlg, wParam); return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kPrintZoomValueId: on_value_changed(dlg); return TRUE;
        case kPrintZoomOkId: EndDialog(dlg, 1); return TRUE;
        // Escape comes as IDCANCEL and means what the Cancel button means.
        // The controls show the start value again too: the value box still
        // reports while the dialog goes away, and would bring its number back.
        case IDCANCEL:
        case kPrintZoomCancelId:
          put_back_start_value(dlg);
          EndDialog(dlg, 1);
          return TRUE;
        default: return FALSE;
      }
    case WM_CLOSE:
      put_back_start_value(dlg);
      EndDialog(dlg, 1);
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

int print_zoom_dialog(HWND owner) {
  const INT_PTR r = DialogBoxParamA(g_instance, japaneseUi ? IDD_PRINT_ZOOM_J : IDD_PRINT_ZOOM, owner,
                                    print_zoom_proc, 0);
  if (r == -1) {
    frame::show(nullptr, msg::kPrintZoomDialogFailure);
    return 0;
  }
  return 1;
}

}  // namespace viewer
