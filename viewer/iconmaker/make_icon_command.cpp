#include "viewer/iconmaker/make_icon_command.h"

#include <commdlg.h>

#include <cstdio>

#include "formats/icon_build.h"
#include "frame/os_style.h"
#include "viewer/app/messages.h"
#include "viewer/app/view.h"
#include "viewer/app/viewer_state.h"
#include "viewer/export/disk_checks.h"
#include "viewer/icon/open_logic.h"
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

void error(HWND w, const char* en, const char* ja) { message(w, MB_OK | MB_ICONERROR, en, "Error", ja, "エラー"); }

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
  ZeroMemory(path, kPathCapacity);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  ofn.hwndOwner = w;
  ofn.lpstrFilter = "Bitmap (*.bmp)\0*.bmp\0";
  ofn.lpstrFile = path;
  ofn.nMaxFile = kPathCapacity;
  ofn.lpstrTitle = title;
  ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (GetOpenFileNameA(&ofn)) {
    repaint_make_icon_button(w);
    return true;
  }
  const DWORD code = CommDlgExtendedError();
  if (code != 0)
    message_f(w, MB_OK | MB_ICONERROR, "GetOpenFileName error 0x%lx", "Error", "GetOpenFileName エラー 0x%lx",
              "エラー", static_cast<unsigned long>(code));
  else if (repaintOnCancel)
    repaint_make_icon_button(w);
  return false;
}

bool has_bmp_extension(HWND w, const char* path) {
  if (kind_by_extension(path) == FileKind::Bmp) return true;
  message(w, MB_OK | MB_ICONWARNING, "Select a file with BMP extension.", "Error",
          "拡張子 BMP のファイルを選択してください.", "エラー");
  return false;
}

void report_pair_check(HWND w, fmt::icon::PairCheck c) {
  using C = fmt::icon::PairCheck;
  switch (c) {
    case C::NotBitmap:
      error(w, "Assign a correct bitmap file.", "正しいビットマップ・ファイルを選択してください.");
      break;
    case C::UnsupportedDepth:
      error(w, "Assign a 2/16/256/16M color bitmap file.",
            "2色/16色/256色/16M色ビットマップ・ファイルを選択してください.");
      break;
    case C::Compressed:
      error(w, "Unable to convert to an icon file because of\na compressed format bitmap file (RLE type).",
            "圧縮形ビットマップ・ファイル(RLE形)は\nアイコン・ファイル変換はできません.");
      break;
    case C::DifferentWidth:
      error(w, "Found different width\nbetween two bitmap files.", "２つのビットマップ・ファイルは\n幅が異なります.");
      break;
    case C::DifferentHeight:
      error(w, "Found different height\nbetween two bitmap files.",
            "２つのビットマップ・ファイルは\n高さが異なります.");
      break;
    case C::DifferentColours:
      error(w, "Found different color-number\nbetween two bitmap files.",
            "２つのビットマップ・ファイルは\n色数が異なります.");
      break;
    case C::DifferentHeader:
      error(w, "Found different header other than width/height/color-number\nbetween two bitmap files.",
            "２つのビットマップ・ファイルは\n幅・高さ・色数以外のヘッダー部が異なります.");
      break;
    case C::DifferentPalette:
      error(w, "Found different RGB-palette\nbetween two bitmap files.",
            "２つのビットマップ・ファイルは\nRGBパレットが異なります.");
      break;
    case C::Ok: break;
  }
}

// The save dialog for the icon file, back again after a drive that is not
// a fixed disk. The system asks before an existing file is replaced.
bool choose_icon_file(HWND w) {
  for (;;) {
    ZeroMemory(g_iconPath, sizeof g_iconPath);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = w;
    ofn.lpstrFilter = "Icon (*.ico)\0*.ico\0";
    ofn.lpstrFile = g_iconPath;
    ofn.nMaxFile = kPathCapacity;
    ofn.lpstrTitle = g_texts.iconSaveTitle;
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    ofn.lpstrDefExt = "ico";
    if (!GetSaveFileNameA(&ofn)) {
      const DWORD code = CommDlgExtendedError();
      if (code != 0)
        message_f(w, MB_OK | MB_ICONERROR, "GetSaveFileName error 0x%lx", "Error", "GetSaveFileName エラー 0x%lx",
                  "エラー", static_cast<unsigned long>(code));
      return false;
    }
    redraw_view(w, false);
    if (is_fixed_disk(g_iconPath)) return true;
    message(w, MB_OK | MB_ICONWARNING, "Unable to save to the removable (or remote) disk.", "Warning",
            "リムーバブル(またはリモート)・ディスクへはセーブできません.", "警告");
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
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  const bool written = write_icon_file(a, b, g_iconPath);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  if (!written) {
    error(w, "Cannot create a target file.", "ターゲット・ファイルを作成できません.");
    return;
  }
  message_f(w, MB_OK | MB_ICONINFORMATION, "An icon file\n%s\nhas been created.", "Success",
            "アイコン・ファイル\n%s\nが作成されました.", "成功", g_iconPath);
}

void check_files(HWND w) {
  HANDLE first = open_for_shared_reading(g_firstPath);
  if (first == INVALID_HANDLE_VALUE) {
    error(w, "Cannot open a 1st bitmap file.", "第１のビットマップ・ファイルを開けません.");
    return;
  }
  HANDLE second = open_for_shared_reading(g_secondPath);
  if (second == INVALID_HANDLE_VALUE) {
    error(w, "Cannot open a 2nd bitmap file.", "第２のビットマップ・ファイルを開けません.");
    CloseHandle(first);
    return;
  }
  check_and_build(w, first, second);
  CloseHandle(first);
  CloseHandle(second);
}

void choose_bitmaps(HWND w) {
  if (!choose_bitmap(w, g_firstPath, g_texts.firstBitmapTitle, true)) return;
  if (!has_bmp_extension(w, g_firstPath)) return;
  show_make_icon_bitmap(w, g_firstPath, 1);
  message(w, MB_OK | MB_ICONINFORMATION, "Select 2nd bitmap file by the next procedure.", "About next procedure",
          "次ぎは、第２のビットマップファイルの選択です.", "選択手順の案内");
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
    message(nullptr, MB_SYSTEMMODAL | MB_ICONERROR, "Unable to display dialog.", "System Error",
            "ダイアログを表示できません", "システム・エラー");
    return;
  }
  if (g_cancelled) return;
  choose_bitmaps(w);
}

}  // namespace viewer
