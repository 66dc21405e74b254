// The icon form dialog: what OK, Cancel and the close box leave behind, and
// when a choice takes effect (a capture makes the pending form current).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "tests/e2e/capture_app_ui.h"
#include "tests/e2e/capture_ui.h"
#include "tests/e2e/viewer_fixture.h"
#include "resources/capture/resource.h"

using namespace e2e;

using CaptureForm = CaptureTest;
using CaptureFormOnDepth8 = CaptureTest;

namespace {

const std::vector<int> kStart = {IDC_SIZE_32, IDC_COLOURS_16, IDC_ERECT, IDC_FRAME_INVERTED};

// The height of the icon the next capture makes, as the Icon command sizes the
// main window for it (base height + N); capture mode is left again with Esc.
int next_capture_size(Program& p) {
  if (!enter_capture(p)) return -1;
  const RECT r = window_rect(p.main);
  // Keys reach the capture window once it is in front, a moment after it shows.
  const HWND grab = capture_window(p.pid());
  if (!wait_until([&] { return GetForegroundWindow() == grab; }, 5000)) return -2;
  type_key(VK_ESCAPE);
  wait_until([&] { return IsWindowVisible(p.main) != FALSE; }, 5000);
  settle(p.main);
  return r.bottom - r.top - meridot_base_height();
}

RECT group_rect(HWND dialog, const char* text) {
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char t[64] = {};
    GetWindowTextA(c, t, sizeof t);
    if ((GetWindowLongA(c, GWL_STYLE) & 0xF) == BS_GROUPBOX && std::strcmp(t, text) == 0) return rect_in(dialog, c);
  }
  return RECT{};
}

// The row of the etched rule between two groups: button-shadow pixels over
// the groups' width with white pixels right below; -1 when there is none.
int etched_rule_row(HWND dialog, const RECT& above, const RECT& below) {
  const Pixels px = grab_client(dialog);
  const uint32_t shadow = GetSysColor(COLOR_BTNSHADOW), white = 0xFFFFFF;
  const uint32_t shadowRgb = (shadow & 0xFF) << 16 | (shadow & 0xFF00) | (shadow >> 16 & 0xFF);
  for (int y = above.bottom; y + 1 < below.top; ++y) {
    bool rule = px.at(above.left - 1, y) != shadowRgb && px.at(above.right, y) != shadowRgb;
    for (int x = above.left; x < above.right && rule; ++x)
      rule = px.at(x, y) == shadowRgb && px.at(x, y + 1) == white;
    if (rule) return y;
  }
  return -1;
}

}  // namespace

// Cancel, the close box and Esc put back the form and the frame colour as
// they were when the dialog opened: the dialog shows them again and the next
// capture is 32 x 32. An etched rule (a shadow line over a white one) runs
// between the Image group and the frame colour group, over the groups' width.
TEST_F(CaptureForm, CancelAndCloseRestoreTheFormAndTheFrameColour) {
  struct Way {
    const char* name;
    std::function<void(HWND)> close;
  };
  const Way ways[] = {
      {"Cancel", [](HWND d) { click_control(d, IDCANCEL); }},
      {"close box", [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Esc", [](HWND d) {
         SetForegroundWindow(d);
         type_key(VK_ESCAPE);
       }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    HWND dlg = open_form_dialog(p);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(checked_buttons(dlg), kStart);
    if (&way == &ways[0]) {
      screenshot("capture-form");
      const RECT image = group_rect(dlg, "Image"), frameGroup = group_rect(dlg, "Frame color for capturing");
      ASSERT_GT(image.right, image.left);
      ASSERT_GT(frameGroup.top, image.bottom);
      EXPECT_GE(etched_rule_row(dlg, image, frameGroup), 0);
    }
    const std::vector<int> last = {IDC_SIZE_64, IDC_COLOURS_256, IDC_INVERTED_MIRROR, IDC_FRAME_WHITE};
    for (int id : last) click_control(dlg, id);
    EXPECT_EQ(checked_buttons(dlg), last);
    if (&way == &ways[0]) screenshot("capture-form-choices");
    way.close(dlg);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(dlg); }, 5000));
    EXPECT_EQ(next_capture_size(p), 32);
    dlg = open_form_dialog(p);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(checked_buttons(dlg), kStart);
    ASSERT_TRUE(press(dlg, IDCANCEL));
  }
}

// OK keeps the choice for the next capture only: opening the dialog again
// before a capture shows the form in use (32 x 32) and starts from it, so the
// earlier choice is gone unless it is made again; the frame colour stays.
TEST_F(CaptureForm, OkTakesEffectAtTheNextCaptureAndReopeningShowsTheFormInUse) {
  ASSERT_TRUE(set_form(p, 64, 256, IDC_ERECT_MIRROR - IDC_ERECT, IDC_FRAME_BLACK - IDC_FRAME_INVERTED));
  HWND dlg = open_form_dialog(p);
  ASSERT_TRUE(dlg);
  EXPECT_EQ(checked_buttons(dlg), (std::vector<int>{IDC_SIZE_32, IDC_COLOURS_16, IDC_ERECT, IDC_FRAME_BLACK}));
  ASSERT_TRUE(press(dlg, IDOK));
  EXPECT_EQ(next_capture_size(p), 32);
  ASSERT_TRUE(set_form(p, 64, 16, 0, IDC_FRAME_BLACK - IDC_FRAME_INVERTED));
  EXPECT_EQ(next_capture_size(p), 64);
}

// Only displays of 16 colours or fewer refuse 256 colours: on a 256-colour
// display they can be chosen (Xvfb has no 4-bit screen for the refusal itself,
// which the unit tests cover).
TEST_F(CaptureFormOnDepth8, TwoHundredFiftySixColoursCanBeChosenOnA256ColourDisplay) {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  ASSERT_EQ(bits, 8);
  HWND dlg = open_form_dialog(p);
  ASSERT_TRUE(dlg);
  click_control(dlg, IDC_COLOURS_256);
  EXPECT_EQ(checked_buttons(dlg), (std::vector<int>{IDC_SIZE_32, IDC_COLOURS_256, IDC_ERECT, IDC_FRAME_INVERTED}));
  ASSERT_TRUE(press(dlg, IDOK));
}
