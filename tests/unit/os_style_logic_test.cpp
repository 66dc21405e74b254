// The OS family read from the registry, and what it selects.
#include <gtest/gtest.h>

#include "frame/os_style_logic.h"
#include "tests/unit/windows_registries.h"

using namespace frame;

// What the viewer shows on each Windows, read from what that system stores:
// the NT key's version decides when it can be read, else the 9x product
// name; Vista and later (6.0 and above) take the plain set.
TEST(OsStyle, EachWindowsGetsTheViewersButtonSetAndHintFont) {
  using registry_samples::kUnchanged;
  const registry_samples::Expected table[] = {
      {"Windows 95", 0, ""},
      {"Windows 98", 1, ""},
      {"Windows 98 SE", 1, ""},
      {"Windows 98 SE with an NT key left by an installer", 1, ""},
      {"Windows ME", 2, "9"},
      {"Windows NT 4.0", 3, ""},
      {"Windows 2000", 4, "8"},
      {"Windows XP", 5, "X"},
      {"Windows Vista", 6, ""},
      {"Windows 7", 6, ""},
      {"Windows 10", 7, ""},
      {"no readable version key", kUnchanged, ""},
  };
  registry_samples::expect_each_windows(table, nullptr, bitmap_set_suffix,
                                        [](const registry_samples::Expected& row, int style) {
                                          // The NT family draws its English hints one size larger.
                                          EXPECT_EQ(hint_font(false, style).height, row.style >= 3 ? 14 : 12);
                                        });
  // Contains is a substring test, tried in order: "14.0" holds "4.0".
  EXPECT_EQ(style_from_nt_version("14.0"), 3);
}

TEST(OsStyle, HintFontFollowsLanguageAndFamily) {
  HintFont f = hint_font(false, 1);
  EXPECT_EQ(f.height, 12);
  EXPECT_EQ(f.offsetX, 0);
  EXPECT_EQ(f.offsetY, -1);
  EXPECT_EQ(f.charset, 255);
  EXPECT_STREQ(f.face, "Helv");
  f = hint_font(false, 5);
  EXPECT_EQ(f.height, 14);
  EXPECT_EQ(f.offsetX, 1);
  EXPECT_EQ(f.extraWidth, 2);
  f = hint_font(true, 5);
  EXPECT_EQ(f.height, 12);
  EXPECT_EQ(f.charset, 128);
  EXPECT_EQ(f.extraWidth, 1);
  EXPECT_EQ(f.offsetY, 0);
  EXPECT_STREQ(f.face, "ＭＳゴシック");
}
