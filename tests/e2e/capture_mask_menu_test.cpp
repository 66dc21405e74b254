// The transparent-pixel tool with the rest of the program: the colour list's
// choice (put back by Cancel, kept by OK), the menu's Icon while the tool is
// open, and the fill tool dialog's Cancel and close box.
#include <gtest/gtest.h>

#include "tests/e2e/mask_ui.h"

using namespace e2e;

namespace {

constexpr int kPurple = 4;  // 128, 0, 128: no colour of the picture
constexpr uint32_t kPurpleRgb = 0x800080;

int selected_colour(HWND main) {
  return static_cast<int>(SendMessageA(GetDlgItem(main, kToolColours), CB_GETCURSEL, 0, 0));
}

TEST(CaptureMask, ColourChoiceMenuIconAndTheFillDialogsCancel) {
  MaskSession session;
  ASSERT_TRUE(session.open("mask-menu", 16, 16));
  Program& p = session.p;
  const std::string& dir = session.dir;
  const std::vector<uint32_t> square = mask_square(16);
  std::vector<uint8_t> marks(256, 0);

  // The fill tool dialog: Cancel and the close box keep the pixel tool.
  for (bool closeBox : {false, true}) {
    const HWND dlg = open_fill_dialog(p);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(title_of(GetDlgItem(dlg, kPixelButton)), "Pixel");
    EXPECT_EQ(title_of(GetDlgItem(dlg, kAreaButton)), "Area");
    EXPECT_EQ(GetWindow(dlg, GW_OWNER), p.main);
    EXPECT_EQ(IsDlgButtonChecked(dlg, kPixelButton), UINT{BST_CHECKED});
    EXPECT_EQ(IsDlgButtonChecked(dlg, kAreaButton), UINT{BST_UNCHECKED});
    click_child(dlg, kAreaButton);
    EXPECT_EQ(IsDlgButtonChecked(dlg, kAreaButton), UINT{BST_CHECKED});
    EXPECT_EQ(IsDlgButtonChecked(dlg, kPixelButton), UINT{BST_UNCHECKED});
    if (!closeBox) screenshot("mask-fill-dialog");
    if (closeBox)
      PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    else
      click_child(dlg, IDCANCEL);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(dlg); }, 5000));
  }
  // The white ground is one region: a pixel click marks one pixel of it.
  click_cell(p.main, 0, 0);
  marks[0] = 1;
  EXPECT_TRUE(view_is(p.main, 16, square, marks));

  // A colour from the list: new marks take it; Cancel puts the list back.
  pick_colour(p.main, kPurple);
  EXPECT_EQ(selected_colour(p.main), kPurple);
  click_cell(p.main, 1, 0);
  const Pixels px = grab_client(p.main);
  EXPECT_TRUE(cell_shows(px, 1, 0, kPurpleRgb, true));
  EXPECT_TRUE(cell_shows(px, 0, 0, kFirstMarkColour, true)) << "a cell already painted keeps its colour";

  // The menu's Icon closes the tool as Cancel does and starts a capture.
  post_command(p.main, kMeridotIcon);
  EXPECT_EQ(expect_message(p.pid(), "Success"), created_text(16, 16) + "\nNo transparent pixel(s).");
  ASSERT_TRUE(capture_window(p.pid()));
  EXPECT_FALSE(GetDlgItem(p.main, kToolOk));
  ASSERT_TRUE(wait_until([&] { return IsWindowVisible(capture_window(p.pid())); }, 10000));
  take_square(16, kMaskPatternX, kMaskPatternY);
  ASSERT_TRUE(save_and_open_tool(p, join(dir, "b.ico")));
  EXPECT_EQ(selected_colour(p.main), 0) << "Cancel put the colour back";
  click_cell(p.main, 3, 3);
  EXPECT_TRUE(cell_shows(grab_client(p.main), 3, 3, kFirstMarkColour, true));

  // OK keeps the colour chosen last.
  pick_colour(p.main, kPurple);
  click_child(p.main, kToolOk);
  EXPECT_EQ(expect_message(p.pid(), "Success"), created_text(16, 16) + "\nSome transparent pixel(s).");
  ASSERT_TRUE(capture_square(p, 16, kMaskPatternX, kMaskPatternY) && save_and_open_tool(p, join(dir, "c.ico")));
  EXPECT_EQ(selected_colour(p.main), kPurple);
  click_cell(p.main, 3, 3);
  EXPECT_TRUE(cell_shows(grab_client(p.main), 3, 3, kPurpleRgb, true));
}

}  // namespace
