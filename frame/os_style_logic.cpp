#include "frame/os_style_logic.h"

#include <cstring>

namespace frame {

namespace {
bool contains(const char* text, const char* part) { return text && std::strstr(text, part) != nullptr; }
}  // namespace

int style_from_nt_version(const char* v) {
  if (contains(v, "4.0")) return 3;
  if (contains(v, "5.0")) return 4;
  if (contains(v, "5.1") || contains(v, "5.2")) return 5;
  if (contains(v, "6.0") || contains(v, "6.1")) return 6;
  return 7;
}

int style_from_product_name(const char* name) {
  if (contains(name, "Windows ME")) return 2;
  if (contains(name, "Windows 98")) return 1;
  return 0;
}

int style_from_registry(RegistryReader read, const void* context, NtVersionRule rule, int unchanged) {
  char text[256] = {};
  if (read(context, kNtVersionKey, "CurrentVersion", text) == RegistryRead::Read)
    return (rule ? rule : style_from_nt_version)(text);
  text[0] = '\0';
  // A failed query of the name leaves the text empty: the plain family.
  const RegistryRead product = read(context, kWindowsVersionKey, "ProductName", text);
  if (product == RegistryRead::NoKey) return unchanged;
  if (product == RegistryRead::NoValue) text[0] = '\0';
  return style_from_product_name(text);
}

const char* bitmap_set_suffix(int uiStyle) {
  switch (uiStyle) {
    case 2: return "9";
    case 4: return "8";
    case 5: return "X";
    default: return "";
  }
}

HintFont hint_font(bool japaneseUi, int uiStyle) {
  // The Japanese face is spelled in full-width letters, as the font is named.
  if (japaneseUi) return {12, 128, "ＭＳゴシック", 1, 0, 0};
  const bool nt = uiStyle >= 3;
  return {nt ? 14 : 12, 255, "Helv", 2, nt ? 1 : 0, -1};
}

}  // namespace frame
