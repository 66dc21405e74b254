// Drives the real programs under Wine: starts them in fresh folders, finds
// their windows and dialogs, sends commands and real mouse input, reads
// titles, message texts and pixels, and saves screenshots.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// Folder of the programs (beside the driver).
std::string bin_dir();
std::string viewer_exe();
// A fresh, empty folder for one test under the Windows temporary folder.
std::string fresh_dir(const std::string& name);
std::string join(const std::string& dir, const std::string& name);
bool write_file(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> read_file(const std::string& path);
bool file_exists(const std::string& path);
// The names of the files and folders in dir matching pattern, sorted.
std::vector<std::string> files_in(const std::string& dir, const std::string& pattern = "*");

// The Windows temporary folder, with its trailing backslash.
std::string temp_dir();
// Texts between the driver (UTF-8 literals) and the programs' code page.
std::wstring wide_of(const std::string& ansi);
std::string ansi_of(const std::wstring& wide);
bool write_file_w(const std::wstring& path, const std::vector<uint8_t>& bytes);

// Polls cond every 20 ms until it holds or ms have passed.
template <class F>
bool wait_until(F cond, int ms = 10000) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
  for (;;) {
    if (cond()) return true;
    if (GetTickCount64() > end) return false;
    Sleep(20);
  }
}

class Program {
 public:
  Program() = default;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program();
  // env: extra variables for the program (e.g. LC_ALL for the Japanese UI).
  bool start(const std::string& exe, const std::string& workDir,
             const std::vector<std::pair<std::string, std::string>>& env = {});
  // Waits for a visible top-level window of this class owned by the process.
  HWND wait_main(const char* cls, int ms = 20000);
  bool wait_exit(int ms, DWORD* code = nullptr);
  bool running() const;
  DWORD pid() const { return pi_.dwProcessId; }
  // Closes the main window and waits; ends the process if it does not go.
  void close();
  HWND main = nullptr;

 private:
  PROCESS_INFORMATION pi_{};
};

// Starts the viewer in a fresh folder and waits for its main window.
bool start_viewer(Program& p, const std::string& dirName,
                  const std::vector<std::pair<std::string, std::string>>& env = {});

// A top-level window with this exact title (owned by pid when not 0).
HWND find_window(const std::string& title, DWORD pid = 0);
HWND wait_window(const std::string& title, int ms = 10000, DWORD pid = 0);
// Any visible top-level window of the process other than `except`.
HWND wait_other_window(DWORD pid, HWND except, int ms = 10000);
std::string title_of(HWND w);
// The window's rectangle on the screen.
RECT window_rect(HWND w);
// The focus, capture and active windows of w's thread (all null when the
// system cannot tell).
GUITHREADINFO gui_thread_of(HWND w);
// A child's rectangle in its parent's client coordinates.
RECT rect_in(HWND parent, HWND child);
std::wstring wide_title_of(HWND w);
// The same by a wide title, for Japanese windows (the driver's narrow texts are UTF-8).
HWND wait_window_w(const std::wstring& title, int ms = 10000, DWORD pid = 0);
// A visible top-level window of this class owned by pid, once it is shown
// (or once it is there, shown or not, when hiddenToo).
HWND wait_visible_class(DWORD pid, const char* cls, int ms = 5000, bool hiddenToo = false);
// The text of a message box.
std::string message_text(HWND box);
std::wstring wide_message_text(HWND box);
// Answers a message box or dialog with a button id and waits for it to go.
bool press(HWND dialog, int id);
// Waits for a message box with this title from pid, answers it with button
// and returns its text ("" if none came) and, when asked, its owner.
std::string expect_message(DWORD pid, const std::string& caption, int ms = 10000, int button = IDOK,
                           HWND* owner = nullptr);

// Sends a tool bar command to the main window without waiting for it.
void post_command(HWND main, int command);
// Types a path into an open or save dialog and confirms it.
bool answer_file_dialog(HWND dialog, const std::string& path);

// Real mouse input; a burst move, as a quick hand makes it, does not wait.
void move_mouse(int x, int y, bool burst = false);
void click(int x, int y, bool doubleClick = false);
void click_centre(HWND w);
// A real click on a control of a window or dialog; waits until it is handled.
void click_child(HWND parent, int id);
POINT client_to_screen(HWND w, int x, int y);

// Screen pixels as 0x00RRGGBB, row by row.
struct Pixels {
  int width = 0, height = 0;
  std::vector<uint32_t> data;
  uint32_t at(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
};
Pixels grab_screen(int x, int y, int w, int h);
// A w x h picture as draw paints it into a 32-bit memory bitmap.
Pixels drawn_pixels(int w, int h, const std::function<void(HDC)>& draw);
Pixels grab_client(HWND w);
Pixels grab_window(HWND w);  // frame included
// A bitmap resource of module m as 0x00RRGGBB pixels, and its bits per pixel.
Pixels bitmap_resource(HMODULE m, const char* name, int* bits = nullptr);
// A text's extent in a font on the screen, and the font's line metrics; the
// font is deleted after.
struct TextSize {
  int width = 0, height = 0, leading = 0;
};
TextSize measure_text(HFONT font, const wchar_t* text);
// Saves the whole screen as <KALDERO_SHOTS>\name.bmp (turned into PNG by the test script).
void screenshot(const std::string& name);

// The system's question before a file is replaced: a box of pid titled as
// the file dialog it comes from, with a Yes button, that is not the dialog.
HWND wait_overwrite_question(DWORD pid, HWND dialog, const std::string& title, int ms = 10000);

// Puts data on the clipboard as one format the way another program does; the
// clipboard then belongs to the driver.
bool put_on_clipboard(UINT format, const std::vector<uint8_t>& data);

// Waits until the window has handled everything sent so far.
void settle(HWND w);

// For the timings of the benches: the performance counter in ms, and the median.
double now_ms();
double median(std::vector<double> v);

// BMP files for tests: bottom-up rows, padded to 4 bytes.
std::vector<uint8_t> make_bmp(int width, int height, int bits, const std::vector<uint32_t>& palette,
                              const std::vector<uint8_t>& rowsBottomUp);
// A 24-bit BMP whose pixel (x, y) (y from the top) is colour(x, y) as 0xRRGGBB.
template <class F>
std::vector<uint8_t> make_bmp24(int width, int height, F colour) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::vector<uint8_t> rows(static_cast<size_t>(stride) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t c = colour(x, y);
      uint8_t* p = &rows[static_cast<size_t>(height - 1 - y) * stride + 3 * x];
      p[0] = static_cast<uint8_t>(c);
      p[1] = static_cast<uint8_t>(c >> 8);
      p[2] = static_cast<uint8_t>(c >> 16);
    }
  return make_bmp(width, height, 24, {}, rows);
}
// The pixels as a 24-bit BMP file.
inline std::vector<uint8_t> bmp_of(const Pixels& px) {
  return make_bmp24(px.width, px.height, [&px](int x, int y) { return px.at(x, y); });
}

}  // namespace e2e
