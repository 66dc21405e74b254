// The stored window position: each INI value arrives as at most five
// characters in a six-byte buffer (what the profile call copies), is read as
// a leading number and clamped to the screen the window must stay on. The
// first four bytes choose the screen's size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "capture/app/startup_logic.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const int screenW = 1 + (data[0] | (data[1] << 8));
  const int screenH = 1 + (data[2] | (data[3] << 8));
  const capture::MainSizes sizes = capture::main_sizes(screenW, screenH, 27, 19);
  char text[6] = {};
  const size_t n = size - 4 < 5 ? size - 4 : 5;
  std::memcpy(text, data + 4, n);
  const int value = capture::leading_number(text);
  const int x = capture::clamp(value, 0, sizes.maxX);
  const int y = capture::clamp(value, 0, sizes.maxY);
  // The window never starts off the screen's top-left, nor past its far side.
  if (x < 0 || y < 0) std::abort();
  if (sizes.maxX >= 0 && x > sizes.maxX) std::abort();
  if (sizes.maxY >= 0 && y > sizes.maxY) std::abort();
  if (value >= 0 && value <= sizes.maxX && x != value) std::abort();
  return 0;
}
