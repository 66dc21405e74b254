#include "capture/app/desktop.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "capture/app/startup_logic.h"

namespace capture {

namespace {

constexpr int kAttempts = 10;
// The note of what a run has switched off, in the INI beside the program.
constexpr const char* kNoteSection = "Switched off";
bool g_screenSaverOff = false;
bool g_wallpaperOff = false;
char g_savedWallpaper[256];

template <class F>
bool try_up_to_ten_times(F call) {
  for (int i = 0; i < kAttempts; ++i)
    if (call()) return true;
  return false;
}

bool screen_saver_active(bool* active) {
  BOOL on = FALSE;
  if (!SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &on, 0)) return false;
  *active = on != FALSE;
  return true;
}

// An attempt counts once the system reports the new state. Reading it back
// also makes sure the change has left the program: under Wine the state is
// the X server's, and a request still queued when the program ends is lost.
bool set_screen_saver(bool on) {
  return try_up_to_ten_times([&] {
    bool now = !on;
    return SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, on ? TRUE : FALSE, nullptr, SPIF_SENDCHANGE) != 0 &&
           screen_saver_active(&now) && now == on;
  });
}

bool set_wallpaper(const char* path) {
  return try_up_to_ten_times([&] {
    return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path), SPIF_SENDCHANGE) != 0;
  });
}

// The user's wallpaper as stored in the profile; empty when it cannot be read.
void read_wallpaper(char (&path)[256]) {
  path[0] = '\0';
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  DWORD size = sizeof path - 1;
  DWORD type = 0;
  if (RegQueryValueExA(key, "Wallpaper", nullptr, &type, reinterpret_cast<BYTE*>(path), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    path[0] = '\0';
  path[sizeof path - 1] = '\0';
  if (size < sizeof path) path[size] = '\0';
  RegCloseKey(key);
}

void note(const char* ini, const char* key, const char* text) {
  if (ini[0]) WritePrivateProfileStringA(kNoteSection, key, text, ini);
}

void clear_note(const char* ini) {
  if (ini[0]) WritePrivateProfileStringA(kNoteSection, nullptr, nullptr, ini);
}

// A run that ended without its shutdown (killed, or the session ended under
// it) left the saver or the wallpaper off and its note behind: put them back
// before this run reads the live state, which would otherwise read "off" and
// never switch the saver on again.
void restore_after_unfinished_run(const char* ini) {
  if (!ini[0]) return;
  char flag[4] = {};
  GetPrivateProfileStringA(kNoteSection, "Screen saver", "", flag, sizeof flag, ini);
  bool active = true;
  if (flag[0] == '1' && screen_saver_active(&active) && !active) set_screen_saver(true);
  GetPrivateProfileStringA(kNoteSection, "Wallpaper off", "", flag, sizeof flag, ini);
  if (flag[0] == '1') {
    char path[256] = {};
    GetPrivateProfileStringA(kNoteSection, "Wallpaper", "", path, sizeof path, ini);
    set_wallpaper(path);
  }
  clear_note(ini);
}

}  // namespace

void switch_off_desktop_extras(const char* iniPath) {
  restore_after_unfinished_run(iniPath);
  bool active = false;
  if (screen_saver_active(&active) && active) g_screenSaverOff = set_screen_saver(false);
  if (g_screenSaverOff) note(iniPath, "Screen saver", "1");
  read_wallpaper(g_savedWallpaper);
  if (is_bmp_wallpaper(g_savedWallpaper)) g_wallpaperOff = set_wallpaper("");
  if (g_wallpaperOff) {
    // In quotes, which the profile reader takes off again: a path may begin
    // or end with spaces.
    const std::string quoted = std::string("\"") + g_savedWallpaper + "\"";
    note(iniPath, "Wallpaper", quoted.c_str());
    note(iniPath, "Wallpaper off", "1");
  }
  // Windows 9x keeps profile writes in a cache: the note must be on disk
  // before anything can kill this run.
  if (iniPath[0] && (g_screenSaverOff || g_wallpaperOff))
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, iniPath);
}

void restore_desktop_extras(const char* iniPath) {
  bool active = true;
  if (g_screenSaverOff && screen_saver_active(&active) && !active) set_screen_saver(true);
  g_screenSaverOff = false;
  if (g_wallpaperOff) set_wallpaper(g_savedWallpaper);
  g_wallpaperOff = false;
  clear_note(iniPath);
}

}  // namespace capture
