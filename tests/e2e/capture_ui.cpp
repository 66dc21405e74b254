#include "tests/e2e/capture_ui.h"

#include <cstring>
#include <thread>

#include "formats/capture_icon.h"
#include "tests/e2e/capture_app_ui.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/capture/resource.h"

namespace e2e {

std::string meridot_exe() { return join(bin_dir(), "MERIDOT5.EXE"); }

bool start_meridot(Program& p, const std::string& dirName,
                   const std::vector<std::pair<std::string, std::string>>& env) {
  if (!start_meridot_in(p, meridot_exe(), fresh_dir(dirName), env)) return false;
  // The stored position is whatever the last run left; the tests read the
  // image in the main window, which must lie wholly on the screen.
  SetWindowPos(p.main, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  settle(p.main);
  return true;
}

std::string work_dir(const std::string& dirName) { return join(join(temp_dir(), "kaldero-e2e"), dirName); }

// ---- the driver's picture ---------------------------------------------------

struct PatternWindow::Impl {
  std::thread thread;
  HWND window = nullptr;
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  int w = 0, h = 0;  // what the window paints
  const uint32_t* pixels = nullptr;
};

namespace {

LRESULT CALLBACK pattern_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CREATE) {
    SetWindowLongPtrA(w, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams));
    return 0;
  }
  if (msg == WM_PAINT) {
    const auto* d = reinterpret_cast<const PatternWindow::Impl*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = d->w;
    info.bmiHeader.biHeight = -d->h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(d->w), static_cast<DWORD>(d->h), 0, 0, 0,
                      static_cast<UINT>(d->h), d->pixels, &info, DIB_RGB_COLORS);
    EndPaint(w, &ps);
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;
  if (msg == WM_CLOSE) {
    DestroyWindow(w);
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

PatternWindow::PatternWindow(int x, int y, int w, int h, std::function<uint32_t(int, int)> colour)
    : impl_(std::make_unique<Impl>()), x_(x), y_(y), w_(w), h_(h) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) pixels_.push_back(colour(i, j) & 0xFFFFFF);
  impl_->w = w;
  impl_->h = h;
  impl_->pixels = pixels_.data();
  impl_->thread = std::thread([this] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = pattern_proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "E2EPattern";
    RegisterClassA(&wc);
    impl_->window = CreateWindowExA(0, "E2EPattern", "pattern", WS_POPUP, x_, y_, w_, h_, nullptr, nullptr,
                                    wc.hInstance, impl_.get());
    ShowWindow(impl_->window, SW_SHOWNA);
    UpdateWindow(impl_->window);
    SetEvent(impl_->ready);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  });
  WaitForSingleObject(impl_->ready, 10000);
}

PatternWindow::~PatternWindow() {
  if (impl_->window) PostMessageA(impl_->window, WM_CLOSE, 0, 0);
  if (impl_->thread.joinable()) impl_->thread.join();
  CloseHandle(impl_->ready);
}

uint32_t PatternWindow::at(int sx, int sy) const {
  return pixels_[static_cast<size_t>(sy - y_) * static_cast<size_t>(w_) + static_cast<size_t>(sx - x_)];
}

bool PatternWindow::shown(int ms) const {
  return wait_until([&] {
    const Pixels px = grab_screen(x_, y_, w_, h_);
    return px.data == pixels_;
  }, ms);
}

// ---- driving the program ----------------------------------------------------

bool set_form(Program& p, int n, int colours, int orientation, int frameColour) {
  const HWND dlg = open_form_dialog(p);
  if (!dlg) return false;
  const int sizeId = n == 16 ? IDC_SIZE_16 : n == 32 ? IDC_SIZE_32 : n == 48 ? IDC_SIZE_48 : IDC_SIZE_64;
  for (int id : {sizeId, colours == 256 ? IDC_COLOURS_256 : IDC_COLOURS_16, IDC_ERECT + orientation,
                 IDC_FRAME_INVERTED + frameColour})
    SendMessageA(dlg, WM_COMMAND, static_cast<WPARAM>(id), 0);
  return press(dlg, IDOK);
}

