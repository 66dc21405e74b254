// Opening BMP files through the real open dialog.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/viewer/resource.h"

using namespace e2e;

namespace {

// Waits for a message box of the viewer and returns "caption: text" after
// answering it; "" when none came.
std::string answered_message(const Program& p) {
  HWND box = nullptr;
  wait_until([&] {
    box = wait_other_window(p.pid(), p.main, 0);
    return box && !message_text(box).empty();
  });
  if (!box) return "";
  const std::string what = title_of(box) + ": " + message_text(box);
  press(box, IDOK);
  return what;
}

// Opens a file that the viewer must refuse; returns the message it gave.
std::string refused(Program& p, const std::string& path) {
  if (!open_with_dialog(p, path)) return "no open dialog";
  return answered_message(p);
}

std::vector<uint8_t> three_colour_bmp() {
  return make_bmp24(40, 30, [](int x, int y) { return x < 20 ? 0xFF0000u : (y < 15 ? 0x00FF00u : 0x0000FFu); });
}

void expect_three_colour_image(HWND main) {
  const Pixels px = grab_client(main);
  EXPECT_EQ(px.at(5, 20 + 5), 0xFF0000u);
  EXPECT_EQ(px.at(30, 20 + 5), 0x00FF00u);
  EXPECT_EQ(px.at(30, 20 + 25), 0x0000FFu);
  EXPECT_EQ(px.at(40, 20 + 5), 0xFFFFFFu);  // past the image: the background
}

}  // namespace

TEST(OpenBmp, ShowsTheImageWithNameAndRatioInTheCaption) {
  Program p;
  ASSERT_TRUE(start_viewer(p, "open-bmp"));
  const std::string path = join(fresh_dir("open-bmp-files"), "photo.bmp");
  ASSERT_TRUE(write_file(path, three_colour_bmp()));
  ASSERT_TRUE(open_at(p, path, "1:1")) << title_of(p.main);
  expect_three_colour_image(p.main);
  // The image buttons come on with the image.
  for (int id : kImageButtons) EXPECT_EQ(button_enabled(p.main, id), id != kButtonZoomOut) << id;
  screenshot("open-bmp");
  p.close();
}

TEST(OpenBmp, CancellingTheDialogChangesNothing) {
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "open-cancel"));
  const std::string path = join(fresh_dir("open-cancel-files"), "photo.bmp");
  ASSERT_TRUE(write_file(path, three_colour_bmp()));
  ASSERT_TRUE(open_at(p, path, "1:1")) << title_of(p.main);
  const Pixels before = grab_client(p.main);

  post_command(p.main, kCmdOpen);
  HWND dlg = wait_window(kOpenDialogTitle, 10000, p.pid());
  ASSERT_NE(dlg, nullptr);
  ASSERT_TRUE(press(dlg, IDCANCEL));
  settle(p.main);
  EXPECT_EQ(wait_other_window(p.pid(), p.main, 500), nullptr) << "a message came after a cancel";
  EXPECT_EQ(title_of(p.main), "Kaldero - photo.bmp [1:1]");
  const Pixels after = grab_client(p.main);
  EXPECT_EQ(count_differences(before, 0, 0, after, 0, 0, before.width, before.height), 0);
  EXPECT_TRUE(button_enabled(p.main, kButtonOpen));
  p.close();
}

