// What the transparent-pixel tool does to the icon file: OK writes the marks
// (the viewer then shows those pixels in its transparent colour), OK without
// marks and leaving the program keep the file byte for byte, and an icon
// gone, read-only or changed before OK is reported while the tool stays.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/capture_app_ui.h"
#include "tests/e2e/icon_ui.h"
#include "tests/e2e/mask_ui.h"
#include "resources/capture/resource.h"

using namespace e2e;

namespace {

// The icon the viewer must show: the file's own indices and palette, the
// marked pixels masked.
IconPicture picture_of(const std::vector<uint8_t>& file, int n, int colours, const std::vector<uint8_t>& marks) {
  IconPicture pic;
  pic.width = pic.height = n;
  pic.bits = colours == 256 ? 8 : 4;
  pic.palette = icon_palette(colours);
  for (uint8_t i : icon_indices(file, n, pic.bits)) pic.pixels.push_back(i);
  pic.masked = marks;
  return pic;
}

TEST(CaptureMask, OkWritesTheMarksAndTheViewerShowsThemTransparent) {
  struct Case {
    int n, colours;
    std::vector<POINT> cells;  // clicked with the pixel tool
  };
  // 16 colours: the left pixel of a byte alone (4, 13), the right one alone
  // (11, 2), both (6, 8) and (7, 8). 48 x 48: AND rows of 8 bytes, the last
  // pixel of each row in the sixth byte. 64 x 64: a view as large as it gets.
  // A mark set and taken back again is no mark: the file stays as it was.
  const Case cases[] = {
      {16, 16, {{4, 13}, {11, 2}, {6, 8}, {7, 8}, {0, 15}, {15, 0}}},
      {48, 256, {{47, 0}, {47, 47}, {0, 47}, {5, 13}, {24, 24}, {40, 1}}},
      {64, 16, {{63, 0}, {0, 63}, {32, 33}, {33, 32}}},
      {32, 16, {{3, 3}, {3, 3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.n << "x" << c.n << "/" << c.colours);
    MaskSession session;
    ASSERT_TRUE(session.open("mask-ok", c.n, c.colours));
    Program& p = session.p;
    const std::string& path = session.path;
    std::vector<uint8_t> marks(static_cast<size_t>(c.n) * c.n, 0);
    EXPECT_TRUE(view_is(p.main, c.n, mask_square(c.n), marks));
    for (POINT cell : c.cells) {
      click_cell(p.main, cell.x, cell.y);
      marks[static_cast<size_t>(cell.y) * c.n + cell.x] ^= 1;
    }
    const bool marked = std::count(marks.begin(), marks.end(), 1) > 0;
    click_child(p.main, kToolOk);
    EXPECT_EQ(expect_message(p.pid(), "Success"),
              created_text(c.n, c.colours) + (marked ? "\nSome" : "\nNo") + " transparent pixel(s).");
    const std::vector<uint8_t> after = read_file(path);
    EXPECT_EQ(after, with_marks(session.before, c.n, c.colours, marks));
    EXPECT_EQ(files_in(session.dir), std::vector<std::string>{"mask-ok.ico"}) << "no temporary file stays";
    EXPECT_TRUE(files_in(work_dir("mask-ok")).empty()) << "nothing in the working folder";
    EXPECT_FALSE(tool_open(p.main));
    p.close();

    Program viewer;
    ASSERT_TRUE(start_viewer(viewer, "mask-ok-viewer"));
    choose_file(viewer, path);
    // Transparent pixels: the viewer asks for the colour to show them in.
    if (marked) {
      const HWND colours = wait_window(kColourTitle, 10000, viewer.pid());
      ASSERT_TRUE(colours);
      ASSERT_TRUE(press(colours, IDOK));
    }
    ASSERT_TRUE(wait_caption(viewer, caption_for("mask-ok.ico"))) << title_of(viewer.main);
    EXPECT_TRUE(view_shows(viewer.main, picture_of(after, c.n, c.colours, marks), kDarkCyan));
    if (c.n == 16) screenshot("mask-ok-viewer");
    viewer.close();
  }
}

TEST(CaptureMask, AnIconThatCannotBeRewrittenIsReportedAndTheToolStays) {
  MaskSession session;
  ASSERT_TRUE(session.open("mask-gone", 16, 16));
  Program& p = session.p;
  const std::string &dir = session.dir, &path = session.path;
  const std::vector<uint8_t>& saved = session.before;
  click_cell(p.main, 2, 2);
  std::vector<uint8_t> marks(256, 0);
  marks[2 * 16 + 2] = 1;
  const std::vector<uint32_t> square = mask_square(16);

  std::vector<uint8_t> foreign = saved;
  foreign[30] = 16;  // the info header of another icon
  struct Case {
    const char* what;
    bool remove, readOnly;
    std::vector<uint8_t> bytes;  // written in place of the icon when not empty
  };
  const Case cases[] = {
      {"deleted", true, false, {}},
      {"read-only", false, true, {}},
      {"another icon's header", false, false, foreign},
      {"one byte short", false, false, std::vector<uint8_t>(saved.begin(), saved.end() - 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(write_file(path, c.bytes.empty() ? saved : c.bytes));
    if (c.remove) {
      ASSERT_TRUE(DeleteFileA(path.c_str()));
    }
    if (c.readOnly) {
      ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    const std::vector<uint8_t> before = read_file(path);
    click_child(p.main, kToolOk);
    HWND owner = nullptr;
    EXPECT_EQ(expect_message(p.pid(), "Open Error", 10000, IDOK, &owner), "Unable to open file.");
    EXPECT_EQ(owner, p.main);
    EXPECT_TRUE(tool_open(p.main));
    EXPECT_EQ(read_file(path), before) << "nothing is written";
    EXPECT_EQ(files_in(dir).size(), c.remove ? 0u : 1u) << "no temporary file stays";
    EXPECT_TRUE(view_is(p.main, 16, square, marks)) << "the marks stay";
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  // With its icon back the same tool writes its marks.
  ASSERT_TRUE(write_file(path, saved));
  click_child(p.main, kToolOk);
  EXPECT_EQ(expect_message(p.pid(), "Success"), created_text(16, 16) + "\nSome transparent pixel(s).");
  EXPECT_EQ(read_file(path), with_marks(saved, 16, 16, marks));
}

TEST(CaptureMask, LeavingTheProgramWithTheToolOpenKeepsTheIcon) {
  struct Case {
    const char* how;
    UINT msg;
    WPARAM wp;
  };
  const Case cases[] = {{"menu Exit", WM_COMMAND, IDM_MENU_EXIT}, {"close box", WM_SYSCOMMAND, SC_CLOSE}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    MaskSession session;
    ASSERT_TRUE(session.open("mask-exit", 16, 16));
    click_cell(session.p.main, 5, 5);
    EXPECT_TRUE(ends_cleanly(session.p, c.msg, c.wp));
    EXPECT_FALSE(find_window("Success", session.p.pid()));
    EXPECT_EQ(read_file(session.path), session.before);
  }
}

}  // namespace
