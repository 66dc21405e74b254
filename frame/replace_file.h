// Replacing a file under Win32 (the sequence is frame/replace_file_logic.h):
// every writer of both programs saves through here.
#pragma once
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "formats/byte_sink.h"
#include "frame/replace_file_logic.h"

namespace frame {

ReplaceFailure replace_file(const char* target, const char* tempPrefix,
                            bool (*fill)(void* fillContext, fmt::BufferedWriter& out), void* fillContext);

// fill is any callable taking the fmt::BufferedWriter and returning success.
template <class Fill>
ReplaceFailure replace_file(const char* target, const char* tempPrefix, Fill&& fill) {
  return replace_file(
      target, tempPrefix,
      [](void* c, fmt::BufferedWriter& out) { return (*static_cast<std::remove_reference_t<Fill>*>(c))(out); },
      const_cast<void*>(static_cast<const void*>(&fill)));
}

// A file whose bytes are all in memory.
inline ReplaceFailure replace_file_with(const char* target, const char* tempPrefix, const uint8_t* bytes,
                                        size_t size) {
  return replace_file(target, tempPrefix, [&](fmt::BufferedWriter& out) {
    out.put(bytes, size);
    return true;
  });
}

}  // namespace frame
