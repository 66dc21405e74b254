// Little- and big-endian field access over byte buffers. Every byte is widened
// before it is shifted, so no field read depends on the host's byte order or
// on the signedness of char.
#pragma once
#include <cstddef>
#include <cstdint>

namespace fmt {

inline uint16_t get_u16le(const uint8_t* p) { return static_cast<uint16_t>(uint32_t{p[0]} | (uint32_t{p[1]} << 8)); }
inline uint32_t get_u32le(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
inline int32_t get_i32le(const uint8_t* p) { return static_cast<int32_t>(get_u32le(p)); }

inline void put_u16le(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v & 0xFF);
  p[1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}
inline void put_u32le(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFF);
}
inline void put_u16be(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>((v >> 8) & 0xFF);
  p[1] = static_cast<uint8_t>(v & 0xFF);
}
inline void put_u32be(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>((v >> (24 - 8 * i)) & 0xFF);
}

// The four bytes of a non-negative 32-bit integer, least significant first;
// the writers of little-endian header fields go through this.
struct IntBytes {
  uint8_t b[4];
};
inline IntBytes bytes_of(uint32_t v) {
  IntBytes r{};
  put_u32le(r.b, v);
  return r;
}

}  // namespace fmt
