// The short tour that the run command shows without a display: the viewer
// opens the sample photo and the sample icon that the artwork tool draws,
// zooms in and out, and a screenshot of the whole screen is saved at each
// step (as <KALDERO_SHOTS>\tour-NN-step.bmp). The test checks that every step
// shows what it should and leaves its screenshot.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/e2e/harness.h"
#include "tests/e2e/viewer_fixture.h"
#include "tests/e2e/viewer_ui.h"

using namespace e2e;

using Tour = ViewerTest;

namespace {

// The artwork tool's samples: KALDERO_SAMPLES, or their place in the build
// folder beside the programs' (build\win\bin and build\host\artwork\samples).
std::string samples_dir() {
  if (const char* dir = std::getenv("KALDERO_SAMPLES"); dir && *dir) return dir;
  return join(bin_dir(), "..\\..\\host\\artwork\\samples");
}

}  // namespace

TEST_F(Tour, OpensTheSamplePhotoAndIconZoomsAndSavesAScreenshotOfEachStep) {
  const std::string photo = join(samples_dir(), "photo.bmp"), icon = join(samples_dir(), "icon.ico");
  ASSERT_TRUE(file_exists(photo)) << photo;
  ASSERT_TRUE(file_exists(icon)) << icon;
  const POINT away = client_to_screen(p.main, 10, 300);
  move_mouse(away.x, away.y);
  // Saves the screen as the next step and checks that the file is there.
  int steps = 0;
  const auto shot = [&](const std::string& step) {
    settle(p.main);
    char name[64];
    std::snprintf(name, sizeof name, "tour-%02d-%s", ++steps, step.c_str());
    screenshot(name);
    const char* dir = std::getenv("KALDERO_SHOTS");
    if (dir && *dir) {
      EXPECT_TRUE(file_exists(join(dir, std::string(name) + ".bmp"))) << name;
    }
  };
  // Zooms, checks the caption and saves the screen as the next step.
  const auto zoom = [&](int command, int times, const std::string& title, const std::string& step) {
    for (int i = 0; i < times; ++i) command_and_settle(p.main, command);
    EXPECT_EQ(title_of(p.main), title);
    shot(step);
  };
  shot("start");

  ASSERT_TRUE(open_at(p, photo, "1:2")) << title_of(p.main);
  shot("photo-at-1-2");
  zoom(kCmdZoomIn, 1, "Kaldero - photo.bmp [1:1]", "photo-zoomed-in-to-1-1");
  zoom(kCmdZoomIn, 1, "Kaldero - photo.bmp [2:1]", "photo-zoomed-in-to-2-1");
  zoom(kCmdZoomOut, 2, "Kaldero - photo.bmp [1:2]", "photo-zoomed-out-to-1-2");

  // The icon has transparent pixels: the viewer asks for their colour.
  ASSERT_TRUE(open_with_dialog(p, icon));
  HWND colours = wait_window("Color Selection", 10000, p.pid());
  ASSERT_NE(colours, nullptr);
  shot("icon-colour-for-transparent-pixels");
  ASSERT_TRUE(press(colours, IDOK));
  ASSERT_TRUE(wait_title(p.main, "Kaldero - icon.ico [1:1]")) << title_of(p.main);
  shot("icon-at-1-1");
  zoom(kCmdZoomIn, 7, "Kaldero - icon.ico [8:1]", "icon-zoomed-in-to-8-1");
  zoom(kCmdZoomOut, 4, "Kaldero - icon.ico [4:1]", "icon-zoomed-out-to-4-1");
}
