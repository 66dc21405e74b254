#include <cstring>
#include <vector>

#include "capture/grab/grab_messages.h"
#include "capture/mask/mask_tool.h"
#include "formats/icon_marks.h"
#include "frame/paths.h"
#include "frame/scoped.h"

namespace capture {

namespace {

// Larger than any icon a capture writes (5694 bytes for 64 x 64 x 256).
constexpr DWORD kLargestIcon = 64 * 1024;

bool read_whole(const char* path, std::vector<uint8_t>* bytes) {
  frame::Handle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  const DWORD size = GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE || size > kLargestIcon) return false;
  bytes->assign(size, 0);
  DWORD got = 0;
  return size == 0 || (ReadFile(file.get(), bytes->data(), size, &got, nullptr) && got == size);
}

// The new bytes go to a fresh file of our own beside the icon (same drive,
// nobody else's file touched), which then replaces it in one move: the icon
// is either the old file or the new one, never a half-written one.
bool replace_with(const char* path, const std::vector<uint8_t>& bytes) {
  const auto folderLen = static_cast<size_t>(frame::file_name_in(path) - path);
  char folder[MAX_PATH];
  char temp[MAX_PATH];
  if (folderLen == 0 || folderLen >= sizeof folder) return false;
  std::memcpy(folder, path, folderLen);
  folder[folderLen] = '\0';
  if (GetTempFileNameA(folder, "mrd", 0, temp) == 0) return false;
  bool written = false;
  {
    frame::Handle file(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD done = 0;
    written = file.valid() &&
              WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
              done == bytes.size() && FlushFileBuffers(file.get());
  }
  if (written && MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  DeleteFileA(temp);
  return false;
}

bool rewrite(const char* path, const IconForm& form, const uint8_t* marks) {
  // A read-only icon is the user's decision to keep it; a folder is no icon.
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
    return false;
  std::vector<uint8_t> before;
  if (!read_whole(path, &before)) return false;
  const std::vector<uint8_t> after = fmt::icon_marks::apply_marks(
      before.data(), before.size(), static_cast<uint32_t>(form.size), form.colourCount, marks);
  if (after.empty()) return false;  // not the icon this capture wrote
  if (after == before) return true;  // no marks: the file is not touched at all
  return replace_with(path, after);
}

}  // namespace

bool write_marks(HWND owner, const char* path, const IconForm& form, const uint8_t* marks) {
  if (rewrite(path, form, marks)) return true;
  frame::show(owner, msg::kOpenError);
  return false;
}

}  // namespace capture
