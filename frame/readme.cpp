#include "frame/readme.h"

#include <shellapi.h>

#include <cstdio>

namespace frame {

void open_readme(HWND owner, const char* path, const char* name) {
  char text[512];
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path, &found);
  // A folder under the readme's name is no document: the shell would open the
  // folder instead of the manual.
  if (search == INVALID_HANDLE_VALUE || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    std::snprintf(text, sizeof text, "Install the readme file (%s)\nin the same directory.", name);
    MessageBoxA(owner, text, "Error", MB_ICONERROR);
  } else {
    const HINSTANCE started = ShellExecuteA(owner, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(started) <= 32) {
      std::snprintf(text, sizeof text,
                    "Unable to open the readme file (%s)\nbecause of being NO software to read PDF documents.", name);
      MessageBoxA(owner, text, "Error", MB_ICONERROR);
    }
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

}  // namespace frame
