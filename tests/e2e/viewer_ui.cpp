#include "tests/e2e/viewer_ui.h"

namespace e2e {

bool start_viewer_ready(Program& p, const std::string& dirName,
                        const std::vector<std::pair<std::string, std::string>>& env) {
  if (!start_viewer(p, dirName, env)) return false;
  // The tool bar comes after the main window: wait for its last button.
  const bool ready = wait_until([&] { return IsWindowVisible(button_of(p.main, IDC_SPACE_BUTTON)); });
  settle(p.main);
  return ready;
}

static HWND toolbar_of(HWND main) { return FindWindowExA(main, nullptr, "IconBarWindow", nullptr); }

HWND button_of(HWND main, int id) { return GetDlgItem(toolbar_of(main), id); }

bool button_enabled(HWND main, int id) { return IsWindowEnabled(button_of(main, id)) != 0; }

POINT button_centre(HWND main, int id) {
  RECT r{};
  GetWindowRect(button_of(main, id), &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

namespace {
// kind: SBS_HORZ, SBS_VERT or SBS_SIZEGRIP.
HWND bar_of(HWND main, DWORD kind) {
  for (HWND w = nullptr; (w = FindWindowExA(main, w, "ScrollBar", nullptr)) != nullptr;) {
    const DWORD style = static_cast<DWORD>(GetWindowLongA(w, GWL_STYLE));
    if (((style & SBS_SIZEGRIP) ? SBS_SIZEGRIP : (style & SBS_VERT) ? SBS_VERT : SBS_HORZ) == kind) return w;
  }
  return nullptr;
}
}  // namespace

HWND horizontal_bar(HWND main) { return bar_of(main, SBS_HORZ); }
HWND vertical_bar(HWND main) { return bar_of(main, SBS_VERT); }
HWND size_grip(HWND main) { return bar_of(main, SBS_SIZEGRIP); }
bool shown(HWND w) { return w && IsWindowVisible(w); }

int scroll_max(HWND bar) {
  int lo = 0, hi = 0;
  GetScrollRange(bar, SB_CTL, &lo, &hi);
  return hi;
}

int scroll_pos(HWND bar) { return GetScrollPos(bar, SB_CTL); }

void set_client_size(HWND main, int cw, int ch) {
  RECT wr, cr;
  GetWindowRect(main, &wr);
  GetClientRect(main, &cr);
  const int w = cw + (wr.right - wr.left) - cr.right;
  const int h = ch + (wr.bottom - wr.top) - cr.bottom;
  SetWindowPos(main, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  settle(main);
}

HWND command_dialog(Program& p, int command, const std::string& title) {
  post_command(p.main, command);
  return wait_window(title, 10000, p.pid());
}

HWND command_dialog(Program& p, int command, const std::wstring& title) {
  post_command(p.main, command);
  return wait_window_w(title, 10000, p.pid());
}

bool open_with_dialog(Program& p, const std::string& path) {
  HWND dlg = command_dialog(p, kCmdOpen, kOpenDialogTitle);
  if (!dlg) return false;
  if (!answer_file_dialog(dlg, path)) return false;
  const bool closed = wait_until([&] { return !IsWindow(dlg); }, 10000);
  if (!closed) screenshot("open-dialog-stuck");
  return closed;
}

bool open_at(Program& p, const std::string& path, const std::string& ratio, int ms) {
  const std::string name = path.substr(path.find_last_of('\\') + 1);
  if (!open_with_dialog(p, path) || !wait_title(p.main, "Kaldero - " + name + " [" + ratio + "]", ms)) return false;
  settle(p.main);
  return true;
}

int open_reduced(Program& p, const std::string& path, int ms) {
  const std::string start = "Kaldero - " + path.substr(path.find_last_of('\\') + 1) + " [1:";
  if (!open_with_dialog(p, path) || !wait_until([&] { return title_of(p.main).rfind(start, 0) == 0; }, ms)) return 0;
  settle(p.main);
  return std::stoi(title_of(p.main).substr(start.size()));
}

bool wait_title(HWND main, const std::string& title, int ms) {
  return wait_until([&] { return title_of(main) == title; }, ms);
}

void command_and_settle(HWND main, int command, int ms) {
  DWORD_PTR result;
  SendMessageTimeoutA(main, WM_COMMAND, static_cast<WPARAM>(command), 0, SMTO_NORMAL, static_cast<UINT>(ms), &result);
}

void scroll_view(HWND main, bool vertical, int code, int times) {
  HWND bar = vertical ? vertical_bar(main) : horizontal_bar(main);
  for (int i = 0; i < times; ++i) {
    DWORD_PTR result;
    SendMessageTimeoutA(main, vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(bar),
                        SMTO_NORMAL, 10000, &result);
  }
}

void repaint(HWND main) {
  RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  settle(main);
}

Pixels resource_bitmap(const char* name) {
  Pixels px;
  HMODULE exe = LoadLibraryExA(viewer_exe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!exe) return px;
  px = bitmap_resource(exe, name);
  FreeLibrary(exe);
  return px;
}

void mouse_button(bool down) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
}

int count_differences(const Pixels& a, int ax, int ay, const Pixels& b, int bx, int by, int w, int h) {
  int n = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool inA = ax + x >= 0 && ay + y >= 0 && ax + x < a.width && ay + y < a.height;
      const bool inB = bx + x >= 0 && by + y >= 0 && bx + x < b.width && by + y < b.height;
      if (!inA || !inB || a.at(ax + x, ay + y) != b.at(bx + x, by + y)) ++n;
    }
  return n;
}

uint32_t coded(int x, int y) {
  return static_cast<uint32_t>((x & 0xFF) << 16 | (y & 0xFF) << 8 | (x >> 8) << 4 | (y >> 8));
}
int coded_x(uint32_t c) { return static_cast<int>((c >> 16 & 0xFF) | (c >> 4 & 0xF) << 8); }
int coded_y(uint32_t c) { return static_cast<int>((c >> 8 & 0xFF) | (c & 0xF) << 8); }

std::string bmp_with_coded_pixels(const std::string& dirName, const std::string& name, int w, int h) {
  const std::string path = join(fresh_dir(dirName), name);
  write_file(path, make_bmp24(w, h, coded));
  return path;
}

uint32_t client_pixel(HWND main, int x, int y) {
  const POINT s = client_to_screen(main, x, y);
  return grab_screen(s.x, s.y, 1, 1).at(0, 0);
}

POINT shown_at_origin(HWND main) {
  const uint32_t c = client_pixel(main, 0, kStrip);
  return {coded_x(c), coded_y(c)};
}

}  // namespace e2e
