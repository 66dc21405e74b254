// Opening one-image icons through the real open dialog: what the view shows,
// the colour dialog for masked pixels, the temporary bitmap and the refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/e2e/icon_ui.h"

using namespace e2e;

TEST(OpenIcon, IconsWithoutMaskBitsShowTheirColoursWithoutTheColourDialog) {
  Program p;
  ASSERT_TRUE(start_viewer(p, "open-icon-plain"));
  const std::string dir = fresh_dir("open-icon-plain-files");
  const std::set<std::string> before = temporary_bitmaps();
  const struct {
    const char* name;
    IconPicture pic;
  } icons[] = {{"MONO.ICO", two_colour(false)},
               {"SIXTEEN.ICO", sixteen(false)},
               {"PALETTE.ICO", two_five_six(vivid_256(), false)},
               {"true.ico", true_colour(false)}};
  for (const auto& icon : icons) {
    SCOPED_TRACE(icon.name);
    const std::string path = write_icon(dir, icon.name, icon_file(icon.pic));
    choose_file(p, path);
    // The colour dialog would hold the command before the caption changes.
    ASSERT_TRUE(wait_caption(p, caption_for(icon.name))) << title_of(p.main);
    EXPECT_EQ(find_window(kColourTitle, p.pid()), nullptr);
    EXPECT_TRUE(view_shows(p.main, icon.pic, 0));
    EXPECT_EQ(temporary_bitmaps(), before) << "a temporary bitmap was left behind";
    // A handle the viewer still held would refuse the deletion.
    EXPECT_TRUE(DeleteFileA(path.c_str())) << "the icon file is still open";
  }
  screenshot("open-icon-true-colour");
  EXPECT_TRUE(p.running());
  p.close();
}

TEST(OpenIcon, ColourChoiceAppliesOnOkWhileCancelAndCloseUndoIt) {
  Program p;
  ASSERT_TRUE(start_viewer(p, "open-icon-dialog"));
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
    choose_file(p, write_icon(dir, a.file, bytes));
    dlg = wait_window(kColourTitle, 10000, p.pid());
    ASSERT_NE(dlg, nullptr) << "no colour dialog for an icon with mask bits";
    EXPECT_EQ(selected_item(dlg), 0);
    EXPECT_EQ(selection_field_colour(dlg), kDarkCyan);
    if (a.how == IDCANCEL) screenshot("open-icon-colour-dialog");
    select_item(dlg, kWhiteItem);
    EXPECT_TRUE(wait_until([&] { return selection_field_colour(dlg) == 0xFFFFFFu; }, 3000));
    if (a.how) {
      ASSERT_TRUE(press(dlg, a.how));
    } else {
      PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
      ASSERT_TRUE(wait_until([&] { return !IsWindow(dlg); }, 5000));
    }
    ASSERT_TRUE(wait_caption(p, caption_for(a.file))) << title_of(p.main);
    EXPECT_TRUE(view_shows(p.main, pic, a.shown));
  }

  // The next open offers white first; black chosen with the mouse.
  choose_file(p, write_icon(dir, "MOUSE.ICO", bytes));
  dlg = wait_window(kColourTitle, 10000, p.pid());
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
  p.close();
}

TEST(OpenIcon, MaskedPixelsOfEachDepthTakeTheNearestColourTheIconHas) {
  Program p;
  ASSERT_TRUE(start_viewer(p, "open-icon-depths"));
  const std::string dir = fresh_dir("open-icon-depths-files");

  // 16 colours: dark red sits in the icon's table; masked pixels share bytes with unmasked ones.
  IconPicture pic16 = sixteen(true);
  pic16.palette[11] = kListColours[5];
  choose_file(p, write_icon(dir, "NIBBLES.ICO", icon_file(pic16)));
  HWND dlg = wait_window(kColourTitle, 10000, p.pid());
  ASSERT_NE(dlg, nullptr);
  select_item(dlg, 5);
  ASSERT_TRUE(press(dlg, IDOK));
  ASSERT_TRUE(wait_caption(p, caption_for("NIBBLES.ICO"))) << title_of(p.main);
  EXPECT_TRUE(view_shows(p.main, pic16, kListColours[5]));

  // 256 colours without dark yellow: masked pixels take the nearest entry.
  std::vector<uint32_t> table = vivid_256();
  table[200] = 0x788808;  // (120, 136, 8), far nearer to (128, 128, 0) than any other
  const IconPicture pic256 = two_five_six(table, true);
  choose_file(p, write_icon(dir, "NEAREST.ICO", icon_file(pic256)));
  dlg = wait_window(kColourTitle, 10000, p.pid());
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(selected_item(dlg), 5);
  select_item(dlg, 3);
  ASSERT_TRUE(press(dlg, IDOK));
  ASSERT_TRUE(wait_caption(p, caption_for("NEAREST.ICO"))) << title_of(p.main);
  EXPECT_TRUE(view_shows(p.main, pic256, 0x788808));

  // 24 bits: the chosen colour itself.
  const IconPicture pic24 = true_colour(true);
  choose_file(p, write_icon(dir, "DEEP.ICO", icon_file(pic24)));
  dlg = wait_window(kColourTitle, 10000, p.pid());
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(selected_item(dlg), 3);
  ASSERT_TRUE(press(dlg, IDOK));
  ASSERT_TRUE(wait_caption(p, caption_for("DEEP.ICO"))) << title_of(p.main);
  EXPECT_TRUE(view_shows(p.main, pic24, kListColours[3]));
  p.close();
}

