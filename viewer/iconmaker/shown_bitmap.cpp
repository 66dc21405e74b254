#include "viewer/iconmaker/shown_bitmap.h"

#include <cstdio>

#include "formats/bmp_scan.h"
#include "frame/file_size.h"
#include "viewer/app/messages.h"
#include "viewer/app/view.h"
#include "viewer/app/viewer_state.h"
#include "viewer/extract/extraction.h"
#include "viewer/image/image_record.h"

namespace viewer {

namespace {

// The figures the savers, the printer and the extraction read, from the
// file's head, with the open command's messages for what it refuses.
bool scan_file(HWND w, HANDLE file) {
  static uint8_t head[fmt::bmp::kScanBytes];
  uint64_t length = 0;
  DWORD got = 0;
  const bool read = frame::file_size(file, &length) && ReadFile(file, head, sizeof head, &got, nullptr);
  fmt::bmp::ExportFigures figures = g_image.figures;  // entries past the table keep their values
  const fmt::bmp::ScanResult r =
      read ? fmt::bmp::scan_bmp(head, got, length, &figures)
           : fmt::bmp::ScanResult::NotBitmap;
  if (r == fmt::bmp::ScanResult::NotBitmap) {
    message(w, MB_OK | MB_ICONERROR, "Not a bitmap file with correct format.", "Error",
            "正しいビットマップファイルではありません.", "エラー");
    return false;
  }
  if (r == fmt::bmp::ScanResult::ZeroSize) {
    message(w, MB_OK | MB_ICONWARNING, "Unable to process a bitmap with zero width or height.", "Warning",
            "幅や高さが０のビットマップは処理できません.", "警告");
    return false;
  }
  g_image.figures = figures;
  return true;
}

// Scans and reads the file through one handle: both see the same bytes.
bool load(HWND w, const char* path) {
  HANDLE file = open_for_reading(path);
  if (file == INVALID_HANDLE_VALUE) {
    message_f(w, MB_OK | MB_ICONERROR, "Unable to open file '%s'.", "Error", "ファイル '%s' を開けません.", "エラー",
              path);
    return false;
  }
  const bool loaded = scan_file(w, file) && load_bmp_file(w, file) && g_image.dib;
  CloseHandle(file);
  return loaded;
}

}  // namespace

void show_make_icon_bitmap(HWND w, const char* path, int tag) {
  discard_current_image(w);
  const bool shown = load(w, path);
  g_image.displayKind = MakeIconBitmap;
  // Saved and printed like the opened BMP file it is.
  g_image.imageOrigin = FromBmpFile;
  extraction_reset();
  if (!shown) {
    // The old image has gone and nothing replaced it.
    free_image();
    lay_out_as_no_image(w);
    return;
  }
  recompute_zoom_factor();
  layout_scroll_bars(w);
  g_image.view.vBarVisibleNow = g_image.view.vBarVisibleAtLastMove = g_image.view.vBarVisible;
  redraw_view(w, false);
  char base[512];
  std::snprintf(base, sizeof base, tag == 1 ? "%s%s (1st Bitmap) [" : "%s%s (2nd Bitmap) [", g_texts.captionPrefix,
                file_name_in(path));
  set_caption_base(w, base);
  extraction_make_copy(w);
}

}  // namespace viewer
