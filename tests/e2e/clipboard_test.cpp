// Copy and paste through the real clipboard: images other programs put
// there in the forms they really use, and the viewer's copy at the zoom it
// shows, read back by the driver.
#include <gtest/gtest.h>

#include <functional>

#include "formats/bytes.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/save_ui.h"
#include "tests/e2e/viewer_ui.h"

using namespace e2e;

namespace {

constexpr int W = 7, H = 5;

uint32_t palette_colour(int i) {
  return (static_cast<uint32_t>(i * 16) << 16) | (static_cast<uint32_t>(255 - i * 16) << 8) |
         static_cast<uint32_t>((i * 53 + 20) % 256);
}
std::vector<uint32_t> sixteen_colours() {
  std::vector<uint32_t> t;
  for (int i = 0; i < 16; ++i) t.push_back(palette_colour(i));
  return t;
}

// Rows of a picture, bottom-up (or top-down), each pixel made by put.
std::vector<uint8_t> rows_of(int bits, bool topDown, const std::function<uint32_t(int, int)>& value) {
  const int stride = (W * bits + 31) / 32 * 4;
  std::vector<uint8_t> rows(static_cast<size_t>(stride) * H);
  for (int y = 0; y < H; ++y) {
    uint8_t* row = &rows[static_cast<size_t>(topDown ? y : H - 1 - y) * stride];
    for (int x = 0; x < W; ++x) {
      const uint32_t v = value(x, y);
      if (bits == 8) row[x] = static_cast<uint8_t>(v);
      else if (bits == 24) for (int k = 0; k < 3; ++k) row[3 * x + k] = static_cast<uint8_t>(v >> (8 * k));
      else fmt::put_u32le(row + 4 * x, v);
    }
  }
  return rows;
}

void expect_on_screen(HWND main, const std::function<uint32_t(int, int)>& colour, const std::string& what) {
  const Pixels px = grab_client(main);
  int wrong = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      if (px.at(x, kStrip + y) != colour(x, y)) ++wrong;
  EXPECT_EQ(wrong, 0) << what;
  EXPECT_EQ(px.at(W, kStrip), 0xFFFFFFu) << what << ": the background right of the image";
}

}  // namespace

// Each form another program may leave on the clipboard shows its pixels
// with the pasted caption; data the viewer cannot use keeps the old image.
TEST(Paste, FormsOtherProgramsPutOnTheClipboard) {
  struct Case {
    const char* name;
    std::function<bool(const std::function<uint32_t(int, int)>&)> put;
  };
  auto bgr = [](uint32_t c) { return c; };  // 0xRRGGBB is blue, green, red in memory
  const std::vector<Case> cases = {
      {"24-bit DIB", [&](auto colour) { return put_on_clipboard(CF_DIB, packed_dib(W, H, 24, 0, {}, rows_of(24, false, [&](int x, int y) { return bgr(colour(x, y)); }))); }},
      {"top-down DIB", [&](auto colour) { return put_on_clipboard(CF_DIB, packed_dib(W, -H, 24, 0, {}, rows_of(24, true, colour))); }},
      {"8-bit DIB with 16 entries", [&](auto) { return put_on_clipboard(CF_DIB, packed_dib(W, H, 8, 0, sixteen_colours(), rows_of(8, false, [](int x, int y) { return uint32_t((x + 2 * y + 3) % 16); }), 16)); }},
      {"32-bit bitfields DIB", [&](auto colour) { return put_on_clipboard(CF_DIB, packed_dib(W, H, 32, 3, {0xFF0000, 0xFF00, 0xFF}, rows_of(32, false, colour))); }},
      {"CF_DIBV5", [&](auto colour) { return put_on_clipboard(CF_DIBV5, packed_dib(W, H, 24, 0, {}, rows_of(24, false, colour), 0, 124)); }},
      {"CF_DIB with a 108-byte header", [&](auto colour) { return put_on_clipboard(CF_DIB, packed_dib(W, H, 24, 0, {}, rows_of(24, false, colour), 0, 108)); }},
      // A V5 header with its masks inside; the alpha byte is dropped.
      {"CF_DIB with a 124-byte header", [&](auto colour) {
         std::vector<uint8_t> v5 = packed_dib(W, H, 32, 3, {}, rows_of(32, false, [&](int x, int y) { return colour(x, y) | 0xA5000000u; }), 0, 124);
         const uint32_t masks[4] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
         for (int i = 0; i < 4; ++i) fmt::put_u32le(&v5[static_cast<size_t>(40 + 4 * i)], masks[i]);
         return put_on_clipboard(CF_DIB, v5);
       }},
      {"CF_BITMAP alone", [&](auto colour) {
         std::vector<uint32_t> px;
         for (int y = 0; y < H; ++y)
           for (int x = 0; x < W; ++x) px.push_back(colour(x, y));
         return put_bitmap_on_clipboard(W, H, px);
       }},
  };
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "paste-forms"));
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
    settle(p.main);
    expect_on_screen(p.main, colour, c.name);
  }
  screenshot("pasted");
  const Pixels before = grab_client(p.main);

  // A header the viewer does not read, and one that claims ten times the
  // rows its block holds (the bitmap the system would make of it shows
  // memory past the block): the message, and the old image stays.
  const std::vector<uint8_t> black = packed_dib(W, H, 24, 0, {}, rows_of(24, false, [](int, int) { return 0u; }));
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

  // The Paste button follows the clipboard.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  repaint(p.main);
  EXPECT_FALSE(button_enabled(p.main, kButtonPaste));
  p.close();
}

