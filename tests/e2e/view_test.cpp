// The view: zoom steps and the buttons that follow them, the caption, the
// scroll bars, scrolling with the bars, the wheel and the keys, what a scroll
// repaints, and thin and huge pictures shown whole.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/capture_ui.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/viewer_fixture.h"
#include "tests/e2e/viewer_ui.h"

using namespace e2e;

using View = ViewerTest;
using ViewInShellDesktop = ViewerTest;
using ViewWhole = ViewerTest;

namespace {

// Screen point on a scroll bar, `along` pixels from its start (from its end
// when negative), in the middle across.
POINT bar_point(HWND bar, bool vertical, int along) {
  const RECT r = window_rect(bar);
  if (vertical) return {(r.left + r.right) / 2, along < 0 ? r.bottom + along : r.top + along};
  return {along < 0 ? r.right + along : r.left + along, (r.top + r.bottom) / 2};
}

// Drags the thumb, which must be at the start of the bar, with the real
// mouse a little past the bar's end (further away the system puts it back).
void drag_thumb_from_start_past_end(HWND bar, bool vertical) {
  const int arrow = vertical ? GetSystemMetrics(SM_CYVSCROLL) : GetSystemMetrics(SM_CXHSCROLL);
  const POINT from = bar_point(bar, vertical, arrow + 4);
  const RECT r = window_rect(bar);
  const POINT to = vertical ? POINT{from.x, r.bottom + 10} : POINT{r.right + 10, from.y};
  move_mouse(from.x, from.y);
  mouse_button(true);
  // The bar holds the mouse while the thumb is dragged.
  EXPECT_TRUE(wait_until([&] { return gui_thread_of(bar).hwndCapture == bar; }, 5000)) << "the thumb was not caught";
  for (int i = 1; i <= 4; ++i) move_mouse(from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4);
  mouse_button(false);
  EXPECT_TRUE(wait_until([&] { return gui_thread_of(bar).hwndCapture == nullptr; }, 5000));
}

// A real wheel turn, with Shift held or not.
void wheel(int delta, bool shift) {
  INPUT in[3] = {};
  in[0].type = in[2].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[2].ki.wVk = VK_SHIFT;
  in[2].ki.dwFlags = KEYEVENTF_KEYUP;
  in[1].type = INPUT_MOUSE;
  in[1].mi.dwFlags = MOUSEEVENTF_WHEEL;
  in[1].mi.mouseData = static_cast<DWORD>(delta);
  if (shift) SendInput(3, in, sizeof(INPUT));
  else SendInput(1, &in[1], sizeof(INPUT));
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

void zoom(HWND main, int command, const std::string& captionBase, const std::string& ratio) {
  command_and_settle(main, command);
  EXPECT_EQ(title_of(main), captionBase + ratio);
}

}  // namespace

TEST_F(View, SmallImageZoomsFromOneToTenAndBack) {
  ASSERT_TRUE(open_at(p, bmp_with_coded_pixels("view-zoom-files", "tiny.bmp", 20, 15), "1:1")) << title_of(p.main);
  const std::string base = "Kaldero - tiny.bmp [";
  EXPECT_FALSE(button_enabled(p.main, kButtonZoomOut));  // it opened at 1:1
  EXPECT_TRUE(button_enabled(p.main, kButtonZoomIn));

  for (int z = 2; z <= 10; ++z) {
    zoom(p.main, kCmdZoomIn, base, std::to_string(z) + ":1]");
    // Each image pixel is a z x z block: the last one ends where the white
    // background starts.
    const Pixels px = grab_client(p.main);
    EXPECT_EQ(px.at(0, kStrip), coded(0, 0)) << z;
    EXPECT_EQ(px.at(z - 1, kStrip + z - 1), coded(0, 0)) << z;
    EXPECT_EQ(px.at(z, kStrip), coded(1, 0)) << z;
    EXPECT_EQ(px.at(20 * z - 1, kStrip + 15 * z - 1), coded(19, 14)) << z;
    EXPECT_EQ(px.at(20 * z, kStrip + 15 * z - 1), 0xFFFFFFu) << z;
    EXPECT_EQ(px.at(20 * z - 1, kStrip + 15 * z), 0xFFFFFFu) << z;
    EXPECT_TRUE(button_enabled(p.main, kButtonZoomOut)) << z;
    EXPECT_EQ(button_enabled(p.main, kButtonZoomIn), z < 10) << z;
  }
  // 10:1 is the end.
  zoom(p.main, kCmdZoomIn, base, "10:1]");
  screenshot("view-zoom-10");

  for (int z = 9; z >= 1; --z) zoom(p.main, kCmdZoomOut, base, std::to_string(z) + ":1]");
  EXPECT_FALSE(button_enabled(p.main, kButtonZoomOut));
  EXPECT_TRUE(button_enabled(p.main, kButtonZoomIn));
  const Pixels px = grab_client(p.main);
  EXPECT_EQ(px.at(19, kStrip + 14), coded(19, 14));
  EXPECT_EQ(px.at(20, kStrip + 14), 0xFFFFFFu);  // the 10:1 picture was erased
}

TEST_F(View, WideImageOpensReducedAndZoomInStopsAtTwiceTheScreen) {
  ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  ASSERT_EQ(work.right - work.left, 1024) << "a task bar at the side changes the rule";
  set_client_size(p.main, 460, 400);
  const int k = open_reduced(p, bmp_with_coded_pixels("view-wide-files", "wide.bmp", 1000, 200));
  const std::string base = "Kaldero - wide.bmp [";
  ASSERT_GE(k, 2) << "a 1000-pixel image does not fit 460 pixels at 1:1: " << title_of(p.main);
  // Reduced to fit: no bars, the whole width shown, and no way further down.
  EXPECT_FALSE(shown(horizontal_bar(p.main)));
  EXPECT_FALSE(shown(vertical_bar(p.main)));
  EXPECT_FALSE(button_enabled(p.main, kButtonZoomOut));
  EXPECT_TRUE(button_enabled(p.main, kButtonZoomIn));
  const Pixels px = grab_client(p.main);
  EXPECT_EQ(px.at(1000 / k, kStrip + 5), 0xFFFFFFu);
  EXPECT_LE(coded_x(px.at(1000 / k - 1, kStrip)), 999);
  EXPECT_GE(coded_x(px.at(1000 / k - 1, kStrip)), 999 - k);
  // A click on the disabled button does nothing.
  click_centre(button_of(p.main, kButtonZoomOut));
  settle(p.main);
  EXPECT_EQ(title_of(p.main), base + "1:" + std::to_string(k) + "]");
  screenshot("view-wide-reduced");

  for (int z = k - 1; z >= 1; --z) zoom(p.main, kCmdZoomIn, base, "1:" + std::to_string(z) + "]");
  EXPECT_TRUE(button_enabled(p.main, kButtonZoomOut));
  zoom(p.main, kCmdZoomIn, base, "2:1]");
  EXPECT_TRUE(button_enabled(p.main, kButtonZoomIn));  // 2 x 1000 < 2 x 1024
  zoom(p.main, kCmdZoomIn, base, "3:1]");
  EXPECT_FALSE(button_enabled(p.main, kButtonZoomIn));  // 3 x 1000 >= 2 x 1024
  EXPECT_TRUE(button_enabled(p.main, kButtonZoomOut));
  for (int z = 2; z >= 1; --z) zoom(p.main, kCmdZoomOut, base, std::to_string(z) + ":1]");
  for (int z = 2; z <= k; ++z) zoom(p.main, kCmdZoomOut, base, "1:" + std::to_string(z) + "]");
  EXPECT_FALSE(button_enabled(p.main, kButtonZoomOut));
}

TEST_F(View, ScrollBarsAppearWhenTheImageExceedsTheViewTheOtherBarLeaves) {
  ASSERT_TRUE(open_at(p, bmp_with_coded_pixels("view-bars-files", "bars.bmp", 600, 400), "1:1")) << title_of(p.main);
  const int sbv = GetSystemMetrics(SM_CXVSCROLL), sbh = GetSystemMetrics(SM_CYHSCROLL);
  HWND h = horizontal_bar(p.main), v = vertical_bar(p.main);
  ASSERT_NE(h, nullptr);
  ASSERT_NE(v, nullptr);

  // A hidden bar has no range; where both show the size grip fills the corner,
  // a lone bar runs to the client area's edge.
  struct Shape {
    const char* what;
    int cw, ch;
    bool hShown, vShown;
    int hMax, vMax;
    RECT part;  // the grip, the lone bar or nothing, in client coordinates
  };
  const Shape shapes[] = {
      {"the image's size below the strip: nothing to scroll", 600, 420, false, false, 0, 0, {}},
      {"one row short: the vertical bar stands over the last columns, so the horizontal one comes too", 600, 419,
       true, true, sbv, 1 + sbh, {600 - sbv, 419 - sbh, 600, 419}},
      {"one row short with room for the vertical bar beside the image", 600 + sbv, 419, false, true, 0, 1,
       {600, kStrip, 600 + sbv, 419}},
      {"one column short with room below the image", 599, 420 + sbh, true, false, 1, 0, {0, 420, 599, 420 + sbh}},
      {"one short both ways: each range takes the other bar in", 599, 419, true, true, 1 + sbv, 1 + sbh,
       {599 - sbv, 419 - sbh, 599, 419}},
  };
  for (const Shape& s : shapes) {
    SCOPED_TRACE(s.what);
    set_client_size(p.main, s.cw, s.ch);
    EXPECT_EQ(shown(h), s.hShown);
    EXPECT_EQ(shown(v), s.vShown);
    EXPECT_EQ(shown(size_grip(p.main)), s.hShown && s.vShown);
    EXPECT_EQ(scroll_max(h), s.hMax);
    EXPECT_EQ(scroll_max(v), s.vMax);
    HWND part = s.hShown && s.vShown ? size_grip(p.main) : s.hShown ? h : s.vShown ? v : nullptr;
    if (!part) continue;
    const RECT r = rect_in(p.main, part);
    EXPECT_TRUE(EqualRect(&r, &s.part)) << r.left << "," << r.top << " - " << r.right << "," << r.bottom;
  }
  screenshot("view-both-bars");

  // Where the vertical bar brings the horizontal one, paging to its end shows
  // the columns the vertical bar stood over.
  set_client_size(p.main, 600, 419);
  auto last_shown_column = [&] { return coded_x(client_pixel(p.main, 600 - sbv - 1, kStrip)); };
  EXPECT_TRUE(wait_until([&] { return last_shown_column() == 599 - sbv; }, 5000)) << last_shown_column();
  scroll_view(p.main, false, SB_PAGERIGHT, (sbv + 9) / 10);
  EXPECT_EQ(scroll_pos(h), sbv);
  EXPECT_TRUE(wait_until([&] { return last_shown_column() == 599; }, 5000)) << last_shown_column();
  screenshot("view-bar-brings-the-other");

  // Zooming lays them out again: at 2:1 both, back at 1:1 in a larger
  // window neither, and the grip has gone.
  set_client_size(p.main, 700, 500);
  EXPECT_FALSE(shown(h) || shown(v) || shown(size_grip(p.main)));
  command_and_settle(p.main, kCmdZoomIn);
  EXPECT_TRUE(shown(h) && shown(v));
  EXPECT_EQ(scroll_max(h), (1200 - 700 + sbv) / 2);
  EXPECT_EQ(scroll_max(v), (800 + kStrip - 500 + sbh) / 2);
  command_and_settle(p.main, kCmdZoomOut);
  EXPECT_FALSE(shown(h) || shown(v) || shown(size_grip(p.main)));
}

// The keys and the wheel move the view as the scroll bars do, through the
// same routine; the keys reach the view after a real click on a tool bar
// button, which then has the keyboard.
TEST_F(View, TheKeysTheWheelAndTheMouseMoveTheViewAndStopAtZeroAndAtTheLimit) {
  set_client_size(p.main, 640, 480);
  ASSERT_TRUE(open_at(p, bmp_with_coded_pixels("view-scroll-files", "big.bmp", 1100, 800), "1:2")) << title_of(p.main);
  click_centre(button_of(p.main, kButtonZoomIn));
  ASSERT_TRUE(wait_title(p.main, "Kaldero - big.bmp [1:1]")) << title_of(p.main);
  settle(p.main);
  HWND h = horizontal_bar(p.main), v = vertical_bar(p.main);
  ASSERT_TRUE(shown(h) && shown(v));
  const int sbv = GetSystemMetrics(SM_CXVSCROLL), sbh = GetSystemMetrics(SM_CYHSCROLL);
  const int limitX = 1100 + sbv - 640, limitY = 800 + sbh - 480 + kStrip;
  EXPECT_EQ(scroll_max(h), limitX);
  EXPECT_EQ(scroll_max(v), limitY);
  EXPECT_TRUE(origin_becomes(p.main, 0, 0)) << origin_of(p.main);

  // The wheel over the view: lines as the system counts them a notch.
  UINT lines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ASSERT_GT(lines, 0u);
  ASSERT_LT(lines, 20u);
  const int n = static_cast<int>(lines);
  const POINT centre = client_to_screen(p.main, 320, 240);
  move_mouse(centre.x, centre.y);

  const int arrow = GetSystemMetrics(SM_CXHSCROLL), varrow = GetSystemMetrics(SM_CYVSCROLL);
  const POINT right = bar_point(h, false, -arrow / 2), left = bar_point(h, false, arrow / 2);
  const POINT trough = bar_point(h, false, arrow + 4), down = bar_point(v, true, -varrow / 2);
  const auto key = [](WORD vk, WORD modifier = 0) { return [=] { type_key(vk, modifier); }; };
  const auto turn = [](int delta, bool shift = false) { return [=] { wheel(delta, shift); }; };
  const auto drag = [](HWND bar, bool vertical) { return [=] { drag_thumb_from_start_past_end(bar, vertical); }; };
  const auto clicks = [](std::vector<POINT> at) {
    return [=] {
      for (const POINT& c : at) click(c.x, c.y);
    };
  };
  struct Step {
    const char* what;
    std::function<void()> act;
    int x, y;  // the image pixel then at the view's top-left corner
  };
  const Step steps[] = {
      {"Down", key(VK_DOWN), 0, 1},
      {"Right", key(VK_RIGHT), 1, 1},
      {"Page Down", key(VK_NEXT), 1, 11},
      {"Page Up", key(VK_PRIOR), 1, 1},
      {"Up", key(VK_UP), 1, 0},
      {"Up at the top", key(VK_UP), 1, 0},
      {"Left", key(VK_LEFT), 0, 0},
      {"End", key(VK_END), 0, limitY},
      {"Down at the end", key(VK_DOWN), 0, limitY},
      {"Shift+End", key(VK_END, VK_SHIFT), limitX, limitY},
      {"Shift+Page Up", key(VK_PRIOR, VK_SHIFT), limitX - 10, limitY},
      {"Home", key(VK_HOME), limitX - 10, 0},
      {"Shift+Home", key(VK_HOME, VK_SHIFT), 0, 0},
      {"a notch toward the user", turn(-120), 0, n},
      {"two notches", turn(-240), 0, 3 * n},
      {"a notch away", turn(120), 0, 2 * n},
      {"Shift+wheel toward the user", turn(-120, true), n, 2 * n},
      {"Shift+wheel away", turn(120, true), 0, 2 * n},
      {"Home after the wheel", key(VK_HOME), 0, 0},
      {"an arrow of the bar moves one image pixel", clicks({right}), 1, 0},
      {"left of 0 there is nothing: had the second click gone below 0, the third would not reach 1",
       clicks({left, left, right}), 1, 0},
      {"back to 0", clicks({left}), 0, 0},
      {"the thumb dragged past the end stops at the limit", drag(h, false), limitX, 0},
      {"right of the limit there is nothing", clicks({right, left}), limitX - 1, 0},
      {"a click in the trough pages by ten image pixels", clicks({trough}), limitX - 11, 0},
      {"the down arrow", clicks({down}), limitX - 11, 1},
      {"the vertical thumb dragged past the end", drag(v, true), limitX - 11, limitY},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    s.act();
    EXPECT_TRUE(origin_becomes(p.main, s.x, s.y)) << origin_of(p.main);
    EXPECT_EQ(scroll_pos(h), s.x);
    EXPECT_EQ(scroll_pos(v), s.y);
    // The view's far corner: at a limit the image's last column (row).
    const uint32_t corner = client_pixel(p.main, 640 - sbv - 1, 480 - sbh - 1);
    EXPECT_EQ(coded_x(corner), s.x + 640 - sbv - 1);
    EXPECT_EQ(coded_y(corner), s.y + 480 - sbh - 1 - kStrip);
  }
  screenshot("view-scrolled-to-the-end");
  // Nothing else changed: the ratio, the bars.
  EXPECT_EQ(title_of(p.main), "Kaldero - big.bmp [1:1]");
  EXPECT_EQ(scroll_max(h), limitX);
  EXPECT_EQ(scroll_max(v), limitY);
}

TEST_F(View, ScrollMessagesMoveByImagePixelsAndIdleOnesRepaintNothing) {
  set_client_size(p.main, 640, 480);
  const std::string path = bmp_with_coded_pixels("view-scroll-messages-files", "big.bmp", 600, 400);
  ASSERT_TRUE(open_at(p, path, "1:1")) << title_of(p.main);
  HWND h = horizontal_bar(p.main), v = vertical_bar(p.main);

  // The whole image fits: scroll messages (a touchpad driver sends them to
  // whatever window is under the cursor) have nothing to move.
  ASSERT_FALSE(shown(h) || shown(v));
  for (int code : {SB_LINERIGHT, SB_PAGERIGHT}) scroll_view(p.main, false, code);
  for (int code : {SB_PAGEDOWN, SB_LINEDOWN}) scroll_view(p.main, true, code);
  EXPECT_EQ(client_pixel(p.main, 0, kStrip), coded(0, 0));
  EXPECT_EQ(client_pixel(p.main, 599, kStrip + 399), coded(599, 399));
  EXPECT_EQ(client_pixel(p.main, 600, kStrip), 0xFFFFFFu);

  command_and_settle(p.main, kCmdZoomIn);  // 2:1
  ASSERT_TRUE(shown(h) && shown(v));

  // A marker drawn over the view from outside survives every scroll that
  // does not move: those repaint nothing.
  // A paint still due from the zoom (late under load) would wipe it: the
  // marker is drawn again until it stands.
  auto draw_marker = [&] {
    RedrawWindow(p.main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = GetDC(p.main);
    if (!dc) return false;
    const RECT mark{100, 100, 140, 140};
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(dc, &mark, magenta);
    DeleteObject(magenta);
    ReleaseDC(p.main, dc);
    settle(p.main);
    Sleep(200);
    return client_pixel(p.main, 120, 120) == 0xFF00FFu;
  };
  ASSERT_TRUE(wait_until(draw_marker, 5000));
  for (int code : {SB_LINELEFT, SB_PAGELEFT}) scroll_view(p.main, false, code);
  // SB_BOTTOM is not a code the view follows.
  for (int code : {SB_LINEUP, SB_PAGEUP, SB_ENDSCROLL, SB_BOTTOM}) scroll_view(p.main, true, code);
  EXPECT_EQ(client_pixel(p.main, 120, 120), 0xFF00FFu) << "a scroll that did not move repainted";
  EXPECT_EQ(scroll_pos(h), 0);
  EXPECT_EQ(scroll_pos(v), 0);
  // A scroll that moves paints the view again.
  scroll_view(p.main, true, SB_LINEDOWN);
  EXPECT_EQ(scroll_pos(v), 1);
  EXPECT_NE(client_pixel(p.main, 120, 120), 0xFF00FFu);
  // At 2:1 a line is one image pixel, two on the screen.
  EXPECT_EQ(coded_y(client_pixel(p.main, 0, kStrip)), 1);
  EXPECT_EQ(coded_y(client_pixel(p.main, 0, kStrip + 1)), 1);
  EXPECT_EQ(coded_y(client_pixel(p.main, 0, kStrip + 2)), 2);

  // Pages are ten image pixels at every ratio.
  scroll_view(p.main, false, SB_PAGERIGHT);
  EXPECT_EQ(scroll_pos(h), 10);
  EXPECT_EQ(shown_at_origin(p.main).x, 10);
  EXPECT_EQ(coded_x(client_pixel(p.main, 1, kStrip)), 10);
  EXPECT_EQ(coded_x(client_pixel(p.main, 2, kStrip)), 11);
  scroll_view(p.main, false, SB_PAGERIGHT);
  EXPECT_EQ(scroll_pos(h), 20);
  EXPECT_EQ(shown_at_origin(p.main).x, 20);
  command_and_settle(p.main, kCmdZoomIn);  // 3:1, the positions stay
  scroll_view(p.main, false, SB_PAGELEFT);
  EXPECT_EQ(scroll_pos(h), 10);
  EXPECT_EQ(shown_at_origin(p.main).x, 10);
  EXPECT_EQ(coded_x(client_pixel(p.main, 2, kStrip)), 10);
  EXPECT_EQ(coded_x(client_pixel(p.main, 3, kStrip)), 11);

  // At the limit, a further line or page does not move and repaints nothing.
  const int limitY = (400 * 3 + GetSystemMetrics(SM_CYHSCROLL) - 480 + kStrip) / 3;
  EXPECT_EQ(scroll_max(v), limitY);
  scroll_view(p.main, true, SB_PAGEDOWN, limitY / 10 + 1);
  EXPECT_EQ(scroll_pos(v), limitY);
  EXPECT_EQ(shown_at_origin(p.main).y, limitY);
  ASSERT_TRUE(wait_until(draw_marker, 5000));
  for (int code : {SB_LINEDOWN, SB_PAGEDOWN}) scroll_view(p.main, true, code);
  EXPECT_EQ(scroll_pos(v), limitY);
  EXPECT_EQ(client_pixel(p.main, 120, 120), 0xFF00FFu) << "a scroll past the limit repainted";

  // Reduced, a page is still ten image pixels: five on the screen at 1:2.
  for (int i = 0; i < 3; ++i) command_and_settle(p.main, kCmdZoomOut);
  ASSERT_EQ(title_of(p.main), "Kaldero - big.bmp [1:2]");
  set_client_size(p.main, 500, 200);
  ASSERT_TRUE(shown(v));
  ASSERT_FALSE(shown(h));
  scroll_view(p.main, true, SB_PAGEUP, 30);
  EXPECT_EQ(scroll_pos(v), 0);
  scroll_view(p.main, true, SB_TOP);  // not a code the view follows either
  scroll_view(p.main, true, SB_PAGEDOWN);
  EXPECT_EQ(scroll_pos(v), 10);
  const int row = coded_y(client_pixel(p.main, 0, kStrip));
  EXPECT_TRUE(row == 10 || row == 11) << row;
  EXPECT_LE(shown_at_origin(p.main).x, 1);  // the hidden bar's axis went back to 0

  // Opening a file starts again from the top-left corner.
  set_client_size(p.main, 640, 480);
  scroll_view(p.main, false, SB_PAGERIGHT);
  ASSERT_TRUE(open_at(p, path, "1:1")) << title_of(p.main);
  command_and_settle(p.main, kCmdZoomIn);
  EXPECT_EQ(scroll_pos(h), 0);
  EXPECT_EQ(scroll_pos(v), 0);
  EXPECT_EQ(shown_at_origin(p.main).x, 0);
  EXPECT_EQ(shown_at_origin(p.main).y, 0);
  scroll_view(p.main, true, SB_PAGEDOWN);
  EXPECT_EQ(scroll_pos(v), 10);
  EXPECT_EQ(shown_at_origin(p.main).y, 10);
}

TEST_F(View, TheThumbReachesPositionsBeyondSixteenBits) {
  set_client_size(p.main, 640, 300);
  // 70000 pixels wide, each column coloured by its own number.
  const int w = 70000;
  const std::string path = join(fresh_dir("view-long-files"), "long.bmp");
  ASSERT_TRUE(write_file(path, make_bmp24(w, 2, [](int x, int) { return static_cast<uint32_t>(x); })));
  ASSERT_GT(open_reduced(p, path), 0) << title_of(p.main);
  for (int guard = 0; guard < 200 && title_of(p.main) != "Kaldero - long.bmp [1:1]"; ++guard)
    command_and_settle(p.main, kCmdZoomIn);
  ASSERT_EQ(title_of(p.main), "Kaldero - long.bmp [1:1]");
  HWND h = horizontal_bar(p.main);
  ASSERT_TRUE(shown(h));
  ASSERT_FALSE(shown(vertical_bar(p.main)));
  const int limit = w - 640;
  EXPECT_EQ(scroll_max(h), limit);

  // Dragged to the end, the view shows the last column at its right edge:
  // a position the message's 16-bit field would have cut to 3 824.
  drag_thumb_from_start_past_end(h, false);
  EXPECT_TRUE(wait_until([&] { return scroll_pos(h) == limit; }, 5000)) << scroll_pos(h);
  EXPECT_EQ(client_pixel(p.main, 0, kStrip), static_cast<uint32_t>(limit));
  EXPECT_EQ(client_pixel(p.main, 639, kStrip), static_cast<uint32_t>(w - 1));
  // Lines still count from there.
  scroll_view(p.main, false, SB_LINELEFT);
  EXPECT_EQ(scroll_pos(h), limit - 1);
  EXPECT_EQ(client_pixel(p.main, 0, kStrip), static_cast<uint32_t>(limit - 1));
}

TEST_F(ViewInShellDesktop, ZoomInLeavesTheTaskBarOut) {
  RECT work;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
  ASSERT_EQ(work.bottom, 580) << "a 20-pixel task bar at the bottom";
  // 290 high: at 4:1 1160 rows, below twice the screen (1200) but not below
  // twice the height above the task bar (1160).
  ASSERT_TRUE(open_at(p, bmp_with_coded_pixels("view-taskbar-files", "tall.bmp", 300, 290), "1:1")) << title_of(p.main);
  const std::string base = "Kaldero - tall.bmp [";
  for (int z = 2; z <= 4; ++z) {
    EXPECT_TRUE(button_enabled(p.main, kButtonZoomIn)) << z;
    zoom(p.main, kCmdZoomIn, base, std::to_string(z) + ":1]");
  }
  EXPECT_FALSE(button_enabled(p.main, kButtonZoomIn));
  EXPECT_TRUE(button_enabled(p.main, kButtonZoomOut));
}

TEST_F(View, AScrolledImageStillFillsTheViewAfterTheWindowGrowsOrTheRatioFalls) {
  // Each case zooms from where the last left off in a 500 x 400 client area
  // (the first from 1:5), scrolls to the bottom-right corner and then makes
  // the scroll limits fall: by a larger window (at 1:1) or by zooming out
  // (from 1:2 to 1:3); both bars still show afterwards.
  const int w = 1800, h = 1500;
  set_client_size(p.main, 500, 400);
  ASSERT_TRUE(open_at(p, bmp_with_coded_pixels("view-fills-files", "fill.bmp", w, h), "1:5")) << title_of(p.main);
  HWND hBar = horizontal_bar(p.main), vBar = vertical_bar(p.main);
  struct Case {
    const char* change;
    int zoomIns;  // below 0: zoom outs
    bool enlarge;  // else zoom out
    int zoomAfter;
  };
  for (const Case& c : {Case{"window enlarged", 4, true, 1}, Case{"zoomed out", -1, false, 3}}) {
    SCOPED_TRACE(c.change);
    set_client_size(p.main, 500, 400);
    for (int i = 0; i < std::abs(c.zoomIns); ++i) command_and_settle(p.main, c.zoomIns > 0 ? kCmdZoomIn : kCmdZoomOut);
    ASSERT_TRUE(shown(hBar) && shown(vBar));
    for (int i = 0; i < 200 && (scroll_pos(hBar) < scroll_max(hBar) || scroll_pos(vBar) < scroll_max(vBar)); ++i) {
      scroll_view(p.main, false, SB_PAGERIGHT);
      scroll_view(p.main, true, SB_PAGEDOWN);
    }
    ASSERT_EQ(scroll_pos(hBar), scroll_max(hBar));
    ASSERT_EQ(scroll_pos(vBar), scroll_max(vBar));

    if (c.enlarge) {
      set_client_size(p.main, 800, 600);
    } else {
      command_and_settle(p.main, kCmdZoomOut);
      ASSERT_EQ(title_of(p.main), "Kaldero - fill.bmp [1:3]");
    }
    settle(p.main);
    ASSERT_TRUE(shown(hBar) && shown(vBar));
    RECT client;
    GetClientRect(p.main, &client);
    const int viewRight = client.right - GetSystemMetrics(SM_CXVSCROLL);
    const int viewBottom = client.bottom - GetSystemMetrics(SM_CYHSCROLL);
    // No band of background at the far edges: the corner shows the image's
    // last pixels.
    const uint32_t cornerPixel = client_pixel(p.main, viewRight - 1, viewBottom - 1);
    EXPECT_NE(cornerPixel, 0xFFFFFFu) << "background at the bottom-right corner of the view";
    EXPECT_GE(coded_x(cornerPixel), w - c.zoomAfter);
    EXPECT_GE(coded_y(cornerPixel), h - c.zoomAfter);
    // The thumbs stand at their ends and agree with the top-left corner.
    const POINT origin = shown_at_origin(p.main);
    EXPECT_EQ(scroll_pos(hBar), scroll_max(hBar));
    EXPECT_EQ(scroll_pos(vBar), scroll_max(vBar));
    EXPECT_LE(std::abs(scroll_pos(hBar) - origin.x), c.zoomAfter - 1);
    EXPECT_LE(std::abs(scroll_pos(vBar) - origin.y), c.zoomAfter - 1);
    // The next click moves on from there.
    const int pos = scroll_pos(hBar);
    scroll_view(p.main, false, SB_LINELEFT);
    EXPECT_EQ(scroll_pos(hBar), pos - 1);
  }
}

TEST_F(ViewWhole, ThinAndHugePicturesAreShownAndReachable) {
  RECT client;
  GetClientRect(p.main, &client);

  // 5000 x 3 shrinks (1:7 in the window the viewer starts with) to less than
  // one row: it is still a row of pixels, not nothing.
  const int z = open_reduced(p, bmp_with_coded_pixels("view-whole-files", "thin.bmp", 5000, 3));
  ASSERT_GT(z, 3) << title_of(p.main);
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
}
