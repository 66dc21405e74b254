// Helpers of the icon tests: pictures, opening through the dialog, what the
// view shows, the colour dialog and the temporary bitmaps.
#include "tests/e2e/icon_ui.h"

#include <algorithm>
#include <cstdio>

namespace e2e {

IconPicture picture(int w, int h, int bits, std::vector<uint32_t> palette,
                    const std::function<uint32_t(int, int)>& pixel,
                    const std::function<bool(int, int)>& masked) {
  IconPicture p;
  p.width = w;
  p.height = h;
  p.bits = bits;
  p.palette = std::move(palette);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      p.pixels.push_back(pixel(x, y));
      if (masked) p.masked.push_back(masked(x, y) ? 1 : 0);
    }
  return p;
}

std::vector<uint32_t> sixteen_colours() {
  std::vector<uint32_t> c;
  for (uint32_t i = 0; i < 16; ++i) c.push_back(((i * 15 + 7) << 16) | ((250 - i * 13) << 8) | (i * 37 % 256));
  return c;
}

IconPicture two_colour(bool withMask) {
  return picture(
      // Wider than one 32-bit row word: two mask words a row, the second one mostly padding.
      37, 7, 1, {0x000000, 0xFFFFFF}, [](int x, int y) { return (x * x + 3 * y) % 5 < 2 ? 1u : 0u; },
      withMask ? std::function<bool(int, int)>([](int x, int y) { return (x + 2 * y) % 4 == 1 || (x == 36 && y == 0); })
               : nullptr);
}

IconPicture sixteen(bool withMask) {
  return picture(9, 6, 4, sixteen_colours(), [](int x, int y) { return static_cast<uint32_t>(x + 3 * y + x * y) % 16; },
                 withMask ? std::function<bool(int, int)>([](int x, int y) { return (x * 7 + y * 3) % 5 < 2; })
                          : nullptr);
}

IconPicture two_five_six(const std::vector<uint32_t>& palette, bool withMask) {
  return picture(5, 4, 8, palette, [](int x, int y) { return static_cast<uint32_t>(7 * x + 37 * y + 11) % 199; },
                 withMask ? std::function<bool(int, int)>([](int x, int y) { return x == y || x == 4; }) : nullptr);
}

std::vector<uint32_t> vivid_256() {
  std::vector<uint32_t> c;
  for (uint32_t i = 0; i < 256; ++i) c.push_back((i << 16) | ((255 - i) << 8) | 0xFF);
  return c;
}

IconPicture true_colour(bool withMask) {
  return picture(7, 5, 24, {},
                 [](int x, int y) { return static_cast<uint32_t>((x * 36) << 16 | (y * 50 + 5) << 8 | ((x + y) * 20 + 1)); },
                 withMask ? std::function<bool(int, int)>([](int x, int y) { return (x + y) % 3 == 0; }) : nullptr);
}

std::string write_icon(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::string path = join(dir, name);
  EXPECT_TRUE(write_file(path, bytes)) << path;
  return path;
}

void choose_file(Program& p, const std::string& path, const wchar_t* dialogTitle) {
  HWND dlg = command_dialog(p, kCmdOpen, dialogTitle);
  ASSERT_NE(dlg, nullptr) << "no open dialog";
  ASSERT_TRUE(answer_file_dialog(dlg, path));
  const bool closed = wait_until([&] { return !IsWindow(dlg); }, 10000);
  if (!closed) screenshot("open-icon-dialog-stuck");
  ASSERT_TRUE(closed) << "the open dialog did not take " << path;
}

std::string caption_for(const std::string& name) { return "Kaldero - " + name + " [1:1]"; }

bool wait_caption(Program& p, const std::string& caption) {
  return wait_until([&] { return title_of(p.main) == caption || !p.running(); }) && title_of(p.main) == caption;
}

// Pixels of the view that differ from the picture shown at 1:1 from the top
// left corner, masked pixels in maskShown, and the background just right of
// and below it, so that a wider or taller image shows.
static std::string differences(const Pixels& px, const IconPicture& pic, uint32_t maskShown) {
  int wrong = 0;
  char first[160] = "";
  auto check = [&](int x, int y, uint32_t want) {
    const uint32_t got = px.at(x, kStrip + y);
    if (got == want) return;
    if (wrong++ == 0)
      std::snprintf(first, sizeof first, "first at (%d, %d): shows %06X, expected %06X", x, y, got, want);
  };
  if (px.width < pic.width + 1 || px.height < kStrip + pic.height + 1) return "view too small";
  for (int y = 0; y < pic.height; ++y)
    for (int x = 0; x < pic.width; ++x) check(x, y, pic.is_masked(x, y) ? maskShown : pic.colour(x, y));
  for (int y = 0; y < pic.height; ++y) check(pic.width, y, 0xFFFFFF);
  for (int x = 0; x < pic.width; ++x) check(x, pic.height, 0xFFFFFF);
  if (wrong == 0) return "";
  return std::to_string(wrong) + " pixels differ, " + first;
}

