// Timings of the viewer, not part of the test run (their suites end in
// Bench and are no CTest entries): run one by hand and read the table it
// prints,
//   tests/e2e/run_test.sh <bin> OpenBench.OpenIsCloseToReading
// the time of an open, from the open dialog's return to the first paint of
// the image and to the end of the command, against one bare ReadFile of the
// same file into a global block in the same run;
//   tests/e2e/run_test.sh <bin> PaintBench.FirstPaintAndRepaintAtEachRatio
// paint timings of the view for a 1- and a 48-megapixel image at 1:10, 1:2
// and 1:1: the first paint after the zoom that reaches the ratio (the whole
// zoom command from the next ratio, which lays out and repaints the view;
// median of five) and the median of later whole-view repaints.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/viewer_ui.h"

using namespace e2e;

namespace {

// What the program cannot beat: open, one ReadFile into a movable global
// block, close and free.
double bare_read_ms(const std::string& path) {
  const double start = now_ms();
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return -1;
  const DWORD size = GetFileSize(f, nullptr);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  void* p = block ? GlobalLock(block) : nullptr;
  DWORD got = 0;
  const bool ok = p && ReadFile(f, p, size, &got, nullptr) && got == size;
  const double ms = now_ms() - start;
  if (p) GlobalUnlock(block);
  if (block) GlobalFree(block);
  CloseHandle(f);
  return ok ? ms : -1;
}

void measure_open(const char* label, const std::vector<uint8_t>& bytes) {
  const std::string dir = fresh_dir("open-bench-files");
  const std::string path = join(dir, "bench.bmp");
  const std::string log = join(dir, "timing.txt");
  ASSERT_TRUE(write_file(path, bytes));
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "open-bench", {{"KALDERO_OPEN_TIMING", log}}));
  std::vector<double> bare;
  for (int i = 0; i < 5; ++i) {
    // Alternate so that both see the same state of the file cache.
    bare.push_back(bare_read_ms(path));
    const size_t lines_before = read_file(log).size();
    ASSERT_TRUE(open_with_dialog(p, path));
    ASSERT_TRUE(wait_until([&] { return read_file(log).size() > lines_before; }, 60000));
    settle(p.main);
  }
  p.close();
  std::vector<double> starts, paints, dones;
  const std::vector<uint8_t> text = read_file(log);
  std::istringstream lines(std::string(text.begin(), text.end()));
  for (std::string line; std::getline(lines, line);) {
    double start = 0, paint = 0, done = 0;
    if (std::sscanf(line.c_str(), "start %lf paint %lf done %lf", &start, &paint, &done) != 3) continue;
    starts.push_back(start);
    paints.push_back(paint);
    dones.push_back(done);
  }
  ASSERT_EQ(paints.size(), 5u);
  const double r = median(bare), sm = median(starts), pm = median(paints), dm = median(dones);
  std::printf("%s (%u bytes), medians of 5: bare ReadFile %.0f ms; from the dialog's return to the first paint "
              "of the image %.0f ms (%.1fx), to its end %.0f ms (%.1fx), to the end of the command %.0f ms (%.1fx)\n",
              label, static_cast<unsigned>(bytes.size()), r, sm, sm / r, pm, pm / r, dm, dm / r);
  DeleteFileA(path.c_str());
}

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

void measure_paint(int w, int h, const char* label) {
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
  ASSERT_GT(open_reduced(p, path, 60000), 0) << title_of(p.main);
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

TEST(OpenBench, OpenIsCloseToReading) {
  measure_open("24-bit 8000x6000", make_bmp24(8000, 6000, [](int x, int y) {
            return static_cast<uint32_t>(x * 2654435761u ^ y * 40503u) & 0xFFFFFF;
          }));
  std::vector<uint32_t> grey(256);
  for (uint32_t i = 0; i < 256; ++i) grey[i] = i * 0x010101u;
  std::vector<uint8_t> rows(static_cast<size_t>(8000) * 6000);
  for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(i * 7 + i / 8000);
  measure_open("8-bit 8000x6000", make_bmp(8000, 6000, 8, grey, rows));
}

TEST(PaintBench, FirstPaintAndRepaintAtEachRatio) {
  measure_paint(1000, 1000, "1 MP");
  measure_paint(8000, 6000, "48 MP");
}
