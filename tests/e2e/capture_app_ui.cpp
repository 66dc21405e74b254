#include "tests/e2e/capture_app_ui.h"

#include <cstdio>
#include <cstdlib>

#include "tests/e2e/capture_ui.h"
#include "resources/capture/resource.h"

namespace e2e {

namespace {
// Each process keeps the system parameters it has read or set, so the
// settings as a program starting now would find them are read by a fresh
// process: the driver itself, started with MERIDOT_E2E_SETTINGS naming a file,
// writes them there before any test runs and ends. Under Wine a process that
// uses the display asks the X server whether its screen saver is on, and one
// that does not asks the registry: the reader uses the display, as programs do.
constexpr const char* kReaderVariable = "MERIDOT_E2E_SETTINGS";

const bool g_readerRun = [] {
  const char* out = std::getenv(kReaderVariable);
  if (!out || !*out) return false;
  ReleaseDC(nullptr, GetDC(nullptr));
  char wallpaper[MAX_PATH] = {};
  SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof wallpaper, wallpaper, 0);
  BOOL saver = FALSE;
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &saver, 0);
  if (FILE* f = std::fopen(out, "wb")) {
    std::fprintf(f, "%d\n%s", saver ? 1 : 0, wallpaper);
    std::fclose(f);
  }
  ExitProcess(0);
}();
}  // namespace

DesktopSettings desktop_settings() {
  DesktopSettings s;
  const std::string dir = fresh_dir("desktop-settings-reader");
  const std::string out = join(dir, "settings.txt");
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof self);
  Program reader;
  if (!reader.start(self, dir, {{kReaderVariable, out}}) || !reader.wait_exit(20000)) return s;
  const std::vector<uint8_t> bytes = read_file(out);
  const std::string text(bytes.begin(), bytes.end());
  const size_t eol = text.find('\n');
  if (eol == std::string::npos) return s;
  s.read = true;
  s.screenSaverActive = text.substr(0, eol) == "1";
  s.wallpaper = text.substr(eol + 1);
  return s;
}

bool start_meridot_in(Program& p, const std::string& exe, const std::string& dir,
                      const std::vector<std::pair<std::string, std::string>>& env) {
  if (!p.start(exe, dir, env)) return false;
  if (!p.wait_main("MERIDOT5")) return false;
  // The title changes during creation; the tool bar comes after the window.
  const bool ready = wait_until([&] { return IsWindowVisible(meridot_button(p.main, kMeridotSpaceButton)); });
  settle(p.main);
  return ready;
}

HWND meridot_button(HWND main, int id) {
  return GetDlgItem(FindWindowExA(main, nullptr, "IconBarWindow", nullptr), id);
}

bool ends_cleanly(Program& p, UINT msg, WPARAM wp) {
  PostMessageA(p.main, msg, wp, 0);
  DWORD code = 99;
  return p.wait_exit(10000, &code) && code == 0;
}

int meridot_base_height() { return GetSystemMetrics(SM_CYMIN) + GetSystemMetrics(SM_CYMENU) + 21; }

static HWND wait_form_dialog(Program& p, bool japanese) {
  HWND dlg = japanese ? wait_window_w(kFormDialogTitleJa, 10000, p.pid()) : wait_window(kFormDialogTitle, 10000, p.pid());
  if (dlg) settle(dlg);
  return dlg;
}

HWND open_form_dialog(Program& p, bool japanese) {
  post_command(p.main, IDM_MENU_FORM);
  return wait_form_dialog(p, japanese);
}

void click_control(HWND dialog, int id) {
  SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
  settle(dialog);
}

std::vector<int> checked_buttons(HWND dialog) {
  std::vector<int> checked;
  for (const auto& [first, last] : {std::pair{IDC_SIZE_16, IDC_SIZE_64}, std::pair{IDC_COLOURS_16, IDC_COLOURS_256},
                                         std::pair{IDC_ERECT, IDC_INVERTED_MIRROR},
                                         std::pair{IDC_FRAME_INVERTED, IDC_FRAME_WHITE}}) {
    int found = 0;
    for (int id = first; id <= last; ++id)
      if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) found = found ? -1 : id;  // -1: two checked
    checked.push_back(found);
  }
  return checked;
}

void set_desk_wallpaper(const std::string& path) {
  SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path.c_str()), SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}

void set_screen_saver_active(bool on) {
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, on ? TRUE : FALSE, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
  // A read of screen pixels makes the display connection send what it holds,
  // the screen saver request included, before the next program asks.
  HDC screen = GetDC(nullptr);
  GetPixel(screen, 0, 0);
  ReleaseDC(nullptr, screen);
}

std::vector<std::wstring> menu_texts(const char* name) {
  std::vector<std::wstring> texts;
  HMODULE exe = LoadLibraryExA(join(bin_dir(), "MERIDOT5.EXE").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HMENU bar = exe ? LoadMenuA(exe, name) : nullptr;
  if (bar) {
    wchar_t text[128] = {};
    GetMenuStringW(bar, 0, text, 128, MF_BYPOSITION);
    texts.push_back(text);
    HMENU popup = GetSubMenu(bar, 0);
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
      text[0] = L'\0';
      GetMenuStringW(popup, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
      const UINT id = GetMenuItemID(popup, i);
      texts.push_back(id == 0 ? std::wstring(text) : std::to_wstring(id) + L" " + text);
    }
    DestroyMenu(bar);
  }
  if (exe) FreeLibrary(exe);
  return texts;
}

void menu_command(Program& p, WORD key) {
  SetForegroundWindow(p.main);
  settle(p.main);
  type_key_press('M', VK_MENU);
  type_key_press(key);
}

HWND form_dialog_from_menu(Program& p, bool japanese) {
  menu_command(p, 'F');
  return wait_form_dialog(p, japanese);
}

void type_key_press(WORD vk, WORD modifier) {
  type_key(vk, modifier);
  Sleep(50);  // a longer pause than typed text: the key opens a menu or a box
}

}  // namespace e2e
