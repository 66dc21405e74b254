#include "viewer/app/view_logic.h"

#include <gtest/gtest.h>

#include <string>

using namespace viewer;

namespace {

// Scroll bars 17 pixels thick, a client area of 400 x 300 (the view is the
// client area below the 20-pixel strip).
constexpr int kBar = 17;
constexpr int kCw = 400;
constexpr int kCh = 300;

ScrollLayout layout(int w, int h, int step) { return layout_scroll_bars(w, h, step, kCw, kCh, kBar, kBar); }

void expect_bar(const BarPlacement& b, int x, int y, int w, int h, const char* which) {
  EXPECT_EQ(b.x, x) << which;
  EXPECT_EQ(b.y, y) << which;
  EXPECT_EQ(b.w, w) << which;
  EXPECT_EQ(b.h, h) << which;
}

bool cp932_lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool no_lead(unsigned char) { return false; }

std::string ratio(int step) {
  char text[16];
  ratio_text(step, text, sizeof text);
  return text;
}

}  // namespace

TEST(ZoomRatio, StepsMapToMagnifyingAndReducingFactors) {
  struct Row {
    int step, factor;
    const char* text;  // the ratio closes the bracket
  };
  const Row rows[] = {{-9, 10, "1:10]"}, {-1, 2, "1:2]"}, {0, 1, "1:1]"}, {1, 2, "2:1]"}, {9, 10, "10:1]"}};
  for (const Row& r : rows) {
    EXPECT_EQ(zoom_factor(r.step), r.factor) << r.step;
    EXPECT_EQ(ratio(r.step), r.text);
  }
  // Reduced sizes drop the remainder; magnified ones are exact. A side
  // reduced below one pixel is shown as one, so that a thin image still
  // shows; an axis without image stays empty. Large images at 10:1 do not
  // wrap around.
  const int sizes[][5] = {{1001, 999, -2, 333, 333}, {301, 7, 9, 3010, 70}, {5000, 3, -6, 714, 1},
                          {3, 5000, -9, 1, 500},     {0, 0, -3, 0, 0},      {300000, 300000, 9, 3000000, 3000000}};
  for (const auto& r : sizes) {
    const Extent d = displayed_size(r[0], r[1], r[2]);
    EXPECT_EQ(d.w, r[3]) << r[0] << "x" << r[1] << " step " << r[2];
    EXPECT_EQ(d.h, r[4]) << r[0] << "x" << r[1] << " step " << r[2];
  }
}

// At magnified ratios the limits count in image pixels of the displayed
// size; at reduced ones too: each bar narrows the view by its thickness.
TEST(ScrollLimits, CountInImagePixels) {
  struct Row {
    const char* what;
    int w, h, step;
    bool hBar, vBar;
    long long x, y;
  };
  const Row rows[] = {
      // 172: the last screen pixel of the image stays out of reach.
      {"300 x 200 at 3:1 shows 900 x 600", 300, 200, 2, true, true, (900 + 17 - 400) / 3, (600 + 17 - 300 + 20) / 3},
      {"the same without bars", 300, 200, 2, false, false, 166, 106},
      {"1501 x 1200 at 1:3 shows 500 x 400", 1501, 1200, -2, true, true, (500 + 17 - 400) * 3,
       (400 + 17 - 300 + 20) * 3},
      // Only the vertical bar: it narrows the view, the horizontal one is gone.
      {"the same with the vertical bar only", 1501, 1200, -2, false, true, 351, 360},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const ScrollLimits l = scroll_limits(r.w, r.h, r.step, kCw, kCh, kBar, kBar, r.hBar, r.vBar);
    EXPECT_EQ(l.x, r.x);
    EXPECT_EQ(l.y, r.y);
  }
}

