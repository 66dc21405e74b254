// An icon built from two bitmaps of the same size, depth and colour table:
// the 1st is the picture, the 2nd the same picture with every pixel that is
// to be transparent recoloured. Pixels in which the two differ get AND bit 1
// and a black XOR colour; all others keep the 1st bitmap's colour.
//
// The result always has the one layout the icon reader accepts: a full
// colour table of 2^B entries for B of 8 or less (the file's entries, then
// black), H rows of XOR pixels and H rows of AND mask, nothing after them.
// B is the 1st file's depth, or the next one up (1 -> 4 -> 8 -> 24 bits)
// when its table is full and holds no black: Windows shows the background
// only through masked pixels whose colour is black.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fmt::icon {

// The checks of a pair of bitmaps, in the order they run; each refusal has
// its own message on the Win32 side.
enum class PairCheck {
  Ok,
  NotBitmap,          // "Assign a correct bitmap file."
  UnsupportedDepth,   // "Assign a 2/16/256/16M color bitmap file."
  Compressed,         // "Unable to convert ... (RLE type)."
  DifferentWidth,
  DifferentHeight,
  DifferentColours,   // bit count
  DifferentHeader,    // any other header field that is compared
  DifferentPalette,
};

// Bytes of a file's head that the checks look at: file and info header and
// the largest colour table.
constexpr size_t kPairHeadBytes = 54 + 4 * 256;

// Checks the two files from their heads (as many bytes as each file has, up
// to kPairHeadBytes; more are not read) and their full lengths. The 1st
// file decides; the 2nd must match it in the compared header bytes and the
// colour table and hold all its rows too.
PairCheck check_pair(const uint8_t* first, size_t first_len, uint64_t first_size, const uint8_t* second,
                     size_t second_len, uint64_t second_size);

// The whole icon file for two whole bitmap files, or empty when check_pair
// refuses them.
std::vector<uint8_t> build_icon(const uint8_t* first, size_t first_len, const uint8_t* second,
                                size_t second_len);

}  // namespace fmt::icon
