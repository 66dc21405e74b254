#include "viewer/export/tif_conditions.h"

#include "frame/os_style.h"
#include "frame/messages.h"
#include "viewer/app/viewer_state.h"

namespace viewer {

int tifByteOrder = 0;
int tifAs16Bit = 0;

namespace {

bool g_cancelled = false;

INT_PTR CALLBACK conditions_proc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      CheckRadioButton(dlg, kIntelId, kMotorolaId, tifByteOrder == 0 ? kIntelId : kMotorolaId);
      CheckDlgButton(dlg, kAs16BitId, tifAs16Bit == 1 ? BST_CHECKED : BST_UNCHECKED);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kIntelId:
        case kMotorolaId:
          CheckRadioButton(dlg, kIntelId, kMotorolaId, LOWORD(wParam));
          tifByteOrder = LOWORD(wParam) == kIntelId ? 0 : 1;
          return TRUE;
        case kAs16BitId:
          tifAs16Bit = tifAs16Bit == 1 ? 0 : 1;
          CheckDlgButton(dlg, kAs16BitId, tifAs16Bit ? BST_CHECKED : BST_UNCHECKED);
          return TRUE;
        case IDOK: EndDialog(dlg, 1); return TRUE;
        case IDCANCEL:
          g_cancelled = true;
          EndDialog(dlg, 2);
          return TRUE;
        default: return FALSE;
      }
    case WM_CLOSE:
      g_cancelled = true;
      EndDialog(dlg, 0);
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

void tif_conditions_command(HWND w) {
  g_cancelled = false;
  const int order = tifByteOrder, as16 = tifAs16Bit;
  const INT_PTR r = DialogBoxParamA(g_instance, japaneseUi ? IDD_TIF_CONDITIONS_J : IDD_TIF_CONDITIONS, w, conditions_proc, 0);
  if (r == -1) {
    frame::report_dialog_failure();
    return;
  }
  if (g_cancelled) {
    tifByteOrder = order;
    tifAs16Bit = as16;
  }
}

}  // namespace viewer
