// The captured image reduced to the icon's fixed palette, and the icon file
// written from it.
#pragma once
#include <windows.h>

#include <cstdint>

#include "capture/grab/form_logic.h"

namespace capture {

// Maps the N x N pixels at (0, 0) of source to the nearest colours of the
// form's fixed palette (the platform's own nearest-colour rule, one blit into
// a palette bitmap) and keeps the result; any earlier result is released.
// pixels are the same N x N colours (0xRRGGBB, top row first): those that are
// exactly a palette colour keep that entry. False when the platform refuses
// the bitmap; nothing is kept then.
bool reduce_image(HDC source, const uint32_t* pixels, const IconForm& form);
void release_reduced_image();
bool has_reduced_image();

// Writes the kept image as an icon file at path. The icon is assembled in
// memory, written to a new temporary file in the target's folder and moved
// over the target, so an existing file is either replaced completely or left
// as it was. On failure a message (owned by owner) has been shown.
bool write_icon_file(HWND owner, const char* path, const IconForm& form);

}  // namespace capture
