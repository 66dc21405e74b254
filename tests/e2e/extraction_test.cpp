// The colour extraction dialog on real images: choices shown at once,
// Cancel and OK, the one dialog, its place beside the main window, and its
// closing when another file is opened.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/e2e/save_ui.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/viewer/resource.h"

using namespace e2e;

namespace {

constexpr int kCmdExtraction = IDM_EXTRACTION;
constexpr int kChoiceAll = IDC_EXTRACT_RGB, kChoiceRG = IDC_EXTRACT_RG, kChoiceGB = IDC_EXTRACT_GB,
              kChoiceBR = IDC_EXTRACT_BR, kChoiceR = IDC_EXTRACT_R, kChoiceG = IDC_EXTRACT_G, kChoiceB = IDC_EXTRACT_B;
constexpr const char* kTitle = "Image by Extracted Colors";
constexpr int kW = 120, kH = 80;

// Keeps the channels of 0xRRGGBB that a choice keeps.
uint32_t extracted(uint32_t c, int choice) {
  const uint32_t r = 0xFF0000, g = 0x00FF00, b = 0x0000FF;
  const uint32_t keep[] = {r | g | b, r | g, g | b, b | r, r, g, b};
  return c & keep[choice - kChoiceAll];
}

// Four colours in quarters, none of them grey.
constexpr uint32_t kQuarters[] = {0xC86432, 0x3CB4DC, 0xF0F050, 0x5028A0};
int quarter(int x, int y, int w, int h) { return (x < w / 2 ? 0 : 1) + (y < h / 2 ? 0 : 2); }

std::vector<uint8_t> palette_bmp(int w, int h) {
  std::vector<uint32_t> table(std::begin(kQuarters), std::end(kQuarters));
  table.resize(256, 0x808080);
  return make_bmp(w, h, 8, table, rows_of(w, h, 8, [&](int x, int y) { return quarter(x, y, w, h); }));
}

// The image as shown, w x h from the view's corner.
Pixels view_pixels(HWND main, int w, int h) {
  const POINT corner = client_to_screen(main, 0, kStrip);
  return grab_screen(corner.x, corner.y, w, h);
}

// Pixels of the view's top-left corner that differ from want. A choice
// reaches the main window as a message the dialog posts after its button
// shows the choice, so the view is polled until it matches (3 s at most).
int view_differences(HWND main, const Pixels& want) {
  int n = 0;
  wait_until([&] {
    n = count_differences(view_pixels(main, want.width, want.height), 0, 0, want, 0, 0, want.width, want.height);
    return n == 0;
  }, 3000);
  return n;
}

Pixels extracted(const Pixels& p, int choice) {
  Pixels out = p;
  for (uint32_t& c : out.data) c = extracted(c, choice);
  return out;
}

int checked_choice(HWND dialog) {
  for (int id = kChoiceAll; id <= kChoiceB; ++id)
    if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) return id;
  return 0;
}

// Leaves the dialog by a button and waits for the main window to repaint.
void leave(Program& p, HWND dialog, int id) {
  click_child(dialog, id);
  ASSERT_TRUE(wait_until([&] { return !IsWindow(dialog); }));
  settle(p.main);
}

// Chooses with the mouse and waits for the view to show it.
void choose(Program& p, HWND dialog, int id) {
  // A dialog that has just opened may still be moving to its place beside
  // the main window: a click aimed at the old place is tried again.
  for (int attempt = 0; attempt < 3 && checked_choice(dialog) != id; ++attempt) {
    click_child(dialog, id);
    wait_until([&] { return checked_choice(dialog) == id; }, 2000);
  }
  settle(p.main);
}

int count_dialogs(DWORD pid) {
  int n = 0;
  HWND w = nullptr;
  while ((w = FindWindowExA(nullptr, w, nullptr, kTitle)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && IsWindowVisible(w)) ++n;
  }
  return n;
}

}  // namespace

