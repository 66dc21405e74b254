#include "capture/grab/icon_build.h"

#include <cstring>
#include <vector>

#include "capture/grab/grab_messages.h"
#include "formats/capture_icon.h"
#include "frame/replace_file.h"
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
  switch (frame::replace_file_with(path, msg::kTempPrefix, icon.data(), icon.size())) {
    case frame::ReplaceFailure::None: return true;
    case frame::ReplaceFailure::PathTooLong: frame::show(owner, msg::kPathTooLong); break;
    // A read-only file or a folder of that name is not replaced.
    case frame::ReplaceFailure::Protected:
    case frame::ReplaceFailure::Create:
    case frame::ReplaceFailure::Move: frame::show(owner, msg::kOpenError); break;
    case frame::ReplaceFailure::Write:
    case frame::ReplaceFailure::Flush:
    case frame::ReplaceFailure::Close: frame::show(owner, msg::kWriteError); break;
  }
  return false;
}

}  // namespace capture
