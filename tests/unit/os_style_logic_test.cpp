// The OS family read from the registry, and what it selects.
#include <gtest/gtest.h>

#include <cstring>

#include "frame/os_style_logic.h"

using namespace frame;

TEST(OsStyle, NtVersionsMapToTheirFamilies) {
  EXPECT_EQ(style_from_nt_version("4.0"), 3);
  EXPECT_EQ(style_from_nt_version("5.0"), 4);
  EXPECT_EQ(style_from_nt_version("5.1"), 5);
  EXPECT_EQ(style_from_nt_version("5.2"), 5);  // the "X" set
  EXPECT_EQ(style_from_nt_version("6.0"), 6);
  EXPECT_EQ(style_from_nt_version("6.1"), 6);
  EXPECT_EQ(style_from_nt_version("6.3"), 7);  // newer systems: plain set
  EXPECT_EQ(style_from_nt_version("10.0"), 7);
  EXPECT_EQ(style_from_nt_version(""), 7);
  // A substring test, tested in order: "14.0" contains "4.0".
  EXPECT_EQ(style_from_nt_version("14.0"), 3);
}

TEST(OsStyle, NineXProductNames) {
  EXPECT_EQ(style_from_product_name("Microsoft Windows ME"), 2);
  EXPECT_EQ(style_from_product_name("Microsoft Windows 98"), 1);
  EXPECT_EQ(style_from_product_name("Microsoft Windows 95"), 0);
  EXPECT_EQ(style_from_product_name(""), 0);
  EXPECT_EQ(style_from_product_name(nullptr), 0);
}

TEST(OsStyle, BitmapSetSuffixes) {
  EXPECT_STREQ(bitmap_set_suffix(2), "9");
  EXPECT_STREQ(bitmap_set_suffix(4), "8");
  EXPECT_STREQ(bitmap_set_suffix(5), "X");
  for (int s : {0, 1, 3, 6, 7}) EXPECT_STREQ(bitmap_set_suffix(s), "") << s;
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
