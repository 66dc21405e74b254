#include "viewer/icon/open_command.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "formats/bmp_scan.h"
#include "frame/file_size.h"
#include "formats/icon_convert.h"
#include "formats/icon_layout.h"
#include "viewer/app/view.h"
#include "viewer/app/wait_cursor.h"
#include "viewer/app/viewer_state.h"
#include "viewer/export/disk_checks.h"
#include "viewer/extract/extraction.h"
#include "viewer/icon/colour_dialog.h"
#include "viewer/icon/icon_messages.h"
#include "viewer/icon/open_logic.h"
#include "viewer/image/image_messages.h"
#include "viewer/image/image_record.h"
#include "viewer/image/open_timing.h"

namespace viewer {

namespace {

char g_chosenPath[256];

// Reads up to n bytes from the start of a file and its length.
bool read_head(HANDLE file, uint8_t* head, DWORD n, DWORD* got, uint64_t* size) {
  if (!frame::file_size(file, size)) return false;
  *got = 0;
  return ReadFile(file, head, n, got, nullptr) != 0;
}

void repaint_open_button(HWND w) {
  // The dialog covered the button: repaint it, the child included.
  RECT r{47, 0, 79, 20};
  RedrawWindow(w, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool choose_file(HWND w) {
  ZeroMemory(g_chosenPath, sizeof g_chosenPath);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = w;
  ofn.lpstrFilter = "File (*.bmp;*.ico)\0*.bmp;*.ico\0";
  ofn.lpstrFile = g_chosenPath;
  ofn.nMaxFile = sizeof g_chosenPath;
  ofn.lpstrTitle = g_texts.openTitle;
  ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (GetOpenFileNameA(&ofn)) {
    open_timing_start();
    repaint_open_button(w);
    return true;
  }
  const DWORD error = CommDlgExtendedError();
  if (error != 0) {
    frame::show_f(w, msg::kOpenDialogError, static_cast<unsigned long>(error));
    return false;
  }
  repaint_open_button(w);
  return false;
}

// Makes a bitmap file the current image: the old one goes, the new one is
// loaded at the zoom that fits, and the view, caption and extraction follow.
// An open file is read from its start, the same bytes its header scan saw;
// otherwise the file is opened by path.
void install_bitmap(HWND w, HANDLE file, const char* bitmapPath, int kind, int origin, bool copyPalette) {
  discard_current_image(w);
  const bool loaded = file != INVALID_HANDLE_VALUE ? load_bmp_file(w, file) : open_bmp_file(w, bitmapPath);
  open_timing_loaded();
  g_image.displayKind = kind;
  g_image.imageOrigin = origin;
  if (!loaded) {
    // The old image has gone and nothing replaced it.
    extraction_reset();
    lay_out_as_no_image(w);
    return;
  }
  if (copyPalette && g_image.dib && lock_image(w)) {
    fmt::bmp::ExportFigures& f = g_image.figures;
    const uint32_t entries = f.palette_size <= 256 ? f.palette_size : 256;
    for (uint32_t i = 0; i < entries && static_cast<int>(i) < g_image.colourCount; ++i) {
      const uint8_t* e = g_image.colourTable + 4 * i;
      f.palette[i] = {e[0], e[1], e[2]};
    }
  }
  unlock_image();
  recompute_zoom_factor();
  layout_scroll_bars(w);
  g_image.view.vBarVisibleNow = g_image.view.vBarVisibleAtLastMove = g_image.view.vBarVisible;
  redraw_view(w, false);
  set_caption_from_path(w, g_chosenPath);
  extraction_reset();
  if (g_image.figures.palette_size == 0 && g_image.dib) extraction_make_copy(w);
}

void open_bmp(HWND w) {
  HANDLE file = open_for_reading(g_chosenPath);
  if (file == INVALID_HANDLE_VALUE) {
    frame::show(w, msg::kBitmapNotOpened);
    return;
  }
  static uint8_t head[fmt::bmp::kScanBytes];
  DWORD got = 0;
  uint64_t size = 0;
  const bool read = read_head(file, head, sizeof head, &got, &size);
  fmt::bmp::ExportFigures figures = g_image.figures;  // entries past the table keep their values
  const fmt::bmp::ScanResult r =
      read ? fmt::bmp::scan_bmp(head, got, size, &figures) : fmt::bmp::ScanResult::NotBitmap;
  if (r != fmt::bmp::ScanResult::Ok) CloseHandle(file);
  if (r == fmt::bmp::ScanResult::NotBitmap) {
    frame::show(w, msg::kNotABitmap);
    return;
  }
  if (r == fmt::bmp::ScanResult::ZeroSize) {
    frame::show(w, msg::kZeroSizeBitmap);
    return;
  }
  g_image.figures = figures;
  install_bitmap(w, file, g_chosenPath, BmpFile, FromBmpFile, false);
  CloseHandle(file);
}

void report_icon_check(HWND w, fmt::icon::IconCheckResult r) {
  using R = fmt::icon::IconCheckResult;
  switch (r) {
    case R::NotIcon:
      frame::show(w, msg::kNotAnIcon);
      break;
    case R::MultipleIcons:
      frame::show(w, msg::kMultipleIcons);
      break;
    case R::ZeroSize:
      frame::show(w, msg::kZeroSizeIcon);
      break;
    case R::UnsupportedDepth:
      frame::show(w, msg::kUnsupportedIconDepth);
      break;
    case R::WrongSize:
      frame::show(w, msg::kIconOfWrongSize);
      break;
    case R::Ok: break;
  }
}

void report_temporary_failure(HWND w) {
  frame::show(w, msg::kNoTemporaryBitmap);
}

bool path_exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The index the display gives the chosen colour among the icon's colours.
uint8_t nearest_index(const std::vector<fmt::icon::RgbEntry>& colours) {
  if (colours.empty()) return 0;
  std::vector<uint8_t> storage(sizeof(LOGPALETTE) + colours.size() * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(storage.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = static_cast<WORD>(colours.size());
  for (size_t i = 0; i < colours.size(); ++i)
    lp->palPalEntry[i] = {colours[i].red, colours[i].green, colours[i].blue, PC_RESERVED};
  HPALETTE pal = CreatePalette(lp);
  if (!pal) return 0;
  const UINT index = GetNearestPaletteIndex(pal, maskColour);
  DeleteObject(pal);
  return static_cast<uint8_t>(index < colours.size() ? index : 0);
}

// Builds the bitmap of the icon in memory, asks for the mask colour when
// the mask marks any pixel, and writes the bitmap file. False when the file
// could not be written whole or the conversion could not have its memory.
bool convert_icon_file(HWND w, HANDLE iconFile, HANDLE bmpFile, const fmt::icon::IconFigures& f) {
  // An icon of gigabytes is valid by its layout, but a 32-bit process cannot
  // hold it and its bitmap: refused before anything is read.
  if (!fmt::icon::conversion_fits(f)) return false;
  std::vector<uint8_t> icon, bmp;
  icon.resize(static_cast<size_t>(f.file_size));
  WaitCursor busy;  // the arrow comes back on every way out
  DWORD got = 0;
  SetFilePointer(iconFile, 0, nullptr, FILE_BEGIN);
  if (!ReadFile(iconFile, icon.data(), static_cast<DWORD>(icon.size()), &got, nullptr) || got != icon.size())
    return false;
  bmp = fmt::icon::icon_to_bmp(icon.data(), icon.size(), f);
  if (bmp.empty()) return false;
  fmt::bmp::ExportFigures figures = g_image.figures;
  fmt::icon::converted_figures(bmp, &figures);
  if (fmt::icon::has_masked_pixels(icon.data(), icon.size(), f)) {
    busy.pause();
    choose_mask_colour(w);
    busy.resume();
    const uint8_t index = nearest_index(fmt::icon::mask_palette(icon.data(), icon.size(), f));
    fmt::icon::paint_masked(bmp, icon.data(), icon.size(), f, index, maskColour);
  }
  DWORD written = 0;
  const bool ok = WriteFile(bmpFile, bmp.data(), static_cast<DWORD>(bmp.size()), &written, nullptr) &&
                  written == bmp.size() && FlushFileBuffers(bmpFile);
  busy.pause();
  if (!ok) return false;
  g_image.figures = figures;
  // The grey count follows the icon's own table, so that a later save
  // decides on this image and not on the one before it.
  uint32_t grey = 0;
  for (uint32_t i = 0; i < figures.palette_size && 54 + 4 * i + 2 < bmp.size(); ++i) {
    const uint8_t* e = &bmp[54 + 4 * i];
    if (e[0] == e[1] && e[1] == e[2]) ++grey;
  }
  g_image.figures.grey_entries = grey;
  return true;
}

// Any allocation that fails on the way (the icon's bytes, the colour
// matching) ends the conversion like a bitmap that could not be written; the
// wait cursor goes on every path.
bool convert_icon(HWND w, HANDLE iconFile, HANDLE bmpFile, const fmt::icon::IconFigures& f) {
  bool ok = false;
  try {
    ok = convert_icon_file(w, iconFile, bmpFile, f);
  } catch (const std::exception&) {  // bad_alloc, length_error
    ok = false;
  }
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  return ok;
}

void open_ico(HWND w) {
  HANDLE file = open_for_reading(g_chosenPath);
  if (file == INVALID_HANDLE_VALUE) {
    frame::show(w, msg::kIconNotOpened);
    return;
  }
  uint8_t head[fmt::icon::kHeadBytesNeeded];
  DWORD got = 0;
  uint64_t size = 0;
  fmt::icon::IconFigures f;
  const fmt::icon::IconCheckResult r = read_head(file, head, sizeof head, &got, &size)
                                           ? fmt::icon::check_icon(head, got, size, &f)
                                           : fmt::icon::IconCheckResult::NotIcon;
  if (r != fmt::icon::IconCheckResult::Ok) {
    CloseHandle(file);
    report_icon_check(w, r);
    return;
  }
  char tempDir[MAX_PATH + 1] = {};
  const DWORD n = GetTempPathA(sizeof tempDir, tempDir);
  const std::string temp =
      (n > 0 && n <= 255) ? temporary_bitmap_path(tempDir, file_name_in(g_chosenPath), path_exists) : std::string();
  // A new file only: an existing one is never replaced.
  HANDLE bmp = temp.empty() ? INVALID_HANDLE_VALUE
                            : CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (bmp == INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    report_temporary_failure(w);
    return;
  }
  const bool converted = convert_icon(w, file, bmp, f);
  CloseHandle(file);
  CloseHandle(bmp);
  if (!converted) {
    DeleteFileA(temp.c_str());
    report_temporary_failure(w);
    return;
  }
  install_bitmap(w, INVALID_HANDLE_VALUE, temp.c_str(), IconFile, FromIcon, true);
  DeleteFileA(temp.c_str());
}

void open_steps(HWND w) {
  if (!choose_file(w)) return;
  if (!is_fixed_disk(g_chosenPath)) {
    frame::show(w, msg::kNotOnFixedDisk);
    return;
  }
  switch (kind_by_extension(g_chosenPath)) {
    case FileKind::Bmp: open_bmp(w); break;
    case FileKind::Ico: open_ico(w); break;
    case FileKind::Other:
      frame::show(w, msg::kWrongExtension);
      break;
  }
  open_timing_done();
}

}  // namespace

// No exception leaves the command: the only ones its steps can raise come
// from memory that could not be had.
void open_command(HWND w) {
  try {
    open_steps(w);
  } catch (const std::exception&) {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    frame::show(w, msg::kNoSpaceForBitmap);
  }
}

}  // namespace viewer
