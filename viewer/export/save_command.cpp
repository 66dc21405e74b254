#include "viewer/export/save_command.h"

#include <cstring>

#include "frame/file_dialog.h"
#include "frame/os_style.h"
#include "viewer/app/view.h"
#include "viewer/app/viewer_state.h"
#include "viewer/export/disk_checks.h"
#include "viewer/export/save_messages.h"
#include "viewer/export/save_logic.h"
#include "viewer/export/save_writers.h"
#include "viewer/image/image_record.h"

namespace viewer {

namespace {

char g_savePath[256];

void repaint_save_button(HWND w) {
  // The dialog covered the button: repaint it, the tool bar child included.
  RECT r{239, 0, 271, 20};
  RedrawWindow(w, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool choose_save_path(HWND w) {
  OPENFILENAMEA ofn = frame::file_dialog(w, save_filter(g_image.imageOrigin), g_savePath, sizeof g_savePath,
                                         g_texts.saveTitle, OFN_PATHMUSTEXIST | OFN_HIDEREADONLY);
  ofn.lpstrDefExt = save_default_extension(g_image.imageOrigin);
  if (GetSaveFileNameA(&ofn)) {
    repaint_save_button(w);
    return true;
  }
  const DWORD error = CommDlgExtendedError();
  if (error != 0) {
    frame::show_f(w, msg::kSaveDialogError, static_cast<unsigned long>(error));
    return false;
  }
  repaint_save_button(w);
  return false;
}

using FreeSpaceEx = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

bool use_extended_query() {
  if (UiStyle != 0) return true;
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
  if (!GetVersionExA(&v)) return false;
  return v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && (v.dwBuildNumber & 0xFFFF) > 1000;
}

// Free bytes for the caller on the drive of root; the extended query is
// looked up at run time, and where it is missing the basic one answers.
bool has_free_space(const char* root, uint64_t size) {
  if (use_extended_query()) {
    char library[258] = {};
    const UINT n = GetSystemDirectoryA(library, 256);
    if (n > 0 && n < 256 - 13) {
      std::strcat(library, "\\KERNEL32.DLL");
      HMODULE kernel = LoadLibraryA(library);
      if (kernel) {
        const auto query = reinterpret_cast<FreeSpaceEx>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "GetDiskFreeSpaceExA")));
        ULARGE_INTEGER available{}, total{}, free{};
        const bool asked = query && query(root, &available, &total, &free);
        FreeLibrary(kernel);
        if (asked) return enough_free_space(available.QuadPart, size);
      }
    }
  }
  DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceA(root, &sectors, &bytes, &freeClusters, &clusters)) return false;
  return enough_free_space(uint64_t{sectors} * bytes * freeClusters, size);
}

bool confirm_overwrite(HWND w) {
  if (GetFileAttributesA(g_savePath) == INVALID_FILE_ATTRIBUTES) return true;
  return frame::show(w, msg::kOverwrite) == IDYES;
}

}  // namespace

void save_command(HWND w) {
  if (!choose_save_path(w)) return;
  char root[256] = {};
  std::memcpy(root, g_savePath, 3);
  if (!is_fixed_disk(root)) {
    frame::show(w, msg::kSaveOnlyToFixedDisk);
    return;
  }
  // The size of the file the writer will really write, a pasted image at
  // the size it is shown.
  uint64_t size = 0;
  if (!saved_file_size(g_image.imageOrigin, &size)) return;
  if (!has_free_space(root, size)) {
    frame::show(w, msg::kNotEnoughFreeSpace);
    return;
  }
  const SaveWriter writer = save_writer(g_savePath, g_image.imageOrigin);
  if (writer == SaveWriter::WrongExtension) {
    frame::show(w, msg::kSaveExtension);
    return;
  }
  if (!confirm_overwrite(w)) return;
  bool saved = false;
  switch (writer) {
    case SaveWriter::Tif: saved = write_tif(w, g_savePath); break;
    case SaveWriter::PlainBmp: saved = write_plain_bmp(w, g_savePath); break;
    case SaveWriter::DisplayedBmp: saved = write_displayed_bmp(w, g_savePath); break;
    case SaveWriter::WrongExtension: break;
  }
  if (!saved) return;
  frame::show_f(w, msg::kSaved, g_savePath);
  set_caption_from_path(w, g_savePath);
}

}  // namespace viewer
