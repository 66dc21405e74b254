#include <vector>

#include "capture/grab/grab_messages.h"
#include "capture/mask/mask_tool.h"
#include "formats/icon_marks.h"
#include "frame/replace_file.h"
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

// A vanished, unreadable or foreign icon is refused as a failed replacement is.
frame::ReplaceFailure rewrite(const char* path, const IconForm& form, const uint8_t* marks) {
  constexpr frame::ReplaceFailure kRefused = frame::ReplaceFailure::Create;
  std::vector<uint8_t> before;
  if (!read_whole(path, &before)) return kRefused;
  const std::vector<uint8_t> after = fmt::icon_marks::apply_marks(
      before.data(), before.size(), static_cast<uint32_t>(form.size), form.colourCount, marks);
  if (after.empty()) return kRefused;  // not the icon this capture wrote
  if (after == before) return frame::ReplaceFailure::None;  // no marks: the file is not touched at all
  // A read-only icon is the user's decision to keep it: the replacement
  // refuses it.
  return frame::replace_file_with(path, msg::kTempPrefix, after.data(), after.size());
}

}  // namespace

bool write_marks(HWND owner, const char* path, const IconForm& form, const uint8_t* marks) {
  const frame::ReplaceFailure failure = rewrite(path, form, marks);
  if (failure == frame::ReplaceFailure::None) return true;
  // Every failure is "Unable to open file." but a folder too deep for a
  // temporary name beside the icon.
  frame::show(owner, failure == frame::ReplaceFailure::PathTooLong ? msg::kPathTooLong : msg::kOpenError);
  return false;
}

}  // namespace capture
