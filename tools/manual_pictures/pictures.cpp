// Takes the pictures of the manuals from the real viewer: its window with an
// image and with an icon, the tool bar and a hint, the open, colour and About
// dialogs and a Help message, each saved as a BMP file of just that window.
// Run under Wine by docs/manual/make_pictures.sh once per UI language.
//
//   manual_pictures.exe OUTPUT_FOLDER ICON_FILE
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "tests/e2e/harness.h"
#include "tests/e2e/viewer_ui.h"
#include "tools/manual_pictures/picture_out.h"

using namespace e2e;

namespace {

pictures::Output g_out;


// A small landscape: sky, sun, hills and a lake, 24 bits.
std::vector<uint8_t> landscape() {
  return make_bmp24(520, 330, [](int x, int y) -> uint32_t {
    const double hill = 215 + 28 * std::sin(x / 37.0) + 12 * std::sin(x / 13.0 + 1);
    const double distant = 165 + 40 * std::sin(x / 61.0 + 2);
    if (y > 280) {
      const int r = 40, g = 90 + (y - 280), b = 160 + (y - 280);
      return static_cast<uint32_t>((r << 16) | (g << 8) | b);
    }
    if (y > hill) return static_cast<uint32_t>(((40 + y / 8) << 16) | ((120 + y / 4) << 8) | 50);
    if (y > distant) return 0x5A7A9Au;
    const double dx = x - 400, dy = y - 70;
    if (dx * dx + dy * dy < 34 * 34) return 0xFFD23Cu;
    const int blue = 255 - y / 3, green = 170 + y / 4;
    return static_cast<uint32_t>((110 + y / 3) << 16 | (green > 255 ? 255 : green) << 8 | blue);
  });
}

bool open_file(Program& p, const std::string& path, bool picture) {
  post_command(p.main, kCmdOpen);
  HWND dialog = g_out.wait_dialog(L"Select a bitmap or an icon file to open.", L"Bitmap または Icon ファイルの選択", p.pid());
  if (!dialog) return false;
  if (picture) g_out.save_window(dialog, "open");
  return answer_file_dialog(dialog, path);
}

// Puts the DIB of a BMP file's bytes on the clipboard.
void put_bmp_on_clipboard(const std::vector<uint8_t>& bmp) {
  put_on_clipboard(CF_DIB, std::vector<uint8_t>(bmp.begin() + 14, bmp.end()));
}

// The file dialogs remember the folder each program used last (the tests
// leave theirs too): forgotten, so that the open dialog starts in the folder
// the pictures expect.
void forget_last_folders() {
  RegDeleteKeyA(HKEY_CURRENT_USER,
                "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedMRU");
}

// Closes whatever window of the program stands apart from its main window
// (the printer dialog, or the note that no printer is installed).
void close_other_window(Program& p) {
  HWND other = wait_other_window(p.pid(), p.main, 10000);
  if (!other) return;
  PostMessageA(other, WM_CLOSE, 0, 0);
  wait_until([&] { return !IsWindow(other); }, 5000);
}

// The commands of this round: the window with a pasted image, the TIF
// conditions, the save dialog and its closing message, and the print zoom
// dialog.
bool paste_save_print_pictures(Program& p) {
  put_bmp_on_clipboard(landscape());
  command_and_settle(p.main, IDM_PASTE);
  if (!wait_until([&] { return title_of(p.main).find("[1:1]") != std::string::npos &&
                               title_of(p.main).find(".ico") == std::string::npos; }))
    return false;
  repaint(p.main);
  g_out.save_window(p.main, "paste");

  post_command(p.main, IDM_PARAMETERS);
  HWND conditions = g_out.wait_dialog(L"TIF Image Conditions", L"TIF 像保存条件の設定", p.pid());
  if (!conditions) return false;
  g_out.save_window(conditions, "setparam");
  press(conditions, IDCANCEL);

  post_command(p.main, IDM_SAVE);
  HWND saveDialog = g_out.wait_dialog(L"Assign a filename to save.", L"保存するファイル名の指定", p.pid());
  if (!saveDialog) return false;
  g_out.save_window(saveDialog, "save");
  // A short path for the message to show; the folder is the reader's own.
  CreateDirectoryA("C:\\Pictures", nullptr);
  DeleteFileA("C:\\Pictures\\landscape.bmp");
  if (!answer_file_dialog(saveDialog, "C:\\Pictures\\landscape.bmp")) return false;
  HWND saved = g_out.wait_dialog(L"Information", L"お知らせ", p.pid());
  if (!saved) return false;
  g_out.save_window(saved, "saved");
  press(saved, IDOK);
  forget_last_folders();

  post_command(p.main, IDM_PRINT);
  HWND zoom = g_out.wait_dialog(L"Print Zoom", L"印刷ズーム設定", p.pid());
  if (!zoom) return false;
  g_out.save_window(zoom, "printzoom");
  // Cancel keeps the factor and goes on to the printer dialog: closed too.
  press(zoom, IDC_PRINT_ZOOM_CANCEL);
  close_other_window(p);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::printf("usage: manual_pictures OUTPUT_FOLDER ICON_FILE\n");
    return 2;
  }
  g_out.folder = argv[1];
  forget_last_folders();
  put_bmp_on_clipboard(make_bmp24(8, 8, [](int, int) { return 0x336699u; }));

