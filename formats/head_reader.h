// The first bytes of a file as the header checks read them, with one
// end-of-file rule for all of them. Past the end of the file (or of the
// bytes read), a byte compared with an expected value is -1, which no real
// byte equals; inside a field it is 0xFF, what the EOF of a stdio read
// becomes when stored in a byte.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace fmt {

class HeadReader {
 public:
  // head holds head_len bytes of a file of file_size bytes; nothing past
  // either is read.
  HeadReader(const uint8_t* head, size_t head_len, uint64_t file_size)
      : head_(head), len_(static_cast<size_t>(std::min<uint64_t>(head_len, file_size))) {}

  int at(size_t i) const { return i < len_ ? head_[i] : -1; }
  uint8_t u8(size_t i) const { return i < len_ ? head_[i] : 0xFF; }
  uint16_t u16(size_t i) const { return static_cast<uint16_t>(uint32_t{u8(i)} | (uint32_t{u8(i + 1)} << 8)); }
  uint32_t u32(size_t i) const {
    uint32_t v = 0;
    for (size_t k = 0; k < 4; ++k) v |= uint32_t{u8(i + k)} << (8 * k);
    return v;
  }

 private:
  const uint8_t* head_;
  size_t len_;
};

}  // namespace fmt
