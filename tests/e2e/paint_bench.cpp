// Paint timings of the view for a 1- and a 48-megapixel image at 1:10, 1:2
// and 1:1: the first paint after the zoom that reaches the ratio (the whole
// zoom command from the next ratio, which lays out and repaints the view;
// median of five) and the median of later whole-view repaints. Suites named
// ...Bench are no CTest entries: run it by hand,
//   tests/e2e/run_test.sh <bin> PaintBench.FirstPaintAndRepaintAtEachRatio
// and read the table it prints.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/viewer_ui.h"

using namespace e2e;

namespace {

// Median of several repaints of the whole client area, each waited for.
double repaint_ms(HWND main) {
  std::vector<double> times;
  for (int i = 0; i < 9; ++i) {
    const double start = now_ms();
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    settle(main);
    times.push_back(now_ms() - start);
  }
  return median(times);
}

// The ratio in the caption as a step (0 = 1:1, -9 = 1:10, 1 = 2:1).
int current_step(HWND main) {
  const std::string t = title_of(main);
  const size_t open = t.rfind('[');
  const int a = std::stoi(t.substr(open + 1));
  const int b = std::stoi(t.substr(t.find(':', open) + 1));
  return a == 1 ? 1 - b : a - 1;
}

double send_command_ms(HWND main, int command) {
  const double start = now_ms();
  command_and_settle(main, command, 60000);
  return now_ms() - start;
}

// Zooms in up to step; then the median of five zooms that arrive at it from
// the step below (from above at 1:10, below which Zoom Out does nothing).
double first_paint_ms(HWND main, int step) {
  for (int guard = 0; guard < 30 && current_step(main) < step; ++guard) send_command_ms(main, kCmdZoomIn);
  const int away = step <= -9 ? kCmdZoomIn : kCmdZoomOut;
  const int back = step <= -9 ? kCmdZoomOut : kCmdZoomIn;
  std::vector<double> times;
  for (int i = 0; i < 5; ++i) {
    send_command_ms(main, away);
    times.push_back(send_command_ms(main, back));
  }
  return median(times);
}

void measure(int w, int h, const char* label) {
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "paint-bench"));
  const std::string path = join(fresh_dir("paint-bench-files"), "bench.bmp");
  ASSERT_TRUE(write_file(path, make_bmp24(w, h, [](int x, int y) {
                           return static_cast<uint32_t>(x * 2654435761u ^ y * 40503u) & 0xFFFFFF;
                         })));
  // A low window makes the image open below 1:10, so that every ratio is
  // reached by zooming in; then the window gets its size back.
  RECT client;
  GetClientRect(p.main, &client);
  set_client_size(p.main, client.right, h / 12 + 37);
  double start = now_ms();
  ASSERT_TRUE(open_with_dialog(p, path));
  ASSERT_TRUE(wait_until([&] { return title_of(p.main).find("bench.bmp [") != std::string::npos; }, 60000));
  settle(p.main);
  std::printf("%s %dx%d: opened in %.0f ms (dialog included)\n", label, w, h, now_ms() - start);
  set_client_size(p.main, client.right, client.bottom);
  for (int step : {-9, -1, 0}) {
    const double first = first_paint_ms(p.main, step);
    ASSERT_EQ(current_step(p.main), step);
    const std::string ratio = title_of(p.main).substr(title_of(p.main).rfind('['));
    std::printf("  %-7s first paint (zoom) %6.1f ms (median of 5), repaint %6.1f ms (median of 9)\n", ratio.c_str(), first,
                repaint_ms(p.main));
  }
  p.close();
  DeleteFileA(path.c_str());
}

}  // namespace

TEST(PaintBench, FirstPaintAndRepaintAtEachRatio) {
  measure(1000, 1000, "1 MP");
  measure(8000, 6000, "48 MP");
}
