// Transparent pixels put into an icon a capture has written: marked pixels
// get AND bit 1 and colour index 0 (black in both fixed palettes), which the
// icon reader shows as transparent.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fmt::icon_marks {

// The mark grid: 64 x 64 flags, row-major, row 0 at the top of the image;
// only the first N rows and N columns are read.
constexpr int kGridSide = 64;
constexpr size_t kGridCells = size_t{kGridSide} * kGridSide;

// The icon file with the marked pixels made transparent. Empty when file is
// not exactly the icon a capture of this form writes (its 62-byte header and
// its size), so a file changed behind the program's back is never rewritten.
// Unmarked pixels keep their colour index and AND bit; the padding of the
// AND rows (N = 48) and every other byte stay as they were.
std::vector<uint8_t> apply_marks(const uint8_t* file, size_t len, uint32_t n, int colours, const uint8_t* marks);

// True when any of the N x N flags used is set.
bool any_marked(const uint8_t* marks, uint32_t n);

}  // namespace fmt::icon_marks
