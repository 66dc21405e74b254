// Time of one paint of the view for a small and a large image at several
// ratios. Not a CTest entry (the file is no *_test.cpp): run it by hand,
//   tests/e2e/run_test.sh <bin> PaintBench.OnePaintAtEachRatio
// and read the table it prints.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/viewer_ui.h"

using namespace e2e;

namespace {

double now_ms() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Median of several whole-window repaints, each waited for.
double paint_ms(HWND main) {
  std::vector<double> times;
  for (int i = 0; i < 9; ++i) {
    const double start = now_ms();
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    settle(main);
    times.push_back(now_ms() - start);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Zooms to the ratio given as a step (0 = 1:1, -9 = 1:10, 1 = 2:1).
int current_step(HWND main) {
  const std::string t = title_of(main);
  const size_t open = t.rfind('[');
  const int a = std::stoi(t.substr(open + 1));
  const int b = std::stoi(t.substr(t.find(':', open) + 1));
  return a == 1 ? 1 - b : a - 1;
}

void zoom_to(HWND main, int step) {
  for (int guard = 0; guard < 30 && current_step(main) != step; ++guard)
    command_and_settle(main, current_step(main) < step ? kCmdZoomIn : kCmdZoomOut);
}

void measure(int w, int h, const char* label) {
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "paint-bench"));
  const std::string path = join(fresh_dir("paint-bench-files"), "bench.bmp");
  ASSERT_TRUE(write_file(path, make_bmp24(w, h, [](int x, int y) {
                           return static_cast<uint32_t>(x * 2654435761u ^ y * 40503u) & 0xFFFFFF;
                         })));
  double start = now_ms();
  ASSERT_TRUE(open_with_dialog(p, path));
  ASSERT_TRUE(wait_until([&] { return title_of(p.main).find("bench.bmp [") != std::string::npos; }, 60000));
  settle(p.main);
  std::printf("%s %dx%d: opened in %.0f ms at %s\n", label, w, h, now_ms() - start,
              title_of(p.main).substr(title_of(p.main).rfind('[')).c_str());
  for (int step : {-9, -1, 0, 1}) {
    zoom_to(p.main, step);
    ASSERT_EQ(current_step(p.main), step);
    // The middle of the image, so that it covers the view on every side.
    RECT client;
    GetClientRect(p.main, &client);
    HWND hBar = horizontal_bar(p.main), vBar = vertical_bar(p.main);
    if (shown(hBar)) {
      for (int i = 0; i < 3; ++i) {
        start = now_ms();
        DWORD_PTR r;
        SendMessageTimeoutA(p.main, WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0), reinterpret_cast<LPARAM>(hBar),
                            SMTO_NORMAL, 60000, &r);
      }
      std::printf("  %s one page scroll %.1f ms\n", title_of(p.main).substr(title_of(p.main).rfind('[')).c_str(),
                  now_ms() - start);
    }
    (void)vBar;
    std::printf("  %s paint %.1f ms (median of 9)\n", title_of(p.main).substr(title_of(p.main).rfind('[')).c_str(),
                paint_ms(p.main));
  }
  p.close();
  DeleteFileA(path.c_str());
}

}  // namespace

TEST(PaintBench, OnePaintAtEachRatio) {
  measure(1000, 1000, "1 MP");
  measure(8000, 6000, "48 MP");
}
