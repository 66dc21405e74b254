// Paste of a CF_DIB: the clipboard block, exactly as large as the system
// reports it, through the paste plan and the normaliser. An accepted block
// must describe itself (the lock-time check passes, finishing it again
// changes nothing) and give the writers a picture inside the block.
#include <cstdlib>
#include <vector>

#include "formats/dib_image.h"
#include "formats/paste_dib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace fmt::bmp;
  const std::vector<uint8_t> dib(data, data + size);
  const NormalisePlan plan = plan_paste(dib.data(), dib.size());
  if (plan.error != BmpReadError::None) return 0;
  // The program's cap on a converted block holds here too.
  if (plan.convert && plan.out_size > kMaxNormalisedBlock) std::abort();
  if (plan.out_size > (uint64_t{1} << 20)) return 0;  // legal, but slow to fuzz
  std::vector<uint8_t> out(static_cast<size_t>(plan.out_size));
  if (normalise_into(dib.data(), dib.size(), FileHeader{}, plan, out.data(), out.size()) != BmpReadError::None)
    return 0;
  const FileHeader header = plan.convert ? normalised_file_header(plan) : FileHeader{};
  DibLayout layout;
  if (dib_layout(out.data(), out.size(), header, &layout) != BmpReadError::None || layout.height <= 0) std::abort();
  const std::vector<uint8_t> shaped = out;
  if (finish_dib(out.data(), out.size(), header) != BmpReadError::None || out != shaped) std::abort();
  fmt::DibImage image;
  if (!fmt::dib_image_of(out.data(), out.size(), header.pixel_offset, &image)) std::abort();
  const uint8_t* end = out.data() + out.size();
  if (image.row(image.height - 1) + image.stride > end) std::abort();
  if (image.table + 4 * uint64_t{image.table_entries} > image.rows) std::abort();
  return 0;
}
