#include "viewer/iconmaker/make_icon_command.h"

#include <cstdio>

#include "formats/icon_build.h"
#include "frame/file_dialog.h"
#include "frame/os_style.h"
#include "frame/scoped.h"
#include "viewer/app/view.h"
#include "viewer/app/viewer_state.h"
#include "viewer/export/disk_checks.h"
#include "viewer/export/save_messages.h"
#include "viewer/icon/icon_messages.h"
#include "viewer/icon/open_logic.h"
#include "viewer/iconmaker/icon_maker_messages.h"
#include "viewer/iconmaker/icon_file_write.h"
#include "viewer/iconmaker/shown_bitmap.h"
#include "resources/viewer/resource.h"

namespace viewer {

namespace {

constexpr DWORD kPathCapacity = 258;
char g_firstPath[kPathCapacity];
char g_secondPath[kPathCapacity];
char g_iconPath[kPathCapacity];
bool g_cancelled = false;

INT_PTR CALLBACK explanation_proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        EndDialog(dialog, 1);
      } else if (LOWORD(wParam) == IDCANCEL) {
        g_cancelled = true;
        EndDialog(dialog, 2);
      }
      return TRUE;
    case WM_CLOSE:
      g_cancelled = true;
      EndDialog(dialog, 0);
      return TRUE;
    default: return FALSE;
  }
}

void repaint_make_icon_button(HWND w) {
  // The dialog covered the button: repaint it, the child included.
  RECT r{303, 0, 335, 20};
  RedrawWindow(w, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// The open dialog for one of the two bitmaps; false when none was chosen.
bool choose_bitmap(HWND w, char* path, const char* title, bool repaintOnCancel) {
  OPENFILENAMEA ofn = frame::file_dialog(w, "Bitmap (*.bmp)\0*.bmp\0", path, kPathCapacity, title,
                                         OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY);
  if (GetOpenFileNameA(&ofn)) {
    repaint_make_icon_button(w);
    return true;
  }
  const DWORD code = CommDlgExtendedError();
  if (code != 0)
    frame::show_f(w, msg::kOpenDialogError, static_cast<unsigned long>(code));
  else if (repaintOnCancel)
    repaint_make_icon_button(w);
  return false;
}

bool has_bmp_extension(HWND w, const char* path) {
  if (kind_by_extension(path) == FileKind::Bmp) return true;
  frame::show(w, msg::kSelectBmpExtension);
  return false;
}

void report_pair_check(HWND w, fmt::icon::PairCheck c) {
  using C = fmt::icon::PairCheck;
  const frame::Message* m = nullptr;
  switch (c) {
    case C::NotBitmap: m = &msg::kPairNotBitmap; break;
    case C::UnsupportedDepth: m = &msg::kPairDepth; break;
    case C::Compressed: m = &msg::kPairCompressed; break;
    case C::DifferentWidth: m = &msg::kPairWidth; break;
    case C::DifferentHeight: m = &msg::kPairHeight; break;
    case C::DifferentColours: m = &msg::kPairColours; break;
    case C::DifferentHeader: m = &msg::kPairHeader; break;
    case C::DifferentPalette: m = &msg::kPairPalette; break;
    case C::Ok: break;
  }
  if (m) frame::show(w, *m);
}

// The save dialog for the icon file, back again after a drive that is not
// a fixed disk. The system asks before an existing file is replaced.
bool choose_icon_file(HWND w) {
  for (;;) {
    OPENFILENAMEA ofn = frame::file_dialog(w, "Icon (*.ico)\0*.ico\0", g_iconPath, kPathCapacity,
                                           g_texts.iconSaveTitle,
                                           OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    ofn.lpstrDefExt = "ico";
    if (!GetSaveFileNameA(&ofn)) {
      const DWORD code = CommDlgExtendedError();
      if (code != 0)
        frame::show_f(w, msg::kIconSaveDialogError, static_cast<unsigned long>(code));
      return false;
    }
    redraw_view(w, false);
    if (is_fixed_disk(g_iconPath)) return true;
    frame::show(w, msg::kIconOnlyToFixedDisk);
  }
}

HANDLE open_for_shared_reading(const char* path) {
  return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Checks the pair, asks for the icon file and writes it. Both files stay
// open (and so unchangeable by others) until the icon is written.
void check_and_build(HWND w, HANDLE first, HANDLE second) {
  InputBitmap a{first}, b{second};
  if (!read_head(a) || !read_head(b)) {
    report_pair_check(w, fmt::icon::PairCheck::NotBitmap);
    return;
  }
  const fmt::icon::PairCheck c = fmt::icon::check_pair(a.head, a.headLength, a.size, b.head, b.headLength, b.size);
  if (c != fmt::icon::PairCheck::Ok) {
    report_pair_check(w, c);
    return;
  }
  if (!choose_icon_file(w)) return;
  IconWrite written;
  {
    frame::WaitCursor busy;
    written = write_icon_file(a, b, g_iconPath);
  }
  if (written != IconWrite::Written) {
    frame::show(w, written == IconWrite::PathTooLong ? msg::kPathTooLong : msg::kTargetNotCreated);
    return;
  }
  frame::show_f(w, msg::kIconCreated, g_iconPath);
}

void check_files(HWND w) {
  frame::Handle first(open_for_shared_reading(g_firstPath));
  if (!first.valid()) {
    frame::show(w, msg::kFirstBitmapNotOpened);
    return;
  }
  frame::Handle second(open_for_shared_reading(g_secondPath));
  if (!second.valid()) {
    frame::show(w, msg::kSecondBitmapNotOpened);
    return;
  }
  check_and_build(w, first.get(), second.get());
}

void choose_bitmaps(HWND w) {
  if (!choose_bitmap(w, g_firstPath, g_texts.firstBitmapTitle, true)) return;
  if (!has_bmp_extension(w, g_firstPath)) return;
  show_make_icon_bitmap(w, g_firstPath, 1);
  frame::show(w, msg::kNextBitmap);
  // A cancel here leaves the 1st bitmap on show.
  if (!choose_bitmap(w, g_secondPath, g_texts.secondBitmapTitle, false)) return;
  if (!has_bmp_extension(w, g_secondPath)) return;
  show_make_icon_bitmap(w, g_secondPath, 2);
  check_files(w);
}

}  // namespace

void make_icon_command(HWND w) {
  g_cancelled = false;
  const INT_PTR r =
      DialogBoxParamA(g_instance, frame::tr(IDD_MAKE_ICON, IDD_MAKE_ICON_J), w, explanation_proc, 0);
  if (r == -1) {
    frame::show(nullptr, msg::kMakeIconDialogFailure);
    return;
  }
  if (g_cancelled) return;
  choose_bitmaps(w);
}

}  // namespace viewer
