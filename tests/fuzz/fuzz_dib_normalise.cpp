// Reading a BMP file as the viewer does, conversions included: the file
// header, the length check, the plan, then either the finish in place or the
// conversion into a block of exactly the planned size. The same bytes after
// the file header are also run as a clipboard DIB (no file header). A block
// that was accepted must describe itself: it passes the lock-time check with
// its file header, and finishing it again changes nothing.
#include <cstdlib>
#include <vector>

#include "formats/bytes.h"
#include "formats/dib_normalise.h"

namespace {

using namespace fmt::bmp;

void check_shaped(std::vector<uint8_t>& block, const FileHeader& header) {
  DibLayout l;
  if (dib_layout(block.data(), block.size(), header, &l) != BmpReadError::None) std::abort();
  if (l.height <= 0 || l.rows_offset + l.image_bytes > block.size()) std::abort();
  const std::vector<uint8_t> before = block;
  if (finish_dib(block.data(), block.size(), header) != BmpReadError::None || block != before) std::abort();
}

void normalise(const uint8_t* dib, size_t size, const FileHeader& header) {
  // Small caps keep each run fast; the arithmetic is the same as at 1 GiB.
  const NormalisePlan plan = plan_normalise(dib, size, header, uint64_t{1} << 22);
  if (plan.error != BmpReadError::None) return;
  if (plan.out_size > (uint64_t{1} << 22) && plan.convert) std::abort();
  std::vector<uint8_t> out(static_cast<size_t>(plan.out_size));
  if (normalise_into(dib, size, header, plan, out.data(), out.size()) != BmpReadError::None) return;
  if (!plan.convert) {
    check_shaped(out, header);
    return;
  }
  if (fmt::get_u32le(&out[kOffCompression]) != 0) std::abort();
  check_shaped(out, normalised_file_header(plan));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FileHeader header;
  if (parse_file_header(data, size, &header) != BmpReadError::None) return 0;
  if (check_declared_size(header, size) != BmpReadError::None) return 0;
  // Exactly the block the viewer allocates, so that a read past it is caught.
  const std::vector<uint8_t> block(data + kFileHeaderSize, data + kFileHeaderSize + header.block_size);
  normalise(block.data(), block.size(), header);
  normalise(block.data(), block.size(), FileHeader{});
  return 0;
}
