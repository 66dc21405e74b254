// Copy and paste through the real clipboard: images other programs put
// there in the forms they really use, the viewer's copy at the zoom it
// shows, read back by the driver, the Paste button following what another
// program leaves there, and a copy that cannot reach the clipboard.
#include <gtest/gtest.h>

#include <functional>

#include "formats/bytes.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/icon_ui.h"
#include "tests/e2e/save_ui.h"
#include "tests/e2e/viewer_fixture.h"
#include "tests/e2e/viewer_ui.h"

using namespace e2e;

using Paste = ViewerTest;
using Copy = ViewerTest;
using PasteJapanese = ViewerTest;

namespace {

constexpr int W = 7, H = 5;

uint32_t palette_colour(int i) { return sixteen_colours()[static_cast<size_t>(i)]; }

// A picture as a packed 24-bit DIB, its colours told by seed.
std::vector<uint8_t> seeded_picture(int seed) {
  return dib_of(make_bmp24(W, H, [seed](int x, int y) { return palette_colour((x + 2 * y + seed) % 16); }));
}

}  // namespace

// Each form another program may leave on the clipboard shows its pixels
// with the pasted caption; data the viewer cannot use keeps the old image.
TEST_F(Paste, FormsOtherProgramsPutOnTheClipboard) {
  struct Case {
    const char* name;
    std::function<bool(const std::function<uint32_t(int, int)>&)> put;
  };
  const std::vector<Case> cases = {
      {"24-bit DIB", [&](auto colour) { return put_on_clipboard(CF_DIB, packed_dib(W, H, 24, 0, {}, rows_of(W, H, 24, colour))); }},
      {"top-down DIB", [&](auto colour) { return put_on_clipboard(CF_DIB, packed_dib(W, -H, 24, 0, {}, rows_of(W, H, 24, colour, true))); }},
      {"8-bit DIB with 16 entries", [&](auto) { return put_on_clipboard(CF_DIB, packed_dib(W, H, 8, 0, sixteen_colours(), rows_of(W, H, 8, [](int x, int y) { return uint32_t((x + 2 * y + 3) % 16); }), 16)); }},
      {"32-bit bitfields DIB", [&](auto colour) { return put_on_clipboard(CF_DIB, packed_dib(W, H, 32, 3, {0xFF0000, 0xFF00, 0xFF}, rows_of(W, H, 32, colour))); }},
      {"CF_DIBV5", [&](auto colour) { return put_on_clipboard(CF_DIBV5, packed_dib(W, H, 24, 0, {}, rows_of(W, H, 24, colour), 0, 124)); }},
      {"CF_DIB with a 108-byte header", [&](auto colour) { return put_on_clipboard(CF_DIB, packed_dib(W, H, 24, 0, {}, rows_of(W, H, 24, colour), 0, 108)); }},
      // A V5 header with its masks inside; the alpha byte is dropped.
      {"CF_DIB with a 124-byte header", [&](auto colour) {
         std::vector<uint8_t> v5 = packed_dib(W, H, 32, 3, {}, rows_of(W, H, 32, [&](int x, int y) { return colour(x, y) | 0xA5000000u; }), 0, 124);
         const uint32_t masks[4] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
         for (int i = 0; i < 4; ++i) fmt::put_u32le(&v5[static_cast<size_t>(40 + 4 * i)], masks[i]);
         return put_on_clipboard(CF_DIB, v5);
       }},
      {"CF_BITMAP alone", [&](auto colour) { return put_bitmap_on_clipboard(W, H, colour); }},
  };
  int shift = 0;
  for (const Case& c : cases) {
    ++shift;
    // A different picture each time, so a paste that did nothing shows.
    std::function<uint32_t(int, int)> colour = [shift, &c](int x, int y) {
      return std::string(c.name).rfind("8-bit", 0) == 0 ? palette_colour((x + 2 * y + 3) % 16)
                                                        : palette_colour((x + 2 * y + shift) % 16);
    };
    ASSERT_TRUE(c.put(colour)) << c.name;
    repaint(p.main);
    EXPECT_TRUE(button_enabled(p.main, kButtonPaste)) << c.name;
    SetWindowTextA(p.main, "");
    command_and_settle(p.main, kCmdPaste);
    EXPECT_TRUE(wait_title(p.main, "Kaldero - (Pasted image) [1:1]")) << c.name << ": " << title_of(p.main);
    EXPECT_TRUE(view_shows(p.main, picture(W, H, 24, {}, colour), 0)) << c.name;
  }
  screenshot("pasted");
  const Pixels before = grab_client(p.main);

  // A header the viewer does not read, and one that claims ten times the
  // rows its block holds (the bitmap the system would make of it shows
  // memory past the block): the message, and the old image stays.
  const std::vector<uint8_t> black = packed_dib(W, H, 24, 0, {}, rows_of(W, H, 24, [](int, int) { return 0u; }));
  std::vector<uint8_t> sevenBits = black, lying = black;
  fmt::put_u16le(&sevenBits[14], 7);
  fmt::put_u32le(&lying[8], 10 * H);
  for (const auto* bad : {&sevenBits, &lying}) {
    ASSERT_TRUE(put_on_clipboard(CF_DIB, *bad));
    post_command(p.main, kCmdPaste);
    EXPECT_EQ(answered_message(p), "Error: Illegal structure size is found in info header.");
    settle(p.main);
    const Pixels after = grab_client(p.main);
    EXPECT_EQ(count_differences(before, 0, kStrip, after, 0, kStrip, W + 4, H + 4), 0);
    EXPECT_EQ(title_of(p.main), "Kaldero - (Pasted image) [1:1]");
  }
}