HWND capture_window(DWORD pid) { return wait_visible_class(pid, "GRAB", 5000, true); }

bool enter_capture(Program& p) {
  post_command(p.main, kMeridotIcon);
  const HWND grab = capture_window(p.pid());
  if (!grab) return false;
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  return wait_until([&] {
    const RECT r = window_rect(grab);
    return IsWindowVisible(grab) && !IsWindowVisible(p.main) && r.left == 0 && r.top == 0 && r.right == sw &&
           r.bottom == sh;
  }, 10000);
}

void drag(POINT from, const std::vector<POINT>& through, bool release) {
  move_mouse(from.x, from.y);
  mouse_button(true);
  Sleep(80);
  for (const POINT& pt : through) move_mouse(pt.x, pt.y);
  if (release) {
    mouse_button(false);
    Sleep(60);
  }
}

POINT pointer_for(int n, int x0, int y0) { return POINT{x0 + n / 2 - 1, y0 + n / 2 - 1}; }

void take_square(int n, int x0, int y0) {
  const POINT at = pointer_for(n, x0, y0);
  drag(at, {{at.x + 9, at.y + 4}, {at.x - 3, at.y + 7}, at});
}

bool capture_square(Program& p, int n, int x0, int y0) {
  if (!enter_capture(p)) return false;
  take_square(n, x0, y0);
  return true;
}

void type_key(WORD vk, WORD modifier) {
  std::vector<INPUT> in;
  auto key = [&](WORD k, bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = k;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
  };
  if (modifier) key(modifier, false);
  key(vk, false);
  key(vk, true);
  if (modifier) key(modifier, true);
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
  Sleep(100);
}

HWND save_as(Program& p, const std::string& path) {
  if (expect_message(p.pid(), "Question", 10000, IDYES) != "Do you save the image?") return nullptr;
  const HWND dialog = wait_window(kSaveIconTitle, 10000, p.pid());
  return dialog && answer_file_dialog(dialog, path) ? dialog : nullptr;
}

std::string no_transparent_pixels(Program& p) {
  if (expect_message(p.pid(), "Question", 15000, IDNO) != "Do you make transparent pixels in the icon?") return "";
  return expect_message(p.pid(), "Success");
}

std::string save_capture(Program& p, const std::string& path, bool overwrite) {
  const HWND dialog = save_as(p, path);
  if (!dialog) return "";
  if (overwrite) {
    const HWND confirm = wait_overwrite_question(p.pid(), dialog, kSaveIconTitle);
    if (!confirm || !press(confirm, IDYES)) return "";
  }
  return no_transparent_pixels(p);
}

std::string created_text(int n, int colours) {
  const std::string size = std::to_string(n);
  return size + "x" + size + "/" + std::to_string(colours) + " color icon file\nhas been created.";
}

bool decline_save(Program& p) { return expect_message(p.pid(), "Question", 10000, IDNO) == "Do you save the image?"; }

// ---- expected pixels ---------------------------------------------------------

