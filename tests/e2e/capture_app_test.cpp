// The capture program's start-up and shell: the first start, the stored
// position, the desktop settings it switches off for the session (and puts
// back after a run that was killed), its menus and the hints of its tool bar
// in both languages, and the Japanese UI of a capture and of the
// transparent-pixel tool.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/app/startup_logic.h"
#include "tests/e2e/about_ui.h"
#include "tests/e2e/capture_app_ui.h"
#include "tests/e2e/capture_ui.h"
#include "tests/e2e/mask_ui.h"
#include "tests/e2e/registry.h"
#include "tests/e2e/viewer_fixture.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/capture/resource.h"

using namespace e2e;

using CaptureAppStarted = CaptureTest;
using CaptureAppJapanese = CaptureTest;

namespace {

std::string read_ini(const std::string& ini, const char* key) {
  char text[32] = {};
  GetPrivateProfileStringA("Position", key, "?", text, sizeof text, ini.c_str());
  return text;
}

// The sections of an INI file, in their order.
std::vector<std::string> ini_sections(const std::string& ini) {
  char names[1024] = {};
  const DWORD n = GetPrivateProfileSectionNamesA(names, sizeof names, ini.c_str());
  std::vector<std::string> out;
  for (DWORD i = 0; i < n && names[i];) {
    out.emplace_back(names + i);
    i += static_cast<DWORD>(out.back().size()) + 1;
  }
  return out;
}

// The desktop tests change the profile's wallpaper and screen saver: its
// values come back however a test ends, and no blanking of the test screen
// follows. A BMP wallpaper of their own lies in the test's folder.
class CaptureDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(write_file(bmp_, make_bmp24(8, 8, [](int x, int y) { return (x + y) % 2 ? 0x3366CCu : 0xFFFFFFu; })));
  }
  void TearDown() override {
    set_desk_wallpaper("");
    set_screen_saver_active(false);
  }
  SavedRegistryValue wallpaper_{HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper"};
  SavedRegistryValue saver_{HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveActive"};
  const std::string dir_ = fresh_dir("capture-desktop");
  const std::string bmp_ = join(dir_, "clouds.bmp");
};

// The capture program's UiStyle on this system, by its own version rule.
int capture_style() {
  char version[256] = {};
  DWORD size = sizeof version - 1;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return 0;
  const bool ok = RegQueryValueExA(key, "CurrentVersion", nullptr, nullptr, reinterpret_cast<BYTE*>(version), &size) ==
                  ERROR_SUCCESS;
  RegCloseKey(key);
  return ok ? capture::style_from_nt_version(version) : 0;
}

struct Hint {
  int button;
  int x;  // the button's left edge on the strip
  const wchar_t* text;
};

// A hint text in the hint font, measured by the driver.
TextSize hint_text_size(const wchar_t* text, bool japanese, int style) {
  HFONT font = japanese ? CreateFontW(12, 0, 0, 0, 400, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, L"ＭＳゴシック")
                        : CreateFontW(style >= 3 ? 14 : 12, 0, 0, 0, 400, 0, 0, 0, OEM_CHARSET, 0, 0, 0, 0, L"Helv");
  return measure_text(font, text);
}

// Hovers over each hinted button and checks the box drawn above the tool bar,
// over the menu bar: its black outline where the rules put it, as wide as its
// text, and the window exactly as before once the pointer has left the strip.
void check_hints(Program& p, const Hint (&hints)[3], bool japanese) {
  const int style = capture_style();
  const int cyBorder = GetSystemMetrics(SM_CYBORDER);
  const RECT wr = window_rect(p.main);
  const POINT away = client_to_screen(p.main, 60, cyBorder + 20 + 6);
  move_mouse(away.x, away.y);
  settle(p.main);
  const Pixels before = grab_window(p.main);
  screenshot(japanese ? "capture-hints-before-ja" : "capture-hints-before");

  for (const Hint& h : hints) {
    SCOPED_TRACE(testing::Message() << "button " << h.button);
    const TextSize size = hint_text_size(h.text, japanese, style);
    const int left = GetSystemMetrics(SM_CXBORDER) + h.x + 1;
    const int right = left + size.width + (japanese ? 1 : 2) + 5;
    const int bottom = cyBorder + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU) + 2 + (style > 5 ? 3 : 0);
    const int top = bottom - (size.height + size.leading + 6);
    ASSERT_LE(bottom - top + 1, 30);

    // The lowest strip row shows no hint; one row higher does.
    const POINT low = client_to_screen(p.main, h.x + 10, cyBorder + 19);
    move_mouse(low.x, low.y);
    settle(p.main);
    EXPECT_EQ(count_differences(grab_window(p.main), 0, 0, before, 0, 0, before.width, before.height), 0);
    const POINT on = client_to_screen(p.main, h.x + 10, cyBorder + 18);
    move_mouse(on.x, on.y);
    Pixels now;
    const bool drawn = wait_until([&] {
      now = grab_window(p.main);
      return now.at(left, top) == 0 && now.at(right - 1, bottom - 1) == 0;
    }, 3000);
    screenshot(std::string(japanese ? "capture-hint-ja-" : "capture-hint-") + std::to_string(h.button));
    ASSERT_TRUE(drawn);
    int outline = 0, text = 0;
    for (int x = left; x < right; ++x) outline += (now.at(x, top) != 0) + (now.at(x, bottom - 1) != 0);
    for (int y = top; y < bottom; ++y) outline += (now.at(left, y) != 0) + (now.at(right - 1, y) != 0);
    EXPECT_EQ(outline, 0) << "black outline";
    // Black text on white, smoothed into greys at its edges.
    int coloured = 0;
    for (int y = top + 1; y < bottom - 1; ++y)
      for (int x = left + 1; x < right - 1; ++x) {
        const uint32_t c = now.at(x, y);
        coloured += (c & 0xFF) != (c >> 8 & 0xFF) || (c & 0xFF) != (c >> 16);
        text += (c & 0xFF) < 0x80;
      }
    EXPECT_EQ(coloured, 0);
    EXPECT_GT(text, 10) << "the text";
    // The box ends at its right edge: the column after it is as it was.
    for (int y = top; y < bottom; ++y) EXPECT_EQ(now.at(right, y), before.at(right, y)) << y;
  }
  // Over the filler at the right and below the strip the hint goes, and the
  // window is exactly as before.
  for (const POINT off : {client_to_screen(p.main, 120, cyBorder + 5), away}) {
    move_mouse(off.x, off.y);
    int wrong = -1;
    wait_until([&] {
      wrong = count_differences(grab_window(p.main), 0, 0, before, 0, 0, before.width, before.height);
      return wrong == 0;
    }, 3000);
    EXPECT_EQ(wrong, 0);
  }
  const RECT after = window_rect(p.main);
  EXPECT_EQ(after.left, wr.left);
}

}  // namespace

