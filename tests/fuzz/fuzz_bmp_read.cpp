// Loading a BMP file as the viewer does: the 14-byte file header decides the
// block's size, the rest of the file is read into a block of exactly that
// size (a file shorter than it declares is refused before anything is
// allocated), and the block is brought into shape. A block that was accepted
// must pass the lock-time check again, unchanged.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "formats/bmp_read.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace fmt::bmp;
  FileHeader header;
  const size_t head_len = size < kFileHeaderSize ? size : kFileHeaderSize;
  if (parse_file_header(data, head_len, &header) != BmpReadError::None) return 0;
  if (header.block_size > size - head_len) return 0;
  std::vector<uint8_t> block(data + kFileHeaderSize, data + kFileHeaderSize + header.block_size);
  DibLayout layout;
  if (finish_dib(block.data(), block.size(), header, &layout) != BmpReadError::None) return 0;
  if (layout.height <= 0 || layout.rows_offset + layout.image_bytes > block.size()) std::abort();
  const std::vector<uint8_t> shaped = block;
  DibLayout again;
  if (dib_layout(block.data(), block.size(), header, &again) != BmpReadError::None) std::abort();
  if (finish_dib(block.data(), block.size(), header, &again) != BmpReadError::None) std::abort();
  if (block != shaped || again.rows_offset != layout.rows_offset || again.image_bytes != layout.image_bytes)
    std::abort();
  return 0;
}
