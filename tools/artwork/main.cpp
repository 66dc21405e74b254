// artwork OUTDIR: draws every bitmap and icon the viewer carries and writes
// them as BMP and ICO files into OUTDIR, together with artwork.rc, the
// resource lines the viewer's script includes, sheet.bmp, all buttons on one
// page for looking them over, and samples/ with a photo-like image and an
// icon to try the viewer on.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats/dib_file.h"
#include "formats/icon_build.h"
#include "resources/capture/resource.h"
#include "resources/viewer/resource.h"
#include "tools/artwork/artwork.h"
#include "tools/artwork/buttons.h"

namespace {

namespace fs = std::filesystem;

void write_file(const fs::path& path, const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) throw std::runtime_error("nothing to write for " + path.string());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::vector<uint8_t> bmp_of(const art::Canvas& canvas, int bits) {
  const fmt::dib::IndexedImage image = canvas.image(bits);
  if (const char* why = fmt::dib::check_image(image)) throw std::runtime_error(why);
  return fmt::dib::bmp_file(image);
}

// Every button of a strip in every set and state, as resource lines.
std::string write_buttons(const fs::path& dir, const std::vector<art::ButtonSpec>& strip) {
  fs::create_directories(dir / "buttons");
  std::string rc;
  for (const art::ButtonSet& set : art::button_sets())
    for (const art::ButtonState state : art::button_states())
      for (const art::ButtonSpec& button : strip) {
        const std::string name = art::button_name(button, set, state);
        write_file(dir / "buttons" / (name + ".bmp"), bmp_of(art::draw_button(button, set.era, state), 4));
        rc += name + " BITMAP \"buttons/" + name + ".bmp\"\n";
      }
  return rc;
}

// All buttons on one page: a block of Up, Dn and In rows for each set, each
// row laid out as on the tool bar, the long filler cut short.
art::Canvas contact_sheet(const std::vector<art::ButtonSpec>& strip) {
  constexpr int kMargin = 8, kRowGap = 4, kSetGap = 12, kFillerShown = 48;
  int row_width = 0;
  for (const art::ButtonSpec& b : strip) row_width += std::min(b.width, b.width > 100 ? kFillerShown : b.width);
  const int sets = static_cast<int>(art::button_sets().size());
  const int rows = static_cast<int>(art::button_states().size());
  const int w = 2 * kMargin + row_width;
  const int h = 2 * kMargin + sets * rows * (art::kButtonHeight + kRowGap) + (sets - 1) * kSetGap;
  art::RgbCanvas sheet(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) sheet.set(x, y, {96, 104, 112});
  int y = kMargin;
  for (const art::ButtonSet& set : art::button_sets()) {
    for (const art::ButtonState state : art::button_states()) {
      int x = kMargin;
      for (const art::ButtonSpec& button : strip) {
        const art::Canvas c = art::draw_button(button, set.era, state);
        const int shown = button.width > 100 ? kFillerShown : button.width;
        for (int by = 0; by < c.height(); ++by)
          for (int bx = 0; bx < shown; ++bx) sheet.set(x + bx, y + by, art::to_colour(c.palette()[c.get(bx, by)]));
        x += shown;
      }
      y += art::kButtonHeight + kRowGap;
    }
    y += kSetGap;
  }
  return art::reduce_colours(sheet, 256);
}

void write_icon(const fs::path& path, const art::IconArt& icon) {
  write_file(path, fmt::dib::icon_file(icon.image.image(4), icon.mask));
}

// The capture program's resources, in their own folder and script
// (meridot_artwork.rc) beside the viewer's. Each resource is named as the
// program's resource.h says; the name is written out, not the define: the
// resource compiler would join a quoted name to the file name before it.
void write_capture_artwork(const fs::path& dir) {
  const fs::path own = dir / "meridot";
  fs::create_directories(own);
  std::string rc = "// Drawn by tools/artwork; rebuilt with every build.\n";
  write_icon(own / "ICON_1.ico", art::draw_capture_icon());
  write_icon(own / "ICON_2.ico", art::draw_grab_icon());
  write_file(own / "CURSOR_C.cur", art::cursor_file(art::draw_cross_cursor()));
  rc += std::string(IDI_MERIDOT) + " ICON \"meridot/ICON_1.ico\"\n";
  rc += std::string(IDI_GRAB) + " ICON \"meridot/ICON_2.ico\"\n";
  // The About boxes show the program icon again, under a number.
  rc += std::to_string(IDI_MERIDOT_ABOUT) + " ICON \"meridot/ICON_1.ico\"\n";
  rc += std::string(IDC_CROSS_CURSOR) + " CURSOR \"meridot/CURSOR_C.cur\"\n";
  rc += write_buttons(dir, art::capture_buttons());
  write_file(own / "sheet.bmp", bmp_of(contact_sheet(art::capture_buttons()), 8));
  std::ofstream out(dir / "meridot_artwork.rc", std::ios::binary | std::ios::trunc);
  out << rc;
  if (!out) throw std::runtime_error("cannot write meridot_artwork.rc");
}

void run(const fs::path& dir) {
  fs::create_directories(dir);
  std::string rc = "// Drawn by tools/artwork; rebuilt with every build.\n";

  write_file(dir / "IBMP_1.bmp", bmp_of(art::draw_viewer_splash(), 8));
  rc += std::string(IDB_SPLASH) + " BITMAP \"IBMP_1.bmp\"\n";

  const art::IconArt icon = art::draw_viewer_icon();
  write_file(dir / "ICON_1.ico", fmt::dib::icon_file(icon.image.image(4), icon.mask));
  // The About box shows the program icon again, under a number.
  rc += std::string(IDI_KALDERO) + " ICON \"ICON_1.ico\"\n";
  rc += std::to_string(IDI_ABOUT) + " ICON \"ICON_1.ico\"\n";

  // The icon maker's examples: two opaque icons of the bitmaps, and the icon
  // the program itself makes of them.
  const art::IconMakerExamples examples = art::draw_icon_maker_examples();
  const std::vector<uint8_t> first = bmp_of(examples.first, 4), second = bmp_of(examples.second, 4);
  const std::vector<uint8_t> opaque(32 * 32, 0);
  write_file(dir / "EXAMPLE_144.ico", fmt::dib::icon_file(examples.first.image(4), opaque));
  write_file(dir / "EXAMPLE_145.ico", fmt::dib::icon_file(examples.second.image(4), opaque));
  write_file(dir / "EXAMPLE_146.ico", fmt::icon::build_icon(first.data(), first.size(), second.data(), second.size()));
  rc += std::to_string(IDI_EXAMPLE_FIRST) + " ICON \"EXAMPLE_144.ico\"\n";
  rc += std::to_string(IDI_EXAMPLE_SECOND) + " ICON \"EXAMPLE_145.ico\"\n";
  rc += std::to_string(IDI_EXAMPLE_ICON) + " ICON \"EXAMPLE_146.ico\"\n";
  // Samples to try the viewer on (the run command's tour opens them); not
  // part of the program.
  fs::create_directories(dir / "samples");
  write_file(dir / "samples" / "photo.bmp", bmp_of(art::draw_sample_photo(960, 675), 8));
  write_file(dir / "samples" / "icon.ico", fmt::dib::icon_file(icon.image.image(4), icon.mask));

  rc += write_buttons(dir, art::viewer_buttons());
  write_file(dir / "sheet.bmp", bmp_of(contact_sheet(art::viewer_buttons()), 8));

  std::ofstream out(dir / "artwork.rc", std::ios::binary | std::ios::trunc);
  out << rc;
  if (!out) throw std::runtime_error("cannot write artwork.rc");
  write_capture_artwork(dir);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: artwork OUTDIR\n");
    return 2;
  }
  try {
    run(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "artwork: %s\n", e.what());
    return 1;
  }
  return 0;
}
