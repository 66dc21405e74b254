// Opening BMP files through the real open dialog.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/e2e/save_ui.h"
#include "tests/e2e/viewer_fixture.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/viewer/resource.h"

using namespace e2e;

using OpenBmp = ViewerTest;
using OpenBmpJapanese = ViewerTest;

namespace {

// Opens a file that the viewer must refuse; returns the message it gave as
// "caption: text" after answering it ("" when none came).
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

// A file opens with its name and ratio in the caption and the image buttons
// on; the files the viewer refuses and a cancelled dialog leave that picture
// alone, and a good file (from a fixed disk) still opens after them all.
TEST_F(OpenBmp, ShowsTheImageAndRefusalsOrACancelLeaveItAlone) {
  const std::string dir = fresh_dir("open-bmp-files");
  // Any case of the extension will do.
  ASSERT_TRUE(write_file(join(dir, "PICTURE.Bmp"), three_colour_bmp()));
  ASSERT_TRUE(open_at(p, join(dir, "PICTURE.Bmp"), "1:1")) << title_of(p.main);
  expect_three_colour_image(p.main);
  for (int id : kImageButtons) EXPECT_EQ(button_enabled(p.main, id), id != kButtonZoomOut) << id;
  screenshot("open-bmp");
  const Pixels shown = grab_client(p.main);

  // The header scan's refusals (each kind is BmpScan.Rejections's) reach the
  // same message; a file outside the fixed disks is refused before its
  // extension is looked at.
  ASSERT_EQ(GetDriveTypeA("D:\\"), static_cast<UINT>(DRIVE_CDROM)) << "the prefix lacks its CD-ROM drive D:";
  ASSERT_EQ(GetDriveTypeA("N:\\"), static_cast<UINT>(DRIVE_REMOTE)) << "the prefix lacks its network drive N:";
  const std::string otherDisk = "Warning: Unable to open a file other than in the fixed disk.";
  std::vector<uint8_t> badMagic = three_colour_bmp();
  badMagic[1] = 'A';
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
      {"zero.bmp", make_bmp(0, 5, 24, {}, {}), "Warning: Unable to process a bitmap with zero width or height."},
      {"ba.bmp", badMagic, "Error: Not a bitmap file with correct format."},
      {longName, {}, "Error: GetOpenFileName error 0x3003"},  // FNERR_BUFFERTOOSMALL
      {"D:\\photo.bmp", three_colour_bmp(), otherDisk},
      {"D:\\PICTURE.DIB", three_colour_bmp(), otherDisk},
      {"D:\\missing.bmp", {}, otherDisk},
      {"N:\\photo.bmp", three_colour_bmp(), otherDisk},
  };
  for (const Refusal& r : refusals) {
    const bool otherDrive = r.name.find(':') != std::string::npos;
    const std::string path = otherDrive ? r.name : join(dir, r.name);
    if (!r.bytes.empty()) {
      ASSERT_TRUE(write_file(path, r.bytes)) << path;
    }
    EXPECT_EQ(refused(p, path), r.message) << path;
    if (otherDrive) DeleteFileA(path.c_str());
  }

  // A cancel brings no message; the dialog's return repaints the Open button.
  HWND dlg = command_dialog(p, kCmdOpen, kOpenDialogTitle);
  ASSERT_NE(dlg, nullptr);
  ASSERT_TRUE(press(dlg, IDCANCEL));
  settle(p.main);
  EXPECT_EQ(wait_other_window(p.pid(), p.main, 500), nullptr) << "a message came after a cancel";
  EXPECT_TRUE(button_enabled(p.main, kButtonOpen));

  EXPECT_EQ(title_of(p.main), "Kaldero - PICTURE.Bmp [1:1]");
  settle(p.main);
  const Pixels after = grab_client(p.main);
  EXPECT_EQ(count_differences(shown, 0, 0, after, 0, 0, shown.width, shown.height), 0);

  // And a good file still opens after them all.
  ASSERT_TRUE(write_file(join(dir, "fine.bmp"), make_bmp(2, 2, 4, {0, 0xFFFFFF}, std::vector<uint8_t>(8, 0x01))));
  EXPECT_TRUE(open_at(p, join(dir, "fine.bmp"), "1:1")) << title_of(p.main);
}

TEST_F(OpenBmpJapanese, ANameWhoseLastByteIsTheBackslashByteIsShownWhole) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  // "表" is 0x95 0x5C in code page 932: the second byte is a backslash.
  const std::wstring dir = std::wstring(L"C:\\kaldero-e2e-") + L"表";
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::wstring file = dir + L"\\表.bmp";
  ASSERT_TRUE(write_file_w(file, three_colour_bmp()))
      << "no Japanese file names: Wine needs a compiled ja_JP.UTF-8 locale (Debian package locales; "
         "scripts/wine_env.sh compiles it)";
  ASSERT_EQ(ansi_of(L"表"), "\x95\x5C");

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