TEST(OpenBmp, RefusedFilesLeaveTheShownImageAlone) {
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "open-refused"));
  const std::string dir = fresh_dir("open-refused-files");
  // Any case of the extension will do.
  ASSERT_TRUE(write_file(join(dir, "PICTURE.Bmp"), three_colour_bmp()));
  ASSERT_TRUE(open_at(p, join(dir, "PICTURE.Bmp"), "1:1")) << title_of(p.main);
  const Pixels shown = grab_client(p.main);

  const std::string zeroSide = "Warning: Unable to process a bitmap with zero width or height.";
  const std::string notBitmap = "Error: Not a bitmap file with correct format.";
  std::vector<uint8_t> badMagic = three_colour_bmp();
  badMagic[1] = 'A';
  std::vector<uint8_t> header100 = three_colour_bmp();
  header100[14] = 100;  // an info header size no bitmap has
  // A 4-bit file, and the same with more colours in use than 4 bits can index.
  const std::vector<uint8_t> fine = make_bmp(2, 2, 4, {0x000000, 0xFFFFFF}, std::vector<uint8_t>(8, 0x01));
  std::vector<uint8_t> colours = fine;
  colours[46] = 17;
  // A path longer than the viewer's 256-byte buffer: the dialog itself fails.
  const std::string longName = std::string(258 - 5 - dir.size(), 'x') + ".bmp";
  ASSERT_EQ(join(dir, longName).size(), 258u);
  struct Refusal {
    std::string name;
    std::vector<uint8_t> bytes;  // none: no file is written
    std::string message;
  };
  const Refusal refusals[] = {
      {"PICTURE.DIB", three_colour_bmp(), "Error: Select a file with BMP or ICO extension."},
      {"missing.bmp", {}, "Error: Unable to open the assigned bitmap file."},
      {"zero.bmp", make_bmp(0, 5, 24, {}, {}), zeroSide},
      {"flat.bmp", make_bmp(5, 0, 8, {0, 0xFFFFFF}, {}), zeroSide},
      {"ba.bmp", badMagic, notBitmap},
      {"header100.bmp", header100, notBitmap},
      {"colours.bmp", colours, notBitmap},
      {longName, {}, "Error: GetOpenFileName error 0x3003"},  // FNERR_BUFFERTOOSMALL
  };
  for (const Refusal& r : refusals) {
    if (!r.bytes.empty()) {
      ASSERT_TRUE(write_file(join(dir, r.name), r.bytes));
    }
    EXPECT_EQ(refused(p, join(dir, r.name)), r.message) << r.name;
  }

  EXPECT_EQ(title_of(p.main), "Kaldero - PICTURE.Bmp [1:1]");
  settle(p.main);
  const Pixels after = grab_client(p.main);
  EXPECT_EQ(count_differences(shown, 0, 0, after, 0, 0, shown.width, shown.height), 0);

  // And a good file still opens after them all.
  ASSERT_TRUE(write_file(join(dir, "fine.bmp"), fine));
  EXPECT_TRUE(open_at(p, join(dir, "fine.bmp"), "1:1")) << title_of(p.main);
  p.close();
}

TEST(OpenBmp, FilesOutsideFixedDisksAreRefusedBeforeTheirExtensionIsLookedAt) {
  ASSERT_EQ(GetDriveTypeA("D:\\"), static_cast<UINT>(DRIVE_CDROM)) << "the prefix lacks its CD-ROM drive D:";
  ASSERT_EQ(GetDriveTypeA("N:\\"), static_cast<UINT>(DRIVE_REMOTE)) << "the prefix lacks its network drive N:";
  const char* const written[] = {"D:\\photo.bmp", "D:\\PICTURE.DIB", "N:\\photo.bmp"};
  for (const char* path : written) ASSERT_TRUE(write_file(path, three_colour_bmp())) << path;
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "open-drives"));
  for (const char* path : {"D:\\photo.bmp", "D:\\PICTURE.DIB", "D:\\missing.bmp", "N:\\photo.bmp"})
    EXPECT_EQ(refused(p, path), "Warning: Unable to open a file other than in the fixed disk.") << path;
  EXPECT_EQ(title_of(p.main), "Kaldero - (No title)");
  // The same file from a fixed disk opens.
  const std::string fixed = join(fresh_dir("open-drives-files"), "photo.bmp");
  ASSERT_TRUE(write_file(fixed, three_colour_bmp()));
  EXPECT_TRUE(open_at(p, fixed, "1:1")) << title_of(p.main);
  p.close();
  for (const char* path : written) DeleteFileA(path);
}