// Lines and pages stop at zero and at the limit, the thumb takes its position
// within the range, and an axis with nothing to scroll stays at zero.
TEST(ScrollTo, EachCodeStopsAtZeroAndAtTheLimit) {
  // The limit of an image narrower than the view is below 0.
  const long long none = scroll_limits(300, 200, 0, kCw, kCh, kBar, kBar, false, false).x;
  ASSERT_LT(none, 0);
  struct Row {
    long long pos;
    ScrollCode code;
    long long thumb, limit, want;
  };
  const Row rows[] = {
      {5, ScrollCode::LineBack, 0, 100, 4},        {5, ScrollCode::LineForward, 0, 100, 6},
      {0, ScrollCode::LineBack, 0, 100, 0},        {100, ScrollCode::LineForward, 0, 100, 100},
      {25, ScrollCode::PageBack, 0, 100, 15},      {25, ScrollCode::PageForward, 0, 100, 35},
      {7, ScrollCode::PageBack, 0, 100, 0},        {95, ScrollCode::PageForward, 0, 100, 100},
      {57, ScrollCode::Start, 0, 100, 0},          {57, ScrollCode::End, 0, 100, 100},
      {0, ScrollCode::End, 0, -30, 0},  // nothing to scroll
      {5, ScrollCode::Thumb, 60, 100, 60},         {5, ScrollCode::Thumb, 0, 100, 0},
      {5, ScrollCode::Thumb, 250, 100, 100},
      // Beyond what the message's 16-bit field could carry.
      {5, ScrollCode::Thumb, 70000, 80000, 70000},
      // Other codes move nothing, but a position left beyond the limit by a
      // zoom comes back within it.
      {40, ScrollCode::Other, 90, 100, 40},        {150, ScrollCode::Other, 0, 100, 100},
      // An axis with nothing to scroll.
      {0, ScrollCode::LineForward, 0, none, 0},    {0, ScrollCode::PageForward, 0, none, 0},
      {0, ScrollCode::LineBack, 0, none, 0},       {0, ScrollCode::Thumb, 30, none, 0},
      {25, ScrollCode::Other, 0, none, 0},         {5, ScrollCode::LineForward, 0, 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << "from " << r.pos << ", code " << static_cast<int>(r.code) << ", thumb "
                                      << r.thumb << ", limit " << r.limit);
    EXPECT_EQ(scroll_to(r.pos, r.code, r.thumb, r.limit), r.want);
  }
}

// Which bars show, where they stand, how far they scroll (in image pixels at
// reduced ratios, in displayed pixels / zoom at magnified ones) and which
// hidden axis scrolls back to the origin. A hidden bar keeps the place it
// would take beside the other one; a lone bar runs to the client's edge. A
// bar shows when the image exceeds the client area, or what the other bar
// leaves of it, so that every column and row can be scrolled into view.
TEST(ScrollBarLayout, BarsPlacesRangesAndResetsForEachShape) {
  struct Bar {
    int x, y, w, h;
  };
  struct Row {
    const char* what;
    int w, h, step;
    bool hVisible, vVisible;
    Bar hBar, vBar;
    long long hRange, vRange;
  };
  constexpr Bar kH{0, 283, 383, 17}, kV{383, 20, 17, 263}, kWholeH{0, 283, 400, 17}, kWholeV{383, 20, 17, 280};
  const Row rows[] = {
      {"wide and tall, 600 x 400", 300, 200, 1, true, true, kH, kV, (600 - 400 + 17) / 2, (400 + 20 - 300 + 17) / 2},
      {"wide and tall, 650 x 500", 1301, 1000, -1, true, true, kH, kV, (650 - 400 + 17) * 2, (500 + 20 - 300 + 17) * 2},
      {"tall, 300 x 400", 150, 200, 1, false, true, kH, kWholeV, 0, (400 + 20 - 300) / 2},
      {"tall, 233 x 333", 700, 1000, -2, false, true, kH, kWholeV, 0, (333 + 20 - 300) * 3},
      {"wide, 600 x 200", 300, 100, 1, true, false, kWholeH, kV, (600 - 400) / 2, 0},
      {"wide, 500 x 75", 2003, 300, -3, true, false, kWholeH, kV, (500 - 400) * 4, 0},
      {"small at 1:1", 90, 60, 0, false, false, kH, kV, 0, 0},
      {"small at 1:2", 90, 60, -1, false, false, kH, kV, 0, 0},
      {"small at 4:1", 90, 60, 3, false, false, kH, kV, 0, 0},
      {"exactly the client size", 400, 280, 0, false, false, kH, kV, 0, 0},
      {"inside it: no bar starts the other", 390, 275, 0, false, false, kH, kV, 0, 0},
      {"the vertical bar covers the last columns", 399, 500, 0, true, true, kH, kV, 16, 237},
      {"it leaves them all in view", 383, 500, 0, false, true, kH, kWholeV, 0, 220},
      {"the horizontal bar covers the last rows", 500, 270, 0, true, true, kH, kV, 117, 7},
      {"it leaves them all in view", 500, 263, 0, true, false, kWholeH, kV, 100, 0},
      {"over on both axes", 401, 281, 0, true, true, kH, kV, 18, 18},
      {"399 x 500 at 1:2, ranges in image pixels", 798, 1000, -1, true, true, kH, kV, 32, 474},
      {"400 x 500 at 2:1, ranges in image pixels", 200, 250, 1, true, true, kH, kV, 8, 118},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.what << ", " << r.w << "x" << r.h << " step " << r.step);
    const ScrollLayout l = layout(r.w, r.h, r.step);
    EXPECT_EQ(l.hVisible, r.hVisible);
    EXPECT_EQ(l.vVisible, r.vVisible);
    expect_bar(l.hBar, r.hBar.x, r.hBar.y, r.hBar.w, r.hBar.h, "horizontal");
    expect_bar(l.vBar, r.vBar.x, r.vBar.y, r.vBar.w, r.vBar.h, "vertical");
    EXPECT_EQ(l.hRangeMax, r.hRange);
    EXPECT_EQ(l.vRangeMax, r.vRange);
    // The grip fills the corner exactly when both bars show.
    EXPECT_EQ(l.showGrip, r.hVisible && r.vVisible);
    if (l.showGrip) expect_bar(l.grip, 383, 283, 17, 17, "grip");
    EXPECT_EQ(l.resetX, !r.hVisible);
    EXPECT_EQ(l.resetY, !r.vVisible);
  }
}

