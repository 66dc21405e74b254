#include "viewer/icon/open_command.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "formats/bmp_read.h"
#include "formats/bmp_scan.h"
#include "formats/icon_convert.h"
#include "formats/icon_layout.h"
#include "frame/file_dialog.h"
#include "frame/paths.h"
#include "frame/scoped.h"
#include "viewer/app/view.h"
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
  LARGE_INTEGER len;
  if (!GetFileSizeEx(file, &len)) return false;
  *size = static_cast<uint64_t>(len.QuadPart);
  *got = 0;
  return ReadFile(file, head, n, got, nullptr) != 0;
}

void repaint_open_button(HWND w) {
  // The dialog covered the button: repaint it, the child included.
  RECT r{47, 0, 79, 20};
  RedrawWindow(w, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool choose_file(HWND w) {
  OPENFILENAMEA ofn = frame::file_dialog(w, "File (*.bmp;*.ico)\0*.bmp;*.ico\0", g_chosenPath, sizeof g_chosenPath,
                                         g_texts.openTitle, OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY);
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

// Reads a bitmap file (from its start) into a new block and shows it. A
// refused file leaves the current image, its caption, zoom and extraction
// as they were.
void load_and_install(HWND w, HANDLE file, NewImage&& image, const ShownAs& as, bool copyPalette) {
  const bool loaded = load_bmp_file(w, file, &image);
  open_timing_loaded();
  if (!loaded) return;
  if (copyPalette) {
    if (const uint8_t* block = image.dib.lock()) {
      // An icon's figures take their palette from the converted bitmap's table.
      fmt::bmp::DibLayout layout;
      if (fmt::bmp::dib_layout(block, image.dibSize, file_header_of(image.fileHeader), &layout) ==
          fmt::bmp::BmpReadError::None) {
        fmt::bmp::ExportFigures& f = image.figures;
        const uint32_t entries = f.palette_size <= 256 ? f.palette_size : 256;
        for (uint32_t i = 0; i < entries && i < layout.colour_count; ++i) {
          const uint8_t* e = block + fmt::bmp::kInfoHeaderSize + 4 * i;
          f.palette[i] = {e[0], e[1], e[2]};
        }
      }
      image.dib.unlock();
    }
  }
  frame::WaitCursor busy;  // the first paint of a large image
  if (!install(w, std::move(image), as)) {
    busy.pause();
    frame::show(w, msg::kNoSpaceForBitmap);
  }
}

void open_bmp(HWND w) {
  frame::Handle file(open_for_reading(g_chosenPath));
  if (!file.valid()) {
    frame::show(w, msg::kBitmapNotOpened);
    return;
  }
  static uint8_t head[fmt::bmp::kScanBytes];
  DWORD got = 0;
  uint64_t size = 0;
  const bool read = read_head(file.get(), head, sizeof head, &got, &size);
  NewImage image;
  image.figures = g_image.figures;  // entries past the table keep their values
  const fmt::bmp::ScanResult r =
      read ? fmt::bmp::scan_bmp(head, got, size, &image.figures) : fmt::bmp::ScanResult::NotBitmap;
  if (r == fmt::bmp::ScanResult::NotBitmap) {
    frame::show(w, msg::kNotABitmap);
    return;
  }
  if (r == fmt::bmp::ScanResult::ZeroSize) {
    frame::show(w, msg::kZeroSizeBitmap);
    return;
  }
  load_and_install(w, file.get(), std::move(image), {BmpFile, FromBmpFile, g_chosenPath, ""}, false);
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
  frame::GdiObject<HPALETTE> pal(CreatePalette(lp));
  if (!pal) return 0;
  const UINT index = GetNearestPaletteIndex(pal.get(), maskColour);
  return static_cast<uint8_t>(index < colours.size() ? index : 0);
}

// Builds the bitmap of the icon in memory, asks for the mask colour when
// the mask marks any pixel, and writes the bitmap file. False when the file
// could not be written whole or the conversion could not have its memory.
bool convert_icon_file(HWND w, HANDLE iconFile, HANDLE bmpFile, const fmt::icon::IconFigures& f,
                       fmt::bmp::ExportFigures* out) {
  // An icon of gigabytes is valid by its layout, but a 32-bit process cannot
  // hold it and its bitmap: refused before anything is read.
  if (!fmt::icon::conversion_fits(f)) return false;
  std::vector<uint8_t> icon, bmp;
  icon.resize(static_cast<size_t>(f.file_size));
  frame::WaitCursor busy;  // the arrow comes back on every way out
  DWORD got = 0;
  SetFilePointer(iconFile, 0, nullptr, FILE_BEGIN);
  if (!ReadFile(iconFile, icon.data(), static_cast<DWORD>(icon.size()), &got, nullptr) || got != icon.size())
    return false;
  bmp = fmt::icon::icon_to_bmp(icon.data(), icon.size(), f);
  if (bmp.empty()) return false;
  fmt::bmp::ExportFigures figures = *out;
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
  *out = figures;
  // The grey count follows the icon's own table, so that a later save
  // decides on this image and not on the one before it.
  uint32_t grey = 0;
  for (uint32_t i = 0; i < figures.palette_size && 54 + 4 * i + 2 < bmp.size(); ++i) {
    const uint8_t* e = &bmp[54 + 4 * i];
    if (e[0] == e[1] && e[1] == e[2]) ++grey;
  }
  out->grey_entries = grey;
  return true;
}

// Any allocation that fails on the way (the icon's bytes, the colour
// matching) ends the conversion like a bitmap that could not be written; the
// wait cursor goes on every path.
bool convert_icon(HWND w, HANDLE iconFile, HANDLE bmpFile, const fmt::icon::IconFigures& f,
                  fmt::bmp::ExportFigures* figures) {
  bool ok = false;
  try {
    ok = convert_icon_file(w, iconFile, bmpFile, f, figures);
  } catch (const std::exception&) {  // bad_alloc, length_error
    ok = false;
  }
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  return ok;
}

void open_ico(HWND w) {
  frame::Handle file(open_for_reading(g_chosenPath));
  if (!file.valid()) {
    frame::show(w, msg::kIconNotOpened);
    return;
  }
  uint8_t head[fmt::icon::kHeadBytesNeeded];
  DWORD got = 0;
  uint64_t size = 0;
  fmt::icon::IconFigures f;
  const fmt::icon::IconCheckResult r = read_head(file.get(), head, sizeof head, &got, &size)
                                           ? fmt::icon::check_icon(head, got, size, &f)
                                           : fmt::icon::IconCheckResult::NotIcon;
  if (r != fmt::icon::IconCheckResult::Ok) {
    report_icon_check(w, r);
    return;
  }
  char tempDir[MAX_PATH + 1] = {};
  const DWORD n = GetTempPathA(sizeof tempDir, tempDir);
  const std::string temp = (n > 0 && n <= 255)
                               ? temporary_bitmap_path(tempDir, frame::file_name_in(g_chosenPath), path_exists)
                               : std::string();
  NewImage image;
  image.figures = g_image.figures;
  bool converted;
  {
    // A new file only: an existing one is never replaced.
    frame::Handle bmp(temp.empty() ? INVALID_HANDLE_VALUE
                                   : CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    if (!bmp.valid()) {
      report_temporary_failure(w);
      return;
    }
    converted = convert_icon(w, file.get(), bmp.get(), f, &image.figures);
  }
  if (converted) {
    frame::Handle bmp(open_for_reading(temp.c_str()));
    if (bmp.valid()) {
      load_and_install(w, bmp.get(), std::move(image), {IconFile, FromIcon, g_chosenPath, ""}, true);
    } else {
      frame::show_f(w, msg::kFileNotOpened, temp.c_str());
    }
  }
  DeleteFileA(temp.c_str());
  if (!converted) report_temporary_failure(w);
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
