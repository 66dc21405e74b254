// Files handed to and taken back from the machine's own image tools
// (ImageMagick, Pillow, libtiff) in the unit tests' scratch folder.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace thirdparty {

// name inside the scratch folder's sub-folder dir, which is made if missing.
inline std::filesystem::path scratch_file(const std::string& dir, const std::string& name) {
  const std::filesystem::path folder = std::filesystem::path(UNIT_SCRATCH_DIR) / dir;
  std::filesystem::create_directories(folder);
  return folder / name;
}

inline std::vector<uint8_t> read_file(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void write_file(const std::filesystem::path& p, const std::vector<uint8_t>& b) {
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

inline int run(const std::string& cmd) { return std::system(cmd.c_str()); }

}  // namespace thirdparty
