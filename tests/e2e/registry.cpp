#include "tests/e2e/registry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace e2e {

namespace {

int g_open = 0;  // values not yet put back by this driver

// The journal file named by the runner, or "" outside the runner.
std::string journal_path() {
  const char* p = std::getenv("KALDERO_REG_JOURNAL");
  return p ? p : "";
}

// One line a value: root, key, name, whether it existed, its value; tabs
// between, as the runner's shell reads them.
void journal(HKEY root, const std::string& key, const std::string& name, bool existed, const std::string& value) {
  const std::string path = journal_path();
  if (path.empty()) return;
  if (FILE* f = std::fopen(path.c_str(), "ab")) {
    std::fprintf(f, "%s\t%s\t%s\t%d\t%s\n", root == HKEY_LOCAL_MACHINE ? "HKLM" : "HKCU", key.c_str(), name.c_str(),
                 existed ? 1 : 0, value.c_str());
    std::fclose(f);
  }
}

}  // namespace

SavedRegistryValue::SavedRegistryValue(HKEY root, const char* key, const char* name)
    : root_(root), key_(key), name_(name) {
  HKEY k;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) == ERROR_SUCCESS) {
    char buf[1024] = {};
    DWORD size = sizeof buf - 1, type = 0;
    existed_ = RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) == ERROR_SUCCESS;
    value_ = buf;
    RegCloseKey(k);
  }
  journal(root_, key_, name_, existed_, value_);
  ++g_open;
}

SavedRegistryValue::~SavedRegistryValue() {
  if (existed_) set(value_.c_str());
  else remove();
  if (--g_open == 0 && !journal_path().empty()) DeleteFileA(journal_path().c_str());
}

bool SavedRegistryValue::set(const char* value) const {
  HKEY k;
  if (RegCreateKeyExA(root_, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS)
    return false;
  const bool ok = RegSetValueExA(k, name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                 static_cast<DWORD>(std::strlen(value) + 1)) == ERROR_SUCCESS;
  RegCloseKey(k);
  return ok;
}

void SavedRegistryValue::remove() const {
  HKEY k;
  if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) return;
  RegDeleteValueA(k, name_.c_str());
  RegCloseKey(k);
}

}  // namespace e2e