std::vector<uint32_t> icon_palette(int colours) {
  std::vector<uint32_t> out;
  for (const auto& c : fmt::capture_icon::fixed_palette(colours))
    out.push_back((uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b);
  return out;
}

std::vector<uint8_t> platform_indices(const std::vector<uint32_t>& rgb, int n, int colours) {
  const int bits = colours == 256 ? 8 : 4;
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD table[256];
  } info{};
  info.h.biSize = sizeof(BITMAPINFOHEADER);
  info.h.biWidth = n;
  info.h.biHeight = -n;
  info.h.biPlanes = 1;
  info.h.biBitCount = static_cast<WORD>(bits);
  const std::vector<uint32_t> palette = icon_palette(colours);
  for (size_t i = 0; i < palette.size(); ++i)
    info.table[i] = RGBQUAD{static_cast<BYTE>(palette[i]), static_cast<BYTE>(palette[i] >> 8),
                            static_cast<BYTE>(palette[i] >> 16), 0};
  HDC screen = GetDC(nullptr);
  void* bits8 = nullptr;
  HBITMAP section = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits8, nullptr, 0);
  HDC mem = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(mem, section);
  BITMAPINFO src{};
  src.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), n, -n, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  SetDIBitsToDevice(mem, 0, 0, static_cast<DWORD>(n), static_cast<DWORD>(n), 0, 0, 0, static_cast<UINT>(n),
                    rgb.data(), &src, DIB_RGB_COLORS);
  GdiFlush();
  std::vector<uint8_t> out;
  const int stride = (n * bits + 31) / 32 * 4;
  const auto* row0 = static_cast<const uint8_t*>(bits8);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const uint8_t b = row0[y * stride + x * bits / 8];
      out.push_back(bits == 8 ? b : static_cast<uint8_t>(x % 2 ? b & 0x0F : b >> 4));
    }
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(section);
  ReleaseDC(nullptr, screen);
  // A colour of the palette itself is that entry (the first of its colour),
  // whatever the platform's approximation picks.
  for (size_t i = 0; i < out.size(); ++i)
    for (size_t k = 0; k < palette.size(); ++k)
      if (palette[k] == (rgb[i] & 0xFFFFFF)) {
        out[i] = static_cast<uint8_t>(k);
        break;
      }
  return out;
}

std::vector<uint8_t> icon_indices(const std::vector<uint8_t>& file, int n, int bits) {
  std::vector<uint8_t> out;
  const size_t at = 62 + 4 * (size_t{1} << bits);
  const int stride = n * bits / 8;
  if (file.size() < at + static_cast<size_t>(stride) * n) return out;
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      const uint8_t b = file[at + static_cast<size_t>(n - 1 - y) * stride + x * bits / 8];
      out.push_back(bits == 8 ? b : static_cast<uint8_t>(x % 2 ? b & 0x0F : b >> 4));
    }
  return out;
}

uint32_t test_pattern(int x, int y) {
  static const std::vector<uint32_t> palette = icon_palette(256);
  if (x < 64 && y < 64) return palette[static_cast<size_t>(y / 4 * 16 + x / 4)];
  if (y < 64) return static_cast<uint32_t>((((x - 64) * 4 & 255) << 16) | ((y * 4) << 8) | (255 - (x - 64) % 128 * 2));
  if ((x / 8 + y / 8) % 5 == 0) return 0xFFFFFF;
  if ((x / 8 + y / 8) % 5 == 1) return 0x000000;
  return static_cast<uint32_t>((((x * 37 + y * 11) & 255) << 16) | (((x * x + 3 * y) & 255) << 8) | ((x * y + 5 * x) & 255));
}

uint32_t screen_colour(int sx, int sy) { return test_pattern(sx - kPatternX, sy - kPatternY); }

std::vector<uint32_t> expected_square(const std::function<uint32_t(int, int)>& screen, int x0, int y0, int n,
                                      int orientation) {
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  std::vector<uint32_t> out;
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      // The table of orientations, written out: erect, turned by 180 degrees,
      // mirrored left to right, upside down.
      int sx = x0 + i, sy = y0 + j;
      if (orientation == 1) sx = x0 + n - 1 - i, sy = y0 + n - 1 - j;
      if (orientation == 2) sx = x0 + n - 1 - i;
      if (orientation == 3) sy = y0 + n - 1 - j;
      out.push_back(sx < 0 || sy < 0 || sx >= sw || sy >= sh ? 0u : screen(sx, sy));
    }
  return out;
}

int image_differs(HWND w, int top, const std::vector<uint32_t>& want, int n) {
  int wrong = 0;
  wait_until([&] {
    const Pixels px = grab_client(w);
    wrong = 0;
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) wrong += px.at(x, top + y) != want[static_cast<size_t>(y) * n + x];
    return wrong == 0;
  }, 3000);
  return wrong;
}

}  // namespace e2e
