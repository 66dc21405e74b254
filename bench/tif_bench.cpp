// Times the TIF writers on a 48-megapixel image written to a file, and
// makes the BMP that ImageMagick converts for comparison. Driven by
// bench/tif_bench.sh.
//
//   tif_bench bmp   palette|rgb|grey OUT.bmp      the source image as a BMP file
//   tif_bench write palette|rgb|grey OUT.tif RUNS  median nanoseconds of RUNS writes
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "formats/bytes.h"
#include "formats/tif_write.h"

namespace {

constexpr uint32_t kWidth = 8000, kHeight = 6000;  // 48 megapixels

// A packed DIB: 8-bit with a grey (or colour) table, or 24-bit.
std::vector<uint8_t> make_block(const std::string& kind) {
  const uint32_t bits = kind == "rgb" ? 24 : 8;
  const uint32_t table = bits == 8 ? 256 : 0;
  const uint64_t stride = (uint64_t{kWidth} * bits + 31) / 32 * 4;
  std::vector<uint8_t> b(40 + 4 * table + stride * kHeight);
  fmt::put_u32le(&b[0], 40);
  fmt::put_u32le(&b[4], kWidth);
  fmt::put_u32le(&b[8], kHeight);
  fmt::put_u16le(&b[12], 1);
  fmt::put_u16le(&b[14], bits);
  fmt::put_u32le(&b[20], static_cast<uint32_t>(stride * kHeight));
  fmt::put_u32le(&b[32], table);
  for (uint32_t i = 0; i < table; ++i) {
    uint8_t* e = &b[40 + 4 * i];
    e[0] = static_cast<uint8_t>(i);
    e[1] = static_cast<uint8_t>(kind == "grey" ? i : 255 - i);
    e[2] = static_cast<uint8_t>(kind == "grey" ? i : i * 7);
  }
  uint8_t* rows = &b[40 + 4 * table];
  for (uint32_t y = 0; y < kHeight; ++y)
    for (uint64_t x = 0; x < stride; ++x) rows[y * stride + x] = static_cast<uint8_t>((x * 13 + y * 7 + (x * y >> 9)) & 0xFF);
  return b;
}

bool write_all(int fd, const uint8_t* p, size_t n) {
  while (n > 0) {
    const ssize_t k = ::write(fd, p, n);
    if (k <= 0) return false;
    p += k;
    n -= static_cast<size_t>(k);
  }
  return true;
}

fmt::Sink fd_sink(int* fd) {
  fmt::Sink s;
  s.context = fd;
  s.write = [](void* c, const uint8_t* d, size_t n) { return write_all(*static_cast<int*>(c), d, n); };
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  const std::string mode = argv[1], kind = argv[2], out = argv[3];
  const std::vector<uint8_t> block = make_block(kind);
  fmt::DibImage image;
  if (!fmt::dib_image_of(block.data(), block.size(), 0, &image)) return 3;
  if (mode == "bmp") {
    const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    uint8_t head[14] = {'B', 'M'};
    fmt::put_u32le(head + 2, static_cast<uint32_t>(block.size() + 14));
    fmt::put_u32le(head + 10, static_cast<uint32_t>(14 + 40 + 4 * image.table_entries));
    const bool ok = fd >= 0 && write_all(fd, head, 14) && write_all(fd, block.data(), block.size());
    if (fd >= 0) ::close(fd);
    return ok ? 0 : 1;
  }
  const int runs = argc > 4 ? std::atoi(argv[4]) : 5;
  // Wall time, and the CPU time of the process, which other work on a shared
  // machine does not inflate.
  auto cpu_ns = [] {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000000000LL + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1000LL;
  };
  std::vector<long long> ns, cpu;
  for (int r = 0; r < runs; ++r) {
    const long long c0 = cpu_ns();
    ::unlink(out.c_str());
    const auto t0 = std::chrono::steady_clock::now();
    int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) return 1;
    bool ok;
    {
      fmt::BufferedWriter w(fd_sink(&fd));
      ok = kind == "grey" ? fmt::tif::write_grey16(image, fmt::tif::ByteOrder::Intel, 4711, w)
                          : fmt::tif::write_palette_rgb(image, fmt::tif::ByteOrder::Intel, w);
    }
    ok = ::close(fd) == 0 && ok;
    const auto t1 = std::chrono::steady_clock::now();
    if (!ok) return 1;
    ns.push_back(std::chrono::duration_cast<std::chrono::nanoseconds>(t1 - t0).count());
    cpu.push_back(cpu_ns() - c0);
  }
  std::sort(ns.begin(), ns.end());
  std::sort(cpu.begin(), cpu.end());
  std::printf("%lld %lld\n", ns[ns.size() / 2], cpu[cpu.size() / 2]);
  return 0;
}
