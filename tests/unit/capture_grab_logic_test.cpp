// The icon form record's derived figures, and the area capture's geometry:
// the square around the pointer, the dashed frame's pixels, the orientations
// and the pixels outside the screen.
#include <gtest/gtest.h>

#include <string>

#include "capture/grab/form_logic.h"
#include "capture/grab/grab_logic.h"

namespace {

using capture::GrabPoint;
using capture::IconForm;

TEST(CaptureForm, DerivedFiguresForEverySizeAndColourCount) {
  struct Row {
    int32_t n, colours, half, image, mask;
  };
  const Row rows[] = {
      {16, 16, 7, 192, 64},    {32, 16, 15, 576, 128},    {48, 16, 23, 1216, 384},   {64, 16, 31, 2112, 512},
      {16, 256, 7, 1280, 64},  {32, 256, 15, 2048, 128},  {48, 256, 23, 3328, 384},  {64, 256, 31, 5120, 512},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.n << " x " << r.n << ", " << r.colours << " colours");
    const IconForm f = capture::make_form(r.n, r.colours, capture::kInvertedMirror);
    EXPECT_EQ(f, (IconForm{r.n, r.half, r.image, r.mask, r.colours, capture::kInvertedMirror}));
    // Changing the size after the colour count keeps the colours and follows the new size.
    IconForm g = capture::make_form(r.n == 64 ? 16 : 64, r.colours);
    g.size = r.n;
    capture::recompute_form(g);
    EXPECT_EQ(g, capture::make_form(r.n, r.colours));
    EXPECT_EQ(capture::form_bits(f), r.colours == 256 ? 8 : 4);
  }
  // The record both programs start from.
  EXPECT_EQ(IconForm{}, capture::make_form(32, 16));
  EXPECT_EQ(IconForm{}, (IconForm{32, 15, 576, 128, 16, 0}));
}

TEST(CaptureForm, OnlyTheFourSizesAndTwoColourCountsAreValid) {
  for (int n = -1; n <= 130; ++n)
    EXPECT_EQ(capture::valid_icon_size(n), n == 16 || n == 32 || n == 48 || n == 64) << n;
  for (int c : {0, 2, 15, 16, 17, 24, 255, 256, 257, 65536})
    EXPECT_EQ(capture::valid_colour_count(c), c == 16 || c == 256) << c;
}

TEST(CaptureGrab, SquareOriginPutsThePointerOnPixelHalfSize) {
  struct Row {
    int n, px, py, x0, y0;
  };
  const Row rows[] = {
      {16, 100, 50, 93, 43}, {32, 100, 50, 85, 35}, {48, 100, 50, 77, 27}, {64, 100, 50, 69, 19},
      // Near the top-left corner the square reaches past the screen.
      {32, 0, 3, -15, -12},
  };
  for (const Row& r : rows) {
    const capture::IconForm form = capture::make_form(r.n, 16);
    const GrabPoint o = capture::square_origin({r.px, r.py}, form.halfSize);
    EXPECT_EQ(o, (GrabPoint{r.x0, r.y0})) << r.n;
    // The square reaches halfSize pixels up and left of the pointer and N/2 down and right.
    EXPECT_EQ(r.px - o.x, r.n / 2 - 1);
    EXPECT_EQ(o.x + r.n - 1 - r.px, r.n / 2);
  }
}

// Each edge of the frame as the pixels it paints: '1' once, '2' twice (drawn
// by two dashes, so an inverting frame leaves it as it was), '.' never.
TEST(CaptureGrab, DashPatternOfEachSize) {
  struct Row {
    int n, dashes;
    const char* top;     // row 0, also column 0 read downwards
    const char* bottom;  // row N-1, also column N-1 read downwards (from its top)
  };
  const Row rows[] = {
      {16, 5, "211...111...1111", "111...111...111."},
      {32, 10, "211...111...111...111...111...11", "111...111...111...111...111...1."},
      {48, 15, "211...111...111...111...111...111...111...111..1", "111...111...111...111...111...111...111...111..."},
      {64, 21, "211...111...111...111...111...111...111...111...111...111...1111",
       "111...111...111...111...111...111...111...111...111...111...111."},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.n);
    EXPECT_EQ(capture::dash_count(r.n), r.dashes);
    const auto rects = capture::frame_rects(r.n);
    std::string top, bottom, left, right;
    int inside = 0;
    for (int k = 0; k < r.n; ++k) {
      auto ch = [&](int i, int j) { return static_cast<char>(".12"[capture::frame_hits(rects, i, j)]); };
      top += ch(k, 0);
      bottom += ch(k, r.n - 1);
      left += ch(0, k);
      right += ch(r.n - 1, k);
      for (int j = 1; j < r.n - 1; ++j)
        if (k > 0 && k < r.n - 1) inside += capture::frame_hits(rects, k, j);
    }
    EXPECT_EQ(top, r.top);
    EXPECT_EQ(left, r.top);
    EXPECT_EQ(bottom, r.bottom);
    EXPECT_EQ(right, r.bottom);
    EXPECT_EQ(inside, 0);
    // The rows come first, then the columns: a dash is one pixel thick.
    for (const auto& rc : rects) EXPECT_TRUE(rc.w == 1 || rc.h == 1);
    EXPECT_EQ(rects.front().h, 1);
    EXPECT_EQ(rects.back().w, 1);
  }
  EXPECT_TRUE(capture::frame_rects(20).empty());
}

