#include "capture/grab/form_dialog.h"

#include <initializer_list>

#include "capture/capture_state.h"
#include "capture/grab/form_choice_logic.h"
#include "frame/messages.h"
#include "frame/os_style.h"
#include "frame/scoped.h"

namespace capture {

namespace {

// What Cancel and the close box put back.
IconForm g_savedForm;
int g_savedFrameColour = kFrameInverted;
bool g_refuse256 = false;

void check(HWND dialog, int control) {
  const ButtonGroup g = group_of(control);
  if (g.first) CheckRadioButton(dialog, g.first, g.last, control);
}

void on_init(HWND dialog) {
  const CheckedButtons b = checked_for(g_currentForm, g_frameColour);
  for (int control : {b.size, b.colours, b.orientation, b.frame}) check(dialog, control);
}

// An etched rule between the Image group and the frame colour group.
void on_paint(HWND dialog) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dialog, &ps);
  RECT r{10, 122, 158, 123};  // both templates have the English width
  MapDialogRect(dialog, &r);
  {
    frame::GdiObject<HPEN> shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    frame::Selection selected(dc, shadow.get());
    MoveToEx(dc, r.right - 1, r.top, nullptr);
    LineTo(dc, r.left - 1, r.top);
  }
  {
    frame::Selection selected(dc, GetStockObject(WHITE_PEN));
    MoveToEx(dc, r.right - 1, r.top + 1, nullptr);
    LineTo(dc, r.left - 1, r.top + 1);
  }
  EndPaint(dialog, &ps);
}

void restore_and_end(HWND dialog, INT_PTR result) {
  g_currentForm = g_savedForm;
  g_pendingForm = g_savedForm;
  g_frameColour = g_savedFrameColour;
  EndDialog(dialog, result);
}

void on_command(HWND dialog, int control) {
  switch (control) {
    case IDOK: EndDialog(dialog, 1); return;
    case IDCANCEL: restore_and_end(dialog, 2); return;
    default:
      if (const int checked = apply_choice(control, g_pendingForm, g_frameColour, g_refuse256)) check(dialog, checked);
  }
}

INT_PTR CALLBACK form_dialog_proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG: on_init(dialog); return TRUE;
    case WM_PAINT: on_paint(dialog); return TRUE;
    case WM_COMMAND: on_command(dialog, LOWORD(wParam)); return TRUE;
    case WM_CLOSE: restore_and_end(dialog, 0); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

void open_form_dialog(HWND main) {
  // Measured at each opening: the display mode may have changed meanwhile.
  g_refuse256 = refuses_256_colours(frame::display_bits_per_pixel());
  g_savedForm = g_currentForm;
  g_savedFrameColour = g_frameColour;
  g_pendingForm = g_currentForm;
  const INT_PTR result = DialogBoxParamA(g_instance, japaneseUi ? IDD_FORM_J : IDD_FORM, main,
                                         form_dialog_proc, 0);
  if (result == -1) frame::report_dialog_failure();
}

}  // namespace capture
