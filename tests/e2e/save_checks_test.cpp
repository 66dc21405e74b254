// The save command's checks and the BMP writers, through the real dialogs:
// refusals, the overwrite question, a target that cannot be replaced, a
// cancel, icons saved as their bitmap, pasted images at the shown size, and
// the temporary file of a save.
#include <gtest/gtest.h>

#include <algorithm>

#include "formats/bytes.h"
#include "formats/icon_convert.h"
#include "formats/icon_layout.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/about_ui.h"
#include "tests/e2e/icon_ui.h"
#include "tests/e2e/save_ui.h"
#include "tests/e2e/viewer_fixture.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/viewer/resource.h"

using namespace e2e;

using SaveChecksJapanese = ViewerTest;

namespace {

std::vector<uint8_t> photo() {
  return make_bmp24(40, 30, [](int x, int y) { return x < 20 ? 0xFF0000u : (y < 15 ? 0x00FF00u : 0x0000FFu); });
}

}  // namespace

TEST(SaveChecks, RefusalsOverwriteAndUnwritableTargets) {
  Program p;
  const std::string dir = show_file(p, "save-checks", "photo.bmp", photo());
  ASSERT_FALSE(dir.empty());

  // A BMP-origin image is saved as TIF only; other drives than fixed disks never.
  EXPECT_EQ(save_answered(p, join(dir, "x.bmp")), "Error: Assign a proper extension to the saving file.");
  EXPECT_EQ(save_answered(p, "D:\\x.tif"), "Warning: Unable to save a file other than to the fixed disk.");
  EXPECT_EQ(save_answered(p, "N:\\x.tif"), "Warning: Unable to save a file other than to the fixed disk.");

  // Overwrite answered No: the file stays as it was, nothing more is said.
  const std::string kOverwrite = "Confirmation: File already exists.\nDo you overwrite?";
  const std::string old = join(dir, "old.tif");
  const std::vector<uint8_t> oldBytes = {'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e'};
  ASSERT_TRUE(write_file(old, oldBytes));
  EXPECT_EQ(save_answered(p, old, IDNO), kOverwrite);
  EXPECT_EQ(answered_message(p, IDOK, 700), "");
  EXPECT_EQ(read_file(old), oldBytes);
  EXPECT_EQ(title_of(p.main), "Kaldero - photo.bmp [1:1]");

  // A read-only target, or one another program holds open, cannot be
  // replaced: the write error, no success message, the old bytes, and no
  // temporary file left behind.
  for (const bool readOnly : {true, false}) {
    const std::string name = readOnly ? "locked.tif" : "busy.tif", target = join(dir, name);
    SCOPED_TRACE(name);
    ASSERT_TRUE(write_file(target, oldBytes));
    HANDLE held = INVALID_HANDLE_VALUE;
    if (readOnly)
      ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    else
      held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(readOnly || held != INVALID_HANDLE_VALUE);
    EXPECT_EQ(save_answered(p, target, IDYES), kOverwrite);
    EXPECT_EQ(answered_message(p), "Write Error: Unable to write to file.");
    EXPECT_EQ(answered_message(p, IDOK, 700), "");
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(read_file(target), oldBytes);
    EXPECT_EQ(files_in(dir), (std::vector<std::string>{name, "old.tif", "photo.bmp"}));
    EXPECT_EQ(title_of(p.main), "Kaldero - photo.bmp [1:1]");
    DeleteFileA(target.c_str());
  }

  // Yes replaces the old file with the TIF.
  EXPECT_EQ(save_answered(p, old, IDYES), kOverwrite);
  EXPECT_EQ(answered_message(p), saved_message(old));
  EXPECT_EQ(read_file(old).size(), 160u + 3 * 40 * 30);
  EXPECT_EQ(files_in(dir), (std::vector<std::string>{"old.tif", "photo.bmp"}));

  // Cancel: no message, and the Save button looks as it did before.
  repaint(p.main);
  const Pixels before = grab_window(button_of(p.main, kButtonSave));
  HWND dlg = command_dialog(p, kCmdSave, kSaveDialogTitle);
  ASSERT_NE(dlg, nullptr);
  ASSERT_TRUE(press(dlg, IDCANCEL));
  settle(p.main);
  EXPECT_EQ(answered_message(p, IDOK, 700), "");
  const Pixels after = grab_window(button_of(p.main, kButtonSave));
  EXPECT_EQ(count_differences(before, 0, 0, after, 0, 0, before.width, before.height), 0);
  p.close();
}

