// The capture program's own start-up rules: OS style, button set, window
// sizes, the INI position and the wallpapers it takes off.
#include "capture/app/startup_logic.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "tests/unit/windows_registries.h"

using namespace capture;

// What the capture program shows on each Windows: its own reading of the NT
// version (no 5.1 or 5.2 test, so XP and every version it does not know,
// 10 included, take the "X" set, as Vista and 7 do), the shared 9x fallback.
TEST(CaptureStyle, EachWindowsGetsTheCaptureProgramsButtonSet) {
  const registry_samples::Expected table[] = {
      {"Windows 95", 0, ""},
      {"Windows 98", 1, ""},
      {"Windows 98 SE", 1, ""},
      {"Windows 98 SE with an NT key left by an installer", 1, ""},
      {"Windows ME", 2, "9"},
      {"Windows NT 4.0", 3, ""},
      {"Windows 2000", 4, "8"},
      {"Windows XP", 5, "X"},
      {"Windows Vista", 6, "X"},
      {"Windows 7", 7, "X"},
      {"Windows 10", 5, "X"},
      {"no readable version key", registry_samples::kUnchanged, ""},
  };
  registry_samples::expect_each_windows(table, style_from_nt_version, bitmap_set_suffix,
                                        [](const registry_samples::Expected&, int) {});
}

TEST(CapturePosition, IniValuesAreClampedSoTheWindowStaysOnTheScreen) {
  // 1024 x 768, SM_CYMIN 27, SM_CYMENU 19: base height 67, window 135 x 83.
  const MainSizes s = main_sizes(1024, 768, 27, 19);
  EXPECT_EQ(s.baseHeight, 67);
  EXPECT_EQ(s.maxX, 1024 - 135);
  EXPECT_EQ(s.maxY, 768 - 67 - 16);
  struct Case {
    const char* x;
    const char* y;
    int expectX, expectY;
  };
  const Case cases[] = {
      {"100", "200", 100, 200},
      {"0", "0", 0, 0},
      {"889", "685", 889, 685},      // the last positions that fit
      {"890", "686", 889, 685},
      {"99999", "99999", 889, 685},  // far off the screen
      {"-40", "-1", 0, 0},           // negative values become 0
      {"", "abc", 0, 0},             // unreadable: 0
      {"12px", "3 4", 12, 3},        // the leading number counts
      {"+7", "0x10", 7, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(clamp(leading_number(c.x), 0, s.maxX), c.expectX) << c.x;
    EXPECT_EQ(clamp(leading_number(c.y), 0, s.maxY), c.expectY) << c.y;
  }
  // Numbers beyond int stop at its limits instead of wrapping round.
  EXPECT_EQ(leading_number("99999999999"), INT_MAX);
  EXPECT_EQ(leading_number("-99999999999"), INT_MIN);
  // A screen narrower than the window: the window starts at its left edge.
  const MainSizes tiny = main_sizes(100, 60, 27, 19);
  EXPECT_EQ(clamp(50, 0, tiny.maxX), 0);
  EXPECT_EQ(clamp(50, 0, tiny.maxY), 0);
}

TEST(CaptureWallpaper, OnlyBmpFilesAreTakenOff) {
  struct Case {
    const char* path;
    bool bmp;
  };
  const Case cases[] = {
      {"C:\\windows\\clouds.bmp", true}, {"C:\\windows\\CLOUDS.BMP", true}, {"C:\\w\\x.Bmp", true},
      {"C:\\photos\\beach.jpg", false},  {"C:\\my.bmp\\beach.jpg", false}, {"", false},
      {"bmp", false},                    {".bmp", true},
  };
  for (const Case& c : cases) EXPECT_EQ(is_bmp_wallpaper(c.path), c.bmp) << c.path;
  EXPECT_FALSE(is_bmp_wallpaper(nullptr));
}
