// Time of an open, from the open dialog's return to the first paint of the
// image and to the end of the command, against one bare ReadFile of the same
// file into a global block in the same run. Not part of the test run (its
// suite ends in Bench): run it by hand,
//   tests/e2e/run_test.sh <bin> OpenBench.OpenIsCloseToReading
// and read the table it prints.
#include <gtest/gtest.h>

#include <cstdio>
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

struct OpenTimes {
  std::vector<double> start, paint, done;
};

void measure(const char* label, const std::vector<uint8_t>& bytes) {
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
  OpenTimes t;
  const std::vector<uint8_t> text = read_file(log);
  std::string all(text.begin(), text.end());
  for (size_t at = 0; at < all.size();) {
    double start = 0, paint = 0, done = 0;
    if (std::sscanf(all.c_str() + at, "start %lf paint %lf done %lf", &start, &paint, &done) == 3) {
      t.start.push_back(start);
      t.paint.push_back(paint);
      t.done.push_back(done);
    }
    const size_t nl = all.find('\n', at);
    at = nl == std::string::npos ? all.size() : nl + 1;
  }
  ASSERT_EQ(t.paint.size(), 5u);
  const double r = median(bare), sm = median(t.start), pm = median(t.paint), dm = median(t.done);
  std::printf("%s (%u bytes), medians of 5: bare ReadFile %.0f ms; from the dialog's return to the first paint "
              "of the image %.0f ms (%.1fx), to its end %.0f ms (%.1fx), to the end of the command %.0f ms (%.1fx)\n",
              label, static_cast<unsigned>(bytes.size()), r, sm, sm / r, pm, pm / r, dm, dm / r);
  DeleteFileA(path.c_str());
}

}  // namespace

TEST(OpenBench, OpenIsCloseToReading) {
  measure("24-bit 8000x6000", make_bmp24(8000, 6000, [](int x, int y) {
            return static_cast<uint32_t>(x * 2654435761u ^ y * 40503u) & 0xFFFFFF;
          }));
  std::vector<uint32_t> grey(256);
  for (uint32_t i = 0; i < 256; ++i) grey[i] = i * 0x010101u;
  std::vector<uint8_t> rows(static_cast<size_t>(8000) * 6000);
  for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(i * 7 + i / 8000);
  measure("8-bit 8000x6000", make_bmp(8000, 6000, 8, grey, rows));
}
