// The keyboard follows the capture: with another program active before the
// Icon button is clicked, Esc still ends capture mode, and the questions
// after a capture take the keys the person types.
#include <gtest/gtest.h>

#include "tests/e2e/capture_app_ui.h"
#include "tests/e2e/capture_ui.h"
#include "tests/e2e/viewer_ui.h"

using namespace e2e;

namespace {

// The viewer beside the capture program, made active by a click on its tool
// bar, then the capture program's Icon button clicked, as a person does.
class CaptureKeyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pattern_.shown());
    ASSERT_TRUE(start_viewer_ready(viewer_, "keyboard-viewer"));
    SetWindowPos(viewer_.main, nullptr, 160, 0, 600, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(start_meridot(capture_, "keyboard-capture"));
    settle(viewer_.main);
  }
  void TearDown() override {
    capture_.close();
    viewer_.close();
  }
  // A click on the viewer's disabled Zoom In button, then on Icon.
  void icon_after_the_viewer() {
    click_centre(button_of(viewer_.main, kButtonZoomIn));
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == viewer_.main; }, 5000));
    click_centre(meridot_button(capture_.main, kMeridotIconButton));
    ASSERT_TRUE(wait_until([&] { return IsWindowVisible(grab()) && !IsWindowVisible(capture_.main); }, 10000));
  }
  HWND grab() const { return capture_window(capture_.pid()); }

  PatternWindow pattern_{0, 0, 300, 300, test_pattern};
  Program viewer_, capture_;
};

// The hand stays where it clicked Icon: no move over the frozen screen
// before the key.
TEST_F(CaptureKeyboard, EscEndsCaptureModeWithoutAMove) {
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    icon_after_the_viewer();
    // A person's Esc comes a moment after the frozen screen shows.
    Sleep(300);
    type_key(VK_ESCAPE);
    EXPECT_TRUE(wait_until([&] { return IsWindowVisible(capture_.main) && !IsWindowVisible(grab()); }, 5000))
        << "foreground " << GetForegroundWindow() << ", capture window " << grab();
    if (IsWindowVisible(grab())) {
      screenshot("keyboard-esc-missed");
      mouse_button(true);  // a capture ends it, so the next round can start
      mouse_button(false);
      ASSERT_TRUE(decline_save(capture_));
    }
    EXPECT_EQ(find_window("Question", capture_.pid()), nullptr);
  }
}

// After each capture the save question is in front with the keyboard: N
// answers No, and on the last round Y opens the save dialog, whose Esc
// (Cancel) leaves the image shown.
TEST_F(CaptureKeyboard, TheQuestionsAfterACaptureTakeTheKeys) {
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    icon_after_the_viewer();
    drag(POINT{100, 150}, {POINT{110, 160}});
    const HWND question = wait_window("Question", 10000, capture_.pid());
    ASSERT_TRUE(question);
    EXPECT_TRUE(wait_until([&] { return GetForegroundWindow() == question; }, 3000)) << "the question in front";
    type_key(round < 4 ? 'N' : 'Y');
    const bool gone = wait_until([&] { return !IsWindow(question); }, 3000);
    if (!gone) screenshot("keyboard-question-missed");
    ASSERT_TRUE(gone) << "the key reached the question";
  }
  const HWND dialog = wait_window(kSaveIconTitle, 10000, capture_.pid());
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(wait_until([&] { return GetForegroundWindow() == dialog; }, 3000)) << "the save dialog in front";
  screenshot("keyboard-save-dialog");
  type_key(VK_ESCAPE);
  EXPECT_TRUE(wait_until([&] { return !IsWindow(dialog); }, 5000));
  EXPECT_TRUE(IsWindowVisible(capture_.main));
}

}  // namespace
