// Opening one-image icons through the real open dialog: what the view shows,
// the colour dialog for masked pixels, the temporary bitmap, the refusals, and
// the icon files that happen to lie on the test machine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <regex>
#include <set>

#include "tests/e2e/harness.h"
#include "tests/e2e/icon_files.h"

using namespace e2e;

namespace {

constexpr int kOpen = 101;
constexpr int kColourList = 128;
constexpr int kStrip = 20;  // the tool bar strip above the image
const wchar_t* kOpenTitle = L"Select a bitmap or an icon file to open.";
const wchar_t* kOpenTitleJa = L"Bitmap または Icon ファイルの選択";
const char* kColourTitle = "Color Selection";

// The dialog's list in its order, as 0xRRGGBB.
constexpr uint32_t kListColours[8] = {0x008080, 0x008000, 0x000080, 0x808000,
                                      0x800080, 0x800000, 0xFFFFFF, 0x000000};
constexpr uint32_t kDarkCyan = kListColours[0];
constexpr int kWhiteItem = 6, kBlackItem = 7;

// ---- icons ------------------------------------------------------------------

IconPicture picture(int w, int h, int bits, std::vector<uint32_t> palette,
                    const std::function<uint32_t(int, int)>& pixel,
                    const std::function<bool(int, int)>& masked = nullptr) {
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

// Sixteen colours none of which the colour dialog offers.
std::vector<uint32_t> sixteen_colours() {
  std::vector<uint32_t> c;
  for (uint32_t i = 0; i < 16; ++i) c.push_back(((i * 15 + 7) << 16) | ((250 - i * 13) << 8) | (i * 37 % 256));
  return c;
}

// Asymmetric patterns, so that a flipped, shifted or mirrored image shows.
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

// Its pixels use entries below 199 only: entry 200 may show only where a pixel is masked.
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

// ---- the viewer ---------------------------------------------------------------

std::string write_icon(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::string path = join(dir, name);
  EXPECT_TRUE(write_file(path, bytes)) << path;
  return path;
}

// Runs the open command and types path into its dialog.
void choose_file(Program& p, const std::string& path, const wchar_t* dialogTitle = kOpenTitle) {
  post_command(p.main, kOpen);
  HWND dlg = wait_window_w(dialogTitle, 10000, p.pid());
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
// left corner, masked pixels in maskShown; also the background just right
// of and below the picture, so that a wider or taller image shows.
std::string differences(const Pixels& px, const IconPicture& pic, uint32_t maskShown) {
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

// Painting follows the last message handled: poll until the view settles.
::testing::AssertionResult view_shows(HWND main, const IconPicture& pic, uint32_t maskShown) {
  settle(main);
  std::string diff;
  wait_until([&] { return (diff = differences(grab_client(main), pic, maskShown)).empty(); }, 3000);
  if (diff.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << diff;
}

// ---- the colour dialog ----------------------------------------------------------

HWND colour_list(HWND dlg) { return GetDlgItem(dlg, kColourList); }

int selected_item(HWND dlg) {
  return static_cast<int>(SendMessageA(colour_list(dlg), CB_GETCURSEL, 0, 0));
}

// As the list reports a change of selection to its dialog.
void select_item(HWND dlg, int item) {
  HWND list = colour_list(dlg);
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
  SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(kColourList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// The colour drawn in the middle of the list's selection field.
uint32_t selection_field_colour(HWND dlg) {
  RECT r;
  GetWindowRect(colour_list(dlg), &r);
  // Left of the drop-down arrow, in the middle of the field.
  const Pixels px = grab_screen(r.left + 8, (r.top + r.bottom) / 2, 1, 1);
  return px.data.empty() ? 0xFFFFFFFF : px.data[0];
}

struct ClassFind {
  DWORD pid;
  const char* cls;
  HWND found;
};

BOOL CALLBACK find_visible_class(HWND w, LPARAM lp) {
  auto* a = reinterpret_cast<ClassFind*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (pid != a->pid || !IsWindowVisible(w) || std::strcmp(cls, a->cls) != 0) return TRUE;
  a->found = w;
  return FALSE;
}

// The dropped-down part of a combo box of the process, once it is shown.
HWND wait_dropped_list(DWORD pid) {
  ClassFind a{pid, "ComboLBox", nullptr};
  wait_until([&] {
    EnumWindows(find_visible_class, reinterpret_cast<LPARAM>(&a));
    return a.found != nullptr;
  }, 5000);
  return a.found;
}

void click_centre(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// Drops the list down with the mouse, checks that every visible item shows
// its colour, saves a screenshot and clicks the item.
void pick_with_mouse(Program& p, HWND dlg, int item, const std::string& shot) {
  click_centre(colour_list(dlg));
  HWND dropped = wait_dropped_list(p.pid());
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

// ---- the temporary folder --------------------------------------------------------

std::string temp_dir() {
  char dir[MAX_PATH + 1] = {};
  GetTempPathA(sizeof dir, dir);
  return dir;
}

std::set<std::string> temporary_bitmaps() {
  std::set<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(join(temp_dir(), "*.___").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.insert(fd.cFileName);
  while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

void remove_temporary_bitmaps(const std::string& prefix) {
  for (const std::string& n : temporary_bitmaps())
    if (n.rfind(prefix, 0) == 0) DeleteFileA(join(temp_dir(), n).c_str());
}

FILETIME write_time(const std::string& path) {
  FILETIME t{};
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    GetFileTime(h, nullptr, nullptr, &t);
    CloseHandle(h);
  }
  return t;
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

// Texts between the driver (UTF-8 literals) and the viewer's code page.
std::wstring wide_of(const std::string& ansi) {
  wchar_t w[MAX_PATH * 2] = {};
  MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, w, MAX_PATH * 2);
  return w;
}

std::string ansi_of(const std::wstring& wide) {
  char a[MAX_PATH * 2] = {};
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, a, sizeof a, nullptr, nullptr);
  return a;
}

bool write_file_w(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(h);
  return ok;
}

uint64_t ticks(FILETIME t) { return (uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; }

}  // namespace

// ---- tests --------------------------------------------------------------------

TEST(OpenIcon, IconsWithoutMaskBitsShowTheirColoursWithoutTheColourDialog) {
  Program p;
  ASSERT_TRUE(start_viewer(p, "open-icon-plain"));
  const std::string dir = fresh_dir("open-icon-plain-files");
  const std::set<std::string> before = temporary_bitmaps();
  const struct {
    const char* name;
    IconPicture pic;
  } icons[] = {{"MONO.ICO", two_colour(false)},
               {"SIXTEEN.ICO", sixteen(false)},
               {"PALETTE.ICO", two_five_six(vivid_256(), false)},
               {"true.ico", true_colour(false)}};
  for (const auto& icon : icons) {
    SCOPED_TRACE(icon.name);
    const std::string path = write_icon(dir, icon.name, icon_file(icon.pic));
    choose_file(p, path);
    // The colour dialog would hold the command before the caption changes.
    ASSERT_TRUE(wait_caption(p, caption_for(icon.name))) << title_of(p.main);
    EXPECT_EQ(find_window(kColourTitle, p.pid()), nullptr);
    EXPECT_TRUE(view_shows(p.main, icon.pic, 0));
    EXPECT_EQ(temporary_bitmaps(), before) << "a temporary bitmap was left behind";
    // A handle the viewer still held would refuse the deletion.
    EXPECT_TRUE(DeleteFileA(path.c_str())) << "the icon file is still open";
  }
  screenshot("open-icon-true-colour");
  EXPECT_TRUE(p.running());
  p.close();
}

TEST(OpenIcon, ColourChoiceAppliesOnOkWhileCancelAndCloseUndoIt) {
  Program p;
  ASSERT_TRUE(start_viewer(p, "open-icon-dialog"));
  const std::string dir = fresh_dir("open-icon-dialog-files");
  const IconPicture pic = two_colour(true);
  const std::vector<uint8_t> bytes = icon_file(pic);

  // Cancel after choosing white: the colour from before the dialog (dark cyan at first).
  choose_file(p, write_icon(dir, "CANCEL.ICO", bytes));
  HWND dlg = wait_window(kColourTitle, 10000, p.pid());
  ASSERT_NE(dlg, nullptr) << "no colour dialog for an icon with mask bits";
  EXPECT_EQ(selected_item(dlg), 0);
  EXPECT_EQ(selection_field_colour(dlg), kDarkCyan);
  screenshot("open-icon-colour-dialog");
  select_item(dlg, kWhiteItem);
  EXPECT_TRUE(wait_until([&] { return selection_field_colour(dlg) == 0xFFFFFFu; }, 3000));
  ASSERT_TRUE(press(dlg, IDCANCEL));
  ASSERT_TRUE(wait_caption(p, caption_for("CANCEL.ICO"))) << title_of(p.main);
  EXPECT_TRUE(view_shows(p.main, pic, kDarkCyan));

  // The close box acts like Cancel, and Cancel put the position back too.
  choose_file(p, write_icon(dir, "CLOSE.ICO", bytes));
  dlg = wait_window(kColourTitle, 10000, p.pid());
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(selected_item(dlg), 0);
  select_item(dlg, kWhiteItem);
  PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(wait_until([&] { return !IsWindow(dlg); }, 5000));
  ASSERT_TRUE(wait_caption(p, caption_for("CLOSE.ICO"))) << title_of(p.main);
  EXPECT_TRUE(view_shows(p.main, pic, kDarkCyan));

  // OK keeps white.
  choose_file(p, write_icon(dir, "OK.ICO", bytes));
  dlg = wait_window(kColourTitle, 10000, p.pid());
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(selected_item(dlg), 0);
  select_item(dlg, kWhiteItem);
  ASSERT_TRUE(press(dlg, IDOK));
  ASSERT_TRUE(wait_caption(p, caption_for("OK.ICO"))) << title_of(p.main);
  EXPECT_TRUE(view_shows(p.main, pic, 0xFFFFFF));

  // The next open offers white first; black chosen with the mouse.
  choose_file(p, write_icon(dir, "MOUSE.ICO", bytes));
  dlg = wait_window(kColourTitle, 10000, p.pid());
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(selected_item(dlg), kWhiteItem);
  EXPECT_EQ(selection_field_colour(dlg), 0xFFFFFFu);
  pick_with_mouse(p, dlg, kBlackItem, "open-icon-colour-list");
  EXPECT_EQ(selected_item(dlg), kBlackItem);
  EXPECT_TRUE(wait_until([&] { return selection_field_colour(dlg) == 0x000000u; }, 3000));
  click_centre(GetDlgItem(dlg, IDOK));
  ASSERT_TRUE(wait_until([&] { return !IsWindow(dlg); }, 5000)) << "OK did not close the dialog";
  ASSERT_TRUE(wait_caption(p, caption_for("MOUSE.ICO"))) << title_of(p.main);
  EXPECT_TRUE(view_shows(p.main, pic, 0x000000));
  screenshot("open-icon-masked-black");
  p.close();
}

TEST(OpenIcon, MaskedPixelsOfEachDepthTakeTheNearestColourTheIconHas) {
  Program p;
  ASSERT_TRUE(start_viewer(p, "open-icon-depths"));
  const std::string dir = fresh_dir("open-icon-depths-files");

  // 16 colours: dark red sits in the icon's table; masked pixels share bytes with unmasked ones.
  IconPicture pic16 = sixteen(true);
  pic16.palette[11] = kListColours[5];
  choose_file(p, write_icon(dir, "NIBBLES.ICO", icon_file(pic16)));
  HWND dlg = wait_window(kColourTitle, 10000, p.pid());
  ASSERT_NE(dlg, nullptr);
  select_item(dlg, 5);
  ASSERT_TRUE(press(dlg, IDOK));
  ASSERT_TRUE(wait_caption(p, caption_for("NIBBLES.ICO"))) << title_of(p.main);
  EXPECT_TRUE(view_shows(p.main, pic16, kListColours[5]));

  // 256 colours without dark yellow: masked pixels take the nearest entry.
  std::vector<uint32_t> table = vivid_256();
  table[200] = 0x788808;  // (120, 136, 8), far nearer to (128, 128, 0) than any other
  const IconPicture pic256 = two_five_six(table, true);
  choose_file(p, write_icon(dir, "NEAREST.ICO", icon_file(pic256)));
  dlg = wait_window(kColourTitle, 10000, p.pid());
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(selected_item(dlg), 5);
  select_item(dlg, 3);
  ASSERT_TRUE(press(dlg, IDOK));
  ASSERT_TRUE(wait_caption(p, caption_for("NEAREST.ICO"))) << title_of(p.main);
  EXPECT_TRUE(view_shows(p.main, pic256, 0x788808));

  // 24 bits: the chosen colour itself.
  const IconPicture pic24 = true_colour(true);
  choose_file(p, write_icon(dir, "DEEP.ICO", icon_file(pic24)));
  dlg = wait_window(kColourTitle, 10000, p.pid());
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(selected_item(dlg), 3);
  ASSERT_TRUE(press(dlg, IDOK));
  ASSERT_TRUE(wait_caption(p, caption_for("DEEP.ICO"))) << title_of(p.main);
  EXPECT_TRUE(view_shows(p.main, pic24, kListColours[3]));
  p.close();
}

TEST(OpenIcon, TemporaryBitmapNeverReplacesAFileAndIsGoneAfterwards) {
  Program p;
  ASSERT_TRUE(start_viewer(p, "open-icon-temp"));
  const std::string dir = fresh_dir("open-icon-temp-files");
  const std::string temp = temp_dir();
  remove_temporary_bitmaps("SUN!");
  const std::string taken = join(temp, "SUN!.___");
  const std::vector<uint8_t> takenBytes = {'n', 'o', 't', ' ', 'o', 'u', 'r', 's'};
  ASSERT_TRUE(write_file(taken, takenBytes));
  ASSERT_TRUE(set_write_time(taken, 2001));
  const uint64_t takenTime = ticks(write_time(taken));
  const std::set<std::string> before = temporary_bitmaps();

  const IconPicture pic = two_colour(true);
  const std::string sun = write_icon(dir, "SUN.ICO", icon_file(pic));
  choose_file(p, sun);
  HWND dlg = wait_window(kColourTitle, 10000, p.pid());
  ASSERT_NE(dlg, nullptr);
  // The bitmap waits under the next free name while the user chooses.
  EXPECT_TRUE(file_exists(join(temp, "SUN!!.___")));
  EXPECT_EQ(read_file(taken), takenBytes);
  ASSERT_TRUE(press(dlg, IDOK));
  ASSERT_TRUE(wait_caption(p, caption_for("SUN.ICO"))) << title_of(p.main);
  EXPECT_TRUE(view_shows(p.main, pic, kDarkCyan));
  settle(p.main);
  EXPECT_EQ(temporary_bitmaps(), before);
  EXPECT_EQ(read_file(taken), takenBytes);
  EXPECT_EQ(ticks(write_time(taken)), takenTime);

  // Every name up to 255 characters taken: the command refuses and changes nothing.
  const IconPicture prev = sixteen(false);
  choose_file(p, write_icon(dir, "PREV.ICO", icon_file(prev)));
  ASSERT_TRUE(wait_caption(p, caption_for("PREV.ICO"))) << title_of(p.main);
  std::vector<std::string> names;
  for (std::string base = "SUN!!";; base += '!') {
    const std::string path = temp + "\\" + base + ".___";
    if (path.size() > 255) break;
    ASSERT_TRUE(write_file(path, {}));
    names.push_back(path);
  }
  choose_file(p, sun);
  EXPECT_EQ(expect_message(p.pid(), "Error"), "Unable to create a temporary bitmap file.");
  EXPECT_EQ(find_window(kColourTitle, p.pid()), nullptr);
  EXPECT_EQ(title_of(p.main), caption_for("PREV.ICO"));
  EXPECT_TRUE(view_shows(p.main, prev, 0));
  for (const std::string& n : names) EXPECT_TRUE(file_exists(n) && read_file(n).empty()) << n;
  EXPECT_EQ(read_file(taken), takenBytes);
  EXPECT_EQ(ticks(write_time(taken)), takenTime);
  remove_temporary_bitmaps("SUN!");
  p.close();
}

TEST(OpenIcon, RefusedIconsLeaveThePreviousImageShown) {
  Program p;
  ASSERT_TRUE(start_viewer(p, "open-icon-refused"));
  const std::string dir = fresh_dir("open-icon-refused-files");
  const std::set<std::string> before = temporary_bitmaps();
  const IconPicture shown = true_colour(false);
  choose_file(p, write_icon(dir, "SHOWN.ICO", icon_file(shown)));
  ASSERT_TRUE(wait_caption(p, caption_for("SHOWN.ICO"))) << title_of(p.main);
  ASSERT_TRUE(view_shows(p.main, shown, 0));

  std::vector<uint8_t> truncated = icon_file(sixteen(true));
  truncated.pop_back();
  std::vector<uint8_t> flat = icon_file(two_colour(false));
  flat[30] = 1;  // biHeight 1: half of it is no row at all
  IconPicture deep = true_colour(true);
  deep.bits = 32;
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* caption;
    const char* text;
  } cases[] = {
      // The second entry's width, 40, sits where a one-image file has its
      // info header size: only then does the image count decide.
      {"TWO.ICO", two_image_icon_file(sixteen(true), picture(40, 40, 1, {0, 0xFFFFFF}, [](int x, int) { return x % 2u; })),
       "Error", "More than one icon contained in the file."},
      {"ALPHA.ICO", icon_file(deep), "Warning", "Unable to display an icon file\nexcept with 2/16/256/16M colors."},
      {"SHORT.ICO", truncated, "Error", "Not an icon file with correct format."},
      {"FLAT.ICO", flat, "Warning", "Unable to process an icon with zero width or height."},
      {"BITMAP.ICO", make_bmp24(4, 4, [](int, int) { return 0x123456u; }), "Error",
       "Not an icon file with correct format."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = write_icon(dir, c.name, c.bytes);
    choose_file(p, path);
    EXPECT_EQ(expect_message(p.pid(), c.caption), c.text);
    EXPECT_EQ(find_window(kColourTitle, p.pid()), nullptr);
    EXPECT_EQ(title_of(p.main), caption_for("SHOWN.ICO"));
    EXPECT_TRUE(view_shows(p.main, shown, 0));
    EXPECT_EQ(temporary_bitmaps(), before);
    settle(p.main);
    EXPECT_TRUE(DeleteFileA(path.c_str())) << "the refused file is still open";
  }
  EXPECT_TRUE(p.running());
  p.close();
}

TEST(OpenIconJapanese, ColourDialogAndRefusalsSpeakJapanese) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  Program p;
  ASSERT_TRUE(start_viewer(p, "open-icon-japanese"));
  const std::string dir = fresh_dir("open-icon-japanese-files");
  IconPicture pic = sixteen(true);
  pic.palette[3] = 0x000000;  // black, to be chosen below, is one of the icon's colours
  // "表" ends in the byte of a backslash in code page 932: neither the
  // caption nor the temporary name may cut the name there. Wine can store
  // such a name only when the Unix side has a Japanese UTF-8 locale.
  std::wstring wideName = L"表示.ICO";
  std::wstring widePath = wide_of(dir) + L"\\" + wideName;
  if (!write_file_w(widePath, icon_file(pic))) {
    std::printf("note: no Japanese file names here (ja_JP.UTF-8 is not a locale of this machine); "
                "the icon gets an ASCII name\n");
    wideName = L"TSUKI.ICO";
    widePath = wide_of(dir) + L"\\" + wideName;
    ASSERT_TRUE(write_file_w(widePath, icon_file(pic)));
  }
  const std::wstring tempBitmap =
      wide_of(temp_dir()) + L"\\" + wideName.substr(0, wideName.size() - 4) + L"!.___";
  DeleteFileW(tempBitmap.c_str());
  choose_file(p, ansi_of(widePath), kOpenTitleJa);
  HWND dlg = wait_window_w(L"表示色の選択", 10000, p.pid());
  ASSERT_NE(dlg, nullptr) << "no Japanese colour dialog";
  EXPECT_NE(GetFileAttributesW(tempBitmap.c_str()), INVALID_FILE_ATTRIBUTES) << "no temporary bitmap named after the icon";
  wchar_t text[256] = {};
  GetDlgItemTextW(dlg, IDCANCEL, text, 256);
  EXPECT_EQ(std::wstring(text), L"ｷｬﾝｾﾙ");
  GetDlgItemTextW(dlg, 0xFFFF, text, 256);
  EXPECT_EQ(std::wstring(text), L"アイコン中の透明色・反転色の\n表示色を選択してください.");
  EXPECT_EQ(selected_item(dlg), 0);
  screenshot("open-icon-colour-dialog-japanese");
  pick_with_mouse(p, dlg, kBlackItem, "open-icon-colour-list-japanese");
  ASSERT_TRUE(press(dlg, IDOK));
  const std::wstring caption = L"カルデロ - " + wideName + L" [1:1]";
  ASSERT_TRUE(wait_until([&] { return wide_title_of(p.main) == caption; })) << title_of(p.main);
  EXPECT_TRUE(view_shows(p.main, pic, 0x000000));
  settle(p.main);
  EXPECT_EQ(GetFileAttributesW(tempBitmap.c_str()), INVALID_FILE_ATTRIBUTES) << "the temporary bitmap was left behind";

  std::vector<uint8_t> longer = icon_file(pic);
  longer.push_back(0);
  IconPicture deep = true_colour(false);
  deep.bits = 32;
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    const wchar_t* caption;
    const wchar_t* text;
  } cases[] = {
      {"LONG.ICO", longer, L"エラー", L"正しい形式のアイコンファイル\nではありません."},
      {"ALPHA.ICO", icon_file(deep), L"警告", L"2色/16色/256色/16M色アイコンファイル以外は\n表示できません."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    choose_file(p, write_icon(dir, c.name, c.bytes), kOpenTitleJa);
    HWND box = wait_window_w(c.caption, 10000, p.pid());
    ASSERT_NE(box, nullptr) << "no message box";
    wait_until([&] { return !wide_message_text(box).empty(); }, 2000);
    EXPECT_EQ(wide_message_text(box), c.text);
    if (std::string(c.name) == "ALPHA.ICO") screenshot("open-icon-refused-japanese");
    ASSERT_TRUE(press(box, IDOK));
    EXPECT_EQ(wide_title_of(p.main), caption);
  }
  p.close();
}

namespace {

// Icon files below dir (on the Z: drive, the machine's own file system),
// by their last four characters as the viewer tells them.
void find_icon_files(const std::string& dir, int depth, std::vector<std::string>& out) {
  if (depth > 20) return;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileExA(join(dir, "*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                              FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = join(dir, name);
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // Linked folders could lead back up the tree.
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) find_icon_files(path, depth + 1, out);
    } else if (name.size() >= 4 && _stricmp(name.c_str() + name.size() - 4, ".ico") == 0 && path.size() < 256) {
      out.push_back(path);
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

// The XOR colours (0xRRGGBB) and AND bits of a one-image icon as the
// system's own icon code decodes it, top row first.
bool system_decoding(const std::vector<uint8_t>& file, int w, int h, std::vector<uint32_t>& colour,
                     std::vector<uint8_t>& masked) {
  if (file.size() <= 22) return false;
  HICON icon = CreateIconFromResourceEx(const_cast<uint8_t*>(file.data() + 22), static_cast<DWORD>(file.size() - 22),
                                        TRUE, 0x00030000, w, h, LR_DEFAULTCOLOR);
  if (!icon) return false;
  ICONINFO ii{};
  const bool haveInfo = GetIconInfo(icon, &ii) != 0;
  DestroyIcon(icon);
  if (!haveInfo) return false;
  auto read = [](HBITMAP bmp, int width, int height, std::vector<uint32_t>& out) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    out.assign(static_cast<size_t>(width) * height, 0);
    HDC dc = GetDC(nullptr);
    const int rows = GetDIBits(dc, bmp, 0, static_cast<UINT>(height), out.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    for (auto& c : out) c &= 0xFFFFFF;
    return rows == height;
  };
  std::vector<uint32_t> andBits;
  bool ok;
  if (ii.hbmColor) {
    ok = read(ii.hbmColor, w, h, colour) && read(ii.hbmMask, w, h, andBits);
  } else {
    // A monochrome icon: one bitmap of double height, the AND bits above the XOR bits.
    std::vector<uint32_t> both;
    ok = read(ii.hbmMask, w, 2 * h, both);
    if (ok) {
      andBits.assign(both.begin(), both.begin() + static_cast<std::ptrdiff_t>(w) * h);
      colour.assign(both.begin() + static_cast<std::ptrdiff_t>(w) * h, both.end());
    }
  }
  if (ii.hbmColor) DeleteObject(ii.hbmColor);
  DeleteObject(ii.hbmMask);
  masked.clear();
  for (uint32_t a : andBits) masked.push_back(a != 0);
  return ok;
}

// Compares the view of an icon opened at 1:1 with the system's decoding:
// unmasked pixels show their colour, masked ones all one colour.
::testing::AssertionResult view_matches_system_decoding(HWND main, const std::vector<uint8_t>& file) {
  const int w = static_cast<int>(file[26] | file[27] << 8), h = static_cast<int>(file[30] | file[31] << 8) / 2;
  std::vector<uint32_t> colour;
  std::vector<uint8_t> masked;
  if (!system_decoding(file, w, h, colour, masked))
    return ::testing::AssertionFailure() << "the system could not decode it";
  settle(main);
  const Pixels px = grab_client(main);
  if (px.width < w || px.height < kStrip + h) return ::testing::AssertionFailure() << "view too small";
  int wrong = 0;
  std::set<uint32_t> maskShades;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const size_t i = static_cast<size_t>(y) * w + x;
      const uint32_t got = px.at(x, kStrip + y);
      if (masked[i])
        maskShades.insert(got);
      else if (got != colour[i])
        ++wrong;
    }
  if (wrong == 0 && maskShades.size() <= 1) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << wrong << " unmasked pixels differ, masked pixels in " << maskShades.size()
                                       << " colours";
}

bool is_icon_refusal(const std::string& caption, const std::string& text) {
  if (caption == "Error")
    return text == "Not an icon file with correct format." || text == "More than one icon contained in the file.";
  if (caption == "Warning")
    return text == "Unable to process an icon with zero width or height." ||
           text == "Unable to display an icon file\nexcept with 2/16/256/16M colors.";
  return false;
}

// "Kaldero - NAME [n:1]" or "Kaldero - NAME [1:n]".
bool is_caption_of(const std::string& title, const std::string& name, bool* natural) {
  const std::string head = "Kaldero - " + name + " [";
  if (title.rfind(head, 0) != 0 || title.back() != ']') return false;
  const std::string ratio = title.substr(head.size(), title.size() - head.size() - 1);
  *natural = ratio == "1:1";
  static const std::regex form("[0-9]+:1|1:[0-9]+");
  return std::regex_match(ratio, form);
}

}  // namespace

TEST(OpenIcon, IconFilesFoundOnTheMachineOpenOrAreRefused) {
  std::vector<std::string> files;
  const ULONGLONG searchStart = GetTickCount64();
  find_icon_files("Z:\\usr\\share", 0, files);
  std::printf("%zu .ico files under /usr/share (search took %llu ms)\n", files.size(),
              static_cast<unsigned long long>(GetTickCount64() - searchStart));
  if (files.empty()) GTEST_SKIP() << "no .ico file under /usr/share on this machine";
  std::sort(files.begin(), files.end());

  Program p;
  ASSERT_TRUE(start_viewer(p, "open-icon-found"));
  const std::string dir = fresh_dir("open-icon-found-files");
  const std::string marker = write_icon(dir, "MARKER.ICO", icon_file(true_colour(false)));
  const ULONGLONG start = GetTickCount64();
  const size_t kMostFiles = 60;
  int opened = 0, refused = 0, tried = 0;
  std::string lastName;
  for (const std::string& path : files) {
    if (static_cast<size_t>(tried) == kMostFiles || GetTickCount64() - start > 45000) break;
    ++tried;
    SCOPED_TRACE(path);
    const std::string name = path.substr(path.rfind('\\') + 1);
    if (name == lastName) {
      // The same caption again would not tell whether this one opened.
      choose_file(p, marker);
      ASSERT_TRUE(wait_caption(p, caption_for("MARKER.ICO")));
    }
    const std::string titleBefore = title_of(p.main);
    choose_file(p, path);
    enum { Waiting, Opened, Refused, Other } outcome = Waiting;
    bool natural = false;
    std::string said;
    wait_until([&] {
      if (!p.running()) return (outcome = Other), true;
      if (HWND dlg = find_window(kColourTitle, p.pid())) {
        press(dlg, IDOK);
        return false;
      }
      for (const char* caption : {"Error", "Warning"})
        if (HWND box = find_window(caption, p.pid())) {
          wait_until([&] { return !message_text(box).empty(); }, 2000);
          said = message_text(box);
          outcome = is_icon_refusal(caption, said) ? Refused : Other;
          press(box, IDOK);
          return true;
        }
      if (is_caption_of(title_of(p.main), name, &natural)) return (outcome = Opened), true;
      return false;
    }, 15000);
    ASSERT_NE(outcome, Waiting) << "no caption and no message: the viewer hangs";
    ASSERT_NE(outcome, Other) << (p.running() ? "unexpected message: " + said : "the viewer ended");
    if (outcome == Refused) {
      ++refused;
      std::printf("refused %s: %s\n", path.c_str(), said.c_str());
      EXPECT_EQ(title_of(p.main), titleBefore);
    } else {
      ++opened;
      std::printf("opened %s: %s\n", path.c_str(), title_of(p.main).c_str());
      lastName = name;
      if (natural) {
        EXPECT_TRUE(view_matches_system_decoding(p.main, read_file(path)));
        screenshot("open-icon-found-" + std::to_string(opened));
      }
    }
  }
  std::printf("found %zu, tried %d: %d opened, %d refused\n", files.size(), tried, opened, refused);
  RecordProperty("found", static_cast<int>(files.size()));
  RecordProperty("opened", opened);
  RecordProperty("refused", refused);
  EXPECT_TRUE(p.running());
  p.close();
}
