#include "viewer/image/image_record.h"

#include "formats/bmp_read.h"
#include "formats/bytes.h"
#include "formats/dib_normalise.h"
#include "frame/file_size.h"
#include "viewer/image/image_messages.h"
#include "viewer/app/view.h"
#include "viewer/image/fit_logic.h"
#include "viewer/app/viewer_state.h"

namespace viewer {

ImageRecord g_image;

namespace {

fmt::bmp::FileHeader record_file_header() {
  fmt::bmp::FileHeader h;
  h.type = fmt::get_u16le(g_image.fileHeader);
  h.declared_size = fmt::get_u32le(g_image.fileHeader + 2);
  h.pixel_offset = fmt::get_u32le(g_image.fileHeader + 10);
  return h;
}

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

bool lock_image(HWND owner) {
  if (!g_image.dib) return false;
  uint8_t* block = static_cast<uint8_t*>(GlobalLock(g_image.dib));
  if (!block) return false;
  g_image.blockStart = g_image.infoHeader = block;
  // Only checked here: the block was brought into shape once, when it was read.
  fmt::bmp::DibLayout layout;
  const fmt::bmp::BmpReadError e =
      fmt::bmp::dib_layout(block, g_image.dibSize ? g_image.dibSize : GlobalSize(g_image.dib), record_file_header(),
                           &layout);
  if (e != fmt::bmp::BmpReadError::None) {
    // The pointers stay null: nothing may be drawn from a block that failed.
    g_image.colourTable = g_image.pixels = nullptr;
    show_read_error(owner, e, 0);
    return false;
  }
  g_image.colourTable = block + fmt::bmp::kInfoHeaderSize;
  g_image.pixels = block + layout.rows_offset;
  g_image.colourCount = static_cast<int>(layout.colour_count);
  return true;
}

void unlock_image() {
  if (g_image.dib && g_image.blockStart) GlobalUnlock(g_image.dib);
  g_image.blockStart = g_image.infoHeader = g_image.colourTable = g_image.pixels = nullptr;
}

void free_image() {
  if (g_image.dib) {
    if (g_image.blockStart) GlobalUnlock(g_image.dib);
    GlobalFree(g_image.dib);
  }
  g_image.dib = nullptr;
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

HANDLE open_for_reading(const char* path) {
  return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

namespace {

// Replaces the record's block by its conversion into plain rows. On failure
// the message is the caller's to show; the source block stays with the record.
fmt::bmp::BmpReadError convert_block(const uint8_t* source, const fmt::bmp::FileHeader& header,
                                     const fmt::bmp::NormalisePlan& plan) {
  using fmt::bmp::BmpReadError;
  HGLOBAL out = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(plan.out_size));
  if (!out) return BmpReadError::TooLarge;
  ScopedBlockLock lock(out);
  uint8_t* bytes = lock.get();
  const BmpReadError e = bytes ? fmt::bmp::normalise_into(source, g_image.dibSize, header, plan, bytes,
                                                          static_cast<size_t>(plan.out_size))
                               : BmpReadError::TooLarge;
  lock.release();
  if (e != BmpReadError::None) {
    GlobalFree(out);
    return e;
  }
  GlobalUnlock(g_image.dib);
  GlobalFree(g_image.dib);
  g_image.dib = out;
  g_image.dibSize = static_cast<size_t>(plan.out_size);
  fmt::bmp::put_file_header(fmt::bmp::normalised_file_header(plan), g_image.fileHeader);
  g_image.converted = true;
  return BmpReadError::None;
}

}  // namespace

bool read_bmp(HWND owner, HANDLE file) {
  using fmt::bmp::BmpReadError;
  uint8_t head[fmt::bmp::kFileHeaderSize];
  DWORD got = 0;
  if (!ReadFile(file, head, sizeof head, &got, nullptr)) got = 0;
  fmt::bmp::FileHeader header;
  BmpReadError e = fmt::bmp::parse_file_header(head, got, &header);
  // Nothing is allocated that the file cannot fill: a few bytes that claim
  // gigabytes are refused here.
  uint64_t length = 0;
  if (e == BmpReadError::None && frame::file_size(file, &length)) e = fmt::bmp::check_declared_size(header, length);
  if (e != BmpReadError::None) {
    show_read_error(owner, e, header.type);
    return false;
  }
  for (size_t i = 0; i < sizeof head; ++i) g_image.fileHeader[i] = head[i];
  g_image.converted = false;

  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, header.block_size);
  if (!block) {
    report_no_memory(owner);
    return false;
  }
  g_image.dib = block;
  g_image.dibSize = header.block_size;
  uint8_t* bytes = static_cast<uint8_t*>(GlobalLock(block));
  DWORD read = 0;
  e = BmpReadError::ShortRead;
  if (bytes && ReadFile(file, bytes, header.block_size, &read, nullptr) && read == header.block_size) {
    const fmt::bmp::NormalisePlan plan = fmt::bmp::plan_normalise(bytes, header.block_size, header);
    if (plan.error != BmpReadError::None) e = plan.error;
    else if (!plan.convert) e = fmt::bmp::finish_dib(bytes, header.block_size, header);
    else e = convert_block(bytes, header, plan);
  }
  // convert_block has unlocked and freed the source block when it replaced it.
  if (bytes && g_image.dib == block) GlobalUnlock(block);
  if (e != BmpReadError::None) {
    // A block that failed its checks is not kept: every later paint would
    // lock it again and repeat the message.
    show_read_error(owner, e, 0);
    free_image();
    return false;
  }
  return true;
}

bool load_bmp_file(HWND owner, HANDLE file) {
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  if (!read_bmp(owner, file)) return false;
  if (lock_image(owner)) {
    g_image.width = static_cast<int>(fmt::get_i32le(g_image.infoHeader + fmt::bmp::kOffWidth));
    g_image.height = static_cast<int>(fmt::get_i32le(g_image.infoHeader + fmt::bmp::kOffHeight));
    // The figures of a converted file describe what is shown and saved: the block.
    if (g_image.converted)
      fmt::bmp::scan_block(g_image.blockStart, g_image.dibSize, record_file_header(), &g_image.figures);
  }
  unlock_image();
  RECT client;
  GetClientRect(g_mainWindow ? g_mainWindow : owner, &client);
  g_image.view.zoomStep = fit_zoom_step(g_image.width, g_image.height, client.right, client.bottom,
                                        g_screen.vScrollWidth, g_screen.hScrollHeight);
  g_image.view.fitZoomStep = g_image.view.zoomStep;
  return true;
}

bool open_bmp_file(HWND owner, const char* path) {
  HANDLE file = open_for_reading(path);
  if (file == INVALID_HANDLE_VALUE) {
    frame::show_f(owner, msg::kFileNotOpened, path);
    return false;
  }
  const bool ok = load_bmp_file(owner, file);
  CloseHandle(file);
  return ok;
}

}  // namespace viewer
