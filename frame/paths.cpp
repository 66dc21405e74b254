#include "frame/paths.h"

#include <windows.h>

#include <cstdio>

#include "frame/os_style.h"
#include "frame/path_logic.h"

namespace frame {

bool is_lead_byte(unsigned char c) { return IsDBCSLeadByte(c) != 0; }

const char* file_name_in(const char* path) { return file_name_of(path, is_lead_byte); }

bool program_file_path(const char* exeName, char* out, size_t outSize) {
  if (outSize == 0) return false;
  const DWORD n = SearchPathA(nullptr, exeName, nullptr, static_cast<DWORD>(outSize), out, nullptr);
  if (n > 0 && n < outSize) return true;
  char self[MAX_PATH] = {};
  const DWORD m = GetModuleFileNameA(nullptr, self, sizeof self);
  if (m == 0 || m >= sizeof self) {
    out[0] = '\0';
    return false;
  }
  // By characters: a Japanese folder name may hold the backslash byte.
  const int dirLen = static_cast<int>(file_name_in(self) - self);
  const int len = std::snprintf(out, outSize, "%.*s%s", dirLen, self, exeName);
  if (len < 0 || static_cast<size_t>(len) >= outSize) {
    out[0] = '\0';
    return false;
  }
  return true;
}

bool readme_path(const char* exeName, char* out, size_t outSize) {
  char program[MAX_PATH];
  if (!program_file_path(exeName, program, sizeof program)) {
    if (outSize) out[0] = '\0';
    return false;
  }
  return readme_path_of(program, japaneseUi != 0, is_lead_byte, out, outSize);
}

}  // namespace frame
