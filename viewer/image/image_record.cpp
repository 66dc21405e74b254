#include "viewer/image/image_record.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "formats/bmp_read.h"
#include "formats/bytes.h"
#include "formats/dib_normalise.h"
#include "frame/paths.h"
#include "viewer/app/view.h"
#include "viewer/app/viewer_state.h"
#include "viewer/extract/extraction.h"
#include "viewer/image/fit_logic.h"
#include "viewer/image/image_messages.h"

namespace viewer {

ImageRecord g_image;

namespace {

void report_no_memory(HWND owner) {
  frame::show(owner, msg::kNoSpaceForBitmap);
}

void show_read_error(HWND owner, fmt::bmp::BmpReadError error, unsigned type) {
  using fmt::bmp::BmpReadMessage;
  switch (fmt::bmp::message_for(error)) {
    case BmpReadMessage::FileHeaderNotRead:
      frame::show(owner, msg::kFileHeaderNotRead);
      break;
    case BmpReadMessage::BadMagicNumber:
      frame::show_f(owner, msg::kBadMagicNumber, type);
      break;
    case BmpReadMessage::InfoHeaderNotRead:
      frame::show(owner, msg::kInfoHeaderNotRead);
      break;
    case BmpReadMessage::IllegalStructureSize:
      frame::show(owner, msg::kIllegalStructureSize);
      break;
    case BmpReadMessage::AllocationFailed: report_no_memory(owner); break;
    case BmpReadMessage::None: break;
  }
}

}  // namespace

fmt::bmp::FileHeader file_header_of(const uint8_t* bytes) {
  fmt::bmp::FileHeader h;
  h.type = fmt::get_u16le(bytes);
  h.declared_size = fmt::get_u32le(bytes + 2);
  h.pixel_offset = fmt::get_u32le(bytes + 10);
  return h;
}

bool lock_image() {
  uint8_t* block = g_image.dib.lock();
  if (!block) return false;
  // Only checked here: the block was brought into shape once, when it was read.
  fmt::bmp::DibLayout layout;
  if (fmt::bmp::dib_layout(block, g_image.dibSize ? g_image.dibSize : g_image.dib.size(),
                           file_header_of(g_image.fileHeader), &layout) != fmt::bmp::BmpReadError::None) {
    // The pointers stay null: nothing may be drawn from a block that failed.
    g_image.dib.unlock();
    return false;
  }
  g_image.blockStart = g_image.infoHeader = block;
  g_image.colourTable = block + fmt::bmp::kInfoHeaderSize;
  g_image.pixels = block + layout.rows_offset;
  g_image.colourCount = static_cast<int>(layout.colour_count);
  return true;
}

void unlock_image() {
  g_image.dib.unlock();
  g_image.blockStart = g_image.infoHeader = g_image.colourTable = g_image.pixels = nullptr;
}

void free_image() {
  g_image.dib.reset();
  g_image.dibSize = 0;
  g_image.converted = false;
  g_image.blockStart = g_image.infoHeader = g_image.colourTable = g_image.pixels = nullptr;
  ZeroMemory(g_image.fileHeader, sizeof g_image.fileHeader);
}

void discard_current_image(HWND main) {
  if (g_image.displayKind == Splash) {
    free_splash();
  } else {
    free_image();
  }
  reset_view_for_load(main);
}

bool install(HWND w, NewImage&& image, const ShownAs& as) {
  fmt::bmp::DibLayout layout;
  int width = 0, height = 0;
  {
    const uint8_t* block = image.dib.lock();
    if (!block || fmt::bmp::dib_layout(block, image.dibSize, file_header_of(image.fileHeader), &layout) !=
                      fmt::bmp::BmpReadError::None)
      return false;
    width = static_cast<int>(fmt::get_i32le(block + fmt::bmp::kOffWidth));
    height = static_cast<int>(fmt::get_i32le(block + fmt::bmp::kOffHeight));
    image.dib.unlock();
  }
  discard_current_image(w);
  g_image.dib = std::move(image.dib);
  g_image.dibSize = image.dibSize;
  std::memcpy(g_image.fileHeader, image.fileHeader, sizeof g_image.fileHeader);
  g_image.converted = image.converted;
  g_image.figures = image.figures;
  g_image.width = width;
  g_image.height = height;
  g_image.displayKind = as.kind;
  g_image.imageOrigin = as.origin;
  RECT client;
  GetClientRect(w, &client);
  ViewState& v = g_image.view;
  v.zoomStep = v.fitZoomStep =
      fit_zoom_step(width, height, client.right, client.bottom, g_screen.vScrollWidth, g_screen.hScrollHeight);
  recompute_zoom_factor();
  layout_scroll_bars(w);
  v.vBarVisibleNow = v.vBarVisibleAtLastMove = v.vBarVisible;
  redraw_view(w, false);
  char base[512];
  std::snprintf(base, sizeof base, "%s%s%s [", g_texts.captionPrefix, frame::file_name_in(as.name), as.tag);
  set_caption_base(w, base);
  extraction_reset();
  return true;
}

HANDLE open_for_reading(const char* path) {
  return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

namespace {

// Replaces the block by its conversion into plain rows. On failure the
// message is the caller's to show; the source block stays.
fmt::bmp::BmpReadError convert_block(NewImage* image, const fmt::bmp::FileHeader& header,
                                     const fmt::bmp::NormalisePlan& plan) {
  using fmt::bmp::BmpReadError;
  frame::GlobalBlock out;
  if (!out.allocate(static_cast<SIZE_T>(plan.out_size))) return BmpReadError::TooLarge;
  uint8_t* bytes = out.lock();
  const BmpReadError e = bytes ? fmt::bmp::normalise_into(image->dib.locked(), image->dibSize, header, plan, bytes,
                                                          static_cast<size_t>(plan.out_size))
                               : BmpReadError::TooLarge;
  if (e != BmpReadError::None) return e;
  out.unlock();
  image->dib = std::move(out);
  image->dibSize = static_cast<size_t>(plan.out_size);
  fmt::bmp::put_file_header(fmt::bmp::normalised_file_header(plan), image->fileHeader);
  image->converted = true;
  return BmpReadError::None;
}

// The file's bytes into image, checked and brought into shape; the error
// for the reader's message otherwise.
fmt::bmp::BmpReadError read_bmp(HANDLE file, NewImage* image, unsigned* type) {
  using fmt::bmp::BmpReadError;
  uint8_t head[fmt::bmp::kFileHeaderSize];
  DWORD got = 0;
  if (!ReadFile(file, head, sizeof head, &got, nullptr)) got = 0;
  fmt::bmp::FileHeader header;
  BmpReadError e = fmt::bmp::parse_file_header(head, got, &header);
  *type = header.type;
  // Nothing is allocated that the file cannot fill: a few bytes that claim
  // gigabytes are refused here.
  LARGE_INTEGER length;
  if (e == BmpReadError::None && GetFileSizeEx(file, &length))
    e = fmt::bmp::check_declared_size(header, static_cast<uint64_t>(length.QuadPart));
  if (e != BmpReadError::None) return e;
  std::memcpy(image->fileHeader, head, sizeof head);
  image->converted = false;
  if (!image->dib.allocate(header.block_size)) return BmpReadError::TooLarge;
  image->dibSize = header.block_size;
  *type = 0;
  uint8_t* bytes = image->dib.lock();
  DWORD read = 0;
  if (!bytes || !ReadFile(file, bytes, header.block_size, &read, nullptr) || read != header.block_size)
    return BmpReadError::ShortRead;
  const fmt::bmp::NormalisePlan plan = fmt::bmp::plan_normalise(bytes, header.block_size, header);
  if (plan.error != BmpReadError::None) return plan.error;
  if (plan.convert) return convert_block(image, header, plan);
  e = fmt::bmp::finish_dib(bytes, header.block_size, header);
  image->dib.unlock();
  return e;
}

}  // namespace

bool load_bmp_file(HWND owner, HANDLE file, NewImage* image) {
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  fmt::bmp::BmpReadError e;
  unsigned type = 0;
  {
    frame::WaitCursor busy;  // a large file, or one to convert, takes its time
    e = read_bmp(file, image, &type);
    // The figures of a converted file describe what is shown and saved: the block.
    if (e == fmt::bmp::BmpReadError::None && image->converted && image->dib.lock())
      fmt::bmp::scan_block(image->dib.locked(), image->dibSize, file_header_of(image->fileHeader), &image->figures);
  }
  if (e != fmt::bmp::BmpReadError::None) {
    // A block that failed its checks is not kept.
    image->dib.reset();
    show_read_error(owner, e, type);
    return false;
  }
  image->dib.unlock();
  return true;
}

}  // namespace viewer
