// The icon maker as a person uses it: the explanation, the two open
// dialogs, the bitmaps on show, the checks of the pair, the save dialog and
// the icon it writes, which the viewer opens and the system draws clear
// where the two bitmaps differ.
#include <gtest/gtest.h>

#include <algorithm>

#include "formats/icon_layout.h"
#include "tests/e2e/about_ui.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/icon_ui.h"
#include "tests/e2e/save_ui.h"
#include "tests/e2e/viewer_fixture.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/viewer/resource.h"

using namespace e2e;

using IconMaker = ViewerTest;

namespace {

constexpr int kCmdMakeIcon = IDM_MAKE_ICON;

// The command's windows and messages, in English and in Japanese.
struct Texts {
  const wchar_t *program, *explanation, *first, *nextCaption, *nextText, *second, *save;
};
const Texts kEnglish = {L"Kaldero", L"Example to make Icon", L"Select a 1st bitmap file.", L"About next procedure",
                        L"Select 2nd bitmap file by the next procedure.", L"Select a 2nd bitmap file.",
                        L"Assign an icon file to be saved."};
const Texts kJapanese = {L"カルデロ", L"ICON作成の例", L"第１のビットマップファイルの選択", L"選択手順の案内",
                         L"次ぎは、第２のビットマップファイルの選択です.", L"第２のビットマップファイルの選択",
                         L"保存するアイコンファイルの設定"};

// A bitmap pair: the 2nd differs from the 1st where (x + 2y) % 5 == 0.
struct Pair {
  std::vector<uint8_t> first, second;
  int w = 0, h = 0;
  std::vector<uint32_t> colours;  // the 1st bitmap's colours, top row first
  bool changed(int x, int y) const { return (x + 2 * y) % 5 == 0; }
};

// With black false the full table holds no black.
Pair make_pair_of(int bits, int w, int h, bool black = true) {
  Pair p{{}, {}, w, h, {}};
  std::vector<uint32_t> table;  // 0xRRGGBB: the harness writes blue, green, red
  if (bits <= 8) {
    for (uint32_t i = 0; i < (1u << bits); ++i)
      table.push_back(i == 0 ? 0 : i == 1 ? 0xFFFFFF : (0x103070u * i + 0x402010u) & 0xFFFFFF);
    // The viewer shows clear pixels in the table's colour nearest to dark
    // cyan: have it exactly.
    if (bits >= 4) table[2] = 0x008080;
    if (!black) table[0] = bits == 1 ? 0x008080 : 0x402000;
    EXPECT_EQ(std::count(table.begin(), table.end(), 0u), black ? 1 : 0);
  }
  auto value = [&](int x, int y) {
    return bits == 24 ? 0x203040u + static_cast<uint32_t>(x * 0x0B0901 + y * 0x071305)
                      : static_cast<uint32_t>(x + 3 * y) % (1u << bits);
  };
  // One bit of an index or of the red byte is a change.
  auto second = [&](int x, int y) { return value(x, y) ^ (p.changed(x, y) ? (bits == 24 ? 0x010000u : 1u) : 0u); };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.colours.push_back(bits == 24 ? value(x, y) : table[value(x, y)]);
  p.first = make_bmp(w, h, bits, table, rows_of(w, h, bits, value));
  p.second = make_bmp(w, h, bits, table, rows_of(w, h, bits, second));
  return p;
}

HWND start_make_icon(Program& p, const Texts& t = kEnglish) {
  return command_dialog(p, kCmdMakeIcon, t.explanation);
}

bool pick(Program& p, const wchar_t* title, const std::string& path) {
  HWND dlg = wait_window_w(title, 10000, p.pid());
  return dlg && answer_file_dialog(dlg, path) && wait_until([&] { return !IsWindow(dlg); });
}

// The bitmap shown with its caption; or, when a refusal is expected (""
// for any message), the viewer's message and nothing shown.
void expect_shown(Program& p, const std::string& path, const wchar_t* tag, const char* refusal, const Texts& t) {
  if (!refusal) {
    const std::wstring caption = std::wstring(t.program) + L" - " + wide_of(path.substr(path.rfind('\\') + 1)) + tag;
    EXPECT_TRUE(wait_until([&] { return wide_title_of(p.main).rfind(caption, 0) == 0; })) << title_of(p.main);
    return;
  }
  const std::string said = answered_message(p);
  EXPECT_FALSE(said.empty());
  if (*refusal) {
    EXPECT_EQ(said, refusal);
  }
  EXPECT_TRUE(wait_title(p.main, "Kaldero - (No title)")) << title_of(p.main);
  EXPECT_FALSE(shown(vertical_bar(p.main)) || shown(horizontal_bar(p.main)));
  EXPECT_FALSE(button_enabled(p.main, kButtonZoomIn));
}

// Runs the command through both bitmaps; true when both were chosen. Each
// is shown with its caption unless a refusal is expected for it (null: none;
// "": any message).
bool choose_both(Program& p, const std::string& first, const std::string& second,
                 const char* secondRefusal = nullptr, const char* firstRefusal = nullptr, const Texts& t = kEnglish) {
  HWND ex = start_make_icon(p, t);
  if (!ex || !press(ex, IDOK) || !pick(p, t.first, first)) return false;
  expect_shown(p, first, L" (1st Bitmap) [", firstRefusal, t);
  EXPECT_EQ(expect_wide_message(p.pid(), t.nextCaption), t.nextText);
  if (!pick(p, t.second, second)) return false;
  expect_shown(p, second, L" (2nd Bitmap) [", secondRefusal, t);
  return true;
}

}  // namespace

