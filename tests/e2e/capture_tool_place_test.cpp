// The transparent-pixel tool opened from a main window in the bottom-right
// corner of the screen (the last position the program allows): the grown
// window lies on the screen with every control, Esc means Cancel and Enter
// means OK wherever the keyboard is, and the window goes back to its corner.
#include <gtest/gtest.h>

#include "tests/e2e/capture_app_ui.h"
#include "tests/e2e/mask_ui.h"
#include "tests/e2e/viewer_fixture.h"

using namespace e2e;

using CaptureToolPlace = CaptureTest;

namespace {

bool inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

TEST_F(CaptureToolPlace, GrownWindowStaysOnTheScreenAndKeysAnswerIt) {
  PatternWindow pattern(kMaskPatternX, kMaskPatternY, 64, 64, mask_pattern);
  ASSERT_TRUE(pattern.shown());
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  const POINT corner{sw - 135, sh - meridot_base_height() - 16};
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  const std::string dir = fresh_dir("tool-place-out");
  const int n = 64;
  // The program keeps its place in the INI beside the shared EXE: put back at the end, or the next test to start
  // it would find it in the corner.
  const RECT start = window_rect(p.main);

  struct Round {
    const char* name;
    bool viaColourList;  // the keyboard on the colour list after a colour is picked
    WORD key;
    const char* ending;
  };
  const Round rounds[] = {
      {"Esc with the keyboard on the main window", false, VK_ESCAPE, "\nNo transparent pixel(s)."},
      {"Enter with the keyboard on the colour list", true, VK_RETURN, "\nSome transparent pixel(s)."},
  };
  for (const Round& r : rounds) {
    SCOPED_TRACE(r.name);
    SetWindowPos(p.main, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    settle(p.main);
    const std::string path = join(dir, r.viaColourList ? "enter.ico" : "esc.ico");
    ASSERT_TRUE(open_tool_on_capture(p, path, n, 16));
    const std::vector<uint8_t> saved = read_file(path);
    settle(p.main);
    RECT w = window_rect(p.main);
    EXPECT_EQ(w.right - w.left, 2 * GetSystemMetrics(SM_CXFRAME) + 6 * n + 100);
    EXPECT_TRUE(inside(w, work)) << w.left << "," << w.top << " " << w.right << "," << w.bottom;
    // Moved only as far as it had to: its right and bottom edges on the work area's.
    EXPECT_EQ(w.right, work.right);
    EXPECT_EQ(w.bottom, work.bottom);
    for (int id : {kToolOk, kToolCancel, kToolFill, kToolColours})
      EXPECT_TRUE(inside(window_rect(GetDlgItem(p.main, id)), work)) << "control " << id;
    screenshot(std::string("tool-in-corner-") + (r.viaColourList ? "enter" : "esc"));

    click_cell(p.main, 3, 2);
    if (r.viaColourList) {
      pick_colour(p.main, 2);  // the list keeps the keyboard once it has closed
      const HWND list = GetDlgItem(p.main, kToolColours);
      ASSERT_NE(list, nullptr);
      EXPECT_EQ(gui_thread_of(p.main).hwndFocus, list) << "the keyboard is on the colour list";
    }
    type_key(r.key);
    const std::string text = expect_message(p.pid(), "Success");
    ASSERT_GE(text.size(), std::string(r.ending).size());
    EXPECT_EQ(text.substr(text.size() - std::string(r.ending).size()), r.ending);
    ASSERT_TRUE(wait_until([&] { return !tool_open(p.main); }, 5000));
    EXPECT_EQ(read_file(path) == saved, r.key == VK_ESCAPE) << "Cancel keeps the icon, OK rewrites it";
    settle(p.main);
    w = window_rect(p.main);
    EXPECT_EQ(w.left, corner.x) << "back in its corner";
    EXPECT_EQ(w.top, corner.y);
  }
  SetWindowPos(p.main, nullptr, start.left, start.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace
