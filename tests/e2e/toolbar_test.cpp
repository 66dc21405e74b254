// The tool bar: which buttons are enabled, the bitmap set of each Windows
// version, the hints drawn on the frame, and clicks.
#include <gtest/gtest.h>

#include <map>

#include "tests/e2e/harness.h"
#include "tests/e2e/registry.h"
#include "tests/e2e/save_ui.h"
#include "tests/e2e/viewer_fixture.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/viewer/resource.h"

using namespace e2e;

using ToolbarHint = ViewerTest;

namespace {

constexpr int kFirstButton = IDC_GAP_BUTTON;
constexpr int kLastButton = IDC_SPACE_BUTTON;
const char* const kBases[] = {"Gap",  "Prm",    "Open",  "Paste",  "ZmOut", "ZmIn", "Mode", "Copy",
                              "SaveAs", "Print", "MkIcon", "About", "Help",   "Exit", "Space"};

// Pixels of every button that do not match the bitmap the button should show
// (buttons are compared as far as the main window's client area shows them).
int wrong_button_pixels(HWND main, int id, const std::string& bitmapName) {
  const Pixels want = resource_bitmap(bitmapName.c_str());
  if (want.width == 0) return -1;
  RECT r, client;
  GetWindowRect(button_of(main, id), &r);
  GetClientRect(main, &client);
  const POINT origin = client_to_screen(main, 0, 0);
  const int w = std::min<int>(r.right - r.left, origin.x + client.right - r.left);
  const Pixels got = grab_screen(r.left, r.top, w, r.bottom - r.top);
  return count_differences(got, 0, 0, want, 0, 0, w, got.height);
}

std::string state_of(HWND main, int id) { return button_enabled(main, id) ? "Up" : "In"; }

// The buttons that do not show the bitmap of their state in this set, now:
// their bitmaps' names and how many pixels differ ("" when all do).
std::string buttons_off_set(HWND main, const std::string& set) {
  std::string bad;
  for (int id = kFirstButton; id <= kLastButton; ++id) {
    const std::string name = kBases[id - kFirstButton] + set + state_of(main, id);
    const int wrong = wrong_button_pixels(main, id, name);
    if (wrong != 0) bad += name + ": " + std::to_string(wrong) + " pixels differ. ";
  }
  return bad;
}

// Where the hint of a button is drawn, in main window (frame) coordinates:
// its top-left corner. The box is black-edged and white inside.
POINT hint_corner(HWND main, int id) {
  RECT button;
  GetWindowRect(button_of(main, id), &button);
  const int buttonX = button.left - client_to_screen(main, 0, 0).x;
  return {GetSystemMetrics(SM_CXBORDER) + buttonX + 1,
          GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYCAPTION) + 32};
}

// The black top edge of a hint box starting at corner: its length, 0 when
// there is no box.
int hint_edge_length(const Pixels& window, POINT corner) {
  if (window.at(corner.x, corner.y) != 0 || window.at(corner.x, corner.y + 1) != 0) return 0;
  if (window.at(corner.x + 1, corner.y + 1) != 0xFFFFFF) return 0;
  int n = 0;
  while (corner.x + n < window.width && window.at(corner.x + n, corner.y) == 0) ++n;
  return n;
}

// The black left edge of a hint box: the box's height.
int hint_edge_height(const Pixels& window, POINT corner) {
  if (hint_edge_length(window, corner) == 0) return 0;
  int n = 0;
  while (corner.y + n < window.height && window.at(corner.x, corner.y + n) == 0) ++n;
  return n;
}

}  // namespace

TEST(Toolbar, BeforeAnImageOnlyTheFixedCommandsAreEnabledAndPasteFollowsTheClipboard) {
  ASSERT_TRUE(empty_clipboard());
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "toolbar-start"));
  for (int id = kFirstButton; id <= kLastButton; ++id) {
    const bool want = id == IDC_PRM_BUTTON || id == IDC_OPEN_BUTTON || id == IDC_MAKE_ICON_BUTTON ||
                      id == IDC_ABOUT_BUTTON || id == IDC_HELP_BUTTON || id == IDC_EXIT_BUTTON;
    EXPECT_EQ(button_enabled(p.main, id), want) << kBases[id - kFirstButton];
  }
  for (const bool dib : {true, false}) {
    SCOPED_TRACE(dib ? "a DIB on the clipboard" : "the clipboard emptied");
    // A 2 x 2 24-bit DIB, as any program would copy it.
    if (dib) ASSERT_TRUE(put_on_clipboard(CF_DIB, dib_of(make_bmp24(2, 2, [](int, int) { return 0x808080u; }))));
    else ASSERT_TRUE(empty_clipboard());
    repaint(p.main);
    EXPECT_TRUE(wait_until([&] { return button_enabled(p.main, kButtonPaste) == dib; }, 5000));
    const char* bitmap = dib ? "PasteUp" : "PasteIn";
    EXPECT_TRUE(wait_until([&] { return wrong_button_pixels(p.main, kButtonPaste, bitmap) == 0; }, 5000));
  }
  // The image buttons stay off without an image.
  for (int id : kImageButtons) EXPECT_FALSE(button_enabled(p.main, id));
  p.close();
}

