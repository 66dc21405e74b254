// What a reduced view shows is what one direct transfer of the image draws,
// however the view came to be painted: after a zoom, a scroll, a hint over
// the image, an uncovered area, a new file and a display change. The driver
// draws the reference itself, with the same transfer, in a window of its own
// laid over the view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/bytes.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/viewer/resource.h"

using namespace e2e;

namespace {

struct ViewImage {
  std::vector<uint8_t> file;
  const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(file.data() + 14); }
  const void* bits() const { return file.data() + fmt::get_u32le(&file[10]); }
  int width() const { return static_cast<int>(fmt::get_u32le(&file[18])); }
  int height() const { return static_cast<int>(fmt::get_u32le(&file[22])); }
};

uint32_t noise(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t v = x * 0x9E3779B1u ^ (y + seed) * 0x85EBCA77u;
  v ^= v >> 15;
  return v * 0x2C1B3C6Du;
}

// Pixels that differ from their neighbours everywhere, so that a pixel taken
// from the wrong place shows.
ViewImage noisy_image(int w, int h, int bits, uint32_t seed) {
  if (bits == 24) return {make_bmp24(w, h, [&](int x, int y) { return noise(x, y, seed) & 0xFFFFFFu; })};
  std::vector<uint32_t> palette(256);
  for (uint32_t i = 0; i < 256; ++i) palette[i] = noise(i, 7, seed) & 0xFFFFFFu;
  const int stride = (w + 3) / 4 * 4;
  std::vector<uint8_t> rows(static_cast<size_t>(stride) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) rows[static_cast<size_t>(y) * stride + x] = static_cast<uint8_t>(noise(x, y, seed) >> 24);
  return {make_bmp(w, h, 8, palette, rows)};
}

// The ratio of the caption as a divisor: "[1:z]".
int reduction(HWND main) {
  const std::string t = title_of(main);
  return std::stoi(t.substr(t.rfind(':') + 1));
}

RECT view_on_screen(HWND main) {
  RECT client;
  GetClientRect(main, &client);
  const int right = client.right - (shown(vertical_bar(main)) ? GetSystemMetrics(SM_CXVSCROLL) : 0);
  const int bottom = client.bottom - (shown(horizontal_bar(main)) ? GetSystemMetrics(SM_CYHSCROLL) : 0);
  const POINT tl = client_to_screen(main, 0, kStrip);
  return {tl.x, tl.y, tl.x + right, tl.y + bottom - kStrip};
}

Pixels grab(const RECT& r) { return grab_screen(r.left, r.top, r.right - r.left, r.bottom - r.top); }

void pump_messages() {
  for (int i = 0; i < 5; ++i) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    Sleep(20);
  }
}

// The view as a direct transfer draws it, in a window of the driver over the
// view; the window goes again, uncovering the whole view of the viewer.
Pixels direct_paint(HWND main, const ViewImage& image) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "DirectPaintReference";
    return RegisterClassA(&wc) != 0;
  }();
  if (!registered) return {};
  const RECT r = view_on_screen(main);
  const int z = reduction(main);
  const int scrollX = shown(horizontal_bar(main)) ? scroll_pos(horizontal_bar(main)) : 0;
  const int scrollY = shown(vertical_bar(main)) ? scroll_pos(vertical_bar(main)) : 0;
  HWND over = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "DirectPaintReference", "", WS_POPUP | WS_VISIBLE,
                              r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  UpdateWindow(over);
  HDC dc = GetDC(over);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, -scrollX / z, -scrollY / z, image.width() / z, image.height() / z, 0, 0, image.width(),
                image.height(), image.bits(), image.info(), DIB_RGB_COLORS, SRCCOPY);
  ReleaseDC(over, dc);
  GdiFlush();
  pump_messages();
  const Pixels reference = grab(r);
  DestroyWindow(over);
  pump_messages();
  return reference;
}