TEST(OpenBmpJapanese, ANameWhoseLastByteIsTheBackslashByteIsShownWhole) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  // "表" is 0x95 0x5C in code page 932: the second byte is a backslash.
  const std::wstring dir = std::wstring(L"C:\\kaldero-e2e-") + L"表";
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::wstring file = dir + L"\\表.bmp";
  ASSERT_TRUE(write_file_w(file, three_colour_bmp()))
      << "no Japanese file names: Wine needs a compiled ja_JP.UTF-8 locale (Debian package locales; "
         "scripts/wine_env.sh compiles it)";
  ASSERT_EQ(ansi_of(L"表"), "\x95\x5C");

  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "open-japanese"));
  post_command(p.main, kCmdOpen);
  HWND dlg = wait_other_window(p.pid(), p.main);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(wide_title_of(dlg), L"Bitmap または Icon ファイルの選択");
  ASSERT_TRUE(answer_file_dialog(dlg, ansi_of(file)));
  ASSERT_TRUE(wait_until([&] { return !IsWindow(dlg); }));
  EXPECT_TRUE(wait_until([&] { return wide_title_of(p.main) == L"カルデロ - 表.bmp [1:1]"; }))
      << ansi_of(wide_title_of(p.main));
  settle(p.main);
  expect_three_colour_image(p.main);
  command_and_settle(p.main, kCmdZoomIn);
  EXPECT_EQ(wide_title_of(p.main), L"カルデロ - 表.bmp [2:1]");
  p.close();
  DeleteFileW(file.c_str());
  RemoveDirectoryW(dir.c_str());
}

// The header scan passes but the reader refuses the file: the new file was
// read into a block of its own, so the picture on view, its caption, zoom,
// scroll position and bars are as they were, and the image commands go on
// working on it.
TEST(OpenBmp, AFileTheReaderRefusesKeepsThePictureOnView) {
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "open-bmp-reader-refuses"));
  const std::string dir = fresh_dir("open-bmp-reader-refuses-files");
  // Large enough for both scroll bars and the size grip at 1:1.
  const std::string good = join(dir, "good.bmp");
  ASSERT_TRUE(write_file(good, make_bmp24(900, 700, [](int x, int y) { return (x * 7 + y * 3) & 0xFFFFFFu; })));
  set_client_size(p.main, 500, 400);
  ASSERT_TRUE(open_at(p, good, "1:2")) << title_of(p.main);
  command_and_settle(p.main, kCmdZoomIn);
  scroll_view(p.main, false, SB_PAGERIGHT);
  ASSERT_TRUE(button_enabled(p.main, IDC_COPY_BUTTON));
  ASSERT_TRUE(shown(horizontal_bar(p.main)) && shown(vertical_bar(p.main)) && size_grip(p.main));
  const int scrolled = scroll_pos(horizontal_bar(p.main));
  ASSERT_GT(scrolled, 0);
  RECT client;
  GetClientRect(p.main, &client);
  const Pixels before = grab_client(p.main);

  // The rows are said to start inside the headers.
  std::vector<uint8_t> bad = three_colour_bmp();
  bad[10] = 20;
  bad[11] = bad[12] = bad[13] = 0;
  const std::string badPath = join(dir, "bad.bmp");
  ASSERT_TRUE(write_file(badPath, bad));
  EXPECT_EQ(refused(p, badPath), "Error: Illegal structure size is found in info header.");
  settle(p.main);
  EXPECT_EQ(title_of(p.main), "Kaldero - good.bmp [1:1]");
  EXPECT_TRUE(shown(horizontal_bar(p.main)));
  EXPECT_TRUE(shown(vertical_bar(p.main)));
  EXPECT_NE(size_grip(p.main), nullptr);
  EXPECT_EQ(scroll_pos(horizontal_bar(p.main)), scrolled);
  repaint(p.main);
  const Pixels after = grab_client(p.main);
  EXPECT_EQ(count_differences(after, 0, kStrip, before, 0, kStrip, client.right, client.bottom - kStrip), 0);
  for (int id : kImageButtons) EXPECT_TRUE(button_enabled(p.main, id)) << std::hex << id;
  screenshot("open-bmp-refused-keeps-picture");
  // The zoom it kept is the one the commands go on from.
  command_and_settle(p.main, kCmdZoomOut);
  EXPECT_TRUE(wait_title(p.main, "Kaldero - good.bmp [1:2]")) << title_of(p.main);
  p.close();
}
