// The icon form dialog's buttons: what each click changes and which button
// each group checks.
#include "capture/grab/form_choice_logic.h"

#include <gtest/gtest.h>

using namespace capture;

TEST(FormChoice, EachButtonChangesItsFieldAndKeepsTheRecordConsistent) {
  struct Case {
    int control;
    bool refuse256;
    IconForm before;
    int frameBefore;
    IconForm after;  // derived fields from the form rules
    int frameAfter;
    int checked;
  };
  const IconForm start = make_form(32, 16);
  const IconForm big256 = make_form(64, 256);
  const Case cases[] = {
      {kSize16, false, start, 0, make_form(16, 16), 0, kSize16},
      {kSize48, false, start, 0, make_form(48, 16), 0, kSize48},
      {kSize64, false, start, 0, make_form(64, 16), 0, kSize64},
      // A size change after 256 colours keeps them: N·N + 1024 image bytes.
      {kSize16, false, big256, 0, make_form(16, 256), 0, kSize16},
      {kColours256, false, start, 0, make_form(32, 256), 0, kColours256},
      {kColours16, false, big256, 0, make_form(64, 16), 0, kColours16},
      // A display of 4 bits or fewer: 256 cannot be chosen, nothing changes.
      {kColours256, true, start, 0, start, 0, 0},
      {kColours16, true, start, 0, start, 0, kColours16},
      {kInvertedButton, false, start, 0, make_form(32, 16, kInverted), 0, kInvertedButton},
      {kInvertedMirrorButton, false, big256, 0, make_form(64, 256, kInvertedMirror), 0, kInvertedMirrorButton},
      {kFrameBlackButton, false, start, 0, start, kFrameBlack, kFrameBlackButton},
      {kFrameWhiteButton, false, start, 1, start, kFrameWhite, kFrameWhiteButton},
      {kFrameInvertedButton, false, start, 2, start, kFrameInverted, kFrameInvertedButton},
      {1, false, start, 0, start, 0, 0},  // OK is no choice
  };
  for (const Case& c : cases) {
    IconForm pending = c.before;
    int frame = c.frameBefore;
    EXPECT_EQ(apply_choice(c.control, pending, frame, c.refuse256), c.checked) << c.control;
    EXPECT_EQ(pending, c.after) << c.control;
    EXPECT_EQ(frame, c.frameAfter) << c.control;
  }
  // 0: a display that cannot be asked.
  for (const int bits : {4, 1, 0}) EXPECT_TRUE(refuses_256_colours(bits)) << bits;
  for (const int bits : {8, 24}) EXPECT_FALSE(refuses_256_colours(bits)) << bits;
}

TEST(FormChoice, OpeningChecksOneButtonOfEachGroupFromTheForm) {
  struct Case {
    IconForm form;
    int frame;
    CheckedButtons expect;
  };
  const Case cases[] = {
      {make_form(32, 16), 0, {kSize32, kColours16, kErectButton, kFrameInvertedButton}},
      {make_form(16, 256, kErectMirror), 1, {kSize16, kColours256, kErectMirrorButton, kFrameBlackButton}},
      {make_form(48, 16, kInverted), 2, {kSize48, kColours16, kInvertedButton, kFrameWhiteButton}},
      {make_form(64, 256, kInvertedMirror), 2, {kSize64, kColours256, kInvertedMirrorButton, kFrameWhiteButton}},
  };
  for (const Case& c : cases) {
    const CheckedButtons b = checked_for(c.form, c.frame);
    EXPECT_EQ(b.size, c.expect.size);
    EXPECT_EQ(b.colours, c.expect.colours);
    EXPECT_EQ(b.orientation, c.expect.orientation);
    EXPECT_EQ(b.frame, c.expect.frame);
    // Each checked button lies in its own group, which the dialog clears.
    for (int control : {b.size, b.colours, b.orientation, b.frame}) {
      const ButtonGroup g = group_of(control);
      EXPECT_TRUE(control >= g.first && control <= g.last && g.first != 0) << control;
    }
  }
  EXPECT_EQ(group_of(1).first, 0);
  EXPECT_EQ(group_of(123).first, 0);
}