TEST(Toolbar, EachWindowsVersionShowsItsButtonSet) {
  const char* ntKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  const char* ninexKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  SavedRegistryValue ntVersion(HKEY_LOCAL_MACHINE, ntKey, "CurrentVersion");
  SavedRegistryValue productName(HKEY_LOCAL_MACHINE, ninexKey, "ProductName");
  ASSERT_TRUE(ntVersion.existed()) << "the prefix should report an NT version";

  struct Case {
    const char* ntVersion;  // null: the value is absent, as on Windows 9x
    const char* product;
    const char* set;
    const char* shot;
  };
  const Case cases[] = {
      {"5.1", nullptr, "X", "toolbar-set-x"},
      {"5.0", nullptr, "8", "toolbar-set-8"},
      {"6.1", nullptr, "", "toolbar-set-plain"},
      {nullptr, "Windows ME", "9", "toolbar-set-9"},
  };
  std::map<std::string, int> hintHeight;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shot);
    if (c.ntVersion) ASSERT_TRUE(ntVersion.set(c.ntVersion));
    else ntVersion.remove();
    if (c.product) ASSERT_TRUE(productName.set(c.product));
    else productName.remove();

    Program p;
    ASSERT_TRUE(start_viewer_ready(p, std::string("toolbar-") + c.shot));
    // Away from the strip, so that no hint covers the view.
    const POINT away = client_to_screen(p.main, 500, 300);
    move_mouse(away.x, away.y);
    settle(p.main);
    std::string bad;
    EXPECT_TRUE(wait_until([&] { return (bad = buttons_off_set(p.main, c.set)).empty(); }, 5000)) << bad;
    // and not those of another set.
    for (const char* other : {"X", "8", "", "9"}) {
      if (std::string(other) != c.set) {
        EXPECT_NE(buttons_off_set(p.main, other), "") << "set '" << other << "'";
      }
    }
    screenshot(c.shot);

    // Held down, the button shows its pressed bitmap; released elsewhere it
    // sends nothing and goes back up.
    const POINT open = button_centre(p.main, kButtonOpen);
    move_mouse(open.x, open.y);
    mouse_button(true);
    const std::string down = std::string("Open") + c.set + "Dn";
    EXPECT_TRUE(wait_until([&] { return wrong_button_pixels(p.main, kButtonOpen, down) == 0; }, 5000)) << down;
    move_mouse(away.x, away.y);
    mouse_button(false);
    const std::string up = std::string("Open") + c.set + "Up";
    EXPECT_TRUE(wait_until([&] { return wrong_button_pixels(p.main, kButtonOpen, up) == 0; }, 5000)) << up;
    EXPECT_EQ(find_window(kOpenDialogTitle, p.pid()), nullptr);

    // The hint font is smaller on the Windows 9x family.
    const POINT prm = button_centre(p.main, kButtonPrm);
    move_mouse(prm.x, prm.y);
    const POINT corner = hint_corner(p.main, kButtonPrm);
    EXPECT_TRUE(wait_until([&] { return (hintHeight[c.set] = hint_edge_height(grab_window(p.main), corner)) > 0; },
                           5000));
    p.close();
  }
  EXPECT_LT(hintHeight["9"], hintHeight["X"]);
  EXPECT_EQ(hintHeight["8"], hintHeight["X"]);
  EXPECT_EQ(hintHeight[""], hintHeight["X"]);
}