TEST(OpenIcon, TemporaryBitmapNeverReplacesAFileAndIsGoneAfterwards) {
  Program p;
  ASSERT_TRUE(start_viewer(p, "open-icon-temp"));
  const std::string dir = fresh_dir("open-icon-temp-files");
  const std::string temp = temp_dir();
  remove_temporary_bitmaps("SUN!");
  const std::string taken = join(temp, "SUN!.___");
  const std::vector<uint8_t> takenBytes = {'n', 'o', 't', ' ', 'o', 'u', 'r', 's'};
  ASSERT_TRUE(write_file(taken, takenBytes));
  ASSERT_TRUE(set_write_time(taken, 2001));
  const uint64_t takenTime = ticks(write_time(taken));
  const std::set<std::string> before = temporary_bitmaps();

  const IconPicture pic = two_colour(true);
  const std::string sun = write_icon(dir, "SUN.ICO", icon_file(pic));
  choose_file(p, sun);
  HWND dlg = wait_window(kColourTitle, 10000, p.pid());
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
  EXPECT_EQ(ticks(write_time(taken)), takenTime);

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
  EXPECT_EQ(ticks(write_time(taken)), takenTime);
  remove_temporary_bitmaps("SUN!");
  p.close();
}

TEST(OpenIcon, RefusedIconsLeaveThePreviousImageShown) {
  Program p;
  ASSERT_TRUE(start_viewer(p, "open-icon-refused"));
  const std::string dir = fresh_dir("open-icon-refused-files");
  const std::set<std::string> before = temporary_bitmaps();
  const IconPicture shown = true_colour(false);
  choose_file(p, write_icon(dir, "SHOWN.ICO", icon_file(shown)));
  ASSERT_TRUE(wait_caption(p, caption_for("SHOWN.ICO"))) << title_of(p.main);
  ASSERT_TRUE(view_shows(p.main, shown, 0));

  std::vector<uint8_t> truncated = icon_file(sixteen(true));
  truncated.pop_back();
  std::vector<uint8_t> flat = icon_file(two_colour(false));
  flat[30] = 1;  // biHeight 1: half of it is no row at all
  IconPicture deep = true_colour(true);
  deep.bits = 32;
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* caption;
    const char* text;
  } cases[] = {
      // As icons are shipped: a second, smaller image, whose directory entry
      // lies where a one-image file has its info header.
      {"TWO.ICO", two_image_icon_file(sixteen(true), picture(16, 16, 1, {0, 0xFFFFFF}, [](int x, int) { return x % 2u; })),
       "Error", "More than one icon contained in the file."},
      {"ALPHA.ICO", icon_file(deep), "Warning", "Unable to display an icon file\nexcept with 2/16/256/16M colors."},
      {"SHORT.ICO", truncated, "Error", "Not an icon file with correct format."},
      {"FLAT.ICO", flat, "Warning", "Unable to process an icon with zero width or height."},
      {"BITMAP.ICO", make_bmp24(4, 4, [](int, int) { return 0x123456u; }), "Error",
       "Not an icon file with correct format."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = write_icon(dir, c.name, c.bytes);
    choose_file(p, path);
    EXPECT_EQ(expect_message(p.pid(), c.caption), c.text);
    EXPECT_EQ(find_window(kColourTitle, p.pid()), nullptr);
    EXPECT_EQ(title_of(p.main), caption_for("SHOWN.ICO"));
    EXPECT_TRUE(view_shows(p.main, shown, 0));
    EXPECT_EQ(temporary_bitmaps(), before);
    settle(p.main);
    EXPECT_TRUE(DeleteFileA(path.c_str())) << "the refused file is still open";
  }
  EXPECT_TRUE(p.running());
  p.close();
}

