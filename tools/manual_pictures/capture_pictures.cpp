// Takes the pictures of the capture program's manuals from the real program:
// its window before and after a capture, the menu, the form dialog, a capture
// in progress with its frame, the questions and the save dialog, the
// transparent-pixel tool and its fill tool dialog, one square in each
// orientation, the About box and a Help message, each saved as a BMP file. Run under Wine by
// docs/manual/make_pictures.sh once per UI language.
//
//   capture_pictures.exe OUTPUT_FOLDER
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "tests/e2e/capture_app_ui.h"
#include "tests/e2e/capture_ui.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/capture/resource.h"
#include "tools/manual_pictures/picture_out.h"

using namespace e2e;

namespace {

pictures::Output g_out{"", "meridot-"};

void save(const Pixels& px, const std::string& name) { g_out.save(px, g_out.picture(name)); }

// A small flower on a meadow under a plain sky: something worth making an
// icon of, with a background of one colour for the area tool.
uint32_t flower(int x, int y) {
  const double dx = x - 160, dy = y - 110;
  const double r = std::sqrt(dx * dx + dy * dy), a = std::atan2(dy, dx);
  if (r < 5) return 0xF0C020u;
  if (r < 5 + 9 * std::fabs(std::cos(3 * a))) return 0xE03050u;
  if (y > 190) return 0x3C9040u;
  if (x >= 159 && x <= 161 && y > 110) return 0x308030u;
  return 0x80C0F0u;
}

// The file name box: an edit 1148 or 1152, or the edit inside combo box 1148.
BOOL CALLBACK clear_name_box(HWND w, LPARAM) {
  char cls[32] = {};
  GetClassNameA(w, cls, sizeof cls);
  const int id = GetDlgCtrlID(w);
  if (lstrcmpiA(cls, "Edit") != 0 || (id != 1148 && id != 1152 && GetDlgCtrlID(GetParent(w)) != 1148)) return TRUE;
  SendMessageA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::printf("usage: capture_pictures OUTPUT_FOLDER\n");
    return 2;
  }
  g_out.folder = argv[1];
  const int px0 = 320, py0 = 160;
  PatternWindow picture(px0, py0, 320, 240, flower);
  picture.shown();

  Program p;
  if (!start_meridot(p, "capture-pictures")) return 1;
  wait_until([&] { return IsWindowVisible(meridot_button(p.main, kMeridotSpaceButton)) != 0; });
  SetWindowPos(p.main, HWND_TOP, 30, 30, 0, 0, SWP_NOSIZE);
  repaint(p.main);
  g_out.save_window(p.main, "start");
  save(g_out.toolbar(p.main, meridot_button(p.main, kMeridotSpaceButton), 21, 0), "toolbar");

  // The menu, opened with the keyboard, with the window above it.
  SetForegroundWindow(p.main);
  settle(p.main);
  type_key_press('M', VK_MENU);
  Sleep(500);
  RECT r, popup;
  GetWindowRect(p.main, &r);
  // The open menu is a window of the system's menu class.
  const RECT window = r;
  popup = r;
  if (HWND menu = FindWindowA("#32768", nullptr); menu && GetWindowRect(menu, &popup)) UnionRect(&r, &r, &popup);
  Pixels menu = grab_screen(r.left, r.top, r.right - r.left, r.bottom - r.top);
  // Beside the menu, below the window, the bare root window of the headless screen would show as a black
  // block: paper white there instead.
  for (int y = 0; y < menu.height; ++y) {
    for (int x = 0; x < menu.width; ++x) {
      const POINT at{r.left + x, r.top + y};
      if (!PtInRect(&window, at) && !PtInRect(&popup, at)) {
        menu.data[static_cast<size_t>(y) * menu.width + x] = 0xFFFFFF;
      }
    }
  }
  save(menu, "menu");
  type_key_press(VK_ESCAPE);
  type_key_press(VK_ESCAPE);

  // The form dialog with 32 x 32, 256 colours, erect, black frame.
  post_command(p.main, kMeridotForm);
  HWND form = g_out.wait_dialog(L"Select an Icon Form", L"アイコン形式の設定", p.pid());
  if (!form) return 1;
  for (int id : {114, 118, 119, 128}) SendMessageA(form, WM_COMMAND, static_cast<WPARAM>(id), 0);
  g_out.save_window(form, "form");
  press(form, IDOK);

  // The folder the icon is saved to, empty.
  const std::string dir = fresh_dir("capture-pictures-icons");
  SetCurrentDirectoryA(dir.c_str());

