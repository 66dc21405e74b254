#include "frame/replace_file.h"

#include <windows.h>

#include <cstdio>

#include "frame/paths.h"
#include "frame/scoped.h"

namespace frame {

namespace {

// The one file being written, the layer's context.
struct Written {
  HANDLE file = INVALID_HANDLE_VALUE;
};

HANDLE& file_of(void* context) { return static_cast<Written*>(context)->file; }

FileLayer::Target target_state(void*, const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return FileLayer::Target::Missing;
  // A read-only file is one the user protected, although not every system
  // refuses the rename over it (Wine, run by a privileged user, renames).
  return (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0 ? FileLayer::Target::Protected
                                                                                   : FileLayer::Target::Writable;
}

FileLayer::Created create_new(void* context, const char* path) {
  HANDLE& file = file_of(context);
  file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) return FileLayer::Created::Ok;
  const DWORD e = GetLastError();
  // A folder of that name is refused as access denied.
  const bool taken = e == ERROR_FILE_EXISTS || e == ERROR_ALREADY_EXISTS ||
                     (e == ERROR_ACCESS_DENIED && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES);
  return taken ? FileLayer::Created::NameTaken : FileLayer::Created::Failed;
}

bool write(void* context, const uint8_t* data, size_t n) {
  while (n > 0) {
    const DWORD chunk = n > 0x1000000 ? 0x1000000 : static_cast<DWORD>(n);
    DWORD written = 0;
    if (!WriteFile(file_of(context), data, chunk, &written, nullptr) || written != chunk) return false;
    data += chunk;
    n -= chunk;
  }
  return true;
}

bool flush(void* context) { return FlushFileBuffers(file_of(context)) != 0; }

// The one close whose result counts, so no guard: the layer is always closed
// by the sequence before it ends.
bool close(void* context) {
  HANDLE& file = file_of(context);
  const bool closed = file != INVALID_HANDLE_VALUE && CloseHandle(file) != 0;
  file = INVALID_HANDLE_VALUE;
  return closed;
}

using MoveFileExFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);

// Windows 95 and 98 have no MoveFileExA worth the name (a stub that reports
// it is not implemented, or none at all): looked up, never imported.
MoveFileExFunction move_file_ex() {
  static const auto f = reinterpret_cast<MoveFileExFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "MoveFileExA")));
  return f;
}

FileLayer::Moved replace(void*, const char* from, const char* to) {
  const MoveFileExFunction f = move_file_ex();
  if (!f) return FileLayer::Moved::NotImplemented;
  if (f(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return FileLayer::Moved::Ok;
  return GetLastError() == ERROR_CALL_NOT_IMPLEMENTED ? FileLayer::Moved::NotImplemented : FileLayer::Moved::Failed;
}

bool rename(void*, const char* from, const char* to) { return MoveFileA(from, to) != 0; }

bool remove(void*, const char* path) { return DeleteFileA(path) != 0; }

void list(void*, const char* folder, const char* prefix, void (*each)(void*, const char*, bool), void* eachContext) {
  char pattern[MAX_PATH];
  const int n = std::snprintf(pattern, sizeof pattern, "%s%s*", folder, prefix);
  if (n < 0 || static_cast<size_t>(n) >= sizeof pattern) return;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    each(eachContext, found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

// A file some program holds open, in any sharing mode, cannot be opened for
// exclusive access: it may be a save in progress.
bool remove_unheld(void*, const char* path) {
  {
    const Handle file(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
  }
  return DeleteFileA(path) != 0;
}


}  // namespace

ReplaceFailure replace_file(const char* target, const char* tempPrefix,
                            bool (*fill)(void* fillContext, fmt::BufferedWriter& out), void* fillContext) {
  Written written;
  const FileLayer files = {target_state, create_new, write, flush, close, replace,
                           rename, remove, list, remove_unheld, &written};
  const ReplaceRequest request{target, tempPrefix, is_lead_byte, GetTickCount(), fill, fillContext};
  return replace_file(files, request);
}

}  // namespace frame
