#include "tests/e2e/mask_ui.h"

#include <gtest/gtest.h>

#include "tests/e2e/viewer_ui.h"

namespace e2e {

uint32_t mask_pattern(int x, int y) {
  x %= 16;
  y %= 16;
  const bool ring = x >= 2 && x <= 7 && y >= 2 && y <= 7;
  if (ring && (x == 2 || x == 7 || y == 2 || y == 7)) return 0xFF0000;
  if (ring) return 0x0000FF;
  if (x >= 10 && x <= 13 && y == x - 9) return 0x00FF00;
  if (x == 12 && y == 11) return 0xFFFF00;
  if (x == 15) return 0x000000;
  if (y == 13 && (x == 4 || x == 5)) return 0x808080;
  return 0xFFFFFF;
}

std::vector<uint32_t> mask_square(int n) {
  std::vector<uint32_t> out;
  for (int j = 0; j < n; ++j)
    for (int k = 0; k < n; ++k) out.push_back(mask_pattern(k, j));
  return out;
}

bool open_tool_on_capture(Program& p, const std::string& path, int n, int colours, bool japanese) {
  // The Japanese runs keep the form a program starts with (32 x 32, 16 colours).
  if (!japanese && !set_form(p, n, colours)) return false;
  return capture_square(p, n, kMaskPatternX, kMaskPatternY) && save_and_open_tool(p, path, japanese);
}

::testing::AssertionResult MaskSession::open(const std::string& name, int n, int colours, bool japanese) {
  if (!pattern.shown()) return ::testing::AssertionFailure() << "the pattern is not on the screen";
  if (!start_meridot(p, name)) return ::testing::AssertionFailure() << "the capture program did not start";
  dir = fresh_dir(name + "-out");
  path = join(dir, name + ".ico");
  if (!open_tool_on_capture(p, path, n, colours, japanese)) return ::testing::AssertionFailure() << "no tool";
  before = read_file(path);
  return ::testing::AssertionSuccess();
}

bool save_and_open_tool(Program& p, const std::string& path, bool japanese) {
  const wchar_t* question = japanese ? L"質問" : L"Question";
  if (!answer_box(p, question, japanese ? L"イメージを保存しますか？" : L"Do you save the image?", IDYES)) return false;
  const HWND dialog = wait_window_w(japanese ? L"アイコン・ファイル名の指定" : L"Assign an icon filename", 10000, p.pid());
  if (!dialog || !answer_file_dialog(dialog, path)) return false;
  const wchar_t* make = japanese ? L"アイコンに透明色部分を作りますか？" : L"Do you make transparent pixels in the icon?";
  return answer_box(p, question, make, IDYES) && wait_until([&] { return tool_open(p.main); }, 10000);
}

::testing::AssertionResult answer_box(Program& p, const wchar_t* caption, const wchar_t* text, int button) {
  const HWND box = wait_window_w(caption, 15000, p.pid());
  if (!box) return ::testing::AssertionFailure() << "no box";
  if (!wait_until([&] { return wide_message_text(box) == text; }, 2000))
    return ::testing::AssertionFailure() << "another text: " << ansi_of(wide_message_text(box));
  return press(box, button) ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "no answer";
}

bool tool_open(HWND main) {
  for (int id : {kToolOk, kToolCancel, kToolFill, kToolColours}) {
    const HWND c = GetDlgItem(main, id);
    if (!c || !IsWindowVisible(c)) return false;
  }
  // The list is filled and its selection set last, after its heights.
  const HWND list = GetDlgItem(main, kToolColours);
  return SendMessageA(list, CB_GETCOUNT, 0, 0) == 14 && SendMessageA(list, CB_GETCURSEL, 0, 0) != CB_ERR;
}

void click_cell(HWND main, int k, int j) {
  const POINT s = client_to_screen(main, 6 * k + 3, 6 * j + 23);
  click(s.x, s.y);
  settle(main);
}

bool cell_shows(const Pixels& client, int k, int j, uint32_t colour, bool marked) {
  for (int dy = 0; dy < 5; ++dy)
    for (int dx = 0; dx < 5; ++dx) {
      // One diagonal from the cell's top-left pixel, the other from the grid
      // line's pixel at its top right, each without its end point.
      const bool diagonal = marked && (dx == dy || dx + dy == 5);
      const uint32_t want = diagonal ? 0x000000 : colour;
      if (client.at(6 * k + 1 + dx, 6 * j + 21 + dy) != want) return false;
    }
  return true;
}

::testing::AssertionResult view_is(HWND main, int n, const std::vector<uint32_t>& colours,
                                   const std::vector<uint8_t>& marks, uint32_t markColour) {
  settle(main);
  std::string diff;
  wait_until([&] {
    const Pixels px = grab_client(main);
    diff.clear();
    if (px.width < 6 * n + 2 || px.height < 6 * n + 21) {
      diff = "client area too small";
      return false;
    }
    for (int j = 0; j < n && diff.size() < 400; ++j)
      for (int k = 0; k < n && diff.size() < 400; ++k) {
        const bool m = marks[static_cast<size_t>(j) * n + k] != 0;
        if (!cell_shows(px, k, j, m ? markColour : colours[static_cast<size_t>(j) * n + k], m))
          diff += "cell (" + std::to_string(k) + ", " + std::to_string(j) + (m ? ") marked; " : "); ");
      }
    // The grid: black lines left of every column and below every row.
    for (int i = 0; i <= n && diff.size() < 400; ++i)
      for (int t = 0; t < 6 * n; ++t) {
        if (px.at(6 * i, 21 + t) != 0) {
          diff += "vertical line " + std::to_string(i) + "; ";
          break;
        }
        if (i > 0 && px.at(t, 6 * i + 20) != 0) {
          diff += "horizontal line " + std::to_string(i) + "; ";
          break;
        }
      }
    return diff.empty();
  }, 3000);
  if (diff.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << diff;
}

std::vector<uint8_t> with_marks(const std::vector<uint8_t>& before, int n, int colours,
                                const std::vector<uint8_t>& marks) {
  std::vector<uint8_t> out = before;
  const int bits = colours == 256 ? 8 : 4;
  const size_t xorAt = 62 + 4 * static_cast<size_t>(colours);
  const size_t andAt = xorAt + static_cast<size_t>(n) * n * bits / 8;
  const size_t andRow = static_cast<size_t>((n + 31) / 32 * 4);
  for (int j = 0; j < n; ++j)
    for (int k = 0; k < n; ++k) {
      if (!marks[static_cast<size_t>(j) * n + k]) continue;
      const size_t r = static_cast<size_t>(n - 1 - j);
      out[andAt + r * andRow + k / 8] |= static_cast<uint8_t>(0x80 >> (k % 8));
      uint8_t& b = out[xorAt + r * n * bits / 8 + static_cast<size_t>(k) * bits / 8];
      b = bits == 8 ? 0 : static_cast<uint8_t>(k % 2 ? b & 0xF0 : b & 0x0F);
    }
  return out;
}

HWND open_fill_dialog(Program& p, const wchar_t* title) {
  click_child(p.main, kToolFill);
  return wait_window_w(title, 10000, p.pid());
}

bool choose_fill_tool(Program& p, bool area, const wchar_t* title) {
  const HWND dlg = open_fill_dialog(p, title);
  if (!dlg) return false;
  click_child(dlg, area ? kAreaButton : kPixelButton);
  if (IsDlgButtonChecked(dlg, area ? kAreaButton : kPixelButton) != BST_CHECKED) return false;
  click_child(dlg, IDOK);
  return wait_until([&] { return !IsWindow(dlg); }, 5000);
}

void pick_colour(HWND main, int item) {
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  click_centre(GetDlgItem(main, kToolColours));
  // The open list is a window of its own over the desktop.
  const HWND dropped = wait_visible_class(pid, "ComboLBox", 3000);
  if (!dropped) return;
  RECT r;
  GetClientRect(dropped, &r);
  const POINT at = client_to_screen(dropped, r.right / 2, 14 * item + 7);  // items 14 pixels high
  click(at.x, at.y);
  settle(main);
}

}  // namespace e2e
