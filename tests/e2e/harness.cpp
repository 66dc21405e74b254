#include "tests/e2e/harness.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>

#include "formats/bytes.h"

namespace e2e {

std::string bin_dir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  char* slash = std::strrchr(path, '\\');
  if (slash) *slash = '\0';
  return path;
}

std::string viewer_exe() { return join(bin_dir(), "KALDERO5.EXE"); }

std::string join(const std::string& dir, const std::string& name) {
  if (!dir.empty() && dir.back() == '\\') return dir + name;
  return dir + "\\" + name;
}

static void remove_tree(const std::string& dir) {
  for (const std::string& name : files_in(dir)) {
    const std::string path = join(dir, name);
    if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
      remove_tree(path);
    } else {
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
  }
  RemoveDirectoryA(dir.c_str());
}

std::string fresh_dir(const std::string& name) {
  const std::string root = join(temp_dir(), "kaldero-e2e");
  CreateDirectoryA(root.c_str(), nullptr);
  const std::string dir = join(root, name);
  remove_tree(dir);
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

std::vector<uint8_t> read_file(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

bool file_exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> files_in(const std::string& dir, const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(join(dir, pattern).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = fd.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

// ---- processes ------------------------------------------------------------

Program::~Program() {
  if (running()) {
    TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  if (pi_.hProcess) CloseHandle(pi_.hProcess);
  if (pi_.hThread) CloseHandle(pi_.hThread);
}

bool Program::start(const std::string& exe, const std::string& workDir,
                    const std::vector<std::pair<std::string, std::string>>& env) {
  std::map<std::string, std::string> vars;
  if (char* block = GetEnvironmentStringsA()) {
    for (const char* p = block; *p; p += std::strlen(p) + 1) {
      const char* eq = std::strchr(p + 1, '=');
      if (eq) vars[std::string(p, eq)] = eq + 1;
    }
    FreeEnvironmentStringsA(block);
  }
  for (const auto& [k, v] : env) vars[k] = v;
  std::string block;
  for (const auto& [k, v] : vars) block += k + "=" + v + '\0';
  block += '\0';

  std::string cmd = "\"" + exe + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  return CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, block.data(), workDir.c_str(), &si,
                        &pi_) != 0;
}

namespace {
struct FindArgs {
  DWORD pid;
  const char* cls;
  const std::string* title;
  const std::wstring* wideTitle;
  HWND except;
  bool hiddenToo;
  HWND found;
};

BOOL CALLBACK find_proc(HWND w, LPARAM lp) {
  auto* a = reinterpret_cast<FindArgs*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (a->pid && pid != a->pid) return TRUE;
  if (w == a->except || (!a->hiddenToo && !IsWindowVisible(w))) return TRUE;
  if (a->cls) {
    char cls[128] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (std::strcmp(cls, a->cls) != 0) return TRUE;
  }
  if (a->title && title_of(w) != *a->title) return TRUE;
  if (a->wideTitle && wide_title_of(w) != *a->wideTitle) return TRUE;
  a->found = w;
  return FALSE;
}

HWND find(DWORD pid, const char* cls, const std::string* title, HWND except, const std::wstring* wideTitle = nullptr,
          bool hiddenToo = false) {
  FindArgs a{pid, cls, title, wideTitle, except, hiddenToo, nullptr};
  EnumWindows(find_proc, reinterpret_cast<LPARAM>(&a));
  return a.found;
}

// Polls find() until it finds a window or ms have passed.
HWND wait_find(int ms, DWORD pid, const char* cls, const std::string* title, HWND except,
               const std::wstring* wideTitle = nullptr, bool hiddenToo = false) {
  HWND w = nullptr;
  wait_until([&] { return (w = find(pid, cls, title, except, wideTitle, hiddenToo)) != nullptr; }, ms);
  return w;
}
}  // namespace

HWND Program::wait_main(const char* cls, int ms) {
  wait_until([&] { return (main = find(pid(), cls, nullptr, nullptr)) != nullptr || !running(); }, ms);
  return main;
}

bool Program::running() const {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Program::wait_exit(int ms, DWORD* code) {
  if (!pi_.hProcess || WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(ms)) != WAIT_OBJECT_0) return false;
  if (code) GetExitCodeProcess(pi_.hProcess, code);
  return true;
}

void Program::close() {
  if (!running()) return;
  if (main && IsWindow(main)) PostMessageA(main, WM_CLOSE, 0, 0);
  if (!wait_exit(10000)) TerminateProcess(pi_.hProcess, 1);
}

bool start_viewer(Program& p, const std::string& dirName,
                  const std::vector<std::pair<std::string, std::string>>& env) {
  const std::string dir = fresh_dir(dirName);
  if (!p.start(viewer_exe(), dir, env)) return false;
  if (!p.wait_main("KALDERO5")) return false;
  // The start-up title marks the end of the start-up sequence; the tool bar
  // comes right after it.
  if (!wait_until([&] { return title_of(p.main).rfind("Kaldero_Frame", 0) != 0; })) return false;
  wait_until([&] { return FindWindowExA(p.main, nullptr, "IconBarWindow", nullptr) != nullptr; }, 5000);
  settle(p.main);
  return true;
}

// ---- windows and dialogs ---------------------------------------------------

HWND find_window(const std::string& title, DWORD pid) { return find(pid, nullptr, &title, nullptr); }

HWND wait_window(const std::string& title, int ms, DWORD pid) { return wait_find(ms, pid, nullptr, &title, nullptr); }

HWND wait_other_window(DWORD pid, HWND except, int ms) { return wait_find(ms, pid, nullptr, nullptr, except); }

std::string title_of(HWND w) {
  char text[1024] = {};
  GetWindowTextA(w, text, sizeof text);
  return text;
}

RECT window_rect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

GUITHREADINFO gui_thread_of(HWND w) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info)) return GUITHREADINFO{};
  return info;
}

RECT rect_in(HWND parent, HWND child) {
  RECT r = window_rect(child);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::wstring wide_title_of(HWND w) {
  wchar_t text[1024] = {};
  GetWindowTextW(w, text, 1024);
  return text;
}

HWND wait_window_w(const std::wstring& title, int ms, DWORD pid) {
  return wait_find(ms, pid, nullptr, nullptr, nullptr, &title);
}

std::wstring wide_message_text(HWND box) {
  wchar_t text[1024] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 1024);
  return text;
}

std::string message_text(HWND box) {
  char text[1024] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  return text;
}

bool press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0);
  return wait_until([&] { return !IsWindow(dialog); }, 5000);
}

