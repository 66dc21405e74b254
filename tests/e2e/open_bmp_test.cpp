// Opening BMP files through the real open dialog.
#include <gtest/gtest.h>

#include <functional>

#include "formats/bytes.h"
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
  const std::string dir = fresh_dir("open-bmp-files");
  const std::string path = join(dir, "photo.bmp");
  ASSERT_TRUE(write_file(path, three_colour_bmp()));
  ASSERT_TRUE(open_with_dialog(p, path));
  ASSERT_TRUE(wait_title(p.main, "Kaldero - photo.bmp [1:1]")) << title_of(p.main);
  settle(p.main);
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
  ASSERT_TRUE(open_with_dialog(p, path));
  ASSERT_TRUE(wait_title(p.main, "Kaldero - photo.bmp [1:1]"));
  settle(p.main);
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
  ASSERT_TRUE(open_with_dialog(p, join(dir, "PICTURE.Bmp")));
  ASSERT_TRUE(wait_title(p.main, "Kaldero - PICTURE.Bmp [1:1]")) << title_of(p.main);
  settle(p.main);
  const Pixels shown = grab_client(p.main);

  // A good bitmap under another extension.
  ASSERT_TRUE(write_file(join(dir, "PICTURE.DIB"), three_colour_bmp()));
  EXPECT_EQ(refused(p, join(dir, "PICTURE.DIB")), "Error: Select a file with BMP or ICO extension.");
  // A name typed into the dialog for a file that is not there.
  EXPECT_EQ(refused(p, join(dir, "missing.bmp")), "Error: Unable to open the assigned bitmap file.");

  std::vector<uint8_t> zeroWidth = make_bmp(0, 5, 24, {}, {});
  ASSERT_TRUE(write_file(join(dir, "zero.bmp"), zeroWidth));
  EXPECT_EQ(refused(p, join(dir, "zero.bmp")), "Warning: Unable to process a bitmap with zero width or height.");
  std::vector<uint8_t> zeroHeight = make_bmp(5, 0, 8, {0, 0xFFFFFF}, {});
  ASSERT_TRUE(write_file(join(dir, "flat.bmp"), zeroHeight));
  EXPECT_EQ(refused(p, join(dir, "flat.bmp")), "Warning: Unable to process a bitmap with zero width or height.");

  const std::string notBitmap = "Error: Not a bitmap file with correct format.";
  std::vector<uint8_t> bytes = three_colour_bmp();
  bytes[1] = 'A';
  ASSERT_TRUE(write_file(join(dir, "ba.bmp"), bytes));
  EXPECT_EQ(refused(p, join(dir, "ba.bmp")), notBitmap);
  bytes = three_colour_bmp();
  bytes[14] = 100;  // an info header size no bitmap has
  ASSERT_TRUE(write_file(join(dir, "header100.bmp"), bytes));
  EXPECT_EQ(refused(p, join(dir, "header100.bmp")), notBitmap);
  // More colours in use than 4 bits can index.
  bytes = make_bmp(2, 2, 4, {0x000000, 0xFFFFFF}, std::vector<uint8_t>(8, 0x01));
  bytes[46] = 17;
  ASSERT_TRUE(write_file(join(dir, "colours.bmp"), bytes));
  EXPECT_EQ(refused(p, join(dir, "colours.bmp")), notBitmap);

  // A path longer than the viewer's 256-byte buffer: the dialog itself fails.
  const std::string longName = join(dir, std::string(258 - 5 - dir.size(), 'x') + ".bmp");
  ASSERT_EQ(longName.size(), 258u);
  EXPECT_EQ(refused(p, longName), "Error: GetOpenFileName error 0x3003");  // FNERR_BUFFERTOOSMALL

  EXPECT_EQ(title_of(p.main), "Kaldero - PICTURE.Bmp [1:1]");
  settle(p.main);
  const Pixels after = grab_client(p.main);
  EXPECT_EQ(count_differences(shown, 0, 0, after, 0, 0, shown.width, shown.height), 0);

  // And a good file still opens after them all.
  bytes = make_bmp(2, 2, 4, {0x000000, 0xFFFFFF}, std::vector<uint8_t>(8, 0x01));
  ASSERT_TRUE(write_file(join(dir, "fine.bmp"), bytes));
  ASSERT_TRUE(open_with_dialog(p, join(dir, "fine.bmp")));
  EXPECT_TRUE(wait_title(p.main, "Kaldero - fine.bmp [1:1]")) << title_of(p.main);
  p.close();
}

TEST(OpenBmp, FilesOutsideFixedDisksAreRefusedBeforeTheirExtensionIsLookedAt) {
  ASSERT_EQ(GetDriveTypeA("D:\\"), static_cast<UINT>(DRIVE_CDROM)) << "the prefix lacks its CD-ROM drive D:";
  ASSERT_EQ(GetDriveTypeA("N:\\"), static_cast<UINT>(DRIVE_REMOTE)) << "the prefix lacks its network drive N:";
  ASSERT_TRUE(write_file("D:\\photo.bmp", three_colour_bmp()));
  ASSERT_TRUE(write_file("D:\\PICTURE.DIB", three_colour_bmp()));
  ASSERT_TRUE(write_file("N:\\photo.bmp", three_colour_bmp()));
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "open-drives"));
  const std::string warning = "Warning: Unable to open a file other than in the fixed disk.";
  EXPECT_EQ(refused(p, "D:\\photo.bmp"), warning);
  EXPECT_EQ(refused(p, "D:\\PICTURE.DIB"), warning);
  EXPECT_EQ(refused(p, "D:\\missing.bmp"), warning);
  EXPECT_EQ(refused(p, "N:\\photo.bmp"), warning);
  EXPECT_EQ(title_of(p.main), "Kaldero - (No title)");
  // The same file from a fixed disk opens.
  const std::string fixed = join(fresh_dir("open-drives-files"), "photo.bmp");
  ASSERT_TRUE(write_file(fixed, three_colour_bmp()));
  ASSERT_TRUE(open_with_dialog(p, fixed));
  EXPECT_TRUE(wait_title(p.main, "Kaldero - photo.bmp [1:1]")) << title_of(p.main);
  p.close();
  DeleteFileA("D:\\photo.bmp");
  DeleteFileA("D:\\PICTURE.DIB");
  DeleteFileA("N:\\photo.bmp");
}

