// The viewer's one current image: a packed DIB in a movable global block,
// with the view state and the figures the other commands read from it.
#pragma once
#include <windows.h>

#include <cstdint>

#include "formats/bmp_read.h"
#include "formats/bmp_scan.h"
#include "frame/scoped.h"

namespace viewer {

enum DisplayKind { Unset = -1, Splash = 0, BmpFile = 1, IconFile = 2, Pasted = 3, MakeIconBitmap = 5 };
enum ImageOrigin { FromBmpFile = 0, FromIcon = 1, FromClipboard = 2 };

struct ViewState {
  int zoomStep = 0;
  int fitZoomStep = 0;
  int zoomFactor = 1;
  int scrollX = 0, scrollY = 0;
  int lastScrollX = 0, lastScrollY = 0;
  int hBarVisible = 0, vBarVisible = 0;
  // Visibility of the vertical bar now and when the extraction dialog last moved.
  int vBarVisibleNow = 0, vBarVisibleAtLastMove = 0;
};

struct ImageRecord {
  frame::GlobalBlock dib;
  // Bytes of the block that hold the image: a global block may be larger than
  // asked for, and its slack must never pass for pixels.
  size_t dibSize = 0;
  // The file header last read; for a file converted at load (bitfields,
  // RLE) the one that describes the converted block, not the file.
  uint8_t fileHeader[14] = {};
  bool converted = false;  // the block was converted from the file at load
  // Lock pointers, null while unlocked.
  uint8_t* blockStart = nullptr;
  uint8_t* infoHeader = nullptr;
  uint8_t* colourTable = nullptr;
  uint8_t* pixels = nullptr;
  int colourCount = 0;
  int width = 0, height = 0;
  int displayKind = Unset;
  int imageOrigin = FromBmpFile;
  ViewState view;
  // Figures the savers, the printer and the extraction read; set by the loaders.
  fmt::bmp::ExportFigures figures;
  // Colour-extraction copy: info header and 24-bit rows of an image without colour table.
  frame::GlobalBlock extractCopy;
  int currentExtraction = 0, confirmedExtraction = 0;
};

extern ImageRecord g_image;

// An image read and checked but not shown yet. The loaders fill one, and the
// current image is released only when install accepts it, so a refused file
// or clipboard leaves the picture as it was.
struct NewImage {
  frame::GlobalBlock dib;
  size_t dibSize = 0;
  uint8_t fileHeader[14] = {};
  bool converted = false;
  fmt::bmp::ExportFigures figures;
};

// How an installed image is shown: its kind and origin, and the caption's
// name (a path, of which the file name is shown) and a tag after it.
struct ShownAs {
  int kind;
  int origin;
  const char* name;
  const char* tag;  // "" or e.g. " (1st Bitmap)"
};

// The fields of a record's 14-byte file header.
fmt::bmp::FileHeader file_header_of(const uint8_t* fileHeader);

// Locks the block and derives the pointers; false when there is no block or
// it cannot be locked (then nothing may be drawn from it). Never shows a
// message: a paint calls it, and the command that made the block reported
// on it when it was made. The caller unlocks.
bool lock_image();
void unlock_image();
void free_image();
// Releases the current image or start-up picture and resets the view.
void discard_current_image(HWND mainWindow);
// Makes image the current one: the old image goes, the record is filled, the
// view is laid out at the zoom that fits the window, the caption names it
// and any extraction is undone. False, with the old image kept, when the new
// block cannot be locked or does not hold a readable image.
bool install(HWND mainWindow, NewImage&& image, const ShownAs& as);
// Opens a file for reading the way a viewer should: other programs may have
// it open for reading or writing (an editor holding the image).
HANDLE open_for_reading(const char* path);
// Reads a BMP file from an open handle, from its start, into image (whose
// figures the caller has set from the file's header scan). Bitfield and RLE
// files are converted into plain rows here, once; their export figures then
// come from the converted block. False, with the reader's message shown,
// when the file is refused.
bool load_bmp_file(HWND owner, HANDLE file, NewImage* image);

}  // namespace viewer