// Each depth, and the full tables without black, whose icons are one depth
// up so that Windows can draw their clear pixels black.
TEST_F(IconMaker, EveryDepthMakesAnIconThatOpensAndDrawsClear) {
  const int w = 13, h = 6;
  struct Case {
    int bits;
    bool black;
    int iconBits;
  };
  for (const Case c : {Case{1, true, 1}, {4, true, 4}, {8, true, 8}, {24, true, 24}, {1, false, 4}, {4, false, 8},
                       {8, false, 24}}) {
    const std::string name = std::to_string(c.bits) + (c.black ? " bits" : " bits without black");
    SCOPED_TRACE(name);
    const std::string dir = fresh_dir("iconmaker-depth " + name);
    const Pair pair = make_pair_of(c.bits, w, h, c.black);
    const std::string first = join(dir, "first.bmp"), second = join(dir, "second.bmp"), target = join(dir, "made");
    ASSERT_TRUE(write_file(first, pair.first) && write_file(second, pair.second));
    ASSERT_TRUE(choose_both(p, first, second));
    ASSERT_TRUE(pick(p, kEnglish.save, target));
    // The default extension completes the name.
    EXPECT_EQ(expect_message(p.pid(), "Success"), "An icon file\n" + target + ".ico\nhas been created.");
    const std::vector<uint8_t> ico = read_file(target + ".ico");
    fmt::icon::IconFigures f;
    ASSERT_EQ(fmt::icon::check_icon(ico.data(), ico.size(), ico.size(), &f), fmt::icon::IconCheckResult::Ok);
    EXPECT_EQ(f.bits, c.iconBits);
    // The inputs are untouched and nothing else was left in the folder.
    EXPECT_EQ(read_file(first), pair.first);
    EXPECT_EQ(read_file(second), pair.second);
    EXPECT_EQ(files_in(dir), (std::vector<std::string>{"first.bmp", "made.ico", "second.bmp"}));

    // The system draws the changed pixels clear on any background.
    for (const uint32_t background : {0x00FF00u, 0x3060C0u}) {
      const std::vector<uint32_t> drawn = draw_icon(ico, w, h, background);
      ASSERT_EQ(drawn.size(), static_cast<size_t>(w * h));
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          EXPECT_EQ(drawn[y * w + x], pair.changed(x, y) ? background : pair.colours[y * w + x]) << x << "," << y;
    }

    // The viewer opens it and shows the clear pixels in the chosen colour.
    ASSERT_TRUE(open_with_dialog(p, target + ".ico"));
    HWND colour = wait_window(kColourTitle, 10000, p.pid());
    ASSERT_NE(colour, nullptr);
    press(colour, IDOK);
    ASSERT_TRUE(wait_title(p.main, "Kaldero - made.ico [1:1]")) << title_of(p.main);
    const IconPicture made = picture(
        w, h, 24, {}, [&](int x, int y) { return pair.colours[y * w + x]; },
        [&](int x, int y) { return pair.changed(x, y); });
    EXPECT_TRUE(view_shows(p.main, made, 0x008080));
  }
}