// An icon saved as BMP is the bitmap the viewer made of it, byte for byte.
TEST(SaveChecks, IconSavedAsItsBitmap) {
  std::vector<uint32_t> palette;
  for (uint32_t i = 0; i < 16; ++i) palette.push_back((i * 0x1F3D5Bu) & 0xFFFFFF);
  const std::vector<uint8_t> ico = icon_file(picture(32, 32, 4, palette, [](int x, int y) { return (x + y) % 16u; }));
  fmt::icon::IconFigures f;
  ASSERT_EQ(fmt::icon::check_icon(ico.data(), ico.size(), ico.size(), &f), fmt::icon::IconCheckResult::Ok);
  const std::vector<uint8_t> bitmap = fmt::icon::icon_to_bmp(ico.data(), ico.size(), f);
  ASSERT_EQ(bitmap.size(), 630u);

  Program p;
  const std::string dir = show_file(p, "save-icon", "sun.ico", ico);
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(save_answered(p, join(dir, "sun.tif")), "Error: Assign a proper extension to the saving file.");
  const std::string out = join(dir, "sun.bmp");
  EXPECT_EQ(save_answered(p, out), saved_message(out));
  EXPECT_EQ(read_file(out), bitmap);
  EXPECT_EQ(title_of(p.main), "Kaldero - sun.bmp [1:1]");
  p.close();
}

// A pasted image is saved at the size it is shown: 100 x 60 at 1:3 is
// 33 x 20, rows of 100 bytes, 2054 bytes in all.
TEST(SaveChecks, PastedImageSavedAsShown) {
  auto colour = [](int x, int y) { return (x / 3) % 2 == (y / 3) % 2 ? 0x2040C0u : 0xF0A010u; };
  const int w = 100, h = 60;
  ASSERT_TRUE(put_on_clipboard(CF_DIB, dib_of(make_bmp24(w, h, colour))));
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "save-pasted"));
  command_and_settle(p.main, kCmdPaste);
  ASSERT_TRUE(wait_title(p.main, "Kaldero - (Pasted image) [1:1]")) << title_of(p.main);
  command_and_settle(p.main, kCmdZoomOut);
  command_and_settle(p.main, kCmdZoomOut);
  ASSERT_EQ(title_of(p.main), "Kaldero - (Pasted image) [1:3]");
  const std::string dir = fresh_dir("save-pasted-files");
  const std::string out = join(dir, "small.bmp");
  ASSERT_TRUE(save_with_dialog(p, out));
  HWND box = nullptr;
  ASSERT_TRUE(wait_until([&] { return (box = wait_other_window(p.pid(), p.main, 0)) && !message_text(box).empty(); }));
  settle(box);
  screenshot("saved-pasted-at-1-3");
  EXPECT_EQ(answered_message(p), saved_message(out));
  EXPECT_EQ(title_of(p.main), "Kaldero - small.bmp [1:3]");
  p.close();
  const std::vector<uint8_t> f = read_file(out);
  ASSERT_EQ(f.size(), 2054u);
  EXPECT_EQ(fmt::get_u32le(&f[2]), 2054u);
  EXPECT_EQ(fmt::get_u32le(&f[10]), 54u);
  const std::vector<uint8_t> dib(f.begin() + 14, f.end());
  EXPECT_EQ(fmt::get_i32le(&dib[4]), 33);
  EXPECT_EQ(fmt::get_i32le(&dib[8]), 20);
  EXPECT_EQ(fmt::get_u16le(&dib[14]), 24u);
  EXPECT_EQ(fmt::get_u32le(&dib[20]), 2000u);
  // Which source pixel of its span a reduced pixel shows is the platform's
  // choice: any of them will do.
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 33; ++x) {
      bool found = false;
      for (int sx = x * 100 / 33; sx <= (x + 1) * 100 / 33 && sx < w; ++sx)
        for (int sy = 3 * y; sy < 3 * y + 3; ++sy) found = found || dib_pixel(dib, x, y) == colour(sx, sy);
      ASSERT_TRUE(found) << x << "," << y;
    }
}

