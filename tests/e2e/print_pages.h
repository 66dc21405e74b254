// Pages printed to the CUPS-PDF queue, read back: the printer Wine offers,
// the PDF files the queue writes, and their first page rendered by pdftoppm
// at 300 dpi.
#pragma once
#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace e2e {

// Why no printer can be used here; empty when Wine lists a default printer.
std::string printer_missing_reason();

// The default printer's page as the programs see it.
struct PrinterFacts {
  int horzSizeMm = 0, vertSizeMm = 0, dpiX = 0, dpiY = 0;
  int offsetX = 0, offsetY = 0;  // the printable area on the paper
};
PrinterFacts default_printer_facts();

// Names of the PDF files in the queue's output folder.
std::set<std::string> pdf_names();
// Waits for a complete PDF whose name is not in `before`; its full path, or "".
std::string wait_new_pdf(const std::set<std::string>& before, int ms = 60000);

struct Page {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // 3 bytes a pixel, rows from the top
  uint32_t at(int x, int y) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
  }
};
// The Unix path of a Windows path ("" when Wine cannot say), and the same
// in single quotes for a shell command line.
std::string unix_path(const std::string& windowsPath);
std::string quoted_unix_path(const std::string& windowsPath);
// Runs a shell command line on the Unix side, waits for it and returns its
// standard output and error together; ok tells whether it ended with 0.
std::string shell_output(const std::string& command, bool* ok = nullptr);

// Renders the PDF's first page with `pdftoppm -r 300`; false with a reason.
bool render_page(const std::string& pdf, Page& page, std::string& error);

// The smallest rectangle holding every pixel that is not white.
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};
Box ink_box(const Page& page);

// Channels differ by at most `tolerance`.
bool near_colour(uint32_t a, uint32_t b, int tolerance);

}  // namespace e2e
