#include "viewer/app/kept_picture_logic.h"

#include <gtest/gtest.h>

#include <utility>

using namespace viewer;

TEST(KeptPicture, KeptOnlyForReducedRatiosWithinTheMemoryCap) {
  struct Case {
    int step;
    long long w, h;
    bool kept;
  } cases[] = {
      {0, 800, 600, false},    // 1:1 costs the visible area already
      {3, 800, 600, false},    // magnified
      {-1, 4000, 3000, true},  // 48 megapixels at 1:2: 48 MB
      {-9, 800, 600, true},
      {-1, 4096, 4096, true},  // exactly the cap
      {-1, 4096, 4097, false},
      {-1, 0, 600, false},
      {-1, 800, 0, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(keeps_reduced_picture(c.step, c.w, c.h), c.kept) << c.step << " " << c.w << "x" << c.h;
}

TEST(KeptPicture, PaintedPartIsTheUpdateWithinThePicture) {
  struct Case {
    PixelRect update;
    long long ox, oy, w, h;
    PixelRect part;
  } cases[] = {
      {{0, 20, 400, 300}, 0, 20, 1000, 800, {0, 0, 400, 280}},        // top-left corner of the picture
      {{0, 20, 400, 300}, -150, -30, 1000, 800, {150, 50, 550, 330}},  // scrolled
      {{0, 20, 400, 300}, 0, 20, 100, 50, {0, 0, 100, 50}},           // small picture: background around it
      {{10, 30, 20, 40}, -995, 20, 1000, 800, {1005, 10, 1000, 20}},  // entirely right of the picture: empty
      {{50, 60, 70, 80}, 0, 20, 1000, 800, {50, 40, 70, 60}},         // a strip uncovered in the middle
  };
  for (const Case& c : cases) {
    const PixelRect p = picture_part(c.update, c.ox, c.oy, c.w, c.h);
    if (c.part.empty()) {
      EXPECT_TRUE(p.empty());
      continue;
    }
    EXPECT_EQ(p.left, c.part.left);
    EXPECT_EQ(p.top, c.part.top);
    EXPECT_EQ(p.right, c.part.right);
    EXPECT_EQ(p.bottom, c.part.bottom);
  }
}

TEST(KeptPicture, TilesCoverThePartAndNoMore) {
  const PixelRect parts[] = {{0, 0, 1, 1}, {0, 0, 128, 128}, {127, 127, 129, 129}, {300, 5, 301, 900},
                             {1000, 2000, 3999, 2999}};
  for (const PixelRect& p : parts) {
    const TileRange t = tiles_of(p);
    EXPECT_LE(t.x0 * kKeptTile, p.left);
    EXPECT_GT((t.x0 + 1) * kKeptTile, p.left);
    EXPECT_GE(t.x1 * kKeptTile, p.right);
    EXPECT_LT((t.x1 - 1) * kKeptTile, p.right);
    EXPECT_LE(t.y0 * kKeptTile, p.top);
    EXPECT_GT((t.y0 + 1) * kKeptTile, p.top);
    EXPECT_GE(t.y1 * kKeptTile, p.bottom);
    EXPECT_LT((t.y1 - 1) * kKeptTile, p.bottom);
  }
  const TileRange none = tiles_of({5, 5, 5, 9});
  EXPECT_EQ(none.x1 - none.x0, 0);
  for (const auto& [side, tiles] : {std::pair{1, 1}, {128, 1}, {129, 2}}) EXPECT_EQ(tile_count(side), tiles) << side;
}