std::string expect_message(DWORD pid, const std::string& caption, int ms, int button, HWND* owner) {
  HWND box = wait_window(caption, ms, pid);
  if (!box) return "";
  wait_until([&] { return !message_text(box).empty(); }, 2000);
  const std::string text = message_text(box);
  if (owner) *owner = GetWindow(box, GW_OWNER);
  press(box, button);
  return text;
}

void post_command(HWND main, int command) { PostMessageA(main, WM_COMMAND, static_cast<WPARAM>(command), 0); }

namespace {
// The file name edit sits inside control 1148 (a ComboBoxEx32 holding a
// ComboBox holding the Edit); older dialogs have a plain edit 1152.
BOOL CALLBACK find_name_edit(HWND w, LPARAM out) {
  char cls[32] = {};
  GetClassNameA(w, cls, sizeof cls);
  const int id = GetDlgCtrlID(w);
  if (std::strcmp(cls, "Edit") == 0 && (id == 1148 || id == 1152 || GetDlgCtrlID(GetParent(w)) == 1148)) {
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

bool answer_file_dialog(HWND dialog, const std::string& path) {
  HWND edit = nullptr;
  wait_until([&] {
    EnumChildWindows(dialog, find_name_edit, reinterpret_cast<LPARAM>(&edit));
    return edit != nullptr;
  }, 5000);
  if (!edit) return false;
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  return true;
}

// ---- mouse -------------------------------------------------------------------

POINT client_to_screen(HWND w, int x, int y) {
  POINT p{x, y};
  ClientToScreen(w, &p);
  return p;
}

void move_mouse(int x, int y, bool burst) {
  if (!burst) SetCursorPos(x, y);
  INPUT in{};
  in.type = INPUT_MOUSE;
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  in.mi.dx = static_cast<LONG>((x * 65535LL + sw / 2) / (sw - 1));
  in.mi.dy = static_cast<LONG>((y * 65535LL + sh / 2) / (sh - 1));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
  if (!burst) Sleep(60);
}

void click(int x, int y, bool doubleClick) {
  move_mouse(x, y);
  for (int i = 0; i < (doubleClick ? 2 : 1); ++i) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof in[0]);
    Sleep(doubleClick ? 30 : 60);
  }
}

// ---- pixels --------------------------------------------------------------------

Pixels drawn_pixels(int w, int h, const std::function<void(HDC)>& draw) {
  Pixels px;
  if (w <= 0 || h <= 0) return px;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  draw(mem);
  GdiFlush();
  px.width = w;
  px.height = h;
  px.data.resize(static_cast<size_t>(w) * h);
  const auto* src = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < px.data.size(); ++i) px.data[i] = src[i] & 0xFFFFFF;
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return px;
}

