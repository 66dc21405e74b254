// Capture mode as a person uses it: the frozen screen, the dashed frame that
// follows the pointer while the button is held, the square taken at the
// screen's edges, and the ways out of capture mode without a capture (the
// orientations are CaptureSave's).
#include <gtest/gtest.h>

#include "capture/grab/grab_logic.h"
#include "tests/e2e/capture_ui.h"
#include "tests/e2e/viewer_fixture.h"
#include "tests/e2e/viewer_ui.h"

using namespace e2e;

using CaptureGrab = CaptureTest;

namespace {

// The picture as the screen must show it with the frame of this colour over
// the square at (x0, y0).
Pixels with_frame(int n, int frameColour, int x0, int y0) {
  Pixels px;
  px.width = px.height = kPatternSide;
  for (int y = 0; y < kPatternSide; ++y)
    for (int x = 0; x < kPatternSide; ++x) px.data.push_back(test_pattern(x, y));
  const auto rects = capture::frame_rects(n);
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      const int hits = capture::frame_hits(rects, i, j);
      if (hits == 0) continue;
      uint32_t& c = px.data[static_cast<size_t>(y0 - kPatternY + j) * kPatternSide + (x0 - kPatternX + i)];
      if (frameColour == 0) c = hits % 2 ? c ^ 0xFFFFFF : c;  // inverted twice: as it was
      if (frameColour == 1) c = 0x000000;
      if (frameColour == 2) c = 0xFFFFFF;
    }
  return px;
}

// Waits until the picture's area of the screen is exactly `want`; the number
// of pixels that still differ.
int screen_differs(const Pixels& want) {
  int wrong = 0;
  wait_until([&] {
    wrong = count_differences(grab_screen(kPatternX, kPatternY, kPatternSide, kPatternSide), 0, 0, want, 0, 0,
                              kPatternSide, kPatternSide);
    return wrong == 0;
  }, 3000);
  if (wrong != 0) {
    const Pixels got = grab_screen(kPatternX, kPatternY, kPatternSide, kPatternSide);
    int shown = 0;
    for (int y = 0; y < kPatternSide && shown < 4; ++y)
      for (int x = 0; x < kPatternSide && shown < 4; ++x)
        if (got.at(x, y) != want.at(x, y) && ++shown)
          ADD_FAILURE() << "picture pixel (" << x << ", " << y << ") shows " << std::hex << got.at(x, y)
                        << ", expected " << want.at(x, y);
    screenshot("capture-frame-differs");
  }
  return wrong;
}

TEST_F(CaptureGrab, FrameOfEachSizeAndColourIsExactAndLeavesNoTrace) {
  PatternWindow pattern(kPatternX, kPatternY, kPatternSide, kPatternSide, test_pattern);
  const char* colourNames[] = {"inverted", "black", "white"};
  for (int colour = 0; colour < 3; ++colour)
    for (int n : {16, 32, 48, 64}) {
      SCOPED_TRACE(testing::Message() << colourNames[colour] << " frame, N = " << n);
      ASSERT_TRUE(set_form(p, n, 16, 0, colour));
      ASSERT_TRUE(pattern.shown());
      ASSERT_TRUE(enter_capture(p));
      const int x0 = kPatternX + 20, y0 = kPatternY + 30;
      const POINT start = pointer_for(n, x0, y0);
      drag(start, {}, false);
      EXPECT_EQ(screen_differs(with_frame(n, colour, x0, y0)), 0) << "the frame at the press";
      if (n == 48) screenshot(std::string("capture-frame-") + colourNames[colour]);

      // Fast moves, as a quick hand makes them: no wait between them.
      const int x1 = kPatternX + 200 - n - 7, y1 = kPatternY + 200 - n - 3;
      for (int k = 1; k <= 24; ++k)
        move_mouse(start.x + (x1 - x0) * k / 24 + (k % 3) * 5, start.y + (y1 - y0) * k / 24 - (k % 4) * 3, true);
      // Then a last, deliberate step onto the end point once the burst is
      // through (a move onto the pointer's own position brings no message).
      settle(capture_window(p.pid()));
      const POINT end = pointer_for(n, x1, y1);
      move_mouse(end.x + 1, end.y);
      move_mouse(end.x, end.y);
      EXPECT_EQ(screen_differs(with_frame(n, colour, x1, y1)), 0) << "only the last frame after fast moves";
      mouse_button(false);
      ASSERT_TRUE(decline_save(p));
    }
}

