#include "capture/grab/icon_build.h"

#include <cstring>
#include <vector>

#include "capture/grab/grab_messages.h"
#include "formats/capture_icon.h"
#include "frame/paths.h"
#include "frame/scoped.h"

namespace capture {

namespace ci = fmt::capture_icon;

namespace {

// The reduced image as one packed bitmap (info header, palette, rows).
std::vector<uint8_t> g_reduced;
IconForm g_reducedForm;

// BITMAPINFO with room for a full 256-entry table, filled from the block.
struct PaletteInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};

// The folder part of a path with its last backslash (C:\icons\ of
// C:\icons\a.ico), cut where the lead-byte-aware file name begins.
bool folder_of(const char* path, char* out, size_t outSize) {
  const auto len = static_cast<size_t>(frame::file_name_in(path) - path);
  if (len == 0 || len >= outSize) return false;
  std::memcpy(out, path, len);
  out[len] = '\0';
  return true;
}

bool write_all(HANDLE file, const std::vector<uint8_t>& bytes) {
  DWORD written = 0;
  return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace

bool has_reduced_image() { return !g_reduced.empty(); }

void release_reduced_image() {
  g_reduced.clear();
  g_reduced.shrink_to_fit();
}

bool reduce_image(HDC source, const uint32_t* pixels, const IconForm& form) {
  release_reduced_image();
  const auto n = static_cast<uint32_t>(form.size);
  if (!ci::supported(n, form.colourCount)) return false;
  std::vector<uint8_t> block(ci::reduced_block_size(n, form.colourCount), 0);
  ci::put_reduced_header(block.data(), n, form.colourCount);

  PaletteInfo info{};
  const size_t tableBytes = 4 * ci::fixed_palette(form.colourCount).size();
  std::memcpy(&info, block.data(), sizeof(BITMAPINFOHEADER) + tableBytes);
  void* bits = nullptr;
  frame::GdiObject<HBITMAP> section(
      CreateDIBSection(source, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
  frame::OwnDc memory(CreateCompatibleDC(source));
  if (!section || !memory || bits == nullptr) return false;
  {
    frame::Selection selected(memory.get(), section.get());
    SetStretchBltMode(memory.get(), COLORONCOLOR);
    // The whole reduction: the platform maps each pixel to the nearest entry
    // of the section's palette. No dithering, no palette of the image's own.
    if (!BitBlt(memory.get(), 0, 0, form.size, form.size, source, 0, 0, SRCCOPY)) return false;
    GdiFlush();
  }
  const size_t header = sizeof(BITMAPINFOHEADER) + tableBytes;
  std::memcpy(block.data() + header, bits, block.size() - header);
  ci::keep_exact_colours(block.data(), block.size(), pixels, n, form.colourCount);
  g_reduced = std::move(block);
  g_reducedForm = form;
  return true;
}

bool write_icon_file(HWND owner, const char* path, const IconForm& form) {
  const std::vector<uint8_t> icon =
      g_reducedForm.size == form.size && g_reducedForm.colourCount == form.colourCount
          ? ci::icon_file(g_reduced.data(), g_reduced.size(), static_cast<uint32_t>(form.size), form.colourCount)
          : std::vector<uint8_t>{};
  if (icon.empty()) {
    frame::show(owner, msg::kWriteError);
    return false;
  }
  // A read-only file (or a folder) of that name is not replaced: the move
  // below could succeed on some systems although creating the file fails.
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    frame::show(owner, msg::kOpenError);
    return false;
  }
  // A fresh name of our own beside the target: nobody else's file is
  // touched, and the move stays on one drive.
  char folder[MAX_PATH];
  char temp[MAX_PATH];
  if (!folder_of(path, folder, sizeof folder) || GetTempFileNameA(folder, "mrd", 0, temp) == 0) {
    frame::show(owner, msg::kOpenError);
    return false;
  }
  bool written = false;
  {
    frame::Handle file(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
      DeleteFileA(temp);
      frame::show(owner, msg::kOpenError);
      return false;
    }
    written = write_all(file.get(), icon) && FlushFileBuffers(file.get());
  }
  if (!written) {
    DeleteFileA(temp);
    frame::show(owner, msg::kWriteError);
    return false;
  }
  if (!MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temp);
    frame::show(owner, msg::kOpenError);
    return false;
  }
  return true;
}

}  // namespace capture
