// The icon form: the size, colour count and orientation of the icon a
// capture makes, with the three figures that follow from size and colours.
// The form dialog edits one record (pending), a capture copies it into the
// one everything after the capture uses (current).
#pragma once
#include <cstdint>

namespace capture {

enum Orientation : int32_t { kErect = 0, kInverted = 1, kErectMirror = 2, kInvertedMirror = 3 };
// Colour of the dashed frame that marks the square on the screen.
enum FrameColour : int { kFrameInverted = 0, kFrameBlack = 1, kFrameWhite = 2 };

struct IconForm {
  int32_t size = 32;         // N: 16, 32, 48 or 64
  int32_t halfSize = 15;     // N / 2 - 1: where the pointer sits in the square
  int32_t imageBytes = 576;  // colour table plus XOR rows
  int32_t maskBytes = 128;   // AND mask, rows padded to 4 bytes
  int32_t colourCount = 16;  // 16 or 256
  int32_t orientation = kErect;
  friend bool operator==(const IconForm&, const IconForm&) = default;
};

// True for the sizes and colour counts a form may hold.
bool valid_icon_size(int32_t n);
bool valid_colour_count(int32_t colours);

// Recomputes half size, image bytes and mask bytes from size and colour
// count; call after changing either.
void recompute_form(IconForm& form);
// A consistent form (32 x 32, 16 colours, erect is the default record).
IconForm make_form(int32_t size, int32_t colourCount, int32_t orientation = kErect);

// Bits per pixel of the icon image: 4 for 16 colours, 8 for 256.
int form_bits(const IconForm& form);

}  // namespace capture
