// Files other programs write every day: V5 and OS/2 headers, 5-6-5 bitfield
// and RLE files open and show their exact pixels, a file another program
// holds open for writing can still be viewed, and the files the reader
// refuses leave the picture on view as it was.
#include <gtest/gtest.h>

#include <functional>

#include "formats/bytes.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/icon_files.h"
#include "tests/e2e/viewer_fixture.h"
#include "tests/e2e/viewer_ui.h"

using namespace e2e;

using OpenConverted = ViewerTest;

namespace {

uint8_t widen(uint32_t v, int bits) {  // a field scaled to 8 bits by bit replication
  uint32_t r = v << (8 - bits);
  for (int have = bits; have < 8; have += bits) r |= v << (8 - bits) >> have;
  return static_cast<uint8_t>(r);
}

struct Sample {
  const char* name;
  std::vector<uint8_t> file;
  int width, height;
  std::function<uint32_t(int, int)> expected;  // 0xRRGGBB at (x, y from the top)
};

// 37 x 23 in 5-6-5: every pixel a different mix, the rows bottom-up.
Sample rgb565() {
  const int w = 37, h = 23, stride = (2 * w + 3) / 4 * 4;
  auto raw = [](int x, int y) { return static_cast<uint32_t>((x * 1777 + y * 3301) ^ (x << 9)) & 0xFFFF; };
  std::vector<uint8_t> rows(static_cast<size_t>(stride) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t v = raw(x, y);
      rows[static_cast<size_t>(h - 1 - y) * stride + 2 * x] = static_cast<uint8_t>(v);
      rows[static_cast<size_t>(h - 1 - y) * stride + 2 * x + 1] = static_cast<uint8_t>(v >> 8);
    }
  std::vector<uint8_t> f = make_bmp(w, h, 16, {0xF800, 0x07E0, 0x001F}, rows);  // the masks take the table's place
  f[30] = 3;                                                                    // BI_BITFIELDS
  f[46] = 0;                                                                    // no colour table
  return {"rgb565.bmp", f, w, h, [raw](int x, int y) {
            const uint32_t v = raw(x, y);
            return uint32_t{widen(v >> 11, 5)} << 16 | uint32_t{widen((v >> 5) & 63, 6)} << 8 | widen(v & 31, 5);
          }};
}

// 9 x 4 in RLE8 with every kind of code; skipped pixels show entry 0.
Sample rle8() {
  const std::vector<uint32_t> palette = {0x102030, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF};
  const std::vector<uint8_t> codes = {
      9, 1, 0, 0,                    // bottom row: nine of entry 1
      0, 5, 2, 3, 4, 5, 2, 0, 3, 1,  // absolute run of five (padded), then three of entry 1
      0, 0,                          //
      0, 2, 4, 1,                    // delta: four right, one up (skipped pixels stay entry 0)
      2, 4, 0, 0,                    // two of entry 4 at x 4 and 5 of the top row
      0, 1};
  const int expected[4][9] = {{0, 0, 0, 0, 4, 4, 0, 0, 0},
                              {0, 0, 0, 0, 0, 0, 0, 0, 0},
                              {2, 3, 4, 5, 2, 1, 1, 1, 0},
                              {1, 1, 1, 1, 1, 1, 1, 1, 1}};
  std::vector<uint8_t> f = make_bmp(9, 4, 8, palette, codes);
  f[30] = 1;  // BI_RLE8
  return {"rle8.bmp", f, 9, 4, [palette, expected](int x, int y) { return palette[expected[y][x]]; }};
}

// 13 x 7 in 24 bits with its info header grown to a V5 one (as GIMP and
// ImageMagick write by default; the extra bytes noise: colour-space data the
// viewer ignores).
Sample v5() {
  auto colour = [](int x, int y) { return static_cast<uint32_t>((x * 19) << 16 | (255 - y * 30) << 8 | (x * y * 7)); };
  std::vector<uint8_t> f = make_bmp24(13, 7, colour);
  f.insert(f.begin() + 54, 124 - 40, 0x5A);
  fmt::put_u32le(&f[2], static_cast<uint32_t>(f.size()));
  fmt::put_u32le(&f[10], fmt::get_u32le(&f[10]) + 124 - 40);
  fmt::put_u32le(&f[14], 124);
  return {"v5.bmp", f, 13, 7, colour};
}

// 13 x 7 in 8 bits with an OS/2 1.x header: 16-bit sides, 256 entries of 3 bytes.
Sample os2() {
  const int w = 13, h = 7, stride = (w + 3) / 4 * 4;
  auto entry = [](int i) {
    return static_cast<uint32_t>(i * 16) << 16 | static_cast<uint32_t>(255 - i * 9) << 8 | 0x40;
  };
  std::vector<uint8_t> f(14 + 12, 0);
  f[0] = 'B';
  f[1] = 'M';
  fmt::put_u32le(&f[10], 14 + 12 + 3 * 256);
  fmt::put_u32le(&f[14], 12);
  fmt::put_u16le(&f[18], static_cast<uint32_t>(w));
  fmt::put_u16le(&f[20], static_cast<uint32_t>(h));
  fmt::put_u16le(&f[22], 1);
  fmt::put_u16le(&f[24], 8);
  for (int i = 0; i < 256; ++i) {
    const uint32_t c = i < 16 ? entry(i) : 0;
    f.insert(f.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
  }
  std::vector<uint8_t> rows(static_cast<size_t>(stride) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      rows[static_cast<size_t>(h - 1 - y) * stride + x] = static_cast<uint8_t>((x + 3 * y) % 16);
  f.insert(f.end(), rows.begin(), rows.end());
  fmt::put_u32le(&f[2], static_cast<uint32_t>(f.size()));
  return {"os2.bmp", f, w, h, [entry](int x, int y) { return entry((x + 3 * y) % 16); }};
}

void expect_pixels(HWND main, const Sample& s) {
  const Pixels px = grab_client(main);
  int wrong = 0;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x)
      if (px.at(x, kStrip + y) != s.expected(x, y) && ++wrong <= 5)
        ADD_FAILURE() << s.name << " pixel " << x << "," << y << ": " << std::hex << px.at(x, kStrip + y)
                      << " instead of " << s.expected(x, y);
  EXPECT_EQ(wrong, 0) << s.name;
  EXPECT_EQ(px.at(s.width, kStrip), 0xFFFFFFu) << "past the image: the background";
}

}  // namespace

// An editor that still has the file open for writing does not keep it from
// being viewed, a BMP file of any kind nor an icon.
TEST_F(OpenConverted, FilesOfEachHeaderAndEncodingShowTheirPixelsWhileHeldOpenForWriting) {
  const std::string dir = fresh_dir("open-converted-files");
  IconPicture picture;
  picture.width = picture.height = 16;
  picture.bits = 24;
  for (int i = 0; i < 256; ++i) picture.pixels.push_back(i < 128 ? 0x2040C0u : 0xC04020u);
  const Sample icon{"icon.ico", icon_file(picture), 16, 16, [](int, int y) { return y < 8 ? 0x2040C0u : 0xC04020u; }};
  for (const Sample& s : {v5(), os2(), rgb565(), rle8(), icon}) {
    SCOPED_TRACE(s.name);
    const std::string path = join(dir, s.name);
    ASSERT_TRUE(write_file(path, s.file));
    HANDLE editor = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(editor, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(open_at(p, path, "1:1")) << title_of(p.main);
    expect_pixels(p.main, s);
    screenshot(std::string("open-converted-") + s.name);
    CloseHandle(editor);
  }
}

// The header scan passes but the reader refuses the file: the new file was
// read into a block of its own, so the picture on view, its caption, zoom,
// scroll position and bars are as they were, and the image commands go on
// working on it. What the reader says: the declared size is checked against
// the file before anything is allocated, compressed data that breaks the
// image is a read error (each kind is DibNormalise's), an image above the cap
// is memory that cannot be had,
// and a 1-bit icon of 1 GB, valid by its layout, has a 2 GB bitmap that a
// 32-bit program cannot hold (the program used to end on an uncaught exception).
TEST_F(OpenConverted, FilesTheReaderRefusesKeepThePictureOnView) {
  const std::string dir = fresh_dir("open-reader-refuses-files");
  // Large enough for both scroll bars and the size grip at 1:1.
  const std::string good = join(dir, "good.bmp");
  ASSERT_TRUE(write_file(good, make_bmp24(900, 700, [](int x, int y) { return (x * 7 + y * 3) & 0xFFFFFFu; })));
  set_client_size(p.main, 500, 400);
  ASSERT_TRUE(open_at(p, good, "1:2")) << title_of(p.main);
  command_and_settle(p.main, kCmdZoomIn);
  scroll_view(p.main, false, SB_PAGERIGHT);
  ASSERT_TRUE(button_enabled(p.main, IDC_COPY_BUTTON));
  ASSERT_TRUE(shown(horizontal_bar(p.main)) && shown(vertical_bar(p.main)) && size_grip(p.main));
  const int scrolled = scroll_pos(horizontal_bar(p.main));
  ASSERT_GT(scrolled, 0);
  RECT client;
  GetClientRect(p.main, &client);
  const Pixels before = grab_client(p.main);

  std::vector<uint8_t> rowsInHeaders = make_bmp24(40, 30, [](int, int) { return 0x808080u; });
  fmt::put_u32le(&rowsInHeaders[10], 20);
  std::vector<uint8_t> claims2GB = make_bmp24(2, 2, [](int, int) { return 0x808080u; });
  claims2GB.resize(60);
  fmt::put_u32le(&claims2GB[2], 0x80000000u);
  std::vector<uint8_t> runPastRow = rle8().file;
  runPastRow[runPastRow.size() - 6] = 13;  // the last encoded run: 13 pixels from x 4, past the 12 a row holds
  std::vector<uint8_t> huge = rle8().file;
  fmt::put_u32le(&huge[18], 60000);
  fmt::put_u32le(&huge[22], 60000);

  // 32768 x 131072 at 1 bit: directory, header, two colours, then zeros up to
  // the size the layout demands (a sparse file, made in an instant).
  const uint32_t w = 32768, h = 131072, size = 22 + 40 + 8 + h * (w / 8) * 2;
  std::vector<uint8_t> head(70, 0);
  head[2] = 1, head[4] = 1, head[8] = 2, head[10] = 1, head[12] = 1;
  fmt::put_u32le(&head[14], size - 22);
  head[18] = 22;
  fmt::put_u32le(&head[22], 40);
  fmt::put_u32le(&head[26], w);
  fmt::put_u32le(&head[30], 2 * h);
  head[34] = 1, head[36] = 1;
  fmt::put_u32le(&head[66], 0xFFFFFF);  // the second colour: white
  const std::string hugeIcon = join(dir, "huge.ico");
  ASSERT_TRUE(write_file(hugeIcon, head));
  HANDLE f = CreateFileA(hugeIcon.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = size;
  ASSERT_TRUE(SetFilePointerEx(f, end, nullptr, FILE_BEGIN) && SetEndOfFile(f));
  CloseHandle(f);
  const std::string leftover = join(temp_dir(), "huge!.___");
  DeleteFileA(leftover.c_str());  // from a run that ended on the old fault

  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;  // none: written above
    const char* caption;
    const char* text;
  };
  const Case cases[] = {
      {"rowsinheaders.bmp", rowsInHeaders, "Error", "Illegal structure size is found in info header."},
      {"claims2gb.bmp", claims2GB, "Read Error", "Unable to read bitmap info header."},
      {"runpastrow.bmp", runPastRow, "Read Error", "Unable to read bitmap info header."},
      {"huge.bmp", huge, "Error", "Unable to allocate space for bitmap."},
      {"huge.ico", {}, "Error", "Unable to create a temporary bitmap file."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = join(dir, c.name);
    if (!c.bytes.empty()) {
      ASSERT_TRUE(write_file(path, c.bytes));
    }
    ASSERT_TRUE(open_with_dialog(p, path));
    if (&c == &cases[1] && wait_window(c.caption, 10000, p.pid())) screenshot("open-refused-declared-size");
    EXPECT_EQ(expect_message(p.pid(), c.caption, 30000), c.text);
    settle(p.main);
    EXPECT_TRUE(p.running());
    EXPECT_EQ(title_of(p.main), "Kaldero - good.bmp [1:1]");
    EXPECT_TRUE(shown(horizontal_bar(p.main)));
    EXPECT_TRUE(shown(vertical_bar(p.main)));
    EXPECT_NE(size_grip(p.main), nullptr);
    EXPECT_EQ(scroll_pos(horizontal_bar(p.main)), scrolled);
    // What the screen shows was not touched, and a fresh paint draws the same.
    const auto view_changes = [&] {
      return count_differences(grab_client(p.main), 0, kStrip, before, 0, kStrip, client.right, client.bottom - kStrip);
    };
    EXPECT_EQ(view_changes(), 0);
    repaint(p.main);
    EXPECT_EQ(view_changes(), 0) << "painted again";
    for (int id : kImageButtons) EXPECT_TRUE(button_enabled(p.main, id)) << std::hex << id;
  }
  EXPECT_FALSE(file_exists(leftover));
  screenshot("open-bmp-refused-keeps-picture");
  // The zoom it kept is the one the commands go on from.
  command_and_settle(p.main, kCmdZoomOut);
  EXPECT_TRUE(wait_title(p.main, "Kaldero - good.bmp [1:2]")) << title_of(p.main);
  p.close();
  DeleteFileA(hugeIcon.c_str());
}
