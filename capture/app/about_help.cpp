#include "capture/app/about_help.h"

#include "capture/capture_state.h"
#include "frame/about.h"
#include "frame/os_style.h"
#include "frame/paths.h"
#include "frame/readme.h"
#include "resources/capture/resource.h"

namespace capture {

namespace {

constexpr int kAboutText = IDC_MERIDOT_ABOUT_TEXT;

// The title line is centred over the static's width by its leading spaces,
// measured in each template's font. The text ends with the years and the
// authors: the program ships without an address its users could write to.
constexpr frame::AboutText kAboutTexts[] = {
    {kAboutText,
     "                     *** Meridot (V %s) ***\n\n"
     "An icon (NxN size, 16/256 colors) is created by\ncapturing an area on the screen [where N = 16, 32,\n"
     "48, 64].\nSet the size and color of icon, by pressing <Form>\nbutton. Then, press <Icon> button. A cross "
     "cursor\nappears on the screen. Press the left button of\nmouse and decide an area with holding the mouse\n"
     "button down. After the area selection, release\nthe mouse button.\n\n"
     "Report bugs and suggestions would be appreciated.\n\n"
     "2026\nThe Kaldero and Meridot developers",
     "                   *** Meridot (V %s) ***\n\n"
     "ＮxＮサイズ・16/256色のアイコンを、画面に\n表示されている画像の一部を切り出して作り\nます[但し、Ｎ = 16, 32, "
     "48, 64].\n「モード」ボタンで形式を設定し、「取込み」\nボタンを押すと十字のカーソルになるので、\nマウスの左ボタンを"
     "押し、押したままマウスを\n動かして切り出し領域を選定し、領域決定後\nマウスのボタンを離します.\n\n"
     "バグ・レポート、コメントを歓迎します.\n\n"
     "2026\nカルデロ・メリドット開発チーム"},
};

}  // namespace

void about_command(HWND main) {
  const frame::AboutBox box{IDD_MERIDOT_ABOUT, IDD_MERIDOT_ABOUT_J, kAboutTexts, 1};
  frame::show_about(g_instance, main, box);
}

void help_command(HWND main) {
  char path[MAX_PATH];
  frame::readme_path("MERIDOT5.EXE", path, sizeof path);
  frame::open_readme(main, path, frame::tr("MERIDOT5.PDF", "MERIDOTJ.PDF"));
}

}  // namespace capture
