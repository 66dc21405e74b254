// A buffered output for the file writers. The writers produce bytes; where
// they go (a Win32 file, a vector, a test sink that fails) is the sink's
// business. A failure is sticky: once one write fails, every later put is
// dropped and ok() stays false, so a writer checks once at the end.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace fmt {

struct Sink {
  // Takes all n bytes or reports failure.
  bool (*write)(void* context, const uint8_t* data, size_t n) = nullptr;
  void* context = nullptr;
};

class BufferedWriter {
 public:
  explicit BufferedWriter(Sink sink, size_t capacity = size_t{1} << 20) : sink_(sink), buffer_(capacity) {}
  BufferedWriter(const BufferedWriter&) = delete;
  BufferedWriter& operator=(const BufferedWriter&) = delete;

  void put(uint8_t b) {
    if (used_ == buffer_.size()) flush();
    buffer_[used_++] = b;
  }
  void put(const uint8_t* data, size_t n) {
    while (n > 0) {
      if (used_ == buffer_.size()) flush();
      const size_t room = buffer_.size() - used_;
      const size_t take = n < room ? n : room;
      std::memcpy(buffer_.data() + used_, data, take);
      used_ += take;
      data += take;
      n -= take;
    }
  }
  void zeros(size_t n) {
    for (; n > 0; --n) put(0);
  }
  // Hands the buffered bytes to the sink; false once anything failed.
  bool flush() {
    if (!failed_ && used_ > 0 && !sink_.write(sink_.context, buffer_.data(), used_)) failed_ = true;
    used_ = 0;
    return !failed_;
  }
  bool ok() const { return !failed_; }

 private:
  Sink sink_;
  std::vector<uint8_t> buffer_;
  size_t used_ = 0;
  bool failed_ = false;
};

// A sink that appends to a vector (tests and in-memory files).
inline Sink vector_sink(std::vector<uint8_t>* out) {
  Sink s;
  s.context = out;
  s.write = [](void* c, const uint8_t* d, size_t n) {
    auto* v = static_cast<std::vector<uint8_t>*>(c);
    v->insert(v->end(), d, d + n);
    return true;
  };
  return s;
}

}  // namespace fmt
