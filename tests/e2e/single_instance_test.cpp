// A second start of either program, while the first runs minimised or behind
// another window: the second ends at once and the first comes forward, with
// its caption as it was (and its place, when it was not minimised).
#include <gtest/gtest.h>

#include <functional>

#include "tests/e2e/capture_ui.h"
#include "tests/e2e/viewer_ui.h"

using namespace e2e;

namespace {

TEST(SecondStart, BringsTheRunningProgramForwardRestoredIfMinimised) {
  // Another program's window that has the foreground when the second start comes.
  // Below the viewer's window, so that a click reaches it.
  PatternWindow other(0, 700, 300, 68, [](int x, int y) { return (x / 8 + y / 8) % 2 ? 0x3060C0u : 0xF0E0A0u; });
  const HWND otherWindow = FindWindowA("E2EPattern", nullptr);
  ASSERT_TRUE(otherWindow);
  struct Case {
    const char* name;
    std::string exe;
    std::function<bool(Program&, const std::string&)> start;
  };
  const Case programs[] = {
      {"viewer", viewer_exe(), [](Program& p, const std::string& dir) { return start_viewer_ready(p, dir); }},
      {"capture program", meridot_exe(), [](Program& p, const std::string& dir) { return start_meridot(p, dir); }},
  };
  for (const Case& c : programs) {
    SCOPED_TRACE(c.name);
    Program first;
    ASSERT_TRUE(c.start(first, "second-start-first"));
    const std::string title = title_of(first.main);
    const RECT before = window_rect(first.main);
    for (const bool minimised : {true, false}) {
      SCOPED_TRACE(minimised ? "minimised" : "behind another window");
      if (minimised) {
        PostMessageA(first.main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(wait_until([&] { return IsIconic(first.main) != FALSE; }, 5000));
      }
      click(150, 734);  // a person works in the other window
      ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == otherWindow; }, 5000));

      Program second;
      ASSERT_TRUE(second.start(c.exe, fresh_dir("second-start-second")));
      DWORD code = 99;
      ASSERT_TRUE(second.wait_exit(10000, &code));
      EXPECT_EQ(code, 0u);
      EXPECT_TRUE(wait_until([&] {
        return !IsIconic(first.main) && IsWindowVisible(first.main) && GetForegroundWindow() == first.main;
      }, 5000)) << "foreground " << GetForegroundWindow() << ", iconic " << IsIconic(first.main);
      EXPECT_TRUE(first.running());
      EXPECT_EQ(title_of(first.main), title);
      // Restored or not, the window is back where it was (the restore is posted: wait for it to land).
      RECT after{};
      EXPECT_TRUE(wait_until([&] { return GetWindowRect(first.main, &after) && EqualRect(&before, &after); }, 3000))
          << after.left << "," << after.top << " - " << after.right << "," << after.bottom;
    }
    screenshot(std::string("second-start-") + (c.exe == viewer_exe() ? "viewer" : "capture"));
    first.close();
  }
}

}  // namespace