TEST(OpenBmpJapanese, ANameWhoseLastByteIsTheBackslashByteIsShownWhole) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  // "表" is 0x95 0x5C in code page 932: the second byte is a backslash.
  const std::wstring dir = std::wstring(L"C:\\kaldero-e2e-") + L"表";
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::wstring file = dir + L"\\表.bmp";
  const std::vector<uint8_t> bytes = three_colour_bmp();
  HANDLE f = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE) << "no Japanese file names: Wine needs a compiled ja_JP.UTF-8 locale "
                                        "(Debian package locales; scripts/wine_env.sh compiles it)";
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
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
  ASSERT_TRUE(open_with_dialog(p, good));
  ASSERT_TRUE(wait_title(p.main, "Kaldero - good.bmp [1:2]"));
  command_and_settle(p.main, kCmdZoomIn);
  SendMessageA(p.main, WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(horizontal_bar(p.main)));
  settle(p.main);
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

namespace {

// The 40-byte file make_bmp writes, with its info header grown to a V5 one
// (the extra bytes noise: colour-space data the viewer ignores).
std::vector<uint8_t> as_v5(std::vector<uint8_t> bmp) {
  bmp.insert(bmp.begin() + 54, 124 - 40, 0x5A);
  fmt::put_u32le(&bmp[2], static_cast<uint32_t>(bmp.size()));
  fmt::put_u32le(&bmp[10], fmt::get_u32le(&bmp[10]) + 124 - 40);
  fmt::put_u32le(&bmp[14], 124);
  return bmp;
}

// An OS/2 1.x file: 12-byte header with 16-bit sides, 256 entries of 3 bytes.
std::vector<uint8_t> os2_bmp8(int w, int h, const std::vector<uint32_t>& table, const std::vector<uint8_t>& rows) {
  std::vector<uint8_t> b(14 + 12, 0);
  b[0] = 'B';
  b[1] = 'M';
  fmt::put_u32le(&b[10], 14 + 12 + 3 * 256);
  fmt::put_u32le(&b[14], 12);
  fmt::put_u16le(&b[18], static_cast<uint32_t>(w));
  fmt::put_u16le(&b[20], static_cast<uint32_t>(h));
  fmt::put_u16le(&b[22], 1);
  fmt::put_u16le(&b[24], 8);
  for (int i = 0; i < 256; ++i) {
    const uint32_t c = i < static_cast<int>(table.size()) ? table[static_cast<size_t>(i)] : 0;
    b.insert(b.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
  }
  b.insert(b.end(), rows.begin(), rows.end());
  fmt::put_u32le(&b[2], static_cast<uint32_t>(b.size()));
  return b;
}

}  // namespace

// Files written with a V5 header (as GIMP and ImageMagick do by default) and
// with an OS/2 1.x header open with their exact pixels.
TEST(OpenBmp, FilesWithV5AndOs2HeadersOpenWithTheirPixels) {
  constexpr int w = 13, h = 7;
  auto colour = [](int x, int y) { return static_cast<uint32_t>((x * 19) << 16 | (255 - y * 30) << 8 | (x * y * 7)); };
  std::vector<uint32_t> table;
  for (int i = 0; i < 16; ++i) table.push_back(static_cast<uint32_t>(i * 16) << 16 | static_cast<uint32_t>(255 - i * 9) << 8 | 0x40);
  const int stride = (w + 3) / 4 * 4;
  std::vector<uint8_t> rows(static_cast<size_t>(stride) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) rows[static_cast<size_t>(h - 1 - y) * stride + x] = static_cast<uint8_t>((x + 3 * y) % 16);
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
    std::function<uint32_t(int, int)> colour;
  };
  const std::vector<Case> cases = {
      {"v5.bmp", as_v5(make_bmp24(w, h, colour)), colour},
      {"os2.bmp", os2_bmp8(w, h, table, rows), [&](int x, int y) { return table[static_cast<size_t>((x + 3 * y) % 16)]; }},
  };
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "open-headers"));
  const std::string dir = fresh_dir("open-headers-files");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(write_file(join(dir, c.name), c.file));
    ASSERT_TRUE(open_with_dialog(p, join(dir, c.name)));
    ASSERT_TRUE(wait_title(p.main, std::string("Kaldero - ") + c.name + " [1:1]")) << title_of(p.main);
    settle(p.main);
    const Pixels px = grab_client(p.main);
    int wrong = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (px.at(x, kStrip + y) != c.colour(x, y)) ++wrong;
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(px.at(w, kStrip), 0xFFFFFFu) << "the background right of the image";
  }
  p.close();
}
