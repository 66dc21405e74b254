#include "viewer/export/replace_file.h"

#include <cstdio>
#include <cstring>

#include "viewer/export/save_messages.h"
#include "frame/paths.h"

namespace viewer {

bool begin_pending_file(const char* target, PendingFile* file) {
  // The folder of the target, found by characters (a Japanese name may hold
  // the backslash byte).
  const int dirLen = static_cast<int>(frame::file_name_in(target) - target);
  if (dirLen <= 0 || dirLen > MAX_PATH) return false;
  const DWORD start = GetTickCount() & 0xFFFF;
  for (DWORD n = 0; n < 200; ++n) {
    std::snprintf(file->path, sizeof file->path, "%.*s~kal%04lX.tmp", dirLen, target,
                  static_cast<unsigned long>((start + n) & 0xFFFF));
    file->handle = CreateFileA(file->path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file->handle != INVALID_HANDLE_VALUE) return true;
    const DWORD e = GetLastError();
    if (e != ERROR_FILE_EXISTS && e != ERROR_ALREADY_EXISTS) break;
  }
  file->path[0] = '\0';
  return false;
}

fmt::Sink pending_sink(PendingFile* file) {
  fmt::Sink s;
  s.context = file;
  s.write = [](void* c, const uint8_t* data, size_t n) {
    HANDLE h = static_cast<PendingFile*>(c)->handle;
    while (n > 0) {
      const DWORD chunk = n > 0x1000000 ? 0x1000000 : static_cast<DWORD>(n);
      DWORD written = 0;
      if (!WriteFile(h, data, chunk, &written, nullptr) || written != chunk) return false;
      data += chunk;
      n -= chunk;
    }
    return true;
  };
  return s;
}

namespace {

// A read-only file is one the user protected: it is not replaced, though
// not every system refuses the rename over it (Wine, run by a privileged
// user, renames). A file another program holds open makes the rename fail.
bool target_replaceable(const char* target) {
  const DWORD attributes = GetFileAttributesA(target);
  return attributes == INVALID_FILE_ATTRIBUTES ||
         (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

}  // namespace

bool commit_pending_file(PendingFile* file, const char* target) {
  const bool closed = CloseHandle(file->handle) != 0;
  file->handle = INVALID_HANDLE_VALUE;
  bool moved = false;
  if (closed && target_replaceable(target)) {
    moved = MoveFileExA(file->path, target, MOVEFILE_REPLACE_EXISTING) != 0;
    // The Windows 9x family has the name but not the call: there the old
    // file must go first.
    if (!moved && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
      const bool gone = GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES || DeleteFileA(target);
      moved = gone && MoveFileA(file->path, target);
    }
  }
  if (!moved) DeleteFileA(file->path);
  file->path[0] = '\0';
  return moved;
}

void abandon_pending_file(PendingFile* file) {
  if (file->handle != INVALID_HANDLE_VALUE) CloseHandle(file->handle);
  file->handle = INVALID_HANDLE_VALUE;
  if (file->path[0]) DeleteFileA(file->path);
  file->path[0] = '\0';
}

void report_write_error(HWND owner) {
  frame::show(owner, msg::kWriteError);
}

}  // namespace viewer