::testing::AssertionResult view_shows(HWND main, const IconPicture& pic, uint32_t maskShown) {
  settle(main);
  std::string diff;
  wait_until([&] { return (diff = differences(grab_client(main), pic, maskShown)).empty(); }, 3000);
  if (diff.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << diff;
}

static HWND colour_list(HWND dlg) { return GetDlgItem(dlg, kColourList); }

int selected_item(HWND dlg) {
  return static_cast<int>(SendMessageA(colour_list(dlg), CB_GETCURSEL, 0, 0));
}

void select_item(HWND dlg, int item) {
  HWND list = colour_list(dlg);
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
  SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(kColourList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

uint32_t selection_field_colour(HWND dlg) {
  RECT r;
  GetWindowRect(colour_list(dlg), &r);
  // Left of the drop-down arrow, in the middle of the field.
  const Pixels px = grab_screen(r.left + 8, (r.top + r.bottom) / 2, 1, 1);
  return px.data.empty() ? 0xFFFFFFFF : px.data[0];
}

void pick_with_mouse(Program& p, HWND dlg, int item, const std::string& shot) {
  click_centre(colour_list(dlg));
  HWND dropped = wait_visible_class(p.pid(), "ComboLBox");
  ASSERT_NE(dropped, nullptr) << "the colour list did not drop down";
  const int itemHeight = static_cast<int>(SendMessageA(dropped, LB_GETITEMHEIGHT, 0, 0));
  ASSERT_EQ(itemHeight, 20);
  RECT client;
  GetClientRect(dropped, &client);
  const int rows = client.bottom / itemHeight;
  ASSERT_GT(rows, 0);
  int top = static_cast<int>(SendMessageA(dropped, LB_GETTOPINDEX, 0, 0));
  if (item < top || item >= top + rows) {
    SendMessageA(dropped, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(0, item - rows + 1)), 0);
    top = static_cast<int>(SendMessageA(dropped, LB_GETTOPINDEX, 0, 0));
  }
  settle(dlg);
  const POINT origin = client_to_screen(dropped, 0, 0);
  const Pixels px = grab_screen(origin.x, origin.y, client.right, client.bottom);
  for (int i = top; i < top + rows && i < 8; ++i) {
    const int y = (i - top) * itemHeight;
    EXPECT_EQ(px.at(client.right / 2, y + itemHeight / 2), kListColours[i]) << "list item " << i;
    // The item is filled 2 pixels in from its sides, 1 from top and bottom.
    EXPECT_EQ(px.at(3, y + 2), kListColours[i]) << "list item " << i;
  }
  screenshot(shot);
  click(origin.x + client.right / 2, origin.y + (item - top) * itemHeight + itemHeight / 2);
  EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(dropped); }, 5000));
}

std::vector<uint32_t> draw_icon(const std::vector<uint8_t>& ico, int w, int h, uint32_t background) {
  if (ico.size() <= 22) return {};
  HICON icon = CreateIconFromResourceEx(const_cast<uint8_t*>(ico.data()) + 22, static_cast<DWORD>(ico.size() - 22),
                                        TRUE, 0x00030000, w, h, LR_DEFAULTCOLOR);
  if (!icon) return {};
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP section = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, section);
  auto* px = static_cast<uint32_t*>(bits);
  for (int i = 0; i < w * h; ++i) px[i] = background;
  DrawIconEx(dc, 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
  GdiFlush();
  std::vector<uint32_t> out(px, px + w * h);
  for (uint32_t& c : out) c &= 0xFFFFFF;
  SelectObject(dc, old);
  DeleteObject(section);
  DeleteDC(dc);
  DestroyIcon(icon);
  return out;
}

std::set<std::string> temporary_bitmaps() {
  const std::vector<std::string> names = files_in(temp_dir(), "*.___");
  return {names.begin(), names.end()};
}

void remove_temporary_bitmaps(const std::string& prefix) {
  for (const std::string& n : temporary_bitmaps())
    if (n.rfind(prefix, 0) == 0) DeleteFileA(join(temp_dir(), n).c_str());
}

uint64_t write_time(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return 0;
  return (uint64_t{d.ftLastWriteTime.dwHighDateTime} << 32) | d.ftLastWriteTime.dwLowDateTime;
}

bool set_write_time(const std::string& path, WORD year) {
  SYSTEMTIME st{};
  st.wYear = year;
  st.wMonth = 2;
  st.wDay = 3;
  st.wHour = 4;
  FILETIME t;
  SystemTimeToFileTime(&st, &t);
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = SetFileTime(h, nullptr, nullptr, &t) != 0;
  CloseHandle(h);
  return ok;
}

}  // namespace e2e
