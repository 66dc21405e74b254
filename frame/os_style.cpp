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
RegistryRead read_value(const void*, const char* keyPath, const char* name, char (&text)[256]) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return RegistryRead::NoKey;
  ZeroMemory(text, sizeof text);
  DWORD size = sizeof text - 1;  // keep a terminating zero whatever the value holds
  const bool ok =
      RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok ? RegistryRead::Read : RegistryRead::NoValue;
}
}  // namespace

void detect_style(NtVersionRule rule) {
  g_detected = true;
  UiStyle = style_from_registry(read_value, nullptr, rule, UiStyle);
}

bool style_detected() { return g_detected; }

void decide_language() { japaneseUi = GetACP() == 932 ? 1 : 0; }

}  // namespace frame
