// The icon form record: its derived figures for every size and colour count.
#include <gtest/gtest.h>

#include "capture/grab/form_logic.h"

namespace {

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

}  // namespace
