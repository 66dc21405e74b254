#include "tests/e2e/print_pages.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/e2e/harness.h"

namespace e2e {

namespace {

std::string pdf_dir() {
  const char* d = std::getenv("KALDERO_PDF_DIR");
  return d ? d : "";
}

}  // namespace

// Wine's own export: the Unix path of a Windows path, for the Unix tools.
std::string unix_path(const std::string& windowsPath) {
  using Convert = char*(CDECL*)(LPCWSTR);
  auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return "";
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH);
  char* unix = convert(wide);
  if (!unix) return "";
  std::string result = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

std::string quoted_unix_path(const std::string& windowsPath) {
  std::string quoted = "'";
  return quoted.append(unix_path(windowsPath)).append("'");
}

std::string shell_output(const std::string& command, bool* ok) {
  static int serial = 0;
  const std::string out = "/tmp/kaldero-e2e-shell-" + std::to_string(GetCurrentProcessId()) + "-" +
                          std::to_string(++serial) + ".txt";
  std::string quoted;
  for (char c : "(" + command + ") >" + out + " 2>&1; echo \"kaldero-e2e-end $?\" >>" + out) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  std::string line = "Z:\\bin\\sh -c \"" + quoted + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (ok) *ok = false;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return "cannot start the shell";
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  std::string winOut = "Z:" + out;
  for (char& c : winOut)
    if (c == '/') c = '\\';
  // Wine does not wait for a Unix child: the last line tells when it is done.
  std::string text;
  size_t end = std::string::npos;
  wait_until([&] {
    const std::vector<uint8_t> b = read_file(winOut);
    text.assign(b.begin(), b.end());
    end = text.rfind("kaldero-e2e-end ");
    return end != std::string::npos && text.back() == '\n';
  }, 60000);
  DeleteFileA(winOut.c_str());
  if (end == std::string::npos || text.back() != '\n') return "no end of: " + command;
  if (ok) *ok = text.compare(end, 18, "kaldero-e2e-end 0\n") == 0;
  return text.substr(0, end);
}

namespace {

bool ends_with_eof_mark(const std::string& path) {
  const std::vector<uint8_t> bytes = read_file(path);
  if (bytes.size() < 16) return false;
  const std::string tail(bytes.end() - 16, bytes.end());
  return tail.find("%%EOF") != std::string::npos;
}

}  // namespace

std::string printer_missing_reason() {
  if (const char* why = std::getenv("KALDERO_NO_PRINTER"); why && *why) return why;
  if (pdf_dir().empty()) return "KALDERO_PDF_DIR is not set (run through tests/e2e/run_test.sh)";
  char name[256] = {};
  DWORD size = sizeof name;
  if (!GetDefaultPrinterA(name, &size)) return "Wine lists no default printer";
  return "";
}

PrinterFacts default_printer_facts() {
  PrinterFacts f;
  char name[256] = {};
  DWORD size = sizeof name;
  if (!GetDefaultPrinterA(name, &size)) return f;
  HDC dc = CreateDCA(nullptr, name, nullptr, nullptr);
  if (!dc) return f;
  f.horzSizeMm = GetDeviceCaps(dc, HORZSIZE);
  f.vertSizeMm = GetDeviceCaps(dc, VERTSIZE);
  f.dpiX = GetDeviceCaps(dc, LOGPIXELSX);
  f.dpiY = GetDeviceCaps(dc, LOGPIXELSY);
  f.offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
  f.offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
  DeleteDC(dc);
  return f;
}

std::set<std::string> pdf_names() {
  const std::vector<std::string> names = files_in(pdf_dir(), "*.pdf");
  return {names.begin(), names.end()};
}

std::string wait_new_pdf(const std::set<std::string>& before, int ms) {
  std::string found;
  wait_until([&] {
    for (const std::string& name : pdf_names())
      if (!before.count(name) && ends_with_eof_mark(join(pdf_dir(), name))) {
        found = join(pdf_dir(), name);
        return true;
      }
    return false;
  }, ms);
  return found;
}

bool render_page(const std::string& pdf, Page& page, std::string& error) {
  const std::string dir = fresh_dir("print-render");
  const std::string command =
      "/usr/bin/pdftoppm -r 300 -f 1 -l 1 -singlefile " + quoted_unix_path(pdf) + " " + quoted_unix_path(join(dir, "page"));
  bool ok = false;
  const std::string log = shell_output(command, &ok);
  if (!ok) {
    error = command + " failed: " + log;
    return false;
  }
  // P6 with maxval 255 and one whitespace byte before the pixels, as pdftoppm writes it.
  const std::vector<uint8_t> f = read_file(join(dir, "page.ppm"));
  const std::string head(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(f.size(), 40)));
  int headSize = 0;
  if (std::sscanf(head.c_str(), "P6 %d %d 255%n", &page.width, &page.height, &headSize) != 2 || headSize == 0 ||
      page.width <= 0 || page.height <= 0 || f.size() < headSize + 1 + 3u * page.width * page.height) {
    error = "unreadable page.ppm";
    return false;
  }
  page.rgb.assign(f.begin() + headSize + 1, f.end());
  page.rgb.resize(3u * page.width * page.height);
  return true;
}

Box ink_box(const Page& page) {
  Box b{page.width, page.height, 0, 0};
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x)
      if (page.at(x, y) != 0xFFFFFF) {
        if (x < b.left) b.left = x;
        if (y < b.top) b.top = y;
        if (x >= b.right) b.right = x + 1;
        if (y >= b.bottom) b.bottom = y + 1;
      }
  if (b.right == 0) b = Box{};
  return b;
}

bool near_colour(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d > tolerance || d < -tolerance) return false;
  }
  return true;
}

}  // namespace e2e
