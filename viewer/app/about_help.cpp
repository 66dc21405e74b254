#include "viewer/app/about_help.h"

#include "frame/about.h"
#include "frame/os_style.h"
#include "frame/paths.h"
#include "frame/readme.h"
#include "viewer/app/viewer_state.h"
#include "resources/viewer/resource.h"

namespace viewer {

namespace {

constexpr int kAboutTitle = IDC_ABOUT_TITLE;
constexpr int kAboutText = IDC_ABOUT_TEXT;

// The box ends with the years and the authors: the program ships without an
// address its users could write to, so it names none.
constexpr frame::AboutText kAboutTexts[] = {
    {kAboutTitle, "*** Kaldero (V %s) ***", "*** カルデロ (V %s) ***"},
    {kAboutText,
     "Kaldero shows BMP and one-image icon files at 1:10 to 10:1, copies and pastes them, saves them as TIF "
     "or BMP, prints them, extracts colours and makes icons from two bitmaps.\n\n"
     "Report bugs and suggestions would be appreciated.\n\n"
     "2026\nThe Kaldero and Meridot developers",
     "BMP・アイコンファイルの表示、コピー・貼り付け、TIF・BMP での保存、印刷、色の抽出、アイコン作成を行います.\n\n"
     "バグ・レポート、コメントを歓迎します.\n\n"
     "2026\nカルデロ・メリドット開発チーム"},
};

}  // namespace

void about_command(HWND main) {
  const frame::AboutBox box{IDD_ABOUT, IDD_ABOUT_J, kAboutTexts, 2};
  frame::show_about(g_instance, main, box);
}

void help_command(HWND main) {
  char path[MAX_PATH];
  frame::readme_path("KALDERO5.EXE", path, sizeof path);
  frame::open_readme(main, path, frame::tr("KALDERO5.PDF", "KALDEROJ.PDF"));
}

}  // namespace viewer