// The first start: its title, a white client area, and the English menu in
// place of the class menu. (A second start is SecondStart's.)
TEST_F(CaptureAppStarted, FirstStartShowsTheTitleAWhiteClientAndTheEnglishMenu) {
  EXPECT_EQ(title_of(p.main), "Meridot");
  // Before any capture the client area below the tool bar is white.
  const Pixels client = grab_client(p.main);
  for (int y = GetSystemMetrics(SM_CYBORDER) + 20; y < client.height; ++y)
    for (int x = 0; x < client.width; ++x) ASSERT_EQ(client.at(x, y), 0xFFFFFFu) << x << "," << y;
  const std::vector<std::wstring> english = {L"&Menu", L"100 &Form", L"101 &Icon", L"", L"102 &About...",
                                             L"103 &Help...", L"", L"104 &Exit"};
  EXPECT_EQ(menu_texts(IDR_MENU), english);
  // The English menu is in place: its Form item opens the English dialog.
  HWND dlg = form_dialog_from_menu(p);
  ASSERT_TRUE(dlg);
  ASSERT_TRUE(press(dlg, IDCANCEL));
  EXPECT_TRUE(ends_cleanly(p, WM_CLOSE, 0));
}

// The window goes to the INI position beside the program, clamped so that it
// lies wholly on the screen, and the position is written back clamped too.
TEST(CaptureApp, StoredPositionIsClampedToTheScreen) {
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  const int maxX = sw - 135, maxY = sh - meridot_base_height() - 16;
  struct Case {
    const char* x;
    const char* y;
    int expectX, expectY;
    const char* exeName;
  };
  const Case cases[] = {
      {"100", "200", 100, 200, "MERIDOT5.EXE"},
      {"99999", "-40", maxX, 0, "MERIDOT5.EXE"},
      {"-7", "9999", 0, maxY, "MERIDOT5.EXE"},
      {nullptr, nullptr, 0, 0, "MERIDOT5.EXE"},  // no INI yet
      // A renamed program keeps its position in MERIDOT5.INI beside it.
      {"120", "140", 120, 140, "CAPTURE.EXE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.x ? c.x : "no INI") << " " << c.exeName);
    // A copy of the program in a folder of its own keeps the INI there.
    const std::string dir = fresh_dir("capture-ini");
    const std::string exe = join(dir, c.exeName);
    const std::string ini = join(dir, "MERIDOT5.INI");
    ASSERT_TRUE(CopyFileA(meridot_exe().c_str(), exe.c_str(), FALSE));
    if (c.x) {
      WritePrivateProfileStringA("Position", "x", c.x, ini.c_str());
      WritePrivateProfileStringA("Position", "y", c.y, ini.c_str());
      WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());  // flush
    }
    Program p;
    ASSERT_TRUE(start_meridot_in(p, exe, dir));
    const RECT r = window_rect(p.main);
    EXPECT_EQ(r.left, c.expectX);
    EXPECT_EQ(r.top, c.expectY);
    EXPECT_EQ(r.right - r.left, 135);
    EXPECT_EQ(r.bottom - r.top, meridot_base_height() + 16);
    // Moved partly off the screen, it is stored where it would fit.
    SetWindowPos(p.main, nullptr, -50, sh - 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    settle(p.main);
    EXPECT_TRUE(ends_cleanly(p));
    EXPECT_EQ(read_ini(ini, "x"), "0");
    EXPECT_EQ(read_ini(ini, "y"), std::to_string(maxY));
  }
}

// A BMP wallpaper and an active screen saver are off while the program runs
// and back after it; a JPEG wallpaper and a screen saver that was off are
// left as they are.
TEST_F(CaptureDesktop, WallpaperAndScreenSaverAreOffOnlyWhileRunning) {
  const std::string jpg = join(dir_, "beach.jpg");
  ASSERT_TRUE(write_file(jpg, {0xFF, 0xD8, 0xFF, 0xD9}));
  struct Case {
    std::string wallpaper;
    bool saver;
    std::string wallpaperWhileRunning;
  };
  const Case cases[] = {{bmp_, true, ""}, {jpg, false, jpg}, {bmp_, false, ""}, {"", true, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wallpaper + (c.saver ? " saver on" : " saver off"));
    set_desk_wallpaper(c.wallpaper);
    set_screen_saver_active(c.saver);
    DesktopSettings s = desktop_settings();
    ASSERT_TRUE(s.read);
    ASSERT_EQ(s.wallpaper, c.wallpaper);
    ASSERT_EQ(s.screenSaverActive, c.saver);
    Program p;
    ASSERT_TRUE(start_meridot_in(p, meridot_exe(), fresh_dir("capture-desktop-run")));
    s = desktop_settings();
    EXPECT_EQ(s.wallpaper, c.wallpaperWhileRunning);
    EXPECT_FALSE(s.screenSaverActive);
    p.close();
    s = desktop_settings();
    EXPECT_EQ(s.wallpaper, c.wallpaper);
    EXPECT_EQ(s.screenSaverActive, c.saver);
  }
}

// A run killed while it has the screen saver and a BMP wallpaper off: the
// next run finds the note the killed one left, puts the saver back on, and at
// its own normal exit leaves the desktop as the user had it.
TEST_F(CaptureDesktop, AKilledRunsScreenSaverIsBackAfterTheNextRun) {
  // A copy of the program in a folder of its own keeps its INI there.
  const std::string exe = join(dir_, "MERIDOT5.EXE");
  const std::string ini = join(dir_, "MERIDOT5.INI");
  ASSERT_TRUE(CopyFileA(meridot_exe().c_str(), exe.c_str(), FALSE));
  set_desk_wallpaper(bmp_);
  set_screen_saver_active(true);

  Program killed;
  ASSERT_TRUE(start_meridot_in(killed, exe, dir_));
  DesktopSettings s = desktop_settings();
  ASSERT_TRUE(s.read);
  ASSERT_FALSE(s.screenSaverActive);
  ASSERT_EQ(s.wallpaper, "");
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, killed.pid());
  ASSERT_TRUE(process);
  ASSERT_TRUE(TerminateProcess(process, 9));
  EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
  CloseHandle(process);
  ASSERT_TRUE(killed.wait_exit(5000));
  s = desktop_settings();
  ASSERT_FALSE(s.screenSaverActive) << "the killed run left the saver off";
  EXPECT_EQ(ini_sections(ini).size(), 1u) << "a note of what the killed run switched off";

  Program next;
  ASSERT_TRUE(start_meridot_in(next, exe, dir_));
  s = desktop_settings();
  EXPECT_FALSE(s.screenSaverActive) << "off again while the next run runs";
  EXPECT_EQ(s.wallpaper, "");
  ASSERT_TRUE(ends_cleanly(next));
  s = desktop_settings();
  EXPECT_TRUE(s.screenSaverActive);
  EXPECT_EQ(s.wallpaper, bmp_);
  EXPECT_EQ(ini_sections(ini), std::vector<std::string>{"Position"}) << "the note is gone";
}

