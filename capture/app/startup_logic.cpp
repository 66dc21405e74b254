#include "capture/app/startup_logic.h"

#include <cctype>
#include <climits>
#include <cstring>

namespace capture {

namespace {
bool contains(const char* text, const char* part) { return text && std::strstr(text, part) != nullptr; }
}  // namespace

int style_from_nt_version(const char* v) {
  if (contains(v, "4.0")) return 3;
  if (contains(v, "5.0")) return 4;
  if (contains(v, "6.0")) return 6;
  if (contains(v, "6.1")) return 7;
  return 5;
}

const char* bitmap_set_suffix(int uiStyle) {
  switch (uiStyle) {
    case 2: return "9";
    case 4: return "8";
    case 5:
    case 6:
    case 7: return "X";
    default: return "";
  }
}

MainSizes main_sizes(int screenW, int screenH, int cyMin, int cyMenu) {
  MainSizes s{};
  s.baseHeight = cyMin + cyMenu + 21;
  s.maxX = screenW - kMainWidth;
  s.maxY = screenH - (s.baseHeight + 16);
  return s;
}

int leading_number(const char* text) {
  if (!text) return 0;
  const char* p = text;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > INT_MAX) {
      value = static_cast<long long>(INT_MAX) + 1;
      break;
    }
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int clamp(int value, int lo, int hi) {
  // A screen smaller than the window gives hi < lo: the window then starts at 0.
  if (value > hi) value = hi;
  if (value < lo) value = lo;
  return value;
}

bool is_bmp_wallpaper(const char* path) {
  if (!path) return false;
  const size_t n = std::strlen(path);
  if (n < 4) return false;
  const char* ext = path + n - 4;
  return ext[0] == '.' && std::tolower(static_cast<unsigned char>(ext[1])) == 'b' &&
         std::tolower(static_cast<unsigned char>(ext[2])) == 'm' &&
         std::tolower(static_cast<unsigned char>(ext[3])) == 'p';
}

}  // namespace capture
