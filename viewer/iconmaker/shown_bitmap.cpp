#include "viewer/iconmaker/shown_bitmap.h"

#include <utility>

#include "formats/bmp_scan.h"
#include "frame/scoped.h"
#include "viewer/app/view.h"
#include "viewer/extract/extraction.h"
#include "viewer/icon/icon_messages.h"
#include "viewer/image/image_messages.h"
#include "viewer/image/image_record.h"

namespace viewer {

namespace {

// The figures the savers, the printer and the extraction read, from the
// file's head, with the open command's messages for what it refuses.
bool scan_file(HWND w, HANDLE file, fmt::bmp::ExportFigures* figures) {
  static uint8_t head[fmt::bmp::kScanBytes];
  LARGE_INTEGER length;
  DWORD got = 0;
  const bool read = GetFileSizeEx(file, &length) && ReadFile(file, head, sizeof head, &got, nullptr);
  const fmt::bmp::ScanResult r =
      read ? fmt::bmp::scan_bmp(head, got, static_cast<uint64_t>(length.QuadPart), figures)
           : fmt::bmp::ScanResult::NotBitmap;
  if (r == fmt::bmp::ScanResult::NotBitmap) {
    frame::show(w, msg::kNotABitmap);
    return false;
  }
  if (r == fmt::bmp::ScanResult::ZeroSize) {
    frame::show(w, msg::kZeroSizeBitmap);
    return false;
  }
  return true;
}

// Scans and reads the file through one handle (both see the same bytes) and
// shows it.
bool load_and_install(HWND w, const char* path, int tag) {
  frame::Handle file(open_for_reading(path));
  if (!file.valid()) {
    frame::show_f(w, msg::kFileNotOpened, path);
    return false;
  }
  NewImage image;
  image.figures = g_image.figures;  // entries past the table keep their values
  if (!scan_file(w, file.get(), &image.figures) || !load_bmp_file(w, file.get(), &image)) return false;
  // Saved and printed like the opened BMP file it is.
  const ShownAs as{MakeIconBitmap, FromBmpFile, path, tag == 1 ? " (1st Bitmap)" : " (2nd Bitmap)"};
  frame::WaitCursor busy;  // the first paint of a large image
  if (install(w, std::move(image), as)) return true;
  busy.pause();
  frame::show(w, msg::kNoSpaceForBitmap);
  return false;
}

}  // namespace

void show_make_icon_bitmap(HWND w, const char* path, int tag) {
  if (load_and_install(w, path, tag)) return;
  // The icon maker shows what it will build from: a bitmap it cannot show
  // leaves no image on view, rather than the one before it.
  discard_current_image(w);
  g_image.displayKind = MakeIconBitmap;
  g_image.imageOrigin = FromBmpFile;
  extraction_reset();
  lay_out_as_no_image(w);
}

}  // namespace viewer
