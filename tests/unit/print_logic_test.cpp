#include "viewer/export/print_logic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace viewer;

namespace {

constexpr PrinterPage kPortrait{200, 280, 300, 300};   // 200 x 280 mm at 300 dpi
constexpr PrinterPage kLandscape{280, 200, 300, 300};  // the same page turned

std::string placed(const PrintPlacement& p) {
  return std::to_string(p.x) + "," + std::to_string(p.y) + " " + std::to_string(p.width) + "x" +
         std::to_string(p.height);
}

}  // namespace

// Expected figures worked out by hand: the box is percent of 80 % of the
// page (1889.76 x 2645.67 pixels for the portrait page), offset by a tenth of
// the box, and the image fills the box's width or height.
TEST(PrintPlacement, FitsTheBoxAndKeepsTheShownProportions) {
  struct Case {
    const char* what;
    int imageW, imageH, zoomStep;
    PrinterPage page;
    int percent;
    const char* expected;
  } cases[] = {
      {"landscape image, portrait page", 400, 300, 0, kPortrait, 100, "188,264 1889x1417"},
      {"the same at 50 %", 400, 300, 0, kPortrait, 50, "94,132 944x708"},
      // The height that fits the box height (1984) would overrun the box width.
      {"portrait image, portrait page", 300, 400, 0, kPortrait, 100, "188,264 1889x2519"},
      {"landscape image, landscape page", 400, 300, 0, kLandscape, 100, "264,188 2519x1889"},
      {"portrait image, landscape page", 300, 400, 0, kLandscape, 100, "264,188 1417x1889"},
      {"square image, landscape page", 50, 50, 0, kLandscape, 20, "52,37 377x377"},
      // Shown at 1:2 the image is 200 x 150: the proportions of the halves,
      // where the stored 401 x 301 would give a height of 1418.
      {"shown at 1:2", 401, 301, -1, kPortrait, 100, "188,264 1889x1417"},
      {"stored proportions at 1:1", 401, 301, 0, kPortrait, 100, "188,264 1889x1418"},
      {"shown at 3:1", 10, 30, 2, kPortrait, 100, "188,264 881x2645"},
  };
  for (const Case& c : cases) {
    const PrintPlacement p = print_placement(printed_source_size(c.imageW, c.imageH, c.zoomStep), c.page, c.percent);
    EXPECT_EQ(placed(p), c.expected) << c.what;
  }
}

// The same image prints the same physical size whatever the resolution:
// within one 300-dpi pixel at 600 dpi, and on a page reporting other
// resolutions across and down.
TEST(PrintPlacement, PhysicalSizeDoesNotDependOnTheResolution) {
  const Extent images[] = {{400, 300}, {300, 400}, {1, 1}, {4000, 7}, {7, 4000}, {1023, 1024}};
  const int percents[] = {20, 37, 50, 99, 100};
  for (const Extent& image : images)
    for (int percent : percents) {
      const PrintPlacement at300 = print_placement(image, {209, 297, 300, 300}, percent);
      const PrintPlacement at600 = print_placement(image, {209, 297, 600, 600}, percent);
      const PrintPlacement mixed = print_placement(image, {209, 297, 600, 300}, percent);
      const std::string what = std::to_string(image.w) + "x" + std::to_string(image.h) + " at " +
                               std::to_string(percent) + "%";
      EXPECT_LE(std::abs(at600.x - 2 * at300.x), 2) << what;
      EXPECT_LE(std::abs(at600.y - 2 * at300.y), 2) << what;
      EXPECT_LE(std::abs(at600.width - 2 * at300.width), 2) << what;
      EXPECT_LE(std::abs(at600.height - 2 * at300.height), 2) << what;
      // 600 dpi across and 300 down: the same paper, twice the pixels across.
      EXPECT_LE(std::abs(mixed.x - 2 * at300.x), 2) << what;
      EXPECT_LE(std::abs(mixed.width - 2 * at300.width), 2) << what;
      EXPECT_LE(std::abs(mixed.y - at300.y), 1) << what;
      EXPECT_LE(std::abs(mixed.height - at300.height), 1) << what;
    }
}

// An axis reduced below one pixel counts as one: the print has a size and
// the proportions are those of one pixel.
TEST(PrintPlacement, AnAxisShownAsZeroPixelsCountsAsOne) {
  struct Case {
    int imageW, imageH, zoomStep;
    long long shownW, shownH;
    const char* expected;
  } cases[] = {
      {1000, 1, -2, 333, 1, "188,264 1889x5"},
      {1, 1000, -2, 1, 333, "188,264 7x2645"},
      {2, 3, -9, 1, 1, "188,264 1889x1889"},
      // Not reduced to nothing, but printed less than a pixel high.
      {30000, 1, 0, 30000, 1, "188,264 1889x1"},
  };
  for (const Case& c : cases) {
    const Extent shown = printed_source_size(c.imageW, c.imageH, c.zoomStep);
    EXPECT_EQ(shown.w, c.shownW);
    EXPECT_EQ(shown.h, c.shownH);
    EXPECT_EQ(placed(print_placement(shown, kPortrait, 100)), c.expected);
  }
  // A printer that reports no size or resolution gives no placement at all.
  for (const PrinterPage& broken : {PrinterPage{0, 280, 300, 300}, PrinterPage{200, 280, 300, 0}})
    EXPECT_EQ(placed(print_placement({400, 300}, broken, 100)), "0,0 0x0");
}

TEST(PrintZoomSlider, StepsStayWithin20And100) {
  struct Case {
    int from;
    ScrollCode code;
    int thumb, expected;
  } cases[] = {
      {25, ScrollCode::PageBack, 0, 20},      {95, ScrollCode::PageForward, 0, 100},
      {50, ScrollCode::PageBack, 0, 40},      {50, ScrollCode::PageForward, 0, 60},
      {50, ScrollCode::LineBack, 0, 49},      {50, ScrollCode::LineForward, 0, 51},
      {20, ScrollCode::LineBack, 0, 20},      {100, ScrollCode::LineForward, 0, 100},
      {50, ScrollCode::Thumb, 73, 73},        {50, ScrollCode::Thumb, 5, 20},
      {50, ScrollCode::Thumb, 140, 100},      {64, ScrollCode::Other, 99, 64},
  };
  for (const Case& c : cases)
    EXPECT_EQ(print_zoom_after(c.from, c.code, c.thumb), c.expected)
        << "from " << c.from << ", code " << static_cast<int>(c.code);
}