TEST_F(PasteJapanese, CaptionOfAPastedImage) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  ASSERT_TRUE(put_on_clipboard(CF_DIB, seeded_picture(0)));
  command_and_settle(p.main, kCmdPaste);
  EXPECT_TRUE(wait_until([&] { return wide_title_of(p.main) == L"カルデロ - (貼り付け像) [1:1]"; }));
}

// Copy at 1:2 and 3:1 of 8-bit (16-entry table), 16-bit and 24-bit images
// made of uniform 2 x 2 blocks: the clipboard's DIB has the shown size, the
// image's bit count (16 as 24), its table, and the pixels.
TEST_F(Copy, AtTheShownRatio) {
  const int w = 10, h = 6;
  auto index = [](int x, int y) { return static_cast<uint32_t>((x / 2 + 3 * (y / 2)) % 16); };
  // 16 bits: 5-bit fields, the colour the display widens them to.
  auto word = [](uint32_t c) { return (c >> 19 & 31) << 10 | (c >> 11 & 31) << 5 | (c >> 3 & 31); };
  auto widen = [](uint32_t f) { return (f << 3) | (f >> 2); };
  auto widened = [&](uint32_t v) { return widen(v >> 10 & 31) << 16 | widen(v >> 5 & 31) << 8 | widen(v & 31); };
  const struct Zoom {
    int command, times;
    const char* ratio;
    int cw, ch;
  } zooms[] = {{kCmdZoomOut, 1, "[1:2]", w / 2, h / 2}, {kCmdZoomIn, 3, "[3:1]", w * 3, h * 3}};
  const std::string dir = fresh_dir("copy-files");
  for (const int bits : {8, 16, 24}) {
    const std::function<uint32_t(int, int)> stored = [&](int x, int y) {
      return bits == 8 ? index(x, y) : bits == 16 ? word(palette_colour(index(x, y))) : palette_colour(index(x, y));
    };
    auto shown = [&](int x, int y) { return bits == 16 ? widened(stored(x, y)) : palette_colour(index(x, y)); };
    const std::string name = "copy" + std::to_string(bits) + ".bmp";
    const std::vector<uint32_t> table = bits == 8 ? sixteen_colours() : std::vector<uint32_t>{};
    ASSERT_TRUE(write_file(join(dir, name), make_bmp(w, h, bits, table, rows_of(w, h, bits, stored))));
    ASSERT_TRUE(open_at(p, join(dir, name), "1:1"));
    for (const Zoom& z : zooms) {
      SCOPED_TRACE(std::to_string(bits) + " bits at " + z.ratio);
      for (int i = 0; i < z.times; ++i) command_and_settle(p.main, z.command);
      ASSERT_TRUE(wait_title(p.main, "Kaldero - " + name + " " + z.ratio)) << title_of(p.main);
      ASSERT_TRUE(put_on_clipboard(CF_TEXT, {'x', 0}));
      command_and_settle(p.main, kCmdCopy);
      const std::vector<uint8_t> dib = clipboard_data(CF_DIB);
      ASSERT_GE(dib.size(), 40u);
      EXPECT_EQ(fmt::get_u32le(&dib[0]), 40u);
      EXPECT_EQ(fmt::get_i32le(&dib[4]), z.cw);
      EXPECT_EQ(fmt::get_i32le(&dib[8]), z.ch);
      const int copied = bits == 16 ? 24 : bits;
      EXPECT_EQ(fmt::get_u16le(&dib[14]), static_cast<uint32_t>(copied));
      EXPECT_EQ(fmt::get_u32le(&dib[32]), bits == 8 ? 16u : 0u);
      const size_t stride = (static_cast<size_t>(z.cw) * copied + 31) / 32 * 4;
      EXPECT_GE(dib.size(), 40 + (bits == 8 ? 64 : 0) + stride * z.ch);
      for (size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(fmt::get_u32le(&dib[40 + 4 * i]), table[i]) << "entry " << i;
      int wrong = 0;
      for (int y = 0; y < z.ch; ++y)
        for (int x = 0; x < z.cw; ++x) {
          const int sx = z.cw < w ? 2 * x : x / 3, sy = z.cw < w ? 2 * y : y / 3;
          if (dib_pixel(dib, x, y) != shown(sx, sy)) ++wrong;
        }
      EXPECT_EQ(wrong, 0);
    }
  }
}

// Nothing repaints the viewer here: only the clipboard changes.
TEST(ClipboardFollow, PasteButtonFollowsWhatAnotherProgramPutsThere) {
  ASSERT_TRUE(empty_clipboard());
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "clipboard-follow"));
  EXPECT_FALSE(button_enabled(p.main, kButtonPaste));

  ASSERT_TRUE(put_on_clipboard(CF_DIB, seeded_picture(1)));
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
  ASSERT_TRUE(put_on_clipboard(CF_DIB, seeded_picture(2)));
  EXPECT_TRUE(wait_until([&] { return button_enabled(p.main, kButtonPaste); }, 5000));
  ASSERT_TRUE(empty_clipboard());
  EXPECT_TRUE(wait_until([&] { return !button_enabled(p.main, kButtonPaste); }, 5000))
      << "the Paste button stayed enabled on an empty clipboard";
  p.close();
}

TEST(ClipboardFollow, CopyWhileAnotherProgramHoldsTheClipboardSaysSoAndLeavesIt) {
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "clipboard-held"));
  ASSERT_TRUE(put_on_clipboard(CF_DIB, seeded_picture(3)));
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
