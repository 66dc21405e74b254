#include "viewer/icon/colour_dialog.h"

#include "frame/os_style.h"
#include "frame/scoped.h"
#include "viewer/icon/icon_messages.h"
#include "viewer/app/viewer_state.h"

namespace viewer {

COLORREF maskColour = 0x808000;
int maskColourIndex = 0;

namespace {

const COLORREF kColours[8] = {0x808000, 0x008000, 0x800000, 0x008080, 0x800080, 0x000080, 0xFFFFFF, 0x000000};

COLORREF g_savedColour = 0;
int g_savedIndex = 0;

BOOL on_init(HWND dlg) {
  HWND list = GetDlgItem(dlg, kColourListId);
  SendMessageA(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 25);  // the selection field
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  for (COLORREF c : kColours) SendMessageA(list, CB_ADDSTRING, 0, static_cast<LPARAM>(c));
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(maskColourIndex), 0);
  return TRUE;
}

void on_draw_item(const DRAWITEMSTRUCT* d) {
  if (d->itemID == static_cast<UINT>(-1)) return;
  if (d->itemAction & ODA_DRAWENTIRE) {
    RECT r = d->rcItem;
    r.left += 2;
    r.right -= 2;
    r.top += 1;
    r.bottom -= 1;
    // Without a brush the swatch stays as the list drew it.
    frame::GdiObject<HBRUSH> brush(CreateSolidBrush(static_cast<COLORREF>(d->itemData)));
    if (brush) FillRect(d->hDC, &r, brush.get());
  }
  if (d->itemAction & (ODA_SELECT | ODA_DRAWENTIRE)) {
    // The frame shows the selection; redrawing it on every full draw keeps
    // it right when the list repaints an item wholesale.
    HBRUSH frame = static_cast<HBRUSH>(GetStockObject((d->itemState & ODS_SELECTED) ? BLACK_BRUSH : WHITE_BRUSH));
    FrameRect(d->hDC, &d->rcItem, frame);
  }
}

void restore_saved() {
  maskColour = g_savedColour;
  maskColourIndex = g_savedIndex;
}

INT_PTR CALLBACK colour_dialog_proc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: return on_init(dlg);
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 20;
      return TRUE;
    case WM_DRAWITEM:
      on_draw_item(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kColourListId: {
          // The choice takes effect at once, before OK.
          HWND list = GetDlgItem(dlg, kColourListId);
          const LRESULT pos = SendMessageA(list, CB_GETCURSEL, 0, 0);
          if (pos >= 0 && pos < 8) {
            maskColour = static_cast<COLORREF>(SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(pos), 0));
            maskColourIndex = static_cast<int>(pos);
          }
          return TRUE;
        }
        case IDOK: EndDialog(dlg, 1); return TRUE;
        case IDCANCEL: EndDialog(dlg, 2); return TRUE;
        default: return FALSE;
      }
    case WM_CLOSE: EndDialog(dlg, 0); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

void choose_mask_colour(HWND owner) {
  g_savedColour = maskColour;
  g_savedIndex = maskColourIndex;
  const INT_PTR r = DialogBoxParamA(g_instance, japaneseUi ? IDD_COLOUR_SELECT_J : IDD_COLOUR_SELECT, owner,
                                    colour_dialog_proc, 0);
  // Cancel and the close box are undone only once the dialog is gone: while
  // it goes away the list still reports to it (losing the focus, say), and
  // every report takes the list's selection again.
  if (r == 2 || r == 0) restore_saved();
  if (r == -1) {
    maskColour = 0x808000;
    maskColourIndex = 0;
    frame::show(owner, msg::kColourDialogFailure);
  }
}

}  // namespace viewer