TEST(WheelScroll, NotchesBecomeLinesOrPagesAndPartsWait) {
  struct Case {
    int delta;
    unsigned lines;
    ScrollCode code;
    int times, remainder;
  } cases[] = {
      {120, 3, ScrollCode::LineBack, 3, 0},  // away from the user: toward the top
      {-120, 3, ScrollCode::LineForward, 3, 0},
      {240, 3, ScrollCode::LineBack, 6, 0},
      {60, 3, ScrollCode::Other, 0, 60},  // half a notch waits for the rest
      {180, 3, ScrollCode::LineBack, 3, 60},
      {-200, 1, ScrollCode::LineForward, 1, -80},
      {120, kWheelPageScroll, ScrollCode::PageBack, 1, 0},
      {-360, kWheelPageScroll, ScrollCode::PageForward, 3, 0},
      {120, 0, ScrollCode::Other, 0, 0},  // a setting of no lines scrolls nothing
      {360, 4000000, ScrollCode::LineBack, 1 << 20, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.delta << " with " << c.lines << " lines");
    const WheelScroll s = wheel_scroll(c.delta, c.lines);
    EXPECT_EQ(s.times, c.times);
    if (c.times > 0) {
      EXPECT_EQ(s.code, c.code);
    }
    EXPECT_EQ(s.remainder, c.remainder);
  }
}

// Zoom Out stops at 1:10 and at the ratio the image opened at; Zoom In stops
// at 10:1 and where the next step would be twice the free screen or more
// (width or height), looking ahead from 1:1 to 2:1; reduced, it is offered.
TEST(ZoomButtons, EachButtonStopsAtItsEnd) {
  struct Row {
    const char* what;
    int step, fit, w, h, screenW, screenH;
    bool zoomOut, zoomIn;
  };
  const Row rows[] = {
      {"at 1:10", -9, -9, 5000, 5000, 1024, 768, false, true},
      {"opened below 1:10", -14, -14, 40000, 100, 1024, 768, false, true},
      {"at 10:1", 9, 0, 10, 10, 1024, 768, true, false},
      {"at the opening ratio 1:1", 0, 0, 100, 100, 1024, 768, false, true},
      {"one step above it", 1, 0, 100, 100, 1024, 768, true, true},
      {"at the opening ratio 1:4", -3, -3, 2000, 100, 1024, 768, false, true},
      {"one step above 1:4", -2, -3, 2000, 100, 1024, 768, true, true},
      {"1:1 above 1:4", 0, -3, 2000, 100, 1024, 768, true, true},
      {"600 wide at 4:1: 2400 is not below 2048", 3, 0, 600, 100, 1024, 768, true, false},
      {"600 wide at 3:1: 1800", 2, 0, 600, 100, 1024, 768, true, true},
      {"equal to twice the width", 1, 0, 1024, 10, 1024, 768, true, false},
      {"one below twice the width", 1, 0, 1023, 10, 1024, 768, true, true},
      {"equal to twice the free height", 1, 0, 10, 748, 1024, 748, true, false},
      {"one below twice the free height", 1, 0, 10, 747, 1024, 748, true, true},
      {"1:1 of an image twice the screen that opened reduced", 0, -2, 2048, 10, 1024, 768, true, false},
      {"1:1 of one a pixel narrower", 0, -2, 2047, 10, 1024, 768, true, true},
      {"reduced, whatever the size", -1, -5, 100000, 100000, 1024, 768, true, true},
  };
  for (const Row& r : rows) {
    const ImageButtons b = zoom_buttons(r.step, r.fit, r.w, r.h, r.screenW, r.screenH);
    EXPECT_EQ(b.zoomOut, r.zoomOut) << r.what;
    EXPECT_EQ(b.zoomIn, r.zoomIn) << r.what;
  }
}