namespace {
Pixels grab_once(int x, int y, int w, int h) {
  return drawn_pixels(w, h, [&](HDC mem) {
    HDC screen = GetDC(nullptr);
    BitBlt(mem, 0, 0, w, h, screen, x, y, SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
}
}  // namespace

// Wine copies what a program painted to the screen a moment later, and
// later still on a busy machine: a picture counts once two grabs agree.
Pixels grab_screen(int x, int y, int w, int h) {
  Pixels last = grab_once(x, y, w, h);
  for (int i = 0; i < 40; ++i) {
    Sleep(25);
    Pixels next = grab_once(x, y, w, h);
    if (next.data == last.data) return next;
    last = std::move(next);
  }
  return last;
}

Pixels grab_client(HWND w) {
  RECT r;
  GetClientRect(w, &r);
  const POINT p = client_to_screen(w, 0, 0);
  return grab_screen(p.x, p.y, r.right, r.bottom);
}

Pixels grab_window(HWND w) {
  const RECT r = window_rect(w);
  return grab_screen(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

Pixels bitmap_resource(HMODULE m, const char* name, int* bits) {
  HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(m, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bmp) return {};
  BITMAP info{};
  GetObjectA(bmp, sizeof info, &info);
  if (bits) *bits = info.bmBitsPixel;
  const Pixels px = drawn_pixels(info.bmWidth, info.bmHeight, [&](HDC mem) {
    HDC source = CreateCompatibleDC(mem);
    HGDIOBJ old = SelectObject(source, bmp);
    BitBlt(mem, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
  });
  DeleteObject(bmp);
  return px;
}

void screenshot(const std::string& name) {
  const char* dir = std::getenv("KALDERO_SHOTS");
  if (!dir || !*dir) return;
  const Pixels px = grab_screen(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  write_file(join(dir, name + ".bmp"), bmp_of(px));
}

void settle(HWND w) {
  DWORD_PTR result;
  SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
}

double now_ms() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

std::vector<uint8_t> make_bmp(int width, int height, int bits, const std::vector<uint32_t>& palette,
                              const std::vector<uint8_t>& rows) {
  const uint32_t offset = 54 + 4 * static_cast<uint32_t>(palette.size());
  std::vector<uint8_t> f(offset + rows.size());
  f[0] = 'B';
  f[1] = 'M';
  fmt::put_u32le(&f[2], static_cast<uint32_t>(f.size()));
  fmt::put_u32le(&f[10], offset);
  fmt::put_u32le(&f[14], 40);
  fmt::put_u32le(&f[18], static_cast<uint32_t>(width));
  fmt::put_u32le(&f[22], static_cast<uint32_t>(height));
  fmt::put_u16le(&f[26], 1);
  fmt::put_u16le(&f[28], static_cast<uint32_t>(bits));
  fmt::put_u32le(&f[34], static_cast<uint32_t>(rows.size()));
  fmt::put_u32le(&f[46], static_cast<uint32_t>(palette.size()));
  for (size_t i = 0; i < palette.size(); ++i) {
    f[54 + 4 * i] = static_cast<uint8_t>(palette[i]);
    f[55 + 4 * i] = static_cast<uint8_t>(palette[i] >> 8);
    f[56 + 4 * i] = static_cast<uint8_t>(palette[i] >> 16);
  }
  std::copy(rows.begin(), rows.end(), f.begin() + offset);
  return f;
}

std::string temp_dir() {
  char dir[MAX_PATH + 1] = {};
  GetTempPathA(sizeof dir, dir);
  return dir;
}

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


HWND wait_visible_class(DWORD pid, const char* cls, int ms, bool hiddenToo) {
  return wait_find(ms, pid, cls, nullptr, nullptr, nullptr, hiddenToo);
}

void click_centre(HWND w) {
  const RECT r = window_rect(w);
  click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

TextSize measure_text(HFONT font, const wchar_t* text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &extent);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return {static_cast<int>(extent.cx), static_cast<int>(tm.tmHeight), static_cast<int>(tm.tmExternalLeading)};
}

bool put_on_clipboard(UINT format, const std::vector<uint8_t>& data) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, data.size());
  if (!block) return false;
  std::memcpy(GlobalLock(block), data.data(), data.size());
  GlobalUnlock(block);
  if (!wait_until([] { return OpenClipboard(nullptr) != 0; }, 5000)) {
    GlobalFree(block);
    return false;
  }
  EmptyClipboard();
  const bool ok = SetClipboardData(format, block) != nullptr;
  CloseClipboard();
  if (!ok) GlobalFree(block);
  return ok;
}

void click_child(HWND parent, int id) {
  click_centre(GetDlgItem(parent, id));
  settle(parent);
}

HWND wait_overwrite_question(DWORD pid, HWND dialog, const std::string& title, int ms) {
  HWND found = nullptr;
  wait_until([&] {
    found = nullptr;
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, nullptr, title.c_str())) != nullptr;) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == pid && w != dialog && IsWindowVisible(w) && GetDlgItem(w, IDYES)) found = w;
    }
    return found != nullptr;
  }, ms);
  return found;
}

}  // namespace e2e
