#include "formats/paste_dib.h"

#include "formats/bytes.h"

namespace fmt::bmp {

NormalisePlan plan_paste(const uint8_t* dib, size_t size) {
  NormalisePlan plan;
  if (size < kInfoHeaderSize) {
    plan.error = BmpReadError::TooSmall;
    return plan;
  }
  if (get_u32le(dib) != kInfoHeaderSize) {
    plan.error = BmpReadError::BadInfoSize;
    return plan;
  }
  // A clipboard block has no file header: its rows follow the table.
  return plan_normalise(dib, size, FileHeader{});
}

}  // namespace fmt::bmp
