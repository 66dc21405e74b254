// The transparent-pixel tool's window after a real capture of a known
// picture: its size and controls, the enlarged view on its grid, pixel clicks
// that toggle, area clicks that reach exactly one region, and Cancel.
#include <gtest/gtest.h>

#include "tests/e2e/capture_app_ui.h"
#include "tests/e2e/mask_ui.h"

using namespace e2e;

namespace {

TEST(CaptureMask, ViewControlsAndPixelClicksThenCancel) {
  const int n = 16;
  MaskSession session;
  ASSERT_TRUE(session.open("mask-view", n, 16));
  Program& p = session.p;
  ASSERT_EQ(session.before.size(), 318u);

  RECT w = window_rect(p.main);
  EXPECT_EQ(w.right - w.left, 2 * GetSystemMetrics(SM_CXFRAME) + 6 * n + 100);
  EXPECT_EQ(w.bottom - w.top, 6 * n + meridot_base_height());
  struct Control {
    int id;
    const char* text;
    int y, width, height;
  };
  const Control controls[] = {
      {kToolOk, "OK", 23, 70, 20}, {kToolCancel, "Cancel", 45, 70, 20}, {kToolFill, "Tool", 67, 70, 20}};
  for (const Control& c : controls) {
    const HWND b = GetDlgItem(p.main, c.id);
    EXPECT_EQ(title_of(b), c.text);
    const RECT r = rect_in(p.main, b);
    EXPECT_EQ(r.left, 6 * n + 15) << c.text;
    EXPECT_EQ(r.top, c.y) << c.text;
    EXPECT_EQ(r.right - r.left, c.width) << c.text;
    EXPECT_EQ(r.bottom - r.top, c.height) << c.text;
  }
  EXPECT_EQ(GetWindowLongA(GetDlgItem(p.main, kToolOk), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
  const HWND list = GetDlgItem(p.main, kToolColours);
  const RECT lr = rect_in(p.main, list);
  EXPECT_EQ(lr.left, 6 * n + 15);
  EXPECT_EQ(lr.top, 6 * n - 6);
  EXPECT_EQ(lr.right - lr.left, 71);
  const LONG style = GetWindowLongA(list, GWL_STYLE);
  EXPECT_EQ(style & 0x0F, CBS_DROPDOWNLIST);
  EXPECT_TRUE(style & CBS_OWNERDRAWFIXED);
  EXPECT_FALSE(style & CBS_HASSTRINGS);
  // The selection field is 16 pixels high: as high as a combo box of the
  // driver's own with that height.
  const HWND mine = CreateWindowA("COMBOBOX", "", WS_POPUP | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 0, 0, 71, 220,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(mine, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 16);
  const RECT mr = window_rect(mine);
  DestroyWindow(mine);
  EXPECT_EQ(lr.bottom - lr.top, mr.bottom - mr.top);
  EXPECT_EQ(SendMessageA(list, CB_GETITEMHEIGHT, 0, 0), 14);
  const uint32_t colours[14] = {0x008080, 0x008000, 0x000080, 0x808000, 0x800080, 0x800000, 0x00FFFF,
                                0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0xFF0000, 0xFFFFFF, 0x000000};
  ASSERT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 14);
  for (int i = 0; i < 14; ++i) {
    const auto ref = static_cast<COLORREF>(SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
    EXPECT_EQ(static_cast<uint32_t>((GetRValue(ref) << 16) | (GetGValue(ref) << 8) | GetBValue(ref)), colours[i]) << "item " << i;
  }
  EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 0);
  EXPECT_FALSE(IsWindowEnabled(meridot_button(p.main, kMeridotFormButton)));
  EXPECT_FALSE(IsWindowEnabled(meridot_button(p.main, kMeridotIconButton)));
  EXPECT_TRUE(IsWindowEnabled(meridot_button(p.main, kMeridotAboutButton)));

  const std::vector<uint32_t> square = mask_square(n);
  std::vector<uint8_t> marks(n * n, 0);
  EXPECT_TRUE(view_is(p.main, n, square, marks));
  // Corners of the grid, the ring, a pixel of each half of one byte: each
  // click marks its pixel alone; a second click returns it.
  const POINT cells[] = {{0, 0}, {15, 15}, {2, 2}, {4, 13}, {5, 13}, {15, 0}};
  for (POINT c : cells) {
    click_cell(p.main, c.x, c.y);
    marks[c.y * n + c.x] = 1;
  }
  EXPECT_TRUE(view_is(p.main, n, square, marks));
  screenshot("mask-tool-marks");
  for (POINT c : {POINT{2, 2}, POINT{15, 15}}) {
    click_cell(p.main, c.x, c.y);
    marks[c.y * n + c.x] = 0;
  }
  // Beside the view and on the tool bar's row: nothing.
  const POINT beside = client_to_screen(p.main, 6 * n + 5, 60);
  click(beside.x, beside.y);
  EXPECT_TRUE(view_is(p.main, n, square, marks));

  click_child(p.main, kToolCancel);
  EXPECT_EQ(expect_message(p.pid(), "Success"), created_text(16, 16) + "\nNo transparent pixel(s).");
  EXPECT_EQ(read_file(session.path), session.before);
  EXPECT_FALSE(GetDlgItem(p.main, kToolOk));
  EXPECT_FALSE(GetDlgItem(p.main, kToolColours));
  w = window_rect(p.main);
  EXPECT_EQ(w.right - w.left, 135);
  EXPECT_EQ(w.bottom - w.top, meridot_base_height() + n);
  EXPECT_TRUE(wait_until([&] { return IsWindowEnabled(meridot_button(p.main, kMeridotFormButton)) &&
                                      IsWindowEnabled(meridot_button(p.main, kMeridotIconButton)); }, 3000));
}

// Area and pixel clicks on the ring, the hole and the diagonal of the
// picture's top-left tile, then OK.
void area_clicks(int n, int colours, const char* shot) {
  MaskSession session;
  ASSERT_TRUE(session.open("mask-area", n, colours));
  Program& p = session.p;
  const std::vector<uint32_t> square = mask_square(n);
  // The ring and the hole of the top-left tile; the other tiles hold the same
  // colours but are not connected to them.
  auto in_first_tile = [](int k, int j, uint32_t colour) { return k < 16 && j < 16 && mask_pattern(k, j) == colour; };
  std::vector<uint8_t> marks(n * n, 0);
  auto set_where = [&](uint32_t colour, uint8_t to) {
    for (int j = 0; j < n; ++j)
      for (int k = 0; k < n; ++k)
        if (in_first_tile(k, j, colour)) marks[j * n + k] = to;
  };

  ASSERT_TRUE(choose_fill_tool(p, true));
  struct Step {
    const char* what;
    bool area;
    POINT cell;
    uint32_t region;  // colour of the first tile's region that changes, 0xFFFFFFFF for the cell alone
    uint8_t to;
  };
  const Step steps[] = {
      {"the hole", true, {4, 4}, 0x0000FF, 1},
      {"the ring around it", true, {2, 2}, 0xFF0000, 1},
      {"one pixel of the diagonal", true, {11, 2}, 0xFFFFFFFF, 1},
      {"the ring again, from another pixel", true, {7, 5}, 0xFF0000, 0},
      {"a ring pixel by the pixel tool", false, {2, 3}, 0xFFFFFFFF, 1},
      {"another one", false, {3, 2}, 0xFFFFFFFF, 1},
      {"an area click on a marked one unmarks the ring", true, {2, 3}, 0xFF0000, 0},
      {"a ring pixel by the pixel tool", false, {7, 7}, 0xFFFFFFFF, 1},
      {"an area click on an unmarked one marks the ring", true, {2, 7}, 0xFF0000, 1},
  };
  bool area = true;
  for (const Step& s : steps) {
    if (s.area != area) {
      ASSERT_TRUE(choose_fill_tool(p, s.area)) << s.what;
      area = s.area;
    }
    click_cell(p.main, s.cell.x, s.cell.y);
    if (s.region == 0xFFFFFFFF)
      marks[s.cell.y * n + s.cell.x] = s.to;
    else
      set_where(s.region, s.to);
    EXPECT_TRUE(view_is(p.main, n, square, marks)) << s.what;
  }
  screenshot(shot);
  click_child(p.main, kToolOk);
  EXPECT_EQ(expect_message(p.pid(), "Success"), created_text(n, colours) + "\nSome transparent pixel(s).");
  EXPECT_EQ(read_file(session.path), with_marks(session.before, n, colours, marks));
}

TEST(CaptureMask, AreaClicksMarkAndUnmarkExactlyOneRegion) { area_clicks(32, 256, "mask-tool-area"); }

// On a 256-colour screen as well: the regions come from the captured pixels,
// never from a marker colour painted into the image.
TEST(CaptureMaskOnDepth8, AreaClicksMarkAndUnmarkExactlyOneRegion) { area_clicks(16, 16, "mask-tool-area-depth8"); }

}  // namespace
