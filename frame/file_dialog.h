// The set-up the open and save dialogs of both programs share.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <cstddef>

namespace frame {

// The dialog's record with the size the first 32-bit systems know
// (OPENFILENAME_SIZE_VERSION_400A, written out here because the header's
// macro is no constant expression): their dialogs refuse the larger record
// of later headers, which only adds fields these programs never use.
constexpr DWORD kFileDialogRecordSize = 76;
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == kFileDialogRecordSize,
              "the file dialog record of Windows 95 and NT 4.0");

// A dialog for path (capacity bytes, emptied first: no name is proposed),
// owned by owner. The caller adds what its dialog needs (a default
// extension) and calls GetOpenFileNameA or GetSaveFileNameA.
inline OPENFILENAMEA file_dialog(HWND owner, const char* filter, char* path, DWORD capacity, const char* title,
                                 DWORD flags) {
  ZeroMemory(path, capacity);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = kFileDialogRecordSize;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter;
  ofn.lpstrFile = path;
  ofn.nMaxFile = capacity;
  ofn.lpstrTitle = title;
  ofn.Flags = flags;
  return ofn;
}

}  // namespace frame
