// Opening BMP files through the real open dialog.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"

using namespace e2e;

namespace {

constexpr int kOpen = 101;
const char* kOpenTitle = "Select a bitmap or an icon file to open.";

// Runs the open command and types path into the dialog.
void open_through_dialog(Program& p, const std::string& path) {
  post_command(p.main, kOpen);
  HWND dlg = wait_window(kOpenTitle, 10000, p.pid());
  ASSERT_NE(dlg, nullptr) << "no open dialog";
  ASSERT_TRUE(answer_file_dialog(dlg, path));
  const bool closed = wait_until([&] { return !IsWindow(dlg); }, 10000);
  if (!closed) screenshot("open-dialog-stuck");
  ASSERT_TRUE(closed);
}

std::vector<uint8_t> red_blue_bmp(int w, int h) {
  return make_bmp24(w, h, [](int x, int y) { return (x + y) % 2 ? 0xFF0000u : 0x0000FFu; });
}

}  // namespace

TEST(OpenBmp, ShowsTheImageWithNameAndRatioInTheCaption) {
  Program p;
  ASSERT_TRUE(start_viewer(p, "open-bmp"));
  const std::string dir = fresh_dir("open-bmp-files");
  const std::string path = join(dir, "photo.bmp");
  ASSERT_TRUE(write_file(path, make_bmp24(40, 30, [](int x, int y) {
                           return x < 20 ? 0xFF0000u : (y < 15 ? 0x00FF00u : 0x0000FFu);
                         })));
  open_through_dialog(p, path);
  ASSERT_TRUE(wait_until([&] { return title_of(p.main) == "Kaldero - photo.bmp [1:1]"; }))
      << title_of(p.main);
  settle(p.main);
  const Pixels px = grab_client(p.main);
  EXPECT_EQ(px.at(5, 20 + 5), 0xFF0000u);
  EXPECT_EQ(px.at(30, 20 + 5), 0x00FF00u);
  EXPECT_EQ(px.at(30, 20 + 25), 0x0000FFu);
  EXPECT_EQ(px.at(40, 20 + 5), 0xFFFFFFu);  // past the image: the background
  screenshot("open-bmp");
  p.close();
}