  Program p;
  if (!start_viewer_ready(p, "manual-pictures")) return 1;
  SetWindowPos(p.main, nullptr, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  set_client_size(p.main, 560, 380);
  repaint(p.main);
  g_out.save_window(p.main, "start");

  const std::string dir = fresh_dir("manual-pictures");
  const std::string picture = join(dir, "landscape.bmp");
  write_file(picture, landscape());
  // The open dialog starts in the folder of the last file opened.
  CopyFileA(argv[2], join(dir, "kaldero.ico").c_str(), FALSE);
  SetCurrentDirectoryA(dir.c_str());
  if (!open_file(p, picture, true)) return 1;
  wait_until([&] { return title_of(p.main).find("landscape.bmp") != std::string::npos; });
  repaint(p.main);
  g_out.save_window(p.main, "main");
  // Every button enabled: one step in makes Zoom Out usable. The strip goes
  // on past the buttons to the screen's edge: a little of it is shown.
  command_and_settle(p.main, kCmdZoomIn);
  repaint(p.main);
  g_out.save(g_out.toolbar(p.main, button_of(p.main, IDC_SPACE_BUTTON), kStrip, 16), "toolbar");
  command_and_settle(p.main, kCmdZoomOut);
  repaint(p.main);

  const POINT open = button_centre(p.main, kButtonOpen);
  move_mouse(open.x - 4, open.y);
  move_mouse(open.x, open.y);
  Sleep(400);
  RECT r;
  GetWindowRect(p.main, &r);
  g_out.save(grab_screen(r.left, r.top, 300, GetSystemMetrics(SM_CYCAPTION) + 64), g_out.picture("hint"));
  move_mouse(r.left + 300, r.top + 300);

  // Colour extraction: the window beside the image, red and green kept.
  post_command(p.main, IDM_EXTRACTION);
  HWND extraction = g_out.wait_dialog(L"Image by Extracted Colors", L"カラー抽出像の表示", p.pid());
  if (!extraction) return 1;
  SendMessageA(extraction, WM_COMMAND, IDC_EXTRACT_RG, 0);
  settle(p.main);
  GetWindowRect(p.main, &r);
  g_out.save(grab_screen(r.left, r.top, r.right - r.left, r.bottom - r.top), g_out.picture("extraction"));
  SendMessageA(extraction, WM_COMMAND, IDCANCEL, 0);
  settle(p.main);

  // The icon maker's explanation with its three example icons.
  post_command(p.main, IDM_MAKE_ICON);
  HWND example = g_out.wait_dialog(L"Example to make Icon", L"ICON作成の例", p.pid());
  if (!example) return 1;
  g_out.save_window(example, "makeicon");
  press(example, IDCANCEL);

  post_command(p.main, IDM_ABOUT);
  HWND about = g_out.wait_dialog(L"About", L"御案内", p.pid());
  if (!about) return 1;
  g_out.save_window(about, "about");
  press(about, IDOK);

  const std::string icon = join(dir, "kaldero.ico");
  CopyFileA(argv[2], icon.c_str(), FALSE);
  post_command(p.main, kCmdOpen);
  HWND dialog = g_out.wait_dialog(L"Select a bitmap or an icon file to open.", L"Bitmap または Icon ファイルの選択", p.pid());
  if (!dialog || !answer_file_dialog(dialog, icon)) return 1;
  HWND colour = g_out.wait_dialog(L"Color Selection", L"表示色の選択", p.pid());
  if (!colour) return 1;
  g_out.save_window(colour, "colour");
  press(colour, IDOK);
  wait_until([&] { return title_of(p.main).find("[1:1]") != std::string::npos; });
  for (int i = 0; i < 4; ++i) command_and_settle(p.main, kCmdZoomIn);
  repaint(p.main);
  g_out.save_window(p.main, "icon");
  if (!paste_save_print_pictures(p)) return 1;
  p.close();

  // A copy of the program without its manual, for the message Help shows then.
  const std::string lone = fresh_dir("manual-pictures-lone");
  CopyFileA(viewer_exe().c_str(), join(lone, "KALDERO5.EXE").c_str(), FALSE);
  Program q;
  if (!q.start(join(lone, "KALDERO5.EXE"), lone) || !q.wait_main("KALDERO5")) return 1;
  wait_until([&] { return IsWindowVisible(button_of(q.main, IDC_SPACE_BUTTON)); });
  post_command(q.main, IDM_HELP);
  HWND box = wait_window("Error", 10000, q.pid());
  if (!box) return 1;
  g_out.save_window(box, "help-missing");
  press(box, IDOK);
  q.close();
  return 0;
}