  // A capture in progress: the button held over the flower, the frame
  // around the square that will be taken.
  if (!enter_capture(p)) return 1;
  const POINT at{px0 + 160, py0 + 108};
  drag({at.x - 20, at.y - 12}, {{at.x - 10, at.y - 6}, at}, false);
  Sleep(400);
  save(grab_screen(at.x - 80, at.y - 60, 160, 120), "frame");
  move_mouse(at.x, at.y);
  INPUT up{};
  up.type = INPUT_MOUSE;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &up, sizeof up);

  HWND question = g_out.wait_dialog(L"Question", L"質問", p.pid());
  if (!question) return 1;
  g_out.save_window(question, "save-question");
  press(question, IDYES);
  HWND dialog = g_out.wait_dialog(L"Assign an icon filename", L"アイコン・ファイル名の指定", p.pid());
  if (!dialog) return 1;
  // The dialog opens in the folder the program saved to last: a folder
  // typed as the name takes it to the empty one, and the name box is cleared.
  if (!answer_file_dialog(dialog, dir + "\\")) return 1;
  Sleep(800);
  EnumChildWindows(dialog, clear_name_box, 0);
  g_out.save_window(dialog, "save-dialog");
  if (!answer_file_dialog(dialog, join(dir, "flower.ico"))) return 1;
  question = g_out.wait_dialog(L"Question", L"質問", p.pid());
  if (!question) return 1;
  g_out.save_window(question, "transparent-question");
  press(question, IDYES);

  // The transparent-pixel tool, where the program has it: the area tool
  // chosen in the fill tool dialog, the sky marked with one click, then OK.
  const bool tool = wait_until([&] { return GetDlgItem(p.main, IDC_TOOL_OK) != nullptr; }, 3000);
  if (tool) {
    settle(p.main);
    post_command(p.main, IDC_TOOL_FILL);
    HWND fill = g_out.wait_dialog(L"Select a filling tool", L"塗りつぶしツールの設定", p.pid());
    if (!fill) return 1;
    SendMessageA(fill, WM_COMMAND, 131, 0);
    g_out.save_window(fill, "fill-dialog");
    press(fill, IDOK);
    settle(p.main);
    const POINT sky = client_to_screen(p.main, 6 * 1 + 3, 6 * 1 + 23);
    click(sky.x, sky.y);
    repaint(p.main);
    g_out.save_window(p.main, "tool");
    post_command(p.main, IDC_TOOL_OK);
  }
  HWND success = g_out.wait_dialog(L"Success", L"成功", p.pid());
  if (!success) return 1;
  g_out.save_window(success, "success");
  press(success, IDOK);
  repaint(p.main);
  g_out.save_window(p.main, "main");

  post_command(p.main, IDM_MENU_ABOUT);
  HWND about = g_out.wait_dialog(L"About", L"御案内", p.pid());
  if (!about) return 1;
  g_out.save_window(about, "about");
  press(about, IDOK);

  // The same square below the flower's left, where the stem stands on its
  // right, captured in each orientation and not saved.
  for (int orientation = 0; orientation < 4; ++orientation) {
    post_command(p.main, kMeridotForm);
    form = g_out.wait_dialog(L"Select an Icon Form", L"アイコン形式の設定", p.pid());
    if (!form) return 1;
    SendMessageA(form, WM_COMMAND, static_cast<WPARAM>(119 + orientation), 0);
    press(form, IDOK);
    if (!enter_capture(p)) return 1;
    drag({px0 + 150, py0 + 118}, {{px0 + 150, py0 + 118}});
    question = g_out.wait_dialog(L"Question", L"質問", p.pid());
    if (!question) return 1;
    press(question, IDNO);
    repaint(p.main);
    const POINT image = client_to_screen(p.main, 0, kMeridotStrip);
    save(grab_screen(image.x, image.y, 32, 32), "orientation-" + std::to_string(orientation));
  }
  p.close();

  // A copy of the program without its manual, for the message Help shows then.
  const std::string lone = fresh_dir("capture-pictures-lone");
  CopyFileA(meridot_exe().c_str(), join(lone, "MERIDOT5.EXE").c_str(), FALSE);
  Program q;
  if (!start_meridot_in(q, join(lone, "MERIDOT5.EXE"), lone)) return 1;
  post_command(q.main, IDM_MENU_HELP);
  HWND box = wait_window("Error", 10000, q.pid());
  if (!box) return 1;
  g_out.save_window(box, "help-missing");
  press(box, IDOK);
  q.close();
  return 0;
}
