#include "frame/os_style.h"

#include <windows.h>

#include "frame/os_style_logic.h"

int UiStyle = 0;
int japaneseUi = 0;

namespace frame {

namespace {
bool g_detected = false;

// Reads one text value; read access is enough and lets a standard user get
// the same button set as an administrator.
bool read_value(const char* keyPath, const char* name, char (&buffer)[256], bool* opened) {
  HKEY key;
  *opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) == ERROR_SUCCESS;
  if (!*opened) return false;
  ZeroMemory(buffer, sizeof buffer);
  DWORD size = sizeof buffer - 1;  // keep a terminating zero whatever the value holds
  const bool ok = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) ==
                  ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}
}  // namespace

void detect_style(NtVersionRule rule) {
  g_detected = true;
  char buffer[256];
  bool opened = false;
  if (read_value("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", buffer, &opened)) {
    UiStyle = (rule ? rule : style_from_nt_version)(buffer);
    return;
  }
  read_value("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProductName", buffer, &opened);
  if (!opened) return;
  UiStyle = style_from_product_name(buffer);
}

bool style_detected() { return g_detected; }

void decide_language() { japaneseUi = GetACP() == 932 ? 1 : 0; }

}  // namespace frame
