// The viewer and another program sharing the clipboard: the Paste button
// follows what the other program leaves there, and a copy that cannot reach
// the clipboard says so and leaves it alone.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/harness.h"
#include "tests/e2e/save_ui.h"
#include "tests/e2e/viewer_ui.h"

using namespace e2e;

namespace {

// A 6 x 4 picture in 24 bits, its colours told by seed.
std::vector<uint8_t> picture(uint8_t seed) {
  std::vector<uint8_t> rows(4 * 20);
  for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(seed + 37 * i);
  return packed_dib(6, 4, 24, 0, {}, rows);
}

}  // namespace

// Nothing repaints the viewer here: only the clipboard changes.
TEST(ClipboardFollow, PasteButtonFollowsWhatAnotherProgramPutsThere) {
  ASSERT_TRUE(empty_clipboard());
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "clipboard-follow"));
  EXPECT_FALSE(button_enabled(p.main, kButtonPaste));

  ASSERT_TRUE(put_on_clipboard(CF_DIB, picture(1)));
  EXPECT_TRUE(wait_until([&] { return button_enabled(p.main, kButtonPaste); }, 5000))
      << "the Paste button stayed grey after a picture was put on the clipboard";
  screenshot("clipboard-follow-enabled");
  // A click on the button as it now stands pastes.
  const POINT paste = button_centre(p.main, kButtonPaste);
  click(paste.x, paste.y);
  EXPECT_TRUE(wait_title(p.main, "Kaldero - (Pasted image) [1:1]")) << title_of(p.main);

  // Text is no picture; an empty clipboard neither.
  ASSERT_TRUE(put_on_clipboard(CF_TEXT, {'x', 0}));
  EXPECT_TRUE(wait_until([&] { return !button_enabled(p.main, kButtonPaste); }, 5000));
  ASSERT_TRUE(put_on_clipboard(CF_DIB, picture(2)));
  EXPECT_TRUE(wait_until([&] { return button_enabled(p.main, kButtonPaste); }, 5000));
  ASSERT_TRUE(empty_clipboard());
  EXPECT_TRUE(wait_until([&] { return !button_enabled(p.main, kButtonPaste); }, 5000))
      << "the Paste button stayed enabled on an empty clipboard";
  p.close();
}

TEST(ClipboardFollow, CopyWhileAnotherProgramHoldsTheClipboardSaysSoAndLeavesIt) {
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "clipboard-held"));
  ASSERT_TRUE(put_on_clipboard(CF_DIB, picture(3)));
  command_and_settle(p.main, kCmdPaste);
  ASSERT_TRUE(wait_title(p.main, "Kaldero - (Pasted image) [1:1]")) << title_of(p.main);
  ASSERT_TRUE(put_on_clipboard(CF_TEXT, {'k', 'e', 'e', 'p', 0}));

  ASSERT_TRUE(OpenClipboard(nullptr));
  post_command(p.main, kCmdCopy);
  const std::string said = answered_message(p);
  CloseClipboard();
  EXPECT_EQ(said, "Error: Unable to allocate clipboard memory.");
  const std::vector<uint8_t> text = clipboard_data(CF_TEXT);
  EXPECT_EQ(std::string(text.begin(), text.end()).c_str(), std::string("keep"));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));

  // Once the clipboard is free again the same copy goes through.
  command_and_settle(p.main, kCmdCopy);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  p.close();
}
