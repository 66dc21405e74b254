#include "capture/app/desktop.h"

#include <windows.h>

#include <cstring>

#include "capture/app/startup_logic.h"

namespace capture {

namespace {

constexpr int kAttempts = 10;
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

}  // namespace

void switch_off_desktop_extras() {
  bool active = false;
  if (screen_saver_active(&active) && active) g_screenSaverOff = set_screen_saver(false);
  read_wallpaper(g_savedWallpaper);
  if (is_bmp_wallpaper(g_savedWallpaper)) g_wallpaperOff = set_wallpaper("");
}

void restore_desktop_extras() {
  bool active = true;
  if (g_screenSaverOff && screen_saver_active(&active) && !active) set_screen_saver(true);
  g_screenSaverOff = false;
  if (g_wallpaperOff) set_wallpaper(g_savedWallpaper);
  g_wallpaperOff = false;
}

}  // namespace capture