TEST_F(SaveChecksJapanese, TextsOfTheDialogsAndMessages) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  const std::string dir = fresh_dir("save-japanese-files");
  ASSERT_TRUE(write_file(join(dir, "photo.bmp"), photo()));
  choose_file(p, join(dir, "photo.bmp"), kOpenTitleJa);
  ASSERT_TRUE(wait_until([&] { return wide_title_of(p.main) == L"カルデロ - photo.bmp [1:1]"; }));

  HWND dlg = command_dialog(p, kCmdParameters, L"TIF 像保存条件の設定");
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(control_text(dlg, IDC_TIF_AS_16BIT), L"16bit 像に変換して保存");
  EXPECT_EQ(control_text(dlg, IDCANCEL), L"ｷｬﾝｾﾙ");
  screenshot("tif-conditions-japanese");
  ASSERT_TRUE(press(dlg, IDCANCEL));

  // Saves through the Japanese save dialog; the message box that follows.
  auto save = [&](const std::string& path) -> HWND {
    HWND dialog = command_dialog(p, kCmdSave, L"保存するファイル名の指定"), box = nullptr;
    if (!dialog || !answer_file_dialog(dialog, path)) return nullptr;
    const bool came = wait_until([&] {
      box = wait_other_window(p.pid(), p.main, 0);
      return box && box != dialog && !wide_message_text(box).empty();
    });
    return came ? box : nullptr;
  };
  HWND box = save(join(dir, "x.bmp"));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(wide_title_of(box), L"エラー");
  EXPECT_EQ(wide_message_text(box), L"保存ファイルに適正な拡張子を指定してください.");
  press(box, IDOK);
  const std::string out = join(dir, "x.tif");
  box = save(out);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(wide_title_of(box), L"お知らせ");
  EXPECT_EQ(wide_message_text(box), L"像が保存されました;\n" + wide_of(out));
  press(box, IDOK);
  EXPECT_TRUE(wait_until([&] { return wide_title_of(p.main) == L"カルデロ - x.tif [1:1]"; }));
}

namespace {

// Where a save puts its temporary file: beside the target even in a folder
// as deep as a path allows, and what a killed save left there is cleaned up
// at the next one without touching anyone else's file. The viewer shows a
// BMP, ready to save it as TIF.
class SaveTemporary : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = show_file(p, "save-temporary", "photo.bmp", photo());
    ASSERT_FALSE(dir.empty());
  }
  void TearDown() override { p.close(); }

  Program p;
  std::string dir;
};

TEST_F(SaveTemporary, SavesIntoAFolderAsDeepAsTheDialogAllows) {
  const std::string shallow = join(dir, "a.tif");
  ASSERT_EQ(save_answered(p, shallow), saved_message(shallow));
  const std::vector<uint8_t> want = read_file(shallow);
  ASSERT_FALSE(want.empty());

  // Folders down to 250 bytes with the last backslash: the file's path is
  // then 255 bytes, the most the save dialog returns, and the usual
  // temporary name would not fit beside it.
  std::string deep = dir;
  while (deep.size() + 1 < 250) {
    deep = join(deep, std::string(std::min<size_t>(60, 250 - deep.size() - 2), 'd'));
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep;
  }
  ASSERT_EQ(deep.size() + 1, 250u);
  HANDLE usual = CreateFileA(join(deep, "~kal1A2B.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_EQ(usual, INVALID_HANDLE_VALUE) << "a name of 12 characters is too long here";
  const std::string target = join(deep, "a.tif");
  EXPECT_EQ(save_answered(p, target), saved_message(target));
  EXPECT_EQ(read_file(target), want) << "the same bytes as the save into a short folder";
  EXPECT_EQ(files_in(deep), (std::vector<std::string>{"a.tif"})) << "no temporary file stays";
}

TEST_F(SaveTemporary, StaleTemporaryFilesOfTheViewerAreRemovedAtTheNextSave) {
  const std::vector<uint8_t> left = {'l', 'e', 'f', 't'};
  // What killed saves left behind, a save another instance holds open, and
  // names that only look like the viewer's (the capture program's among them).
  const std::vector<std::string> stale = {"~kal1A2B.tmp", "~KAL00FF.TMP", "~kal7"};
  const std::vector<std::string> kept = {"~kal3C4D.tmp", "~kal1A2B.tmp.txt", "~kal12345.tmp", "~kalendar.tmp",
                                         "~mrd1A2B.tmp"};
  for (const auto& name : stale) ASSERT_TRUE(write_file(join(dir, name), left));
  for (const auto& name : kept) ASSERT_TRUE(write_file(join(dir, name), left));
  HANDLE held = CreateFileA(join(dir, "~kal3C4D.tmp").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  const std::string target = join(dir, "a.tif");
  EXPECT_EQ(save_answered(p, target), saved_message(target));
  CloseHandle(held);
  std::vector<std::string> want = kept;
  want.push_back("a.tif");
  want.push_back("photo.bmp");
  std::sort(want.begin(), want.end());
  EXPECT_EQ(files_in(dir), want);
  for (const auto& name : kept) EXPECT_EQ(read_file(join(dir, name)), left) << name;
}

}  // namespace