TEST_F(IconMaker, CancelInTheExplanationOpensNoFileDialog) {
  HWND ex = start_make_icon(p);
  ASSERT_NE(ex, nullptr);
  screenshot("iconmaker-explanation");
  // The three example icons are there.
  int icons = 0;
  for (HWND c = GetWindow(ex, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (SendMessageA(c, STM_GETICON, 0, 0)) ++icons;
  EXPECT_EQ(icons, 3);
  ASSERT_TRUE(press(ex, IDCANCEL));
  settle(p.main);
  EXPECT_EQ(wait_other_window(p.pid(), p.main, 1500), nullptr);
  EXPECT_EQ(title_of(p.main), "Kaldero - (No title)");
}

TEST_F(IconMaker, EachCheckGivesItsMessage) {
  auto bmp8 = [](int w, int h, uint32_t entry5 = 0x405060) {
    std::vector<uint32_t> table(256, 0x102030);
    table[0] = 0;
    table[5] = entry5;
    return make_bmp(w, h, 8, table, std::vector<uint8_t>(static_cast<size_t>((w + 3) / 4 * 4) * h, 5));
  };
  std::vector<uint8_t> colourNumber = bmp8(32, 32);
  colourNumber[28] = 4;  // agrees with the 1st file in everything before offset 28
  std::vector<uint8_t> rle = bmp8(32, 32);
  rle[30] = 1;
  std::vector<uint8_t> resolutions = bmp8(32, 32);
  for (int i = 38; i < 46; ++i) resolutions[i] = 0x33;
  resolutions[50] = 7;  // colours important
  std::vector<uint8_t> sixteen = make_bmp(32, 32, 4, std::vector<uint32_t>(16, 0x102030), std::vector<uint8_t>(16 * 32 * 2, 0));
  struct Case {
    std::vector<uint8_t> first, second;
    const char* expected;  // "" for an accepted pair
    const char* secondRefusal = nullptr;  // the viewer's own message when showing the 2nd
    const char* firstRefusal = nullptr;
  };
  const Case cases[] = {
      {bmp8(32, 16), bmp8(16, 32), "Found different width\nbetween two bitmap files."},
      {bmp8(32, 32), bmp8(32, 16), "Found different header other than width/height/color-number\nbetween two bitmap files."},
      {bmp8(32, 32), sixteen, "Found different header other than width/height/color-number\nbetween two bitmap files."},
      // A 16-colour header with 256 colours used: the viewer refuses to show
      // it, and the check still names the difference.
      {bmp8(32, 32), colourNumber, "Found different color-number\nbetween two bitmap files.",
       "Error: Not a bitmap file with correct format."},
      {bmp8(32, 32), bmp8(32, 32, 0x405061), "Found different RGB-palette\nbetween two bitmap files."},
      // Rows that are no run-length data: the viewer does not show them.
      {rle, bmp8(32, 32), "Unable to convert to an icon file because of\na compressed format bitmap file (RLE type).",
       nullptr, ""},
      {make_bmp(4, 4, 16, {}, std::vector<uint8_t>(32, 0)), bmp8(4, 4), "Assign a 2/16/256/16M color bitmap file."},
      {make_bmp(4, 4, 32, {}, std::vector<uint8_t>(64, 0)), bmp8(4, 4), "Assign a 2/16/256/16M color bitmap file."},
      {bmp8(32, 32), resolutions, ""},
  };
  const std::string dir = fresh_dir("iconmaker-checks-files");
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    const std::string a = join(dir, std::to_string(n) + "a.bmp"), b = join(dir, std::to_string(n++) + "b.bmp");
    ASSERT_TRUE(write_file(a, c.first) && write_file(b, c.second));
    ASSERT_TRUE(choose_both(p, a, b, c.secondRefusal, c.firstRefusal));
    if (*c.expected) {
      EXPECT_EQ(expect_message(p.pid(), "Error"), c.expected);
    } else {
      HWND save = wait_window_w(kEnglish.save, 10000, p.pid());
      ASSERT_NE(save, nullptr);
      press(save, IDCANCEL);
      EXPECT_EQ(wait_other_window(p.pid(), p.main, 1000), nullptr);
    }
  }
  // Another extension is refused before anything is shown.
  ASSERT_TRUE(write_file(join(dir, "PICTURE.DIB"), bmp8(4, 4)));
  const std::string before = title_of(p.main);
  HWND ex = start_make_icon(p);
  ASSERT_TRUE(ex && press(ex, IDOK));
  ASSERT_TRUE(pick(p, kEnglish.first, join(dir, "PICTURE.DIB")));
  EXPECT_EQ(expect_message(p.pid(), "Error"), "Select a file with BMP extension.");
  EXPECT_EQ(title_of(p.main), before);
}

TEST_F(IconMaker, NoInputIsEverReplacedAndOtherDrivesAreRefused) {
  const std::string dir = fresh_dir("iconmaker-target-files");
  const Pair pair = make_pair_of(4, 9, 7);
  const std::string first = join(dir, "first.bmp"), second = join(dir, "second.bmp");
  ASSERT_TRUE(write_file(first, pair.first) && write_file(second, pair.second));
  // An extraction under way ends with the shown bitmaps: its dialog closes
  // and they show all their colours.
  ASSERT_TRUE(open_at(p, first, "1:1"));
  HWND rgb = command_dialog(p, IDM_EXTRACTION, "Image by Extracted Colors");
  ASSERT_NE(rgb, nullptr);
  PostMessageA(rgb, WM_COMMAND, IDC_EXTRACT_B, 0);
  settle(rgb);
  settle(p.main);
  EXPECT_NE(grab_client(p.main).at(1, kStrip), pair.colours[1]);
  // The 1st bitmap named as the icon, by a name in another case, and a
  // read-only icon, the user's to keep: the system asks, Yes, and the
  // command refuses before anything is written.
  std::string upper = first;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  const std::string locked = join(dir, "locked.ico");
  const std::vector<uint8_t> lockedBytes = {'k', 'e', 'e', 'p'};
  ASSERT_TRUE(write_file(locked, lockedBytes));
  ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
  for (const std::string& target : {upper, locked}) {
    SCOPED_TRACE(target);
    ASSERT_TRUE(choose_both(p, first, second));
    EXPECT_FALSE(IsWindow(rgb));
    HWND save = wait_window_w(kEnglish.save, 10000, p.pid());
    ASSERT_NE(save, nullptr);
    ASSERT_TRUE(answer_file_dialog(save, target));
    HWND question = wait_overwrite_question(p.pid(), save, ansi_of(kEnglish.save));
    ASSERT_NE(question, nullptr);
    if (target == upper) screenshot("iconmaker-overwrite-question");
    ASSERT_TRUE(press(question, IDYES));
    EXPECT_EQ(expect_message(p.pid(), "Error"), "Cannot create a target file.");
  }
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(read_file(first), pair.first);
  EXPECT_EQ(read_file(second), pair.second);
  EXPECT_EQ(read_file(locked), lockedBytes);
  EXPECT_EQ(files_in(dir), (std::vector<std::string>{"first.bmp", "locked.ico", "second.bmp"}));

  // A CD-ROM and a network drive bring the warning and the dialog back.
  ASSERT_EQ(GetDriveTypeA("D:\\"), static_cast<UINT>(DRIVE_CDROM)) << "the prefix lacks its CD-ROM drive D:";
  ASSERT_EQ(GetDriveTypeA("N:\\"), static_cast<UINT>(DRIVE_REMOTE)) << "the prefix lacks its network drive N:";
  ASSERT_TRUE(choose_both(p, first, second));
  for (const char* target : {"D:\\made.ico", "N:\\made.ico"}) {
    ASSERT_TRUE(pick(p, kEnglish.save, target));
    EXPECT_EQ(expect_message(p.pid(), "Warning"), "Unable to save to the removable (or remote) disk.");
    EXPECT_FALSE(file_exists(target));
  }
  HWND save = wait_window_w(kEnglish.save, 10000, p.pid());
  ASSERT_NE(save, nullptr);
  press(save, IDCANCEL);
  EXPECT_EQ(wait_other_window(p.pid(), p.main, 1000), nullptr);
  EXPECT_EQ(title_of(p.main), "Kaldero - second.bmp (2nd Bitmap) [1:1]");
  // The bitmap shows all its colours: the extraction ended with the load.
  // It is the current image: Copy takes it.
  settle(p.main);
  const Pixels shownSecond = grab_client(p.main);
  command_and_settle(p.main, kCmdCopy);
  const std::vector<uint8_t> dib = clipboard_data(CF_DIB);
  ASSERT_GT(dib.size(), 40u);
  for (int y = 0; y < pair.h; ++y)
    for (int x = 0; x < pair.w; ++x)
      if (!pair.changed(x, y)) {
        EXPECT_EQ(shownSecond.at(x, kStrip + y), pair.colours[y * pair.w + x]) << x << "," << y;
        EXPECT_EQ(dib_pixel(dib, x, y), pair.colours[y * pair.w + x]) << x << "," << y;
      }
  screenshot("iconmaker-second-bitmap");
}

TEST(IconMakerJapanese, TextsAndTheExtractionDialogSpeakJapanese) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "iconmaker-ja", {{"LC_ALL", "ja_JP.UTF-8"}}));
  const std::string dir = fresh_dir("iconmaker-ja-files");
  const Pair pair = make_pair_of(8, 6, 4);
  ASSERT_TRUE(write_file(join(dir, "a.bmp"), pair.first));
  ASSERT_TRUE(write_file(join(dir, "same.bmp"), pair.second));
  ASSERT_TRUE(write_file(join(dir, "b.bmp"), make_pair_of(8, 7, 4).second));

  HWND ex = start_make_icon(p, kJapanese);
  ASSERT_NE(ex, nullptr);
  std::wstring texts;
  for (HWND c = GetWindow(ex, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) texts += wide_title_of(c) + L"|";
  EXPECT_EQ(texts, L"選択する第１のビットマップ|選択する第２のビットマップ\n(透明色にする部分は、色を\n変える.)|"
                   L"完成するアイコン|次へ|ｷｬﾝｾﾙ|");
  screenshot("iconmaker-explanation-japanese");
  ASSERT_TRUE(press(ex, IDCANCEL));
  // A pair that fits makes the icon; one that does not is refused.
  ASSERT_TRUE(choose_both(p, join(dir, "a.bmp"), join(dir, "same.bmp"), nullptr, nullptr, kJapanese));
  const std::string made = join(dir, "made.ico");  // an ASCII path
  ASSERT_TRUE(pick(p, kJapanese.save, made));
  EXPECT_EQ(expect_wide_message(p.pid(), L"成功"), L"アイコン・ファイル\n" + wide_of(made) + L"\nが作成されました.");
  EXPECT_TRUE(file_exists(made));
  ASSERT_TRUE(choose_both(p, join(dir, "a.bmp"), join(dir, "b.bmp"), nullptr, nullptr, kJapanese));
  EXPECT_EQ(expect_wide_message(p.pid(), L"エラー"), L"２つのビットマップ・ファイルは\n幅が異なります.");

  HWND rgb = command_dialog(p, IDM_EXTRACTION, L"カラー抽出像の表示");
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(control_text(rgb, IDC_EXTRACT_R), L"抽出カラー(赤)");
  EXPECT_EQ(control_text(rgb, IDCANCEL), L"ｷｬﾝｾﾙ");
  screenshot("extraction-japanese");
  p.close();
}

