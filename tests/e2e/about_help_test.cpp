// About and Help of both programs in both languages: the box's caption, its
// texts with the version of the program file, its icon and the two ways out
// of it (the capture program's box opened from the tool bar and from the
// menu, its one text laid out line by line with the title centred); the
// manual opened through the shell, renamed away, and with no program for PDF
// documents.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/about_ui.h"
#include "tests/e2e/capture_app_ui.h"
#include "tests/e2e/capture_ui.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/capture/resource.h"
#include "resources/viewer/resource.h"

using namespace e2e;

namespace {

AboutCase viewer_about(const wchar_t* caption, const wchar_t* titleBeforeVersion, const wchar_t* textStart,
                       const char* shot) {
  const auto texts = [=](HWND box, const std::wstring& version) {
    EXPECT_EQ(control_text(box, IDC_ABOUT_TITLE), titleBeforeVersion + version + L") ***");
    EXPECT_EQ(control_text(box, IDC_ABOUT_TEXT).rfind(textStart, 0), 0u) << "the description comes first";
  };
  return {viewer_exe(), IDI_ABOUT, [](Program& p) { return start_viewer_ready(p, "about"); }, caption,
          [](Program& q, int) { post_command(q.main, IDM_ABOUT); }, texts, shot};
}

std::vector<std::wstring> lines_of(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

// Where a control shows dark (text) pixels: which rows hold any, and the
// leftmost and rightmost dark column within rows [top, bottom); columns from
// `width` on are not looked at.
struct Ink {
  std::vector<bool> rows;
  int left = -1, right = -1;
};
Ink ink_of(HWND control, int top, int bottom, int width) {
  RECT r;
  GetClientRect(control, &r);
  const POINT at = client_to_screen(control, 0, 0);
  const Pixels px = grab_screen(at.x, at.y, std::min<int>(r.right, width), r.bottom);
  Ink ink;
  ink.rows.assign(static_cast<size_t>(px.height), false);
  for (int y = 0; y < px.height; ++y)
    for (int x = 0; x < px.width; ++x) {
      const uint32_t c = px.at(x, y);
      if (((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF) >= 3 * 0x60) continue;
      ink.rows[static_cast<size_t>(y)] = true;
      if (y < top || y >= bottom) continue;
      if (ink.left < 0 || x < ink.left) ink.left = x;
      if (x > ink.right) ink.right = x;
    }
  return ink;
}

struct CaptureAboutText {
  std::vector<std::wstring> description;  // the lines between the title and the bug report line
  const wchar_t* reportLine;
  const wchar_t* face;  // the template's font
  int points;
};

void check_capture_about_text(HWND box, const std::wstring& version, const CaptureAboutText& lang) {
  EXPECT_EQ(version, L"2.51");
  const std::vector<std::wstring> lines = lines_of(control_text(box, IDC_MERIDOT_ABOUT_TEXT));
  ASSERT_EQ(lines.size(), lang.description.size() + 7) << "title, gap, text, gap, report, gap, years, authors";
  EXPECT_EQ(lines[0].substr(lines[0].find_first_not_of(L' ')), L"*** Meridot (V " + version + L") ***");
  EXPECT_EQ(lines[1], L"");
  for (size_t i = 0; i < lang.description.size(); ++i) EXPECT_EQ(lines[2 + i], lang.description[i]) << i;
  const size_t after = 2 + lang.description.size();
  EXPECT_EQ(lines[after], L"");
  EXPECT_EQ(lines[after + 1], lang.reportLine);
  EXPECT_EQ(lines[after + 2], L"");
  for (size_t i = after + 3; i < lines.size(); ++i) EXPECT_FALSE(lines[i].empty()) << "years, authors";

  // What the box shows: line i of the text in the rows of line slot i, so
  // that none wraps and none is cut off; nothing below the last; the title's
  // ink centred over the static.
  HWND text = GetDlgItem(box, IDC_MERIDOT_ABOUT_TEXT);
  // The height of a text line in the dialog font, as the static lays out lines.
  HDC screen = GetDC(nullptr);
  const int pixels = -MulDiv(lang.points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  HFONT font = CreateFontW(pixels, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, lang.face);
  const int h = measure_text(font, L"").height;
  ASSERT_GT(h, 0);
  // The icon reaches into the static's lower right corner.
  RECT icon;
  GetWindowRect(GetDlgItem(box, 0xFFFF), &icon);
  const Ink ink = ink_of(text, 0, h, icon.left - client_to_screen(text, 0, 0).x);
  std::string inkRows;
  for (size_t y = 0; y < ink.rows.size(); ++y) inkRows += ink.rows[y] ? '#' : '.';
  SCOPED_TRACE("rows with ink: " + inkRows);
  for (size_t i = 0; i < lines.size(); ++i) {
    bool any = false;
    for (size_t y = i * h; y < (i + 1) * h && y < ink.rows.size(); ++y) any = any || ink.rows[y];
    EXPECT_EQ(any, !lines[i].empty()) << "line " << i << " of " << h << " pixels";
  }
  for (size_t y = lines.size() * h; y < ink.rows.size(); ++y) EXPECT_FALSE(ink.rows[y]) << "row " << y;
  RECT r;
  GetClientRect(text, &r);
  ASSERT_GE(ink.left, 0);
  EXPECT_NEAR(ink.left + ink.right, r.right, 10) << "left " << ink.left << " right " << ink.right;
}

AboutCase capture_about(const wchar_t* caption, const CaptureAboutText& lang, const char* shot) {
  // Once from the tool bar, once from the menu.
  const auto open = [](Program& q, int round) {
    if (round == 0) click_centre(meridot_button(q.main, kMeridotAboutButton));
    else menu_command(q, 'A');
  };
  return {meridot_exe(), IDI_MERIDOT_ABOUT, [](Program& p) { return start_meridot(p, "capture-about"); }, caption,
          open, [=](HWND box, const std::wstring& version) { check_capture_about_text(box, version, lang); }, shot};
}

HelpCase viewer_help(const char* readme) {
  const auto start = [](Program& p, const std::string& exe, const std::string& dir) {
    return p.start(exe, dir) && p.wait_main("KALDERO5") &&
           wait_until([&] { return IsWindowVisible(button_of(p.main, IDC_SPACE_BUTTON)) != 0; });
  };
  return {"KALDERO5.EXE", {"KALDERO5.PDF", "KALDEROJ.PDF"}, readme, start,
          [](Program& p) { post_command(p.main, IDM_HELP); }};
}

HelpCase capture_help(const char* readme) {
  return {"MERIDOT5.EXE", {"MERIDOT5.PDF", "MERIDOTJ.PDF"}, readme,
          [](Program& p, const std::string& exe, const std::string& dir) { return start_meridot_in(p, exe, dir); },
          [](Program& p) { menu_command(p, 'H'); }};
}

}  // namespace

TEST(About, ShowsVersionTextAndIconAndEndsByOkOrCloseBox) {
  const CaptureAboutText capture = {{L"An icon (NxN size, 16/256 colors) is created by",
                                     L"capturing an area on the screen [where N = 16, 32,",
                                     L"48, 64].",
                                     L"Set the size and color of icon, by pressing <Form>",
                                     L"button. Then, press <Icon> button. A cross cursor",
                                     L"appears on the screen. Press the left button of",
                                     L"mouse and decide an area with holding the mouse",
                                     L"button down. After the area selection, release",
                                     L"the mouse button."},
                                    L"Report bugs and suggestions would be appreciated.", L"Helv", 8};
  for (const AboutCase& c : {viewer_about(L"About", L"*** Kaldero (V ", L"Kaldero shows BMP and one-image icon files",
                                          "about-english"),
                             capture_about(L"About", capture, "capture-about-english")})
    about_story(c);
}

TEST(AboutJapanese, ShowsVersionTextAndIconAndEndsByOkOrCloseBox) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  const CaptureAboutText capture = {
      {L"ＮxＮサイズ・16/256色のアイコンを、画面に", L"表示されている画像の一部を切り出して作り",
       L"ます[但し、Ｎ = 16, 32, 48, 64].", L"「モード」ボタンで形式を設定し、「取込み」",
       L"ボタンを押すと十字のカーソルになるので、", L"マウスの左ボタンを押し、押したままマウスを",
       L"動かして切り出し領域を選定し、領域決定後", L"マウスのボタンを離します."},
      L"バグ・レポート、コメントを歓迎します.", L"ＭＳ Ｐゴシック", 9};
  for (const AboutCase& c :
       {viewer_about(L"御案内", L"*** カルデロ (V ", L"BMP・アイコンファイルの表示", "about-japanese"),
        capture_about(L"御案内", capture, "capture-about-japanese")})
    about_story(c);
}

TEST(Help, OpensTheManualOrSaysWhyNot) {
  for (const HelpCase& c : {viewer_help("KALDERO5.PDF"), capture_help("MERIDOT5.PDF")}) help_story(c);
}

TEST(HelpJapanese, OpensTheManualOrSaysWhyNot) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  for (const HelpCase& c : {viewer_help("KALDEROJ.PDF"), capture_help("MERIDOTJ.PDF")}) help_story(c);
}
