// Start-up rules of the capture program that need no window system: its own
// reading of the OS version and bitmap sets, the window sizes, the INI
// position and which wallpapers are taken off while it runs.
#pragma once

namespace capture {

// UiStyle from the NT "CurrentVersion" text: "4.0" 3, "5.0" 4, "6.0" 6,
// "6.1" 7, any other version 5 (this program knows no 5.1 or 5.2 test).
int style_from_nt_version(const char* currentVersion);
// Button set by UiStyle: 2 "9", 4 "8", 5 to 7 "X", others the plain names.
const char* bitmap_set_suffix(int uiStyle);

constexpr int kMainWidth = 135;

struct MainSizes {
  int baseHeight;  // SM_CYMIN + SM_CYMENU + 21
  int maxX, maxY;  // the largest position that keeps the window on the screen
};
MainSizes main_sizes(int screenW, int screenH, int cyMin, int cyMenu);

// The leading decimal number of an INI value ("120px" gives 120, "-5" gives
// −5, "" or text gives 0); values beyond int stop growing at its limits.
int leading_number(const char* text);
int clamp(int value, int lo, int hi);

// A wallpaper that is a BMP file (by its last four characters, any case) is
// taken off while the program runs; other pictures are left alone.
bool is_bmp_wallpaper(const char* path);

}  // namespace capture