// The icons the unit tests built from bitmaps that ImageMagick and Pillow
// wrote, drawn by Windows: clear exactly where Pillow reads alpha 0, and
// Pillow's colours everywhere else.
TEST(IconMakerThirdParty, PairsDrawClearUnderWindows) {
  const std::string scratch = bin_dir() + "\\..\\..\\host\\tests\\unit\\scratch\\icon_build_thirdparty";
  int drawn = 0;
  for (const char* stem : {"im1", "im4", "im8", "im24", "pil1", "pil8", "pil24"}) {
    SCOPED_TRACE(stem);
    const std::vector<uint8_t> ico = read_file(join(scratch, std::string(stem) + ".ico"));
    const std::vector<uint8_t> rgba = read_file(join(scratch, std::string(stem) + ".rgba"));
    if (ico.empty() || rgba.empty()) continue;
    fmt::icon::IconFigures f;
    ASSERT_EQ(fmt::icon::check_icon(ico.data(), ico.size(), ico.size(), &f), fmt::icon::IconCheckResult::Ok);
    ASSERT_EQ(rgba.size(), static_cast<size_t>(4 * f.width * f.height));
    int clear = 0;
    for (const uint32_t background : {0x00FF00u, 0x3060C0u}) {
      const std::vector<uint32_t> px = draw_icon(ico, f.width, f.height, background);
      ASSERT_EQ(px.size(), static_cast<size_t>(f.width * f.height));
      for (size_t i = 0; i < px.size(); ++i) {
        const uint8_t* p = &rgba[4 * i];
        const uint32_t expected = p[3] == 0 ? background : (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
        EXPECT_EQ(px[i], expected) << i;
        if (p[3] == 0) ++clear;
      }
    }
    EXPECT_GT(clear, 0);
    ++drawn;
  }
  if (drawn == 0) GTEST_SKIP() << "no icons from the unit tests' third-party run in " << scratch;
  EXPECT_EQ(drawn, 7);
}