TEST_F(ToolbarHint, FollowsTheCursorAndLeavesTheFrameAsItWas) {
  const POINT view = client_to_screen(p.main, 300, 250);
  move_mouse(view.x, view.y);
  settle(p.main);
  const Pixels before = grab_window(p.main);

  // Copy is disabled before an image: it has its hint all the same.
  const POINT copy = button_centre(p.main, IDC_COPY_BUTTON);
  const POINT copyCorner = hint_corner(p.main, IDC_COPY_BUTTON);
  move_mouse(copy.x, copy.y);
  Pixels now;
  ASSERT_TRUE(wait_until([&] {
    now = grab_window(p.main);
    return hint_edge_length(now, copyCorner) > 0;
  }, 5000)) << "no hint under Copy";
  const int copyWidth = hint_edge_length(now, copyCorner);
  EXPECT_GT(copyWidth, 20);
  EXPECT_LT(copyWidth, 130);
  screenshot("toolbar-hint-copy");
  // Moving within the button draws nothing new.
  move_mouse(copy.x + 6, copy.y + 3);
  settle(p.main);
  const Pixels same = grab_window(p.main);
  EXPECT_EQ(count_differences(now, 0, 0, same, 0, 0, now.width, now.height), 0);

  // On to Save Image: the Copy box goes, the Save Image box comes.
  const POINT save = button_centre(p.main, IDC_SAVE_BUTTON);
  const POINT saveCorner = hint_corner(p.main, IDC_SAVE_BUTTON);
  move_mouse(save.x, save.y);
  ASSERT_TRUE(wait_until([&] {
    now = grab_window(p.main);
    return hint_edge_length(now, saveCorner) > 0;
  }, 5000)) << "no hint under Save Image";
  EXPECT_EQ(hint_edge_length(now, copyCorner), 0);
  // What the Copy box covered left of the new box is the frame as it was.
  EXPECT_EQ(count_differences(now, copyCorner.x, copyCorner.y, before, copyCorner.x, copyCorner.y,
                              saveCorner.x - copyCorner.x, 30),
            0);

  // Over the fillers, a disabled button, below the strip and out of the
  // window from Copy in one move (the window hears nothing of the way out):
  // a hint under each button, and the frame exactly as before where none
  // belongs.
  const RECT frame = window_rect(p.main);
  struct Step {
    const char* where;
    POINT at;
    int button;  // 0: no hint
  };
  const Step steps[] = {
      {"the Space filler", client_to_screen(p.main, 600, 10), 0},
      {"Zoom In (disabled)", button_centre(p.main, kButtonZoomIn), kButtonZoomIn},
      {"below the strip", client_to_screen(p.main, 160, 40), 0},
      {"Prm", button_centre(p.main, kButtonPrm), kButtonPrm},
      {"the Gap filler", client_to_screen(p.main, 5, 10), 0},
      {"Copy", copy, IDC_COPY_BUTTON},
      {"above the window", {copy.x, frame.top / 2}, 0},
      {"Copy", copy, IDC_COPY_BUTTON},
      {"right of the window level with the strip", {(frame.right + GetSystemMetrics(SM_CXSCREEN)) / 2, copy.y}, 0},
  };
  for (const Step& step : steps) {
    move_mouse(step.at.x, step.at.y);
    EXPECT_TRUE(wait_until([&] {
      now = grab_window(p.main);
      return step.button ? hint_edge_length(now, hint_corner(p.main, step.button)) > 0
                         : count_differences(now, 0, 0, before, 0, 0, now.width, now.height) == 0;
    }, 5000)) << step.where << (step.button ? ": no hint" : ": a hint left behind");
  }
}

TEST_F(ToolbarHint, ClickErasesItBeforeTheCommandAndADoubleClickRunsItTwice) {
  const std::string path = join(fresh_dir("toolbar-click-files"), "stripes.bmp");
  // Stripes one pixel wide: any zoom changes what lies under the hint.
  ASSERT_TRUE(write_file(path, make_bmp24(300, 120, [](int x, int y) {
                           return (x % 2 ? 0x00C000u : 0xC000C0u) ^ (y % 3 ? 0u : 0x0000FFu);
                         })));
  ASSERT_TRUE(open_at(p, path, "1:1")) << title_of(p.main);

  const POINT zoomIn = button_centre(p.main, kButtonZoomIn);
  const POINT corner = hint_corner(p.main, kButtonZoomIn);
  move_mouse(zoomIn.x, zoomIn.y);
  ASSERT_TRUE(wait_until([&] { return hint_edge_length(grab_window(p.main), corner) > 0; }, 5000));
  click(zoomIn.x, zoomIn.y);
  ASSERT_TRUE(wait_title(p.main, "Kaldero - stripes.bmp [2:1]")) << title_of(p.main);
  // Off the strip: whatever hint is left goes. What stays on the screen must
  // be the image at 2:1, as a fresh paint draws it; pixels the hint kept from
  // before the zoom would show through otherwise.
  const POINT view = client_to_screen(p.main, 500, 300);
  move_mouse(view.x, view.y);
  settle(p.main);
  const Pixels shown = grab_window(p.main);
  repaint(p.main);
  const Pixels fresh = grab_window(p.main);
  EXPECT_EQ(count_differences(shown, corner.x, corner.y, fresh, corner.x, corner.y, 130, 30), 0);
  EXPECT_EQ(hint_edge_length(fresh, corner), 0);

  // A double click is a click and a double-click notification: two steps.
  click(zoomIn.x, zoomIn.y, true);
  EXPECT_TRUE(wait_title(p.main, "Kaldero - stripes.bmp [4:1]")) << title_of(p.main);
  settle(p.main);
  EXPECT_EQ(title_of(p.main), "Kaldero - stripes.bmp [4:1]");
}