// Squares that reach past the screen's corners: the capture goes on without
// a message, and what lies outside the screen is black (index 0). The main
// window covers the top-left picture until the Icon command hides it; the
// frozen screen must not show it.
TEST_F(CaptureGrab, SquaresPastTheScreenEdgeAreBlackOutside) {
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  PatternWindow topLeft(0, 0, 120, 120, test_pattern);
  PatternWindow bottomRight(sw - 120, sh - 120, 120, 120, test_pattern);
  const std::string dir = fresh_dir("capture-edge-out");
  struct Case {
    POINT pointer;
    const PatternWindow* picture;
  };
  const Case cases[] = {{{3, 5}, &topLeft}, {{sw - 2, sh - 3}, &bottomRight}};
  int k = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(k);
    ASSERT_TRUE(set_form(p, 32, 256));
    // The main window lies over the picture's corner until the Icon command hides it.
    SetWindowPos(p.main, HWND_TOP, c.picture == &topLeft ? 0 : sw - 135, c.picture == &topLeft ? 0 : sh - 80, 0, 0,
                 SWP_NOSIZE);
    settle(p.main);
    ASSERT_FALSE(c.picture->shown(200));
    ASSERT_TRUE(enter_capture(p));
    drag(c.pointer, {{c.pointer.x - 1, c.pointer.y}, c.pointer});
    const std::string path = join(dir, "edge" + std::to_string(k++) + ".ico");
    ASSERT_EQ(save_capture(p, path), created_text(32, 256));
    const int x0 = c.pointer.x - 15, y0 = c.pointer.y - 15;
    const std::vector<uint32_t> square =
        expected_square([&](int x, int y) { return c.picture->at(x, y); }, x0, y0, 32, 0);
    EXPECT_TRUE(x0 < 0 || y0 < 0 || x0 + 32 > sw || y0 + 32 > sh) << "the square reaches past the screen";
    // The expected square is black outside the screen, and black is index 0.
    EXPECT_EQ(icon_indices(read_file(path), 32, 8), platform_indices(square, 32, 256));
  }
  SetWindowPos(p.main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

// Esc, Alt+F4 and the system menu's Close end capture mode without a
// capture: the main window comes back with the earlier image and size, and
// the capture window is still there for the next capture.
TEST_F(CaptureGrab, EscAndCloseRequestsBringTheMainWindowBack) {
  PatternWindow pattern(kPatternX, kPatternY, kPatternSide, kPatternSide, test_pattern);
  ASSERT_TRUE(pattern.shown());
  ASSERT_TRUE(capture_square(p, 32, kPatternX + 40, kPatternY + 40));
  ASSERT_TRUE(decline_save(p));
  ASSERT_TRUE(wait_until([&] { return IsWindowVisible(p.main) != FALSE; }));
  settle(p.main);
  const RECT before = window_rect(p.main);
  const std::vector<uint32_t> shown = expected_square(screen_colour, kPatternX + 40, kPatternY + 40, 32, 0);
  const POINT at = pointer_for(32, kPatternX + 40, kPatternY + 40);
  const HWND grab = capture_window(p.pid());
  ASSERT_TRUE(grab);

  struct Way {
    const char* name;
    std::function<void()> act;
  };
  const Way ways[] = {
      {"Esc", [] { type_key(VK_ESCAPE); }},
      {"Alt+F4", [] { type_key(VK_F4, VK_MENU); }},
      {"system menu Close", [&] { PostMessageA(grab, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Esc with the button held", [&] {
         drag(at, {{at.x + 5, at.y + 5}}, false);
         type_key(VK_ESCAPE);
         mouse_button(false);
       }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    ASSERT_TRUE(set_form(p, 64, 256));  // the Icon command would make this the form in use
    ASSERT_TRUE(enter_capture(p));
    // The hand is on the mouse over the frozen screen; keys go to the capture window.
    move_mouse(at.x + 3, at.y + 3);
    EXPECT_TRUE(wait_until([&] { return GetForegroundWindow() == grab; }, 3000));
    way.act();
    ASSERT_TRUE(wait_until([&] { return IsWindowVisible(p.main) && !IsWindowVisible(grab); }, 5000));
    EXPECT_TRUE(IsWindow(grab));
    EXPECT_TRUE(p.running());
    EXPECT_EQ(find_window("Question", p.pid()), nullptr);
    settle(p.main);
    const RECT after = window_rect(p.main);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_EQ(image_differs(p.main, kMeridotStrip, shown, 32), 0) << "the earlier image";
  }
  // The capture window still serves the next capture.
  ASSERT_TRUE(capture_square(p, 32, kPatternX + 40, kPatternY + 40));
  ASSERT_TRUE(decline_save(p));
}

}  // namespace
