// Captures saved as icon files, driven as a person does it: the form, the
// Icon command, press, move and release over a picture of known colours, the
// questions and the save dialog; then the bytes of the file, the main window
// and the viewer.
#include <gtest/gtest.h>

#include <algorithm>

#include "formats/capture_icon.h"
#include "tests/e2e/capture_ui.h"
#include "tests/e2e/viewer_fixture.h"
#include "tests/e2e/viewer_ui.h"

using namespace e2e;

using CaptureSave = CaptureTest;

namespace {

// The icon's header, table, indices and mask as a capture of this square
// must give them. (The header of each form, byte for byte, is the formats
// library's, which its unit tests prove.)
void expect_icon(const std::vector<uint8_t>& file, int n, int colours, const std::vector<uint32_t>& square) {
  const int bits = colours == 256 ? 8 : 4;
  const size_t maskBytes = static_cast<size_t>(n) * ((n + 31) / 32 * 4);
  ASSERT_EQ(file.size(), 62 + 4 * static_cast<size_t>(colours) + static_cast<size_t>(n) * n * bits / 8 + maskBytes);
  const auto header = fmt::capture_icon::icon_header(static_cast<uint32_t>(n), colours);
  EXPECT_TRUE(std::equal(header.begin(), header.end(), file.begin())) << "the header of the form";
  const std::vector<uint32_t> palette = icon_palette(colours);
  for (int i = 0; i < colours; ++i) {
    const uint8_t* e = &file[62 + 4 * static_cast<size_t>(i)];
    ASSERT_EQ((uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0], palette[i]) << "table entry " << i;
    ASSERT_EQ(e[3], 0);
  }
  const std::vector<uint8_t> got = icon_indices(file, n, bits);
  const std::vector<uint8_t> want = platform_indices(square, n, colours);
  int wrong = 0;
  for (size_t i = 0; i < want.size(); ++i)
    if (got[i] != want[i] && wrong++ < 3)
      ADD_FAILURE() << "pixel (" << i % n << ", " << i / n << ") of colour " << std::hex << square[i] << " has index "
                    << std::dec << int{got[i]} << ", expected " << int{want[i]};
  EXPECT_EQ(wrong, 0);
  for (size_t k = file.size() - maskBytes; k < file.size(); ++k) ASSERT_EQ(file[k], 0) << "mask byte " << k;
}

// Each form in one of the orientations, which turn an asymmetric square as
// their table says: the icon holds the turned square, the main window shows
// it (each capture replacing the last) and so does the viewer.
TEST_F(CaptureSave, EachFormMakesTheExpectedIconWhichTheViewerShows) {
  PatternWindow pattern(kPatternX, kPatternY, kPatternSide, kPatternSide, test_pattern);
  const std::string dir = fresh_dir("capture-forms-out");
  struct Form {
    int n, colours, dx, dy;  // the square's top-left pixel in the picture
    int orientation;         // erect, inverted, erect mirror, inverted mirror
  };
  // The 64 x 64 256-colour square holds every palette colour; the others
  // take in-between colours of the gradient and the mix with white and black.
  const Form forms[] = {{16, 16, 70, 10, 1},   {32, 16, 100, 60, 2}, {48, 16, 30, 120, 3},    {64, 16, 60, 40, 0},
                        {16, 256, 3, 150, 3}, {32, 256, 90, 20, 1}, {48, 256, 140, 140, 2}, {64, 256, 0, 0, 0}};
  int whites = 0, blacks = 0;
  for (const Form& f : forms) {
    SCOPED_TRACE(testing::Message() << f.n << " x " << f.n << ", " << f.colours << " colours, orientation "
                                    << f.orientation);
    ASSERT_TRUE(set_form(p, f.n, f.colours, f.orientation));
    ASSERT_TRUE(pattern.shown());
    const int x0 = kPatternX + f.dx, y0 = kPatternY + f.dy;
    ASSERT_TRUE(capture_square(p, f.n, x0, y0));
    const std::string path = join(dir, "icon" + std::to_string(f.n) + "_" + std::to_string(f.colours) + ".ico");
    ASSERT_EQ(save_capture(p, path), created_text(f.n, f.colours));
    const std::vector<uint32_t> square = expected_square(screen_colour, x0, y0, f.n, f.orientation);
    for (uint32_t c : square) whites += c == 0xFFFFFF, blacks += c == 0;
    expect_icon(read_file(path), f.n, f.colours, square);
    settle(p.main);
    EXPECT_EQ(image_differs(p.main, kMeridotStrip, square, f.n), 0) << "the main window";
  }
  EXPECT_GT(whites, 0);
  EXPECT_GT(blacks, 0);
  screenshot("capture-main-window-after-capture");
  p.close();

  // The same pixels in the viewer, at 1:1 below its tool bar.
  Program viewer;
  ASSERT_TRUE(start_viewer_ready(viewer, "capture-forms-viewer"));
  for (const Form& f : forms) {
    const std::string name = "icon" + std::to_string(f.n) + "_" + std::to_string(f.colours) + ".ico";
    SCOPED_TRACE(name);
    ASSERT_TRUE(open_at(viewer, join(dir, name), "1:1"));
    const std::vector<uint8_t> indices = icon_indices(read_file(join(dir, name)), f.n, f.colours == 256 ? 8 : 4);
    std::vector<uint32_t> want;
    for (uint8_t i : indices) want.push_back(icon_palette(f.colours)[i]);
    EXPECT_EQ(image_differs(viewer.main, kStrip, want, f.n), 0);
  }
  screenshot("capture-icon-in-viewer");
  viewer.close();
}

TEST_F(CaptureSave, OnlyFixedAndRamDisksAreAcceptedAndTheDialogComesBack) {
  PatternWindow pattern(kPatternX, kPatternY, kPatternSide, kPatternSide, test_pattern);
  const std::string target = "R:\\capture-drive.ico";
  DeleteFileA(target.c_str());
  ASSERT_TRUE(capture_square(p, 32, kPatternX + 20, kPatternY + 30));
  ASSERT_TRUE(save_as(p, "D:\\refused.ico"));
  // Each refusal brings the dialog back: the next name is typed into it; the
  // RAM disk is taken.
  for (const char* next : {"N:\\refused.ico", target.c_str()}) {
    SCOPED_TRACE(next);
    EXPECT_EQ(expect_message(p.pid(), "Warning"), "Unable to save to the removable (or remote) disk.");
    const HWND dialog = wait_window(kSaveIconTitle, 10000, p.pid());
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(answer_file_dialog(dialog, next));
  }
  EXPECT_EQ(no_transparent_pixels(p), created_text(32, 16));
  expect_icon(read_file(target), 32, 16, expected_square(screen_colour, kPatternX + 20, kPatternY + 30, 32, 0));
  EXPECT_FALSE(file_exists("D:\\refused.ico"));
  EXPECT_FALSE(file_exists("N:\\refused.ico"));
  DeleteFileA(target.c_str());
}

// An existing icon is replaced by the new one byte for byte; a read-only one
// is reported and kept; a user's own "_temp_.tmp" beside the program's
// working folder and the target is never touched, and no file of ours is left.
TEST_F(CaptureSave, ReplacingFilesKeepsOthersIntact) {
  PatternWindow pattern(kPatternX, kPatternY, kPatternSide, kPatternSide, test_pattern);
  const std::string dir = fresh_dir("capture-replace-out");
  const std::vector<uint8_t> usersTemp = {'m', 'i', 'n', 'e', 0, 1, 2, 3};
  // The program's working folder (fresh_dir of its start) and the target's folder.
  const std::string workDir = work_dir(dir_name);
  ASSERT_TRUE(write_file(join(workDir, "_temp_.tmp"), usersTemp));
  ASSERT_TRUE(write_file(join(dir, "_temp_.tmp"), usersTemp));

  ASSERT_TRUE(set_form(p, 16, 16));
  const std::string old = join(dir, "old.ico");
  ASSERT_TRUE(write_file(old, std::vector<uint8_t>(9000, 0xAB)));
  ASSERT_TRUE(capture_square(p, 16, kPatternX + 50, kPatternY + 70));
  ASSERT_EQ(save_capture(p, old, true), created_text(16, 16));
  expect_icon(read_file(old), 16, 16, expected_square(screen_colour, kPatternX + 50, kPatternY + 70, 16, 0));

  const std::string locked = join(dir, "locked.ico");
  const std::vector<uint8_t> lockedBytes(777, 0x5A);
  ASSERT_TRUE(write_file(locked, lockedBytes));
  ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(capture_square(p, 16, kPatternX + 10, kPatternY + 90));
  const HWND dialog = save_as(p, locked);
  ASSERT_TRUE(dialog);
  // The system's own overwrite question, when it asks one, is answered Yes.
  HWND error = nullptr;
  ASSERT_TRUE(wait_until([&] {
    if ((error = find_window("Open Error", p.pid()))) return true;
    const HWND confirm = wait_other_window(p.pid(), dialog, 50);
    if (confirm && GetDlgItem(confirm, IDYES) && title_of(confirm) == kSaveIconTitle) press(confirm, IDYES);
    return false;
  }, 15000));
  EXPECT_EQ(message_text(error), "Unable to open file.");
  press(error, IDOK);
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(read_file(locked), lockedBytes);

  EXPECT_EQ(read_file(join(workDir, "_temp_.tmp")), usersTemp);
  EXPECT_EQ(read_file(join(dir, "_temp_.tmp")), usersTemp);
  EXPECT_EQ(files_in(dir), (std::vector<std::string>{"_temp_.tmp", "locked.ico", "old.ico"}));
  EXPECT_EQ(files_in(workDir), (std::vector<std::string>{"_temp_.tmp"}));
}

}  // namespace
