#include "viewer/iconmaker/icon_file_write.h"

#include <new>
#include <string>
#include <vector>

#include "frame/paths.h"

namespace viewer {

namespace {

bool read_all(HANDLE file, uint64_t size, std::vector<uint8_t>& out) {
  // No 32-bit process holds a bitmap of 2 GB next to its icon.
  if (size > 0x7FFFFFFF) return false;
  try {
    out.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
  DWORD got = 0;
  return ReadFile(file, out.data(), static_cast<DWORD>(out.size()), &got, nullptr) && got == out.size();
}

// The same file, by its volume and index: names cannot tell (short and long
// names, case folding of double-byte names).
bool same_file(HANDLE a, const BY_HANDLE_FILE_INFORMATION& b) {
  BY_HANDLE_FILE_INFORMATION ia;
  if (!GetFileInformationByHandle(a, &ia)) return false;
  return ia.dwVolumeSerialNumber == b.dwVolumeSerialNumber && ia.nFileIndexHigh == b.nFileIndexHigh &&
         ia.nFileIndexLow == b.nFileIndexLow;
}

// Whether the target is one of the inputs. A target that cannot be opened
// at all is not one of them: those are open for reading.
bool target_is_an_input(const char* target, HANDLE first, HANDLE second) {
  HANDLE t = CreateFileA(target, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (t == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = GetFileInformationByHandle(t, &info) != 0;
  CloseHandle(t);
  // Unknown identity: refuse rather than risk replacing an input.
  if (!known) return true;
  return same_file(first, info) || same_file(second, info);
}

bool write_whole(const char* path, const std::vector<uint8_t>& bytes) {
  HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size() && FlushFileBuffers(f);
  if (!CloseHandle(f)) ok = false;
  return ok;
}

}  // namespace

bool read_head(InputBitmap& bitmap) {
  LARGE_INTEGER length;
  if (!GetFileSizeEx(bitmap.file, &length)) return false;
  bitmap.size = static_cast<uint64_t>(length.QuadPart);
  DWORD got = 0;
  if (SetFilePointer(bitmap.file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
  if (!ReadFile(bitmap.file, bitmap.head, sizeof bitmap.head, &got, nullptr)) return false;
  bitmap.headLength = got;
  return true;
}

bool write_icon_file(const InputBitmap& first, const InputBitmap& second, const char* target) {
  if (target_is_an_input(target, first.file, second.file)) return false;
  std::vector<uint8_t> a, b, icon;
  if (!read_all(first.file, first.size, a) || !read_all(second.file, second.size, b)) return false;
  try {
    icon = fmt::icon::build_icon(a.data(), a.size(), b.data(), b.size());
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (icon.empty()) return false;
  a.clear();
  b.clear();

  // A new file in the target's folder, so that the move is a rename.
  const std::string folder(target, frame::file_name_in(target));
  char temporary[MAX_PATH] = {};
  if (folder.empty() || folder.size() > MAX_PATH - 14 ||
      !GetTempFileNameA(folder.c_str(), "ico", 0, temporary))
    return false;
  if (!write_whole(temporary, icon) ||
      !MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary);
    return false;
  }
  return true;
}

}  // namespace viewer