TEST(Extraction, PaletteImagePreviewCancelOkAndOneDialog) {
  Program p;
  const std::string dir = show_file(p, "extract-palette", "quarters.bmp", palette_bmp(kW, kH));
  ASSERT_FALSE(dir.empty());
  settle(p.main);
  const Pixels loaded = view_pixels(p.main, kW, kH);
  ASSERT_EQ(loaded.at(5, 5), 0xC86432u);

  HWND dlg = command_dialog(p, kCmdExtraction, kTitle);
  ASSERT_NE(dlg, nullptr);
  // Beside the main window's right edge, below its caption (a dialog that has
  // just opened may still be moving there); no close box.
  RECT m{}, d{};
  const bool placed = wait_until([&] {
    GetWindowRect(p.main, &m);
    GetWindowRect(dlg, &d);
    return d.right == m.right - 8 && d.top == m.top + GetSystemMetrics(SM_CYCAPTION) + 28;
  }, 3000);
  EXPECT_TRUE(placed) << "right " << d.right << " top " << d.top << " beside " << m.right << ", " << m.top;
  EXPECT_EQ(GetWindowLongA(dlg, GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_EQ(checked_choice(dlg), kChoiceAll);

  choose(p, dlg, kChoiceR);
  EXPECT_EQ(view_differences(p.main, extracted(loaded, kChoiceR)), 0);
  screenshot("extraction-red");
  // The choices never add up: each starts from the loaded colours.
  for (const int id : {kChoiceGB, kChoiceB, kChoiceRG, kChoiceBR, kChoiceG}) {
    choose(p, dlg, id);
    EXPECT_EQ(view_differences(p.main, extracted(loaded, id)), 0) << id;
  }
  leave(p, dlg, IDCANCEL);
  EXPECT_EQ(view_differences(p.main, loaded), 0);

  // OK keeps the choice; the dialog comes back with it.
  dlg = command_dialog(p, kCmdExtraction, kTitle);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(checked_choice(dlg), kChoiceAll);
  choose(p, dlg, kChoiceRG);
  leave(p, dlg, IDOK);
  const Pixels kept = extracted(loaded, kChoiceRG);
  EXPECT_EQ(view_differences(p.main, kept), 0);
  // Copy takes the image as it is shown now.
  command_and_settle(p.main, kCmdCopy);
  const std::vector<uint8_t> dib = clipboard_data(CF_DIB);
  ASSERT_GT(dib.size(), 40u);
  for (const POINT q : {POINT{5, 5}, POINT{kW - 5, 5}, POINT{5, kH - 5}, POINT{kW - 5, kH - 5}})
    EXPECT_EQ(dib_pixel(dib, q.x, q.y), kept.at(q.x, q.y)) << q.x << "," << q.y;
  dlg = command_dialog(p, kCmdExtraction, kTitle);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(checked_choice(dlg), kChoiceRG);
  settle(p.main);
  EXPECT_EQ(view_differences(p.main, kept), 0);
  // Cancel after a preview goes back to the kept choice, not to all colours.
  choose(p, dlg, kChoiceB);
  leave(p, dlg, IDCANCEL);
  EXPECT_EQ(view_differences(p.main, kept), 0);

  // The command again only brings the focus back to the one dialog.
  dlg = command_dialog(p, kCmdExtraction, kTitle);
  ASSERT_NE(dlg, nullptr);
  SetForegroundWindow(p.main);
  SetFocus(p.main);
  command_and_settle(p.main, kCmdExtraction);
  EXPECT_EQ(count_dialogs(p.pid()), 1);
  const HWND focus = gui_thread_of(p.main).hwndFocus;
  EXPECT_TRUE(focus == dlg || IsChild(dlg, focus)) << focus;

  // The dialog follows the vertical scroll bar as it comes and goes.
  GetWindowRect(dlg, &d);
  const int right = d.right;
  for (int i = 0; i < 9 && !shown(vertical_bar(p.main)); ++i) command_and_settle(p.main, kCmdZoomIn);
  ASSERT_TRUE(shown(vertical_bar(p.main)));
  GetWindowRect(dlg, &d);
  EXPECT_EQ(d.right, right - GetSystemMetrics(SM_CXVSCROLL));
  while (shown(vertical_bar(p.main)) && button_enabled(p.main, kButtonZoomOut)) command_and_settle(p.main, kCmdZoomOut);
  GetWindowRect(dlg, &d);
  EXPECT_EQ(d.right, right);

  // A newly opened file closes the dialog and shows all its colours.
  ASSERT_TRUE(write_file(join(dir, "again.bmp"), palette_bmp(kW, kH)));
  ASSERT_TRUE(open_at(p, join(dir, "again.bmp"), "1:1"));
  EXPECT_TRUE(wait_until([&] { return !IsWindow(dlg); }, 3000));
  settle(p.main);
  EXPECT_EQ(view_differences(p.main, loaded), 0);
  dlg = command_dialog(p, kCmdExtraction, kTitle);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(checked_choice(dlg), kChoiceAll);
  p.close();
}

// Images without a colour table: the pixels are rewritten in their own
// layout, and the view shows the kept channels of what it showed before.
// At a reduced ratio the view repaints from a picture it keeps: a choice
// must show there too, on the next repaint as on the first.
TEST(Extraction, DeepImagesAndReducedViewsShowTheKeptChannels) {
  const int w = 7, h = 5;  // 7 pixels: every depth has row padding
  // The stored value of a pixel: 5-bit fields with the unused bit set at
  // 16 bits, 0xRRGGBB with a byte above it at 32.
  auto colour = [&](int x, int y) { return kQuarters[quarter(x, y, w, h)] ^ static_cast<uint32_t>(x * 0x081018); };
  auto deep = [&](int bits, const std::function<uint32_t(int, int)>& value) {
    return make_bmp(w, h, bits, {}, rows_of(w, h, bits, value, false, 0xEE));
  };
  const struct {
    const char* name;
    std::vector<uint8_t> file;
    const char* ratio;
    int shownW, shownH;  // 4:1 for the small ones, within the view at any reduced ratio for the large one
  } images[] = {
      {"16-bit.bmp", deep(16, [&](int x, int y) {
         const uint32_t c = colour(x, y);
         return ((c >> 19 & 31) << 10) | ((c >> 11 & 31) << 5) | (c >> 3 & 31) | 0x8000;
       }), "4:1]", 4 * w, 4 * h},
      {"24-bit.bmp", deep(24, colour), "4:1]", 4 * w, 4 * h},
      {"32-bit.bmp", deep(32, [&](int x, int y) { return colour(x, y) | 0x5A000000u; }), "4:1]", 4 * w, 4 * h},
      {"large.bmp", palette_bmp(1600, 1200), "1:", 200, 150},
  };
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "extract-deep"));
  const std::string dir = fresh_dir("extract-deep-files");
  for (const auto& image : images) {
    SCOPED_TRACE(image.name);
    ASSERT_TRUE(write_file(join(dir, image.name), image.file));
    ASSERT_TRUE(open_with_dialog(p, join(dir, image.name)));
    const std::string name = image.name;
    for (int i = 0; i < 3 && name != "large.bmp"; ++i) command_and_settle(p.main, kCmdZoomIn);
    ASSERT_TRUE(wait_until([&] { return title_of(p.main).rfind("Kaldero - " + name + " [" + image.ratio, 0) == 0; }))
        << title_of(p.main);
    repaint(p.main);
    const Pixels loaded = view_pixels(p.main, image.shownW, image.shownH);
    HWND dlg = command_dialog(p, kCmdExtraction, kTitle);
    ASSERT_NE(dlg, nullptr);
    for (const int id : {kChoiceGB, kChoiceR, kChoiceBR, kChoiceAll}) {
      choose(p, dlg, id);
      EXPECT_EQ(view_differences(p.main, extracted(loaded, id)), 0) << id;
      repaint(p.main);
      EXPECT_EQ(view_differences(p.main, extracted(loaded, id)), 0) << id << " repainted";
    }
    leave(p, dlg, IDOK);
  }
  p.close();
}