// The hints; then a click on Form first takes the hint away (the frame is as
// it was while the dialog is up) and opens the form dialog. (A click on Icon
// starting capture mode, which Esc leaves, is CaptureKeyboard's.)
TEST_F(CaptureAppStarted, HintsAreDrawnAboveTheToolBarAndTheFrameIsRestored) {
  // The tool bar's class draws on the parent's DC. (Its cursor cannot be
  // checked here: Wine reads a class cursor of another process as 0.)
  const HWND bar = FindWindowExA(p.main, nullptr, "IconBarWindow", nullptr);
  ASSERT_TRUE(bar);
  EXPECT_EQ(GetClassLongPtrA(bar, GCL_STYLE), static_cast<ULONG_PTR>(CS_PARENTDC | CS_HREDRAW | CS_VREDRAW));
  const Hint hints[3] = {{kMeridotFormButton, 16, L"Form"}, {kMeridotIconButton, 48, L"Icon"},
                         {kMeridotAboutButton, 80, L"About"}};
  check_hints(p, hints, false);

  // The pointer is below the strip again, and the window as it was.
  const Pixels before = grab_window(p.main);
  // The menu bar and the tool bar, where the hint lies (the caption changes
  // its colour while the dialog is active).
  const RECT wr = window_rect(p.main);
  const POINT clientTop = client_to_screen(p.main, 0, 0);
  const int menuTop = clientTop.y - wr.top - GetSystemMetrics(SM_CYMENU);
  const int stripRows = GetSystemMetrics(SM_CYMENU) + GetSystemMetrics(SM_CYBORDER) + 20;
  const POINT form = client_to_screen(p.main, 30, GetSystemMetrics(SM_CYBORDER) + 10);
  move_mouse(form.x, form.y);
  ASSERT_TRUE(wait_until([&] {
    return count_differences(grab_window(p.main), 0, menuTop, before, 0, menuTop, before.width, stripRows) > 0;
  }, 3000)) << "the hint";
  click(form.x, form.y);
  HWND dlg = wait_window(kFormDialogTitle, 10000, p.pid());
  ASSERT_TRUE(dlg);
  settle(p.main);
  EXPECT_EQ(count_differences(grab_window(p.main), 0, menuTop, before, 0, menuTop, before.width, stripRows), 0);
  ASSERT_TRUE(press(dlg, IDCANCEL));
}