TEST(PasteJapanese, CaptionOfAPastedImage) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  ASSERT_TRUE(put_on_clipboard(CF_DIB, packed_dib(W, H, 24, 0, {}, rows_of(24, false, [](int x, int) { return x * 30u; }))));
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "paste-japanese"));
  command_and_settle(p.main, kCmdPaste);
  EXPECT_TRUE(wait_until([&] { return wide_title_of(p.main) == L"カルデロ - (貼り付け像) [1:1]"; }));
  p.close();
}

// Copy at 1:2 and 3:1 of 8-bit (16-entry table), 16-bit and 24-bit images
// made of uniform 2 x 2 blocks: the clipboard's DIB has the shown size, the
// image's bit count (16 as 24), its table, and the pixels.
TEST(Copy, AtTheShownRatio) {
  const int w = 10, h = 6;
  auto block_colour = [](int x, int y) { return palette_colour((x / 2 + 3 * (y / 2)) % 16); };
  struct Case {
    int bits;
  } cases[] = {{8}, {16}, {24}};
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "copy"));
  const std::string dir = fresh_dir("copy-files");
  for (const Case& c : cases) {
    const int stride = (w * c.bits + 31) / 32 * 4;
    std::vector<uint8_t> rows(static_cast<size_t>(stride) * h);
    // 16 bits: 5-bit fields, the colour the display widens them to.
    auto five = [](uint32_t c8) { return c8 >> 3; };
    auto widen = [](uint32_t f) { return (f << 3) | (f >> 2); };
    std::function<uint32_t(int, int)> shown = block_colour;
    if (c.bits == 16)
      shown = [&](int x, int y) {
        const uint32_t v = block_colour(x, y);
        return (widen(five(v >> 16 & 255)) << 16) | (widen(five(v >> 8 & 255)) << 8) | widen(five(v & 255));
      };
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint8_t* px = &rows[static_cast<size_t>(h - 1 - y) * stride];
        const uint32_t v = block_colour(x, y);
        if (c.bits == 8) px[x] = static_cast<uint8_t>((x / 2 + 3 * (y / 2)) % 16);
        else if (c.bits == 16)
          fmt::put_u16le(px + 2 * x, (five(v >> 16 & 255) << 10) | (five(v >> 8 & 255) << 5) | five(v & 255));
        else for (int k = 0; k < 3; ++k) px[3 * x + k] = static_cast<uint8_t>(v >> (8 * k));
      }
    const std::string name = "copy" + std::to_string(c.bits) + ".bmp";
    ASSERT_TRUE(write_file(join(dir, name), make_bmp(w, h, c.bits, c.bits == 8 ? sixteen_colours() : std::vector<uint32_t>{}, rows)));
    ASSERT_TRUE(open_with_dialog(p, join(dir, name)));
    ASSERT_TRUE(wait_title(p.main, "Kaldero - " + name + " [1:1]"));
    for (const int step : {-1, 2}) {
      SCOPED_TRACE(std::to_string(c.bits) + " bits, step " + std::to_string(step));
      while (true) {
        const std::string t = title_of(p.main);
        const bool there = step < 0 ? t.find("[1:2]") != std::string::npos : t.find("[3:1]") != std::string::npos;
        if (there) break;
        command_and_settle(p.main, step < 0 ? kCmdZoomOut : kCmdZoomIn);
        ASSERT_LT(t.size(), 200u);
        if (title_of(p.main) == t) FAIL() << "zoom stuck at " << t;
      }
      ASSERT_TRUE(put_on_clipboard(CF_TEXT, {'x', 0}));
      command_and_settle(p.main, kCmdCopy);
      const std::vector<uint8_t> dib = clipboard_data(CF_DIB);
      ASSERT_GE(dib.size(), 40u);
      const int cw = step < 0 ? w / 2 : w * 3, ch = step < 0 ? h / 2 : h * 3;
      EXPECT_EQ(fmt::get_u32le(&dib[0]), 40u);
      EXPECT_EQ(fmt::get_i32le(&dib[4]), cw);
      EXPECT_EQ(fmt::get_i32le(&dib[8]), ch);
      const int bits = c.bits == 16 ? 24 : c.bits;
      EXPECT_EQ(fmt::get_u16le(&dib[14]), static_cast<uint32_t>(bits));
      EXPECT_EQ(fmt::get_u32le(&dib[32]), c.bits == 8 ? 16u : 0u);
      const size_t stride2 = (static_cast<size_t>(cw) * bits + 31) / 32 * 4;
      EXPECT_GE(dib.size(), 40 + (c.bits == 8 ? 64 : 0) + stride2 * ch);
      if (c.bits == 8) {
        for (int i = 0; i < 16; ++i)
          EXPECT_EQ(fmt::get_u32le(&dib[40 + 4 * i]), palette_colour(i)) << "entry " << i;
      }
      int wrong = 0;
      for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x) {
          const int sx = step < 0 ? 2 * x : x / 3, sy = step < 0 ? 2 * y : y / 3;
          if (dib_pixel(dib, x, y) != shown(sx, sy)) ++wrong;
        }
      EXPECT_EQ(wrong, 0);
    }
  }
  p.close();
}