// "表" in code page 932 is 0x95 0x5C: a double-byte character ending in the
// backslash byte is no separator.
TEST(FileNameOf, TakesWhatFollowsTheLastBackslash) {
  struct Row {
    const char* path;
    bool (*lead)(unsigned char);
    const char* name;
  };
  const Row rows[] = {
      {"C:\\pictures\\photo.bmp", cp932_lead, "photo.bmp"},
      {"photo.bmp", cp932_lead, "photo.bmp"},
      {"C:\\pictures\\", cp932_lead, ""},
      {"", cp932_lead, ""},
      {"C:\\\x95\x5C\\\x95\x5C.bmp", cp932_lead, "\x95\x5C.bmp"},  // C:\表\表.bmp
      {"C:\\dir\\\x95\x5C\x95\x5Cx.bmp", cp932_lead, "\x95\x5C\x95\x5Cx.bmp"},
      // Half-width katakana are single bytes: the backslash after one separates.
      {"C:\\\xB1\\x.bmp", cp932_lead, "x.bmp"},
      // Under a single-byte code page the same bytes do end in a separator.
      {"C:\\\x95\x5C\\\x95\x5C.bmp", no_lead, ".bmp"},
      // A lead byte at the very end does not carry the walk past the terminator.
      {"C:\\a\\b\x95", cp932_lead, "b\x95"},
  };
  for (const Row& r : rows) EXPECT_STREQ(file_name_of(r.path, r.lead), r.name) << r.path;
}

// The thumb at the end of a bar and the furthest scroll are the same
// position, or the last part of the image is out of reach or overshot.
// Laying out clamps the scroll positions to the limits of the new layout;
// from any position the image then still reaches the far edges of the view.
TEST(ScrollBarLayout, BarsReachTheLimitAndClampedPositionsLeaveNoBackground) {
  for (int w : {1, 37, 399, 400, 401, 577, 900, 1500, 1501, 4097, 7000})
    for (int h : {1, 29, 279, 280, 281, 641, 700, 1200, 2222, 5000})
      for (int step = -9; step <= 9; ++step) {
        const ScrollLayout l = layout(w, h, step);
        const ScrollLimits lim = scroll_limits(w, h, step, kCw, kCh, kBar, kBar, l.hVisible, l.vVisible);
        const long long x = scroll_to(1'000'000, ScrollCode::Other, 0, lim.x);
        const long long y = scroll_to(1'000'000, ScrollCode::Other, 0, lim.y);
        const Extent d = displayed_size(w, h, step);
        const long long z = zoom_factor(step);
        const long long shownX = magnifying(step) ? x * z : x / z;
        const long long shownY = magnifying(step) ? y * z : y / z;
        const long long viewW = kCw - (l.vVisible ? kBar : 0), viewH = kCh - 20 - (l.hVisible ? kBar : 0);
        SCOPED_TRACE(::testing::Message() << w << "x" << h << " step " << step);
        if (l.hVisible) {
          EXPECT_EQ(l.hRangeMax, lim.x);
          EXPECT_GE(l.hRangeMax, 0);
          EXPECT_GE(d.w - shownX, viewW);
        } else {
          EXPECT_EQ(x, 0);
        }
        if (l.vVisible) {
          EXPECT_EQ(l.vRangeMax, lim.y);
          EXPECT_GE(l.vRangeMax, 0);
          EXPECT_GE(d.h - shownY, viewH);
        } else {
          EXPECT_EQ(y, 0);
        }
      }
}