// The Japanese UI: the class menu, the hints, the form dialog, the
// questions, save dialog, warning and success text of a capture, and the
// transparent-pixel tool's buttons, fill tool dialog and success texts.
TEST_F(CaptureAppJapanese, MenuHintsFormDialogAndMessagesAreJapanese) {
  const std::vector<std::wstring> japanese = {L"ﾒﾆｭｰ(&M)", L"100 モード(&F)", L"101 取込み(&I)", L"",
                                              L"102 御案内(&A)...", L"103 ヘルプ(&H)...", L"", L"104 終了(&E)"};
  EXPECT_EQ(menu_texts(IDR_MENU_J), japanese);
  const Hint hints[3] = {{kMeridotFormButton, 16, L"モード"}, {kMeridotIconButton, 48, L"取込み"},
                         {kMeridotAboutButton, 80, L"御案内"}};
  check_hints(p, hints, true);

  // The class menu stays in place: its Form item opens the Japanese dialog.
  HWND dlg = form_dialog_from_menu(p, true);
  ASSERT_TRUE(dlg);
  screenshot("capture-form-ja");
  struct Control {
    int id;
    const wchar_t* text;
  };
  const Control controls[] = {{IDCANCEL, L"ｷｬﾝｾﾙ"},          {IDC_COLOURS_16, L"16色"},
                              {IDC_COLOURS_256, L"256色"},      {IDC_ERECT, L"正立"},
                              {IDC_INVERTED_MIRROR, L"倒立鏡面"}, {IDC_FRAME_INVERTED, L"反転色"},
                              {IDC_FRAME_WHITE, L"白色"}};
  for (const Control& c : controls) EXPECT_EQ(control_text(dlg, c.id), c.text);
  ASSERT_TRUE(press(dlg, IDOK));

  ASSERT_TRUE(enter_capture(p));
  const POINT at{300, 300};
  drag(at, {at});
  ASSERT_TRUE(answer_box(p, L"質問", L"イメージを保存しますか？", IDNO));
  // The image stays shown, and beside it the rest of the row is cross-hatched
  // in the button face colour over white.
  settle(p.main);
  const uint32_t face = GetSysColor(COLOR_BTNFACE);
  const uint32_t faceRgb = (face & 0xFF) << 16 | (face & 0xFF00) | (face >> 16 & 0xFF);
  int hatch = 0, white = 0, other = 0;
  wait_until([&] {
    const Pixels client = grab_client(p.main);
    hatch = white = other = 0;
    for (int y = 21; y < 21 + 32; ++y)
      for (int x = 32; x < 129 && x < client.width; ++x) {
        const uint32_t c = client.at(x, y);
        (c == faceRgb ? hatch : c == 0xFFFFFF ? white : other)++;
      }
    return other == 0 && hatch > 0 && white > 0;
  }, 3000);
  EXPECT_EQ(other, 0);
  EXPECT_GT(hatch, 300);
  EXPECT_GT(white, 300);

  const std::string dir = fresh_dir("capture-ja-out"), path = join(dir, "ja.ico");
  ASSERT_TRUE(enter_capture(p));
  drag(at, {{at.x + 10, at.y + 10}, at});
  ASSERT_TRUE(answer_box(p, L"質問", L"イメージを保存しますか？", IDYES));
  HWND dialog = wait_window_w(L"アイコン・ファイル名の指定", 10000, p.pid());
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(answer_file_dialog(dialog, "D:\\ja.ico"));
  ASSERT_TRUE(answer_box(p, L"警告", L"リムーバブル(またはリモート)・ディスクへはセーブできません.", IDOK));
  dialog = wait_window_w(L"アイコン・ファイル名の指定", 10000, p.pid());
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(answer_file_dialog(dialog, path));
  ASSERT_TRUE(wait_window_w(L"質問", 15000, p.pid()));
  screenshot("capture-japanese-transparent-question");
  ASSERT_TRUE(answer_box(p, L"質問", L"アイコンに透明色部分を作りますか？", IDNO));
  ASSERT_TRUE(answer_box(p, L"成功", L"32x32/16色アイコン・ファイルが\nできあがりました.", IDOK));
  EXPECT_EQ(read_file(path).size(), 766u);

  // A capture of the tool's picture saved and answered Yes opens the tool.
  PatternWindow pattern(kMaskPatternX, kMaskPatternY, 64, 64, mask_pattern);
  ASSERT_TRUE(pattern.shown());
  ASSERT_TRUE(capture_square(p, 32, kMaskPatternX, kMaskPatternY));
  ASSERT_TRUE(save_and_open_tool(p, join(dir, "a.ico"), true));
  EXPECT_EQ(control_text(p.main, kToolOk), L"OK");
  EXPECT_EQ(control_text(p.main, kToolCancel), L"ｷｬﾝｾﾙ");
  EXPECT_EQ(control_text(p.main, kToolFill), L"ツール");
  const HWND fill = open_fill_dialog(p, L"塗りつぶしツールの設定");
  ASSERT_TRUE(fill);
  EXPECT_EQ(control_text(fill, kPixelButton), L"画素");
  EXPECT_EQ(control_text(fill, kAreaButton), L"領域");
  EXPECT_EQ(control_text(fill, IDCANCEL), L"ｷｬﾝｾﾙ");
  bool found = false;
  for (HWND c = GetWindow(fill, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    found = found || wide_title_of(c) == L"マウス・クリックで透明色ピクセルの設定ができ、\n再クリックで元に戻ります.\n"
                                     L"透明色ピクセルの設定色は適宜選択ください.\nTrue Color画面の使用を推奨します.";
  EXPECT_TRUE(found) << "the dialog's text";
  screenshot("mask-fill-dialog-japanese");
  click_child(fill, IDCANCEL);
  ASSERT_TRUE(wait_until([&] { return !IsWindow(fill); }, 5000));
  for (POINT c : {POINT{0, 0}, POINT{4, 4}, POINT{31, 31}}) click_cell(p.main, c.x, c.y);
  screenshot("mask-tool-japanese");
  // The menu's Icon closes the tool as Cancel does.
  post_command(p.main, kMeridotIcon);
  ASSERT_TRUE(answer_box(p, L"成功", L"32x32/16色アイコン・ファイルが\nできあがりました.\n透明色部分はありません.", IDOK));
  ASSERT_TRUE(wait_until([&] { return IsWindowVisible(capture_window(p.pid())); }, 10000));
  take_square(32, kMaskPatternX, kMaskPatternY);
  ASSERT_TRUE(save_and_open_tool(p, join(dir, "b.ico"), true));
  click_cell(p.main, 2, 2);
  click_child(p.main, kToolOk);
  ASSERT_TRUE(answer_box(p, L"成功", L"32x32/16色アイコン・ファイルが\nできあがりました.\n透明色部分があります.", IDOK));
}
