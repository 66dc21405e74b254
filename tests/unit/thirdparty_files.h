// Files handed to and taken back from the machine's own image tools
// (ImageMagick, Pillow, libtiff) in the unit tests' scratch folder.
#pragma once
#include <cstdint>
#include <cstdio>
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

// Runs a shell command and returns what it printed on the chosen stream.
inline std::string output_of(const std::string& cmd) {
  std::string text;
  FILE* pipe = popen(cmd.c_str(), "r");
  if (!pipe) return "popen failed";
  char buf[512];
  while (fgets(buf, sizeof buf, pipe)) text += buf;
  pclose(pipe);
  return text;
}

constexpr const char* kConvert = "/usr/bin/convert";
constexpr const char* kIdentify = "/usr/bin/identify";
constexpr const char* kPython = "/usr/bin/python3";

inline bool have_pillow() {
  return std::filesystem::exists(kPython) && run(std::string(kPython) + " -c 'import PIL' 2>/dev/null") == 0;
}

// A tool's decoding of a picture file as raw bytes of 8-bit channels, top row
// first: ImageMagick's in its format "rgb" or "rgba", Pillow's in its mode
// "RGB" or "RGBA". Empty when the tool refuses the file.
inline std::vector<uint8_t> imagemagick_decode(const std::filesystem::path& file, const std::string& format) {
  const std::filesystem::path out = file.string() + ".im." + format;
  std::filesystem::remove(out);
  if (run(std::string(kConvert) + " " + file.string() + " -depth 8 " + format + ":" + out.string()) != 0) return {};
  return read_file(out);
}
inline std::vector<uint8_t> pillow_decode(const std::filesystem::path& file, const std::string& mode) {
  const std::filesystem::path out = file.string() + ".pil." + mode;
  std::filesystem::remove(out);
  const std::string script = "from PIL import Image; import sys; "
                             "open(sys.argv[2], 'wb').write(Image.open(sys.argv[1]).convert(sys.argv[3]).tobytes())";
  if (run(std::string(kPython) + " -c \"" + script + "\" " + file.string() + " " + out.string() + " " + mode +
          " 2>/dev/null") != 0)
    return {};
  return read_file(out);
}

// Pillow's file of w x h RGB pixels (top row first) in mode "1" (not
// dithered), "P" or "RGB": a one-image BMP-style icon when the name ends in
// .ico, else a BMP. "P" takes the colours in order of first appearance in
// palette_from (the pixels themselves when empty), so that two pictures of
// one colour set share one table.
inline bool pillow_write(const std::filesystem::path& out, const std::string& mode, int w, int h,
                         const std::vector<uint8_t>& rgb, const std::vector<uint8_t>& palette_from = {}) {
  const std::string script = R"(import sys
from PIL import Image
out, mode, w, h = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
im, pal = (Image.frombytes('RGB', (w, h), open(f, 'rb').read()) for f in sys.argv[5:7])
if mode == '1':
    im = im.convert('1', dither=Image.Dither.NONE)
elif mode == 'P':
    colours = list(dict.fromkeys(pal.getdata()))
    p = Image.new('P', (w, h))
    p.putpalette([v for c in colours for v in c] + [0] * (768 - 3 * len(colours)))
    p.putdata([colours.index(c) for c in im.getdata()])
    im = p
if out.endswith('.ico'):
    im.save(out, format='ICO', sizes=[(w, h)], bitmap_format='bmp')
else:
    im.save(out)
)";
  const std::string py = out.string() + ".py", pixels = out.string() + ".rgb", pal = out.string() + ".pal.rgb";
  write_file(py, std::vector<uint8_t>(script.begin(), script.end()));
  write_file(pixels, rgb);
  write_file(pal, palette_from.empty() ? rgb : palette_from);
  return run(std::string(kPython) + " " + py + " " + out.string() + " " + mode + " " + std::to_string(w) + " " +
             std::to_string(h) + " " + pixels + " " + pal) == 0;
}

// A binary PPM of w x h pixels from RGB bytes, top row first.
inline std::vector<uint8_t> ppm_of(int w, int h, const std::vector<uint8_t>& rgb) {
  const std::string head = "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n";
  std::vector<uint8_t> b(head.begin(), head.end());
  b.insert(b.end(), rgb.begin(), rgb.end());
  return b;
}

}  // namespace thirdparty
