// The view as a person reaches every part of a picture: thin and huge
// pictures shown whole, and the wheel and the keys moving the view as the
// scroll bars do.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/capture_ui.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/viewer_ui.h"

using namespace e2e;

namespace {

void wheel(int delta, bool shift) {
  std::vector<INPUT> in;
  auto key = [&](bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = VK_SHIFT;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
  };
  if (shift) key(false);
  INPUT w{};
  w.type = INPUT_MOUSE;
  w.mi.dwFlags = MOUSEEVENTF_WHEEL;
  w.mi.mouseData = static_cast<DWORD>(delta);
  in.push_back(w);
  if (shift) key(true);
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
  Sleep(100);
}

// Waits until the view shows image pixel (x, y) at its top-left corner.
bool origin_becomes(HWND main, int x, int y) {
  return wait_until([&] {
    const POINT o = shown_at_origin(main);
    return o.x == x && o.y == y;
  }, 5000);
}

std::string origin_of(HWND main) {
  const POINT o = shown_at_origin(main);
  return std::to_string(o.x) + "," + std::to_string(o.y);
}

}  // namespace

TEST(ViewWhole, ThinAndHugePicturesAreShownAndReachable) {
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "view-whole"));
  RECT client;
  GetClientRect(p.main, &client);

  // 5000 x 3 shrinks (1:7 in the window the viewer starts with) to less than
  // one row: it is still a row of pixels, not nothing.
  const std::string thin = bmp_with_coded_pixels("view-whole-files", "thin.bmp", 5000, 3);
  ASSERT_TRUE(open_with_dialog(p, thin));
  ASSERT_TRUE(wait_until([&] { return title_of(p.main).rfind("Kaldero - thin.bmp [1:", 0) == 0; }))
      << title_of(p.main);
  settle(p.main);
  const int z = std::stoi(title_of(p.main).substr(std::string("Kaldero - thin.bmp [1:").size()));
  ASSERT_GT(z, 3);
  const int shownW = 5000 / z;
  ASSERT_LT(shownW, client.right) << title_of(p.main);
  // No pixel of its three rows is white; the background around the row is.
  const Pixels px = grab_client(p.main);
  int coloured = 0;
  for (int x = 0; x < px.width; ++x) coloured += px.at(x, kStrip) != 0xFFFFFFu;
  EXPECT_EQ(coloured, shownW);
  EXPECT_NE(px.at(0, kStrip), 0xFFFFFFu);
  EXPECT_NE(px.at(shownW - 1, kStrip), 0xFFFFFFu);
  EXPECT_EQ(px.at(0, kStrip + 1), 0xFFFFFFu);
  screenshot("view-thin-picture");

  // In a small window 6000 x 4000 would need 1:16: it opens at 1:10, the lowest ratio,
  // and Zoom Out comes back to it after a Zoom In.
  const std::string huge = join(fresh_dir("view-whole-huge"), "huge.bmp");
  std::vector<uint32_t> grey;
  for (uint32_t i = 0; i < 256; ++i) grey.push_back(i * 0x010101u);
  std::vector<uint8_t> rows(6000u * 4000u);
  for (size_t y = 0; y < 4000; ++y)
    for (size_t x = 0; x < 6000; ++x) rows[y * 6000 + x] = static_cast<uint8_t>((x / 100 + y / 100) * 7);
  ASSERT_TRUE(write_file(huge, make_bmp(6000, 4000, 8, grey, rows)));
  rows.clear();
  set_client_size(p.main, 430, 300);
  GetClientRect(p.main, &client);
  ASSERT_TRUE(open_at(p, huge, "1:10", 20000)) << title_of(p.main);
  EXPECT_FALSE(button_enabled(p.main, kButtonZoomOut));
  EXPECT_TRUE(shown(horizontal_bar(p.main)) && shown(vertical_bar(p.main)));
  EXPECT_EQ(scroll_max(horizontal_bar(p.main)), (600 - client.right + GetSystemMetrics(SM_CXVSCROLL)) * 10);
  command_and_settle(p.main, kCmdZoomIn);
  EXPECT_EQ(title_of(p.main), "Kaldero - huge.bmp [1:9]");
  EXPECT_TRUE(button_enabled(p.main, kButtonZoomOut));
  command_and_settle(p.main, kCmdZoomOut);
  EXPECT_EQ(title_of(p.main), "Kaldero - huge.bmp [1:10]");
  EXPECT_FALSE(button_enabled(p.main, kButtonZoomOut));
  command_and_settle(p.main, kCmdZoomOut);  // does nothing: 1:10 is the end
  EXPECT_EQ(title_of(p.main), "Kaldero - huge.bmp [1:10]");
  screenshot("view-huge-picture");
  p.close();
}

