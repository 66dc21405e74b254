// Opening one-image icons through the real open dialog, in English and in
// Japanese: what the view shows, the colour dialog for masked pixels, the
// temporary bitmap and the refusals; and the icon files that happen to lie
// on the test machine: each opens with the pixels the system's own icon
// code draws, or is refused with an icon message.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "tests/e2e/about_ui.h"
#include "tests/e2e/icon_ui.h"
#include "tests/e2e/save_ui.h"
#include "tests/e2e/viewer_fixture.h"

using namespace e2e;

// Not "OpenIcon": Windows has a function of that name.
using OpenIcons = ViewerTest;
using OpenIconJapanese = ViewerTest;

namespace {

// Opens an icon with mask bits and waits for the colour dialog it brings.
HWND open_masked(Program& p, const std::string& path) {
  choose_file(p, path);
  return wait_window(kColourTitle, 10000, p.pid());
}

// Each refused icon brings its message in the UI's language (0 English, 1
// Japanese) and leaves the image shown before under its caption, no other
// window, no temporary bitmap and the file closed.
void expect_refusals(Program& p, const std::string& dir, int language) {
  const wchar_t* openTitle = language ? kOpenTitleJa : kOpenTitle;
  const std::wstring shownCaption = std::wstring(language ? L"カルデロ" : L"Kaldero") + L" - SHOWN.ICO [1:1]";
  const IconPicture shown = true_colour(false);
  choose_file(p, write_icon(dir, "SHOWN.ICO", icon_file(shown)), openTitle);
  ASSERT_TRUE(wait_until([&] { return wide_title_of(p.main) == shownCaption; })) << title_of(p.main);
  ASSERT_TRUE(view_shows(p.main, shown, 0));
  const std::set<std::string> before = temporary_bitmaps();

  std::vector<uint8_t> truncated = icon_file(sixteen(true)), longer = truncated;
  truncated.pop_back();
  longer.push_back(0);
  std::vector<uint8_t> flat = icon_file(two_colour(false));
  flat[30] = 1;  // biHeight 1: half of it is no row at all
  IconPicture deep = true_colour(true);
  deep.bits = 32;
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    const wchar_t* caption[2];
    const wchar_t* text[2];
  } cases[] = {
      // As icons are shipped: a second, smaller image, whose directory entry
      // lies where a one-image file has its info header.
      {"TWO.ICO", icon_file({sixteen(true), picture(16, 16, 1, {0, 0xFFFFFF}, [](int x, int) { return x % 2u; })}),
       {L"Error", L"エラー"},
       {L"More than one icon contained in the file.", L"アイコンが１個以上ファイルに含まれています."}},
      {"ALPHA.ICO", icon_file(deep), {L"Warning", L"警告"},
       {L"Unable to display an icon file\nexcept with 2/16/256/16M colors.",
        L"2色/16色/256色/16M色アイコンファイル以外は\n表示できません."}},
      // A size the figures do not give; only the Japanese text tells it from no icon at all.
      {"SHORT.ICO", truncated, {L"Error", L"エラー"},
       {L"Not an icon file with correct format.", L"正しい形式のアイコンファイル\nではありません."}},
      {"LONG.ICO", longer, {L"Error", L"エラー"},
       {L"Not an icon file with correct format.", L"正しい形式のアイコンファイル\nではありません."}},
      {"FLAT.ICO", flat, {L"Warning", L"警告"},
       {L"Unable to process an icon with zero width or height.", L"幅や高さが０のアイコンは処理できません."}},
      {"BITMAP.ICO", make_bmp24(4, 4, [](int, int) { return 0x123456u; }), {L"Error", L"エラー"},
       {L"Not an icon file with correct format.", L"正しい形式のアイコンファイルではありません."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = write_icon(dir, c.name, c.bytes);
    choose_file(p, path, openTitle);
    HWND box = wait_window_w(c.caption[language], 10000, p.pid());
    ASSERT_NE(box, nullptr) << "no message box";
    wait_until([&] { return !wide_message_text(box).empty(); }, 2000);
    EXPECT_EQ(wide_message_text(box), c.text[language]);
    if (language && std::string(c.name) == "ALPHA.ICO") screenshot("open-icon-refused-japanese");
    ASSERT_TRUE(press(box, IDOK));
    EXPECT_EQ(wait_other_window(p.pid(), p.main, 0), nullptr) << "a colour dialog or another message";
    EXPECT_EQ(wide_title_of(p.main), shownCaption);
    EXPECT_TRUE(view_shows(p.main, shown, 0));
    EXPECT_EQ(temporary_bitmaps(), before);
    settle(p.main);
    EXPECT_TRUE(DeleteFileA(path.c_str())) << "the refused file is still open";
  }
  EXPECT_TRUE(p.running());
}

// Icon files below dir (on the Z: drive, the machine's own file system),
// by their last four characters as the viewer tells them.
void find_icon_files(const std::string& dir, int depth, std::vector<std::string>& out) {
  if (depth > 20) return;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileExA(join(dir, "*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                              FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = join(dir, name);
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // Linked folders could lead back up the tree.
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) find_icon_files(path, depth + 1, out);
    } else if (name.size() >= 4 && _stricmp(name.c_str() + name.size() - 4, ".ico") == 0 && path.size() < 256) {
      out.push_back(path);
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

// Compares the view of an icon opened at 1:1 with the system's drawings of
// it on two backgrounds: where they agree the pixel is opaque and the view
// shows its colour; where they differ it is masked, and the view shows
// every masked pixel in the colour it shows the first one in.
::testing::AssertionResult view_matches_system_drawing(HWND main, const std::vector<uint8_t>& file) {
  const int w = static_cast<int>(file[26] | file[27] << 8), h = static_cast<int>(file[30] | file[31] << 8) / 2;
  const std::vector<uint32_t> onGreen = draw_icon(file, w, h, 0x00FF00), onBlue = draw_icon(file, w, h, 0x3060C0);
  if (onGreen.size() != static_cast<size_t>(w) * h || onBlue.size() != onGreen.size())
    return ::testing::AssertionFailure() << "the system could not draw it";
  auto at = [&](const std::vector<uint32_t>& v, int x, int y) { return v[static_cast<size_t>(y) * w + x]; };
  const IconPicture drawn = picture(w, h, 24, {}, [&](int x, int y) { return at(onGreen, x, y); },
                                    [&](int x, int y) { return at(onGreen, x, y) != at(onBlue, x, y); });
  settle(main);
  const Pixels px = grab_client(main);
  uint32_t maskShown = 0;
  for (int i = 0; i < w * h && px.width > w && px.height > kStrip + h; ++i)
    if (drawn.is_masked(i % w, i / w)) {
      maskShown = px.at(i % w, kStrip + i / w);
      break;
    }
  return view_shows(main, drawn, maskShown);
}

bool is_icon_refusal(const std::string& caption, const std::string& text) {
  static const std::set<std::string> refusals = {
      "Error: Not an icon file with correct format.", "Error: More than one icon contained in the file.",
      "Warning: Unable to process an icon with zero width or height.",
      "Warning: Unable to display an icon file\nexcept with 2/16/256/16M colors."};
  return refusals.count(caption + ": " + text) != 0;
}

// "Kaldero - NAME [n:1]" or "Kaldero - NAME [1:n]".
bool is_caption_of(const std::string& title, const std::string& name, bool* natural) {
  const std::string head = "Kaldero - " + name + " [";
  if (title.rfind(head, 0) != 0 || title.back() != ']') return false;
  const std::string ratio = title.substr(head.size(), title.size() - head.size() - 1);
  *natural = ratio == "1:1";
  static const std::regex form("[0-9]+:1|1:[0-9]+");
  return std::regex_match(ratio, form);
}

}  // namespace

// Icons without mask bits show their colours without the colour dialog.
// With mask bits it comes, offering the colour chosen last, and masked
// pixels show the chosen colour, or up to 256 colours the nearest one the
// icon has. No icon stays open, no temporary bitmap stays behind.
TEST_F(OpenIcons, EveryDepthShowsItsColoursAndMaskedPixelsTheNearestChosenColour) {
  const std::string dir = fresh_dir("open-icon-depths-files");
  const std::set<std::string> before = temporary_bitmaps();
  // 16 colours: dark red sits in the icon's table; masked pixels share bytes with unmasked ones.
  IconPicture pic16 = sixteen(true);
  pic16.palette[11] = kListColours[5];
  // 256 colours without dark yellow: masked pixels take the nearest entry.
  std::vector<uint32_t> table = vivid_256();
  table[200] = 0x788808;  // (120, 136, 8), far nearer to (128, 128, 0) than any other
  const struct {
    const char* name;
    IconPicture pic;
    int offered, chosen;  // items of the colour dialog; -1: no dialog
    uint32_t shown;       // where pixels are masked
  } icons[] = {{"MONO.ICO", two_colour(false), -1, -1, 0},
               {"SIXTEEN.ICO", sixteen(false), -1, -1, 0},
               {"PALETTE.ICO", two_five_six(vivid_256(), false), -1, -1, 0},
               {"true.ico", true_colour(false), -1, -1, 0},
               {"NIBBLES.ICO", pic16, 0, 5, kListColours[5]},
               {"NEAREST.ICO", two_five_six(table, true), 5, 3, 0x788808},
               // 24 bits: the chosen colour itself.
               {"DEEP.ICO", true_colour(true), 3, 3, kListColours[3]}};
  for (const auto& icon : icons) {
    SCOPED_TRACE(icon.name);
    const std::string path = write_icon(dir, icon.name, icon_file(icon.pic));
    choose_file(p, path);
    if (icon.offered >= 0) {
      HWND dlg = wait_window(kColourTitle, 10000, p.pid());
      ASSERT_NE(dlg, nullptr);
      EXPECT_EQ(selected_item(dlg), icon.offered);
      if (icon.chosen != icon.offered) select_item(dlg, icon.chosen);
      ASSERT_TRUE(press(dlg, IDOK));
    }
    // The colour dialog would hold the command before the caption changes.
    ASSERT_TRUE(wait_caption(p, caption_for(icon.name))) << title_of(p.main);
    EXPECT_EQ(find_window(kColourTitle, p.pid()), nullptr);
    EXPECT_TRUE(view_shows(p.main, icon.pic, icon.shown));
    if (icon.name == std::string("true.ico")) screenshot("open-icon-true-colour");
    EXPECT_EQ(temporary_bitmaps(), before) << "a temporary bitmap was left behind";
    // A handle the viewer still held would refuse the deletion.
    EXPECT_TRUE(DeleteFileA(path.c_str())) << "the icon file is still open";
  }
  EXPECT_TRUE(p.running());
}

TEST_F(OpenIcons, ColourChoiceAppliesOnOkWhileCancelAndCloseUndoIt) {
  const std::string dir = fresh_dir("open-icon-dialog-files");
  const IconPicture pic = two_colour(true);
  const std::vector<uint8_t> bytes = icon_file(pic);

  // White chosen each time: Cancel and the close box put back the colour from
  // before the dialog (dark cyan at first) and its place in the list; OK keeps it.
  struct Answer {
    const char* file;
    int how;  // IDCANCEL, IDOK, or 0 for the close box
    uint32_t shown;
  };
  const Answer answers[] = {
      {"CANCEL.ICO", IDCANCEL, kDarkCyan}, {"CLOSE.ICO", 0, kDarkCyan}, {"OK.ICO", IDOK, 0xFFFFFF}};
  HWND dlg = nullptr;
  for (const Answer& a : answers) {
    SCOPED_TRACE(a.file);
    dlg = open_masked(p, write_icon(dir, a.file, bytes));
    ASSERT_NE(dlg, nullptr) << "no colour dialog for an icon with mask bits";
    EXPECT_EQ(selected_item(dlg), 0);
    EXPECT_EQ(selection_field_colour(dlg), kDarkCyan);
    if (a.how == IDCANCEL) screenshot("open-icon-colour-dialog");
    select_item(dlg, kWhiteItem);
    EXPECT_TRUE(wait_until([&] { return selection_field_colour(dlg) == 0xFFFFFFu; }, 3000));
    ASSERT_TRUE(leave_dialog(dlg, a.how));
    ASSERT_TRUE(wait_caption(p, caption_for(a.file))) << title_of(p.main);
    EXPECT_TRUE(view_shows(p.main, pic, a.shown));
  }

  // The next open offers white first; black chosen with the mouse.
  dlg = open_masked(p, write_icon(dir, "MOUSE.ICO", bytes));
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(selected_item(dlg), kWhiteItem);
  EXPECT_EQ(selection_field_colour(dlg), 0xFFFFFFu);
  pick_with_mouse(p, dlg, kBlackItem, "open-icon-colour-list");
  EXPECT_EQ(selected_item(dlg), kBlackItem);
  EXPECT_TRUE(wait_until([&] { return selection_field_colour(dlg) == 0x000000u; }, 3000));
  click_centre(GetDlgItem(dlg, IDOK));
  ASSERT_TRUE(wait_until([&] { return !IsWindow(dlg); }, 5000)) << "OK did not close the dialog";
  ASSERT_TRUE(wait_caption(p, caption_for("MOUSE.ICO"))) << title_of(p.main);
  EXPECT_TRUE(view_shows(p.main, pic, 0x000000));
  screenshot("open-icon-masked-black");
}

TEST_F(OpenIcons, TemporaryBitmapNeverReplacesAFileAndIsGoneAfterwards) {
  const std::string dir = fresh_dir("open-icon-temp-files");
  const std::string temp = temp_dir();
  remove_temporary_bitmaps("SUN!");
  const std::string taken = join(temp, "SUN!.___");
  const std::vector<uint8_t> takenBytes = {'n', 'o', 't', ' ', 'o', 'u', 'r', 's'};
  ASSERT_TRUE(write_file(taken, takenBytes));
  ASSERT_TRUE(set_write_time(taken, 2001));
  const uint64_t takenTime = write_time(taken);
  const std::set<std::string> before = temporary_bitmaps();

  const IconPicture pic = two_colour(true);
  const std::string sun = write_icon(dir, "SUN.ICO", icon_file(pic));
  HWND dlg = open_masked(p, sun);
  ASSERT_NE(dlg, nullptr);
  // The bitmap waits under the next free name while the user chooses.
  EXPECT_TRUE(file_exists(join(temp, "SUN!!.___")));
  EXPECT_EQ(read_file(taken), takenBytes);
  ASSERT_TRUE(press(dlg, IDOK));
  ASSERT_TRUE(wait_caption(p, caption_for("SUN.ICO"))) << title_of(p.main);
  EXPECT_TRUE(view_shows(p.main, pic, kDarkCyan));
  settle(p.main);
  EXPECT_EQ(temporary_bitmaps(), before);
  EXPECT_EQ(read_file(taken), takenBytes);
  EXPECT_EQ(write_time(taken), takenTime);

  // Every name up to 255 characters taken: the command refuses and changes nothing.
  const IconPicture prev = sixteen(false);
  choose_file(p, write_icon(dir, "PREV.ICO", icon_file(prev)));
  ASSERT_TRUE(wait_caption(p, caption_for("PREV.ICO"))) << title_of(p.main);
  std::vector<std::string> names;
  for (std::string base = "SUN!!";; base += '!') {
    const std::string path = temp + "\\" + base + ".___";
    if (path.size() > 255) break;
    ASSERT_TRUE(write_file(path, {}));
    names.push_back(path);
  }
  choose_file(p, sun);
  EXPECT_EQ(expect_message(p.pid(), "Error"), "Unable to create a temporary bitmap file.");
  EXPECT_EQ(find_window(kColourTitle, p.pid()), nullptr);
  EXPECT_EQ(title_of(p.main), caption_for("PREV.ICO"));
  EXPECT_TRUE(view_shows(p.main, prev, 0));
  for (const std::string& n : names) EXPECT_TRUE(file_exists(n) && read_file(n).empty()) << n;
  EXPECT_EQ(read_file(taken), takenBytes);
  EXPECT_EQ(write_time(taken), takenTime);
  remove_temporary_bitmaps("SUN!");
}

TEST_F(OpenIcons, IconFilesFoundOnTheMachineOpenOrAreRefused) {
  std::vector<std::string> files;
  const ULONGLONG searchStart = GetTickCount64();
  find_icon_files("Z:\\usr\\share", 0, files);
  std::printf("%zu .ico files under /usr/share (search took %llu ms)\n", files.size(),
              static_cast<unsigned long long>(GetTickCount64() - searchStart));
  if (files.empty()) GTEST_SKIP() << "no .ico file under /usr/share on this machine";
  std::sort(files.begin(), files.end());

  const std::string dir = fresh_dir("open-icon-found-files");
  const std::string marker = write_icon(dir, "MARKER.ICO", icon_file(true_colour(false)));
  const ULONGLONG start = GetTickCount64();
  const size_t kMostFiles = 60;
  int opened = 0, refused = 0, tried = 0;
  std::string lastName;
  for (const std::string& path : files) {
    if (static_cast<size_t>(tried) == kMostFiles || GetTickCount64() - start > 45000) break;
    ++tried;
    SCOPED_TRACE(path);
    const std::string name = path.substr(path.rfind('\\') + 1);
    if (name == lastName) {
      // The same caption again would not tell whether this one opened.
      choose_file(p, marker);
      ASSERT_TRUE(wait_caption(p, caption_for("MARKER.ICO")));
    }
    const std::string titleBefore = title_of(p.main);
    choose_file(p, path);
    enum { Waiting, Opened, Refused, Other } outcome = Waiting;
    bool natural = false;
    std::string said;
    wait_until([&] {
      if (!p.running()) return (outcome = Other), true;
      if (HWND dlg = find_window(kColourTitle, p.pid())) {
        press(dlg, IDOK);
        return false;
      }
      for (const char* caption : {"Error", "Warning"})
        if (HWND box = find_window(caption, p.pid())) {
          wait_until([&] { return !message_text(box).empty(); }, 2000);
          said = message_text(box);
          outcome = is_icon_refusal(caption, said) ? Refused : Other;
          press(box, IDOK);
          return true;
        }
      if (is_caption_of(title_of(p.main), name, &natural)) return (outcome = Opened), true;
      return false;
    }, 15000);
    ASSERT_NE(outcome, Waiting) << "no caption and no message: the viewer hangs";
    ASSERT_NE(outcome, Other) << (p.running() ? "unexpected message: " + said : "the viewer ended");
    if (outcome == Refused) {
      ++refused;
      std::printf("refused %s: %s\n", path.c_str(), said.c_str());
      EXPECT_EQ(title_of(p.main), titleBefore);
    } else {
      ++opened;
      std::printf("opened %s: %s\n", path.c_str(), title_of(p.main).c_str());
      lastName = name;
      if (natural) {
        EXPECT_TRUE(view_matches_system_drawing(p.main, read_file(path)));
        screenshot("open-icon-found-" + std::to_string(opened));
      }
    }
  }
  std::printf("found %zu, tried %d: %d opened, %d refused\n", files.size(), tried, opened, refused);
  RecordProperty("found", static_cast<int>(files.size()));
  RecordProperty("opened", opened);
  RecordProperty("refused", refused);
  EXPECT_TRUE(p.running());
}

TEST_F(OpenIcons, RefusedIconsLeaveThePreviousImageShown) {
  expect_refusals(p, fresh_dir("open-icon-refused-files"), 0);
}

TEST_F(OpenIconJapanese, ColourDialogAndRefusalsSpeakJapanese) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  const std::string dir = fresh_dir("open-icon-japanese-files");
  IconPicture pic = sixteen(true);
  pic.palette[3] = 0x000000;  // black, to be chosen below, is one of the icon's colours
  // "表" ends in the byte of a backslash in code page 932: neither the
  // caption nor the temporary name may cut the name there. Wine can store
  // such a name only when the Unix side has a Japanese UTF-8 locale.
  std::wstring wideName = L"表示.ICO";
  std::wstring widePath = wide_of(dir) + L"\\" + wideName;
  if (!write_file_w(widePath, icon_file(pic))) {
    std::printf("note: no Japanese file names here (ja_JP.UTF-8 is not a locale of this machine); "
                "the icon gets an ASCII name\n");
    wideName = L"TSUKI.ICO";
    widePath = wide_of(dir) + L"\\" + wideName;
    ASSERT_TRUE(write_file_w(widePath, icon_file(pic)));
  }
  const std::wstring tempBitmap =
      wide_of(temp_dir()) + L"\\" + wideName.substr(0, wideName.size() - 4) + L"!.___";
  DeleteFileW(tempBitmap.c_str());
  choose_file(p, ansi_of(widePath), kOpenTitleJa);
  HWND dlg = wait_window_w(L"表示色の選択", 10000, p.pid());
  ASSERT_NE(dlg, nullptr) << "no Japanese colour dialog";
  EXPECT_NE(GetFileAttributesW(tempBitmap.c_str()), INVALID_FILE_ATTRIBUTES) << "no temporary bitmap named after the icon";
  EXPECT_EQ(control_text(dlg, IDCANCEL), L"ｷｬﾝｾﾙ");
  EXPECT_EQ(control_text(dlg, 0xFFFF), L"アイコン中の透明色・反転色の\n表示色を選択してください.");
  EXPECT_EQ(selected_item(dlg), 0);
  screenshot("open-icon-colour-dialog-japanese");
  pick_with_mouse(p, dlg, kBlackItem, "open-icon-colour-list-japanese");
  ASSERT_TRUE(press(dlg, IDOK));
  const std::wstring caption = L"カルデロ - " + wideName + L" [1:1]";
  ASSERT_TRUE(wait_until([&] { return wide_title_of(p.main) == caption; })) << title_of(p.main);
  EXPECT_TRUE(view_shows(p.main, pic, 0x000000));
  settle(p.main);
  EXPECT_EQ(GetFileAttributesW(tempBitmap.c_str()), INVALID_FILE_ATTRIBUTES) << "the temporary bitmap was left behind";
  expect_refusals(p, dir, 1);
}
