// What paste takes from a CF_DIB: a 40-byte header with anything the file
// reader's normaliser accepts (bitfields, RLE, top-down, short tables).
// Other header sizes (the 52-byte one the system makes from a CF_DIBV5, the
// 124-byte one itself) are refused here; paste then takes CF_BITMAP.
#pragma once
#include <cstddef>
#include <cstdint>

#include "formats/dib_normalise.h"

namespace fmt::bmp {

NormalisePlan plan_paste(const uint8_t* dib, size_t size);

}  // namespace fmt::bmp