// A 3 x 3 square of an asymmetric screen, in each orientation; pixel values
// name their screen position as 0xXXYY.
TEST(CaptureGrab, OrientationsTurnTheSquare) {
  constexpr int kW = 7, kH = 5;
  std::vector<uint32_t> screen;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) screen.push_back(static_cast<uint32_t>((x << 8) | y | 0x10000));
  auto px = [](int x, int y) { return static_cast<uint32_t>((x << 8) | y | 0x10000); };
  struct Row {
    int orientation;
    uint32_t firstRow[3];  // image row 0 (the top)
    uint32_t lastRow[3];   // image row 2
  };
  // The square starts at screen (2, 1): columns 2..4, rows 1..3.
  const Row rows[] = {
      {capture::kErect, {px(2, 1), px(3, 1), px(4, 1)}, {px(2, 3), px(3, 3), px(4, 3)}},
      {capture::kInverted, {px(4, 3), px(3, 3), px(2, 3)}, {px(4, 1), px(3, 1), px(2, 1)}},
      {capture::kErectMirror, {px(4, 1), px(3, 1), px(2, 1)}, {px(4, 3), px(3, 3), px(2, 3)}},
      {capture::kInvertedMirror, {px(2, 3), px(3, 3), px(4, 3)}, {px(2, 1), px(3, 1), px(4, 1)}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.orientation);
    const auto image = capture::take_square(screen.data(), kW, kH, {2, 1}, 3, r.orientation);
    ASSERT_EQ(image.size(), 9u);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(image[i], r.firstRow[i]) << i;
      EXPECT_EQ(image[6 + i], r.lastRow[i]) << i;
    }
    // The middle pixel stays in the middle in every orientation.
    EXPECT_EQ(image[4], px(3, 2));
  }
}

// Squares that reach past each edge of the screen: what lies outside is
// black, what lies inside is taken as it is, in every orientation.
TEST(CaptureGrab, PixelsOutsideTheScreenAreBlack) {
  constexpr int kW = 40, kH = 30, kN = 16;
  std::vector<uint32_t> screen(kW * kH);
  for (int i = 0; i < kW * kH; ++i) screen[i] = 0xFF000000u | static_cast<uint32_t>(i + 1);
  const GrabPoint origins[] = {{-5, -7}, {30, 20}, {-15, 3}, {39, 29}, {-16, 0}, {40, -16}};
  for (const GrabPoint o : origins)
    for (int orientation = 0; orientation < 4; ++orientation) {
      SCOPED_TRACE(testing::Message() << o.x << "," << o.y << " orientation " << orientation);
      const auto image = capture::take_square(screen.data(), kW, kH, o, kN, orientation);
      for (int j = 0; j < kN; ++j)
        for (int i = 0; i < kN; ++i) {
          const GrabPoint s = capture::source_offset(orientation, kN, i, j);
          const int x = o.x + s.x, y = o.y + s.y;
          const bool on = x >= 0 && y >= 0 && x < kW && y < kH;
          ASSERT_EQ(image[j * kN + i], on ? screen[y * kW + x] : 0u) << i << "," << j;
        }
    }
}

TEST(CaptureGrab, SuccessTextInBothLanguages) {
  EXPECT_EQ(capture::success_text(32, 16, false), "32x32/16 color icon file\nhas been created.");
  EXPECT_EQ(capture::success_text(64, 256, false), "64x64/256 color icon file\nhas been created.");
  EXPECT_EQ(capture::success_text(16, 256, true), "16x16/256色アイコン・ファイルが\nできあがりました.");
}

}  // namespace