// The view equals a direct paint as it stands, once the driver's window has
// uncovered it again, and after a strip of it (not on tile edges) is painted
// again on its own.
void expect_direct_paint(HWND main, const ViewImage& image, const std::string& when) {
  settle(main);
  const RECT r = view_on_screen(main);
  const Pixels shown_now = grab(r);
  const Pixels reference = direct_paint(main, image);
  ASSERT_EQ(reference.width, shown_now.width) << when;
  const int w = reference.width, h = reference.height;
  EXPECT_EQ(count_differences(shown_now, 0, 0, reference, 0, 0, w, h), 0) << when;
  settle(main);
  EXPECT_EQ(count_differences(grab(r), 0, 0, reference, 0, 0, w, h), 0) << when << ", uncovered";
  RECT strip{37, kStrip + 45, 37 + 91, kStrip + 45 + 61};
  RedrawWindow(main, &strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  settle(main);
  EXPECT_EQ(count_differences(grab(r), 0, 0, reference, 0, 0, w, h), 0) << when << ", strip painted again";
}

// Shows the Copy hint over the top of the view, then moves into the view.
void hint_over_the_image(HWND main) {
  const RECT r = view_on_screen(main);
  const Pixels before = grab(r);
  const POINT copy = button_centre(main, IDC_COPY_BUTTON);
  move_mouse(copy.x, copy.y);
  EXPECT_TRUE(wait_until([&] { return count_differences(grab(r), 0, 0, before, 0, 0, before.width, 40) > 0; }, 5000))
      << "no hint over the image";
  move_mouse((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  settle(main);
}

void repaints_equal_direct_paint(int bits) {
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "reduced-view"));
  const std::string dir = fresh_dir("reduced-view-files");
  // In a 480 x 360 client area a 6000 x 4500 image would need 1:14: it opens
  // at 1:10, the lowest ratio, and has both bars at 1:10 and at 1:2.
  set_client_size(p.main, 480, 360);
  const ViewImage first = noisy_image(6000, 4500, bits, 1);
  const ViewImage second = noisy_image(6000, 4500, bits, 2);
  ASSERT_TRUE(write_file(join(dir, "first.bmp"), first.file));
  ASSERT_TRUE(write_file(join(dir, "second.bmp"), second.file));
  ASSERT_TRUE(open_at(p, join(dir, "first.bmp"), "1:10", 30000)) << title_of(p.main);
  const POINT away = client_to_screen(p.main, 240, 200);
  move_mouse(away.x, away.y);
  expect_direct_paint(p.main, first, "opened at 1:10");
  // A new file of the same size at the same ratio must not show through
  // what was kept of the old one.
  ASSERT_TRUE(open_at(p, join(dir, "second.bmp"), "1:10", 30000)) << title_of(p.main);
  move_mouse(away.x, away.y);
  expect_direct_paint(p.main, second, "a new file opened at 1:10");

  scroll_view(p.main, false, SB_PAGERIGHT, 3);
  scroll_view(p.main, true, SB_PAGEDOWN, 3);
  expect_direct_paint(p.main, second, "scrolled at 1:10");
  hint_over_the_image(p.main);
  expect_direct_paint(p.main, second, "hint at 1:10");

  // A zoom over a large image takes a while at the small ratios.
  for (int i = 0; i < 8; ++i) command_and_settle(p.main, kCmdZoomIn, 30000);
  ASSERT_EQ(title_of(p.main), "Kaldero - second.bmp [1:2]");
  expect_direct_paint(p.main, second, "zoomed in to 1:2");
  scroll_view(p.main, false, SB_PAGERIGHT, 40);
  scroll_view(p.main, true, SB_PAGEDOWN, 40);
  expect_direct_paint(p.main, second, "scrolled at 1:2");
  hint_over_the_image(p.main);
  expect_direct_paint(p.main, second, "hint at 1:2");
  HDC screenDc = GetDC(nullptr);
  const int depth = GetDeviceCaps(screenDc, BITSPIXEL);
  ReleaseDC(nullptr, screenDc);
  screenshot("reduced-view-1-2-image-" + std::to_string(bits) + "-screen-" + std::to_string(depth));
  DWORD_PTR result;
  SendMessageTimeoutA(p.main, WM_DISPLAYCHANGE, static_cast<WPARAM>(depth),
                      MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)), SMTO_NORMAL, 10000,
                      &result);
  expect_direct_paint(p.main, second, "display changed at 1:2");
  p.close();
}

}  // namespace

// Images of 8 bits or fewer are kept with their colour table, others in 32 bits.
TEST(ReducedView, EveryRepaintEqualsADirectPaint) {
  for (int bits : {24, 8}) {
    SCOPED_TRACE(std::to_string(bits) + "-bit image");
    repaints_equal_direct_paint(bits);
  }
}

TEST(ReducedViewOnDepth8, EveryRepaintEqualsADirectPaint) {
  for (int bits : {8, 24}) {
    SCOPED_TRACE(std::to_string(bits) + "-bit image");
    repaints_equal_direct_paint(bits);
  }
}
