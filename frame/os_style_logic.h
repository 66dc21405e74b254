// The OS family decides the tool bar's bitmap set and the hint font. These
// rules need no window system, so they are kept here and tested natively.
#pragma once

namespace frame {

// UiStyle from the NT "CurrentVersion" text (first match wins).
int style_from_nt_version(const char* currentVersion);
// Maps the NT "CurrentVersion" text to a UiStyle; the programs differ here.
using NtVersionRule = int (*)(const char* currentVersion);
// UiStyle from the 9x "ProductName" text.
int style_from_product_name(const char* productName);
// What reading one registry value gives: the key is missing (or refused),
// the key is there without the value, or the text was read into `text`.
enum class RegistryRead { NoKey, NoValue, Read };
using RegistryReader = RegistryRead (*)(const void* context, const char* key, const char* name, char (&text)[256]);
constexpr const char* kNtVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kWindowsVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
// The whole decision: the NT key's "CurrentVersion" through `rule` when it
// can be read, else the 9x key's "ProductName" (empty when that value is
// missing); `unchanged` when neither key opens.
int style_from_registry(RegistryReader read, const void* context, NtVersionRule rule, int unchanged);

// Set suffix of the button bitmaps: "9", "8", "X" or "".
const char* bitmap_set_suffix(int uiStyle);

// The font of the hints drawn under the tool bar.
struct HintFont {
  int height;
  int charset;      // SHIFTJIS_CHARSET (128) or OEM_CHARSET (255)
  const char* face;
  int extraWidth;
  int offsetX;
  int offsetY;
};
HintFont hint_font(bool japaneseUi, int uiStyle);

}  // namespace frame