TEST(ViewWhole, WheelAndKeysScrollAsTheBarsDo) {
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "view-keys"));
  set_client_size(p.main, 640, 480);
  ASSERT_TRUE(open_at(p, bmp_with_coded_pixels("view-keys-files", "keys.bmp", 1000, 800), "1:2")) << title_of(p.main);
  // A real click on Zoom In: the button, not the view, then has the keyboard.
  const POINT zoomIn = button_centre(p.main, kButtonZoomIn);
  click(zoomIn.x, zoomIn.y);
  ASSERT_TRUE(wait_title(p.main, "Kaldero - keys.bmp [1:1]")) << title_of(p.main);
  settle(p.main);
  HWND h = horizontal_bar(p.main), v = vertical_bar(p.main);
  ASSERT_TRUE(shown(h) && shown(v));
  const int limitX = scroll_max(h), limitY = scroll_max(v);
  ASSERT_GT(limitX, 20);
  ASSERT_GT(limitY, 20);

  // The keys, then the wheel over the view: lines as the system counts them a notch.
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ASSERT_GT(lines, 0u);
  ASSERT_LT(lines, 20u);
  const int n = static_cast<int>(lines);
  const POINT centre = client_to_screen(p.main, 320, 240);
  move_mouse(centre.x, centre.y);

  struct Step {
    const char* what;
    WORD vk, modifier;
    int wheel;  // a wheel turn instead of a key (Shift as the modifier)
    int x, y;
  } steps[] = {
      {"Down", VK_DOWN, 0, 0, 0, 1},
      {"Right", VK_RIGHT, 0, 0, 1, 1},
      {"Page Down", VK_NEXT, 0, 0, 1, 11},
      {"Page Up", VK_PRIOR, 0, 0, 1, 1},
      {"Up", VK_UP, 0, 0, 1, 0},
      {"Up at the top", VK_UP, 0, 0, 1, 0},
      {"Left", VK_LEFT, 0, 0, 0, 0},
      {"End", VK_END, 0, 0, 0, limitY},
      {"Down at the end", VK_DOWN, 0, 0, 0, limitY},
      {"Shift+End", VK_END, VK_SHIFT, 0, limitX, limitY},
      {"Shift+Page Up", VK_PRIOR, VK_SHIFT, 0, limitX - 10, limitY},
      {"Home", VK_HOME, 0, 0, limitX - 10, 0},
      {"Shift+Home", VK_HOME, VK_SHIFT, 0, 0, 0},
      {"a notch toward the user", 0, 0, -120, 0, n},
      {"two notches", 0, 0, -240, 0, 3 * n},
      {"a notch away", 0, 0, 120, 0, 2 * n},
      {"Shift+wheel toward the user", 0, VK_SHIFT, -120, n, 2 * n},
      {"Shift+wheel away", 0, VK_SHIFT, 120, 0, 2 * n},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    if (s.wheel) wheel(s.wheel, s.modifier == VK_SHIFT);
    else type_key(s.vk, s.modifier);
    EXPECT_TRUE(origin_becomes(p.main, s.x, s.y)) << origin_of(p.main);
    EXPECT_EQ(scroll_pos(h), s.x);
    EXPECT_EQ(scroll_pos(v), s.y);
  }

  // Nothing else changed: the ratio, the bars.
  EXPECT_EQ(title_of(p.main), "Kaldero - keys.bmp [1:1]");
  EXPECT_EQ(scroll_max(h), limitX);
  EXPECT_EQ(scroll_max(v), limitY);
  p.close();
}
