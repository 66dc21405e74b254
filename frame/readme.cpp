#include "frame/readme.h"

#include <shellapi.h>

#include "frame/messages.h"

namespace frame {

namespace {
// The same in both UI languages; %s is the readme's file name.
const Message kReadmeMissing = {MB_ICONERROR, "Install the readme file (%s)\nin the same directory.", "Error",
                                "Install the readme file (%s)\nin the same directory.", "Error"};
const Message kNoReader = {MB_ICONERROR,
                           "Unable to open the readme file (%s)\nbecause of being NO software to read PDF documents.",
                           "Error",
                           "Unable to open the readme file (%s)\nbecause of being NO software to read PDF documents.",
                           "Error"};
}  // namespace

void open_readme(HWND owner, const char* path, const char* name) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path, &found);
  // A folder under the readme's name is no document: the shell would open the
  // folder instead of the manual.
  const bool missing = search == INVALID_HANDLE_VALUE || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  if (missing) {
    show_f(owner, kReadmeMissing, name);
    return;
  }
  const HINSTANCE started = ShellExecuteA(owner, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(started) <= 32) show_f(owner, kNoReader, name);
}

}  // namespace frame
