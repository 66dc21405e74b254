// Printing to the CUPS-PDF queue: the print zoom dialog, the page the queue
// writes (found among the PDF files of its output folder and rendered back
// with pdftoppm at 300 dpi), a print dialog that finds no printer, and the
// Japanese dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "tests/e2e/about_ui.h"
#include "tests/e2e/icon_ui.h"
#include "tests/e2e/save_ui.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/viewer/resource.h"

using namespace e2e;

namespace {

constexpr int kCmdPrint = IDM_PRINT;
constexpr int kSlider = IDC_PRINT_ZOOM_SLIDER, kValue = IDC_PRINT_ZOOM_VALUE, kOk = IDC_PRINT_ZOOM_OK,
              kCancel = IDC_PRINT_ZOOM_CANCEL;
const char* kZoomTitle = "Print Zoom";
const char* kPrintDialogTitle = "Print";

// The default printer's page as the programs see it.
struct PrinterFacts {
  int horzSizeMm = 0, vertSizeMm = 0, dpiX = 0, dpiY = 0;
  int offsetX = 0, offsetY = 0;  // the printable area on the paper
};

// A page the queue wrote, as pdftoppm renders it.
struct Page {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // 3 bytes a pixel, rows from the top
  uint32_t at(int x, int y) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
  }
};

// The smallest rectangle holding every pixel that is not white.
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

std::string pdf_dir() {
  const char* d = std::getenv("KALDERO_PDF_DIR");
  return d ? d : "";
}

// The default printer's name, "" when Wine lists none.
std::string default_printer() {
  char name[256] = {};
  DWORD size = sizeof name;
  return GetDefaultPrinterA(name, &size) ? name : "";
}

// Why no printer can be used here; empty when Wine lists a default printer.
std::string printer_missing_reason() {
  if (const char* why = std::getenv("KALDERO_NO_PRINTER"); why && *why) return why;
  if (pdf_dir().empty()) return "KALDERO_PDF_DIR is not set (run through tests/e2e/run_test.sh)";
  return default_printer().empty() ? "Wine lists no default printer" : "";
}

PrinterFacts default_printer_facts() {
  PrinterFacts f;
  HDC dc = CreateDCA(nullptr, default_printer().c_str(), nullptr, nullptr);
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

// Names of the PDF files in the queue's output folder.
std::set<std::string> pdf_names() {
  const std::vector<std::string> names = files_in(pdf_dir(), "*.pdf");
  return {names.begin(), names.end()};
}

// Waits for a complete PDF whose name is not in `before`; its full path, or "".
std::string wait_new_pdf(const std::set<std::string>& before, int ms = 60000) {
  std::string found;
  wait_until([&] {
    for (const std::string& name : pdf_names()) {
      if (before.count(name)) continue;
      // Complete once its end-of-file mark is there.
      const std::vector<uint8_t> bytes = read_file(join(pdf_dir(), name));
      if (bytes.size() >= 16 && std::string(bytes.end() - 16, bytes.end()).find("%%EOF") != std::string::npos) {
        found = join(pdf_dir(), name);
        return true;
      }
    }
    return false;
  }, ms);
  return found;
}

// Renders the PDF's first page with `pdftoppm -r 300`; false with a reason.
bool render_page(const std::string& pdf, Page& page, std::string& error) {
  const std::string dir = fresh_dir("print-render");
  const std::string command = "/usr/bin/pdftoppm -r 300 -f 1 -l 1 -singlefile " + quoted_unix_path(pdf) + " " +
                              quoted_unix_path(join(dir, "page"));
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

// Channels differ by at most `tolerance`.
bool near_colour(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift <= 16; shift += 8)
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
      return false;
  return true;
}

// Four quadrants: a flip, a mirror or a red/blue swap shows.
constexpr uint32_t kQuadrants[2][2] = {{0xFF0000, 0x00C000}, {0x0000FF, 0xFFFF00}};  // [bottom][right]

std::vector<uint8_t> quadrants(int w, int h) {
  return make_bmp24(w, h, [&](int x, int y) { return kQuadrants[2 * y >= h][2 * x >= w]; });
}

HWND open_zoom_dialog(Program& p) { return command_dialog(p, kCmdPrint, kZoomTitle); }

// The print command taken on with the zoom as it stands.
bool zoom_ok(Program& p) {
  HWND dlg = open_zoom_dialog(p);
  return dlg && press(dlg, kOk);
}

// The system's print dialog that follows, cancelled.
bool cancel_print_dialog(Program& p) {
  HWND printDlg = wait_window(kPrintDialogTitle, 10000, p.pid());
  return printDlg && press(printDlg, IDCANCEL);
}

int shown_value(HWND dlg) { return static_cast<int>(GetDlgItemInt(dlg, kValue, nullptr, FALSE)); }

// What the slider control sends when it is used.
void slide(HWND dlg, int code, int position = 0) {
  SendMessageA(dlg, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(GetDlgItem(dlg, kSlider)));
}

// The expected placement of a landscape image on a portrait page, worked
// out here from the printer's own figures: the box is percent of 80 % of
// the printable area, a tenth of it in from the corner, filled across.
Box expected_box(const PrinterFacts& f, int percent, int shownW, int shownH) {
  const double boxW = percent / 100.0 * f.horzSizeMm * 0.8 / 25.4 * f.dpiX;
  const double boxH = percent / 100.0 * f.vertSizeMm * 0.8 / 25.4 * f.dpiY;
  const int w = static_cast<int>(boxW), h = static_cast<int>(shownH * boxW / shownW);
  const int x = f.offsetX + static_cast<int>(boxW / 10), y = f.offsetY + static_cast<int>(boxH / 10);
  // The page is rendered at 300 dpi.
  auto at300 = [](int v, int dpi) { return static_cast<int>(std::lround(v * 300.0 / dpi)); };
  return {at300(x, f.dpiX), at300(y, f.dpiY), at300(x + w, f.dpiX), at300(y + h, f.dpiY)};
}

std::string describe(const Box& b) {
  return std::to_string(b.left) + ", " + std::to_string(b.top) + ": " + std::to_string(b.width()) + " x " +
         std::to_string(b.height());
}

// Answers the print dialog with OK, then reads the page the queue wrote and
// checks the image's place, size and colours on it.
void print_and_check(Program& p, int percent, int shownW, int shownH, const std::string& what) {
  const std::set<std::string> before = pdf_names();
  HWND printDlg = wait_window(kPrintDialogTitle, 10000, p.pid());
  ASSERT_NE(printDlg, nullptr) << what << ": no print dialog";
  ASSERT_TRUE(press(printDlg, IDOK)) << what;
  const std::string pdf = wait_new_pdf(before);
  ASSERT_FALSE(pdf.empty()) << what << ": no PDF came out of the queue";
  // The queue names the file after the document.
  EXPECT_NE(pdf.find("Bitmap"), std::string::npos) << pdf;
  Page page;
  std::string error;
  ASSERT_TRUE(render_page(pdf, page, error)) << error;
  const Box got = ink_box(page);
  const Box want = expected_box(default_printer_facts(), percent, shownW, shownH);
  const int gotFigures[] = {got.left, got.top, got.width(), got.height()};
  const int wantFigures[] = {want.left, want.top, want.width(), want.height()};
  for (int i = 0; i < 4; ++i)
    EXPECT_LE(std::abs(gotFigures[i] - wantFigures[i]), 1) << what << ": " << describe(got) << ", expected "
                                                           << describe(want);
  // Every pixel of the box away from the quadrants' borders has its
  // quadrant's colour.
  int wrong = 0;
  const int midX = got.left + got.width() / 2, midY = got.top + got.height() / 2;
  for (int y = got.top; y < got.bottom; ++y)
    for (int x = got.left; x < got.right; ++x) {
      if (std::abs(x - midX) <= 2 || std::abs(y - midY) <= 2) continue;
      if (!near_colour(page.at(x, y), kQuadrants[y > midY][x > midX], 2)) ++wrong;
    }
  EXPECT_EQ(wrong, 0) << what << ": pixels of the wrong colour in " << describe(got);
}

// Opens the quadrant image from a folder in which Wine's print-to-file
// output, a file named "FILE:" in the program's current folder, cannot be
// made: a folder of that name is in the way. Wine's open dialog makes the
// current folder the one it starts in, the folder of the file opened last
// (by any program): the image is opened twice.
void open_where_no_print_file_can_be_made(Program& p, const std::string& name, const wchar_t* openTitle) {
  const std::string dir = fresh_dir(name);
  ASSERT_EQ(shell_output("mkdir " + quoted_unix_path(join(dir, "FILE:"))), "");
  ASSERT_TRUE(write_file(join(dir, "quadrants.bmp"), quadrants(64, 48)));
  choose_file(p, join(dir, "quadrants.bmp"), openTitle);
  choose_file(p, join(dir, "quadrants.bmp"), openTitle);
}

// Ticks "Print to file" in the system's print dialog and confirms it.
void print_to_file(HWND printDlg) {
  ASSERT_NE(printDlg, nullptr) << "no print dialog";
  constexpr int kPrintToFile = 0x410;  // chx1 of the common print dialog
  ASSERT_NE(GetDlgItem(printDlg, kPrintToFile), nullptr);
  SendMessageA(GetDlgItem(printDlg, kPrintToFile), BM_SETCHECK, BST_CHECKED, 0);
  ASSERT_TRUE(press(printDlg, IDOK));
}

#define SKIP_WITHOUT_PRINTER()                                   \
  do {                                                           \
    const std::string why = printer_missing_reason();           \
    if (!why.empty()) GTEST_SKIP() << "no printer: " << why;     \
  } while (0)

}  // namespace

TEST(PrintPage, TheBoxFollowsTheZoomFactorAndKeepsTheImageColours) {
  SKIP_WITHOUT_PRINTER();
  ASSERT_GT(default_printer_facts().vertSizeMm, default_printer_facts().horzSizeMm) << "a portrait page";
  Program p;
  ASSERT_FALSE(show_file(p, "print-page", "quadrants.bmp", quadrants(64, 48)).empty());

  // As the dialog comes up at first: 100 %.
  HWND dlg = open_zoom_dialog(p);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(shown_value(dlg), 100);
  ASSERT_TRUE(press(dlg, kOk));
  print_and_check(p, 100, 64, 48, "at 100 %");

  // Set through the slider.
  dlg = open_zoom_dialog(p);
  ASSERT_NE(dlg, nullptr);
  slide(dlg, SB_THUMBPOSITION, 50);
  ASSERT_EQ(shown_value(dlg), 50);
  ASSERT_TRUE(press(dlg, kOk));
  print_and_check(p, 50, 64, 48, "at 50 %");

  // Cancel puts back the value the dialog started with, and prints.
  dlg = open_zoom_dialog(p);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(shown_value(dlg), 50);
  slide(dlg, SB_PAGELEFT);
  slide(dlg, SB_PAGELEFT);
  ASSERT_EQ(shown_value(dlg), 30);
  ASSERT_TRUE(press(dlg, kCancel));
  print_and_check(p, 50, 64, 48, "after Cancel");
  screenshot("print-page-after-cancel");
  p.close();
}

TEST(PrintPage, AnImageShownAtOneToTwoPrintsInTheShownProportions) {
  SKIP_WITHOUT_PRINTER();
  const PrinterFacts facts = default_printer_facts();
  // The fixture tells the two apart: halved, 419 x 59 is 209 x 29, whose
  // print is at least 2 pixels lower than the stored proportions give.
  ASSERT_GE(expected_box(facts, 100, 419, 59).height() - expected_box(facts, 100, 209, 29).height(), 3);
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "print-half"));
  set_client_size(p.main, 400, 400);  // narrower than the image: it opens at 1:2
  const std::string path = join(fresh_dir("print-half-data"), "quadrants.bmp");
  ASSERT_TRUE(write_file(path, quadrants(419, 59)));
  ASSERT_TRUE(open_at(p, path, "1:2")) << title_of(p.main);
  ASSERT_TRUE(zoom_ok(p));
  print_and_check(p, 100, 209, 29, "shown at 1:2");
  p.close();
}

// Every way out of the dialog leads on to the print dialog; only OK keeps
// the value chosen.
TEST(PrintZoom, PageStepsStopAtTheEndsAndOnlyOkKeepsTheValue) {
  SKIP_WITHOUT_PRINTER();
  Program p;
  ASSERT_FALSE(show_file(p, "print-zoom", "quadrants.bmp", quadrants(64, 48)).empty());

  HWND dlg = open_zoom_dialog(p);
  ASSERT_NE(dlg, nullptr);
  HWND slider = GetDlgItem(dlg, kSlider), value = GetDlgItem(dlg, kValue);
  int lo = 0, hi = 0;
  GetScrollRange(slider, SB_CTL, &lo, &hi);
  EXPECT_EQ(lo, 20);
  EXPECT_EQ(hi, 100);
  EXPECT_EQ(GetScrollPos(slider, SB_CTL), 100);
  EXPECT_TRUE(GetWindowLongA(value, GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(SendMessageA(value, EM_GETLIMITTEXT, 0, 0), 3);
  screenshot("print-zoom-dialog");

  struct Step {
    int code, position, expected;
  } steps[] = {
      {SB_PAGELEFT, 0, 90},       {SB_PAGELEFT, 0, 80},      {SB_PAGELEFT, 0, 70},   {SB_PAGELEFT, 0, 60},
      {SB_PAGELEFT, 0, 50},       {SB_PAGELEFT, 0, 40},      {SB_PAGELEFT, 0, 30},   {SB_PAGELEFT, 0, 20},
      {SB_PAGELEFT, 0, 20},       {SB_LINELEFT, 0, 20},      {SB_THUMBPOSITION, 25, 25}, {SB_PAGELEFT, 0, 20},
      {SB_THUMBTRACK, 95, 95},    {SB_PAGERIGHT, 0, 100},    {SB_LINERIGHT, 0, 100}, {SB_LINELEFT, 0, 99},
      {SB_ENDSCROLL, 0, 99},      {SB_TOP, 0, 99},           {SB_PAGERIGHT, 0, 100},
  };
  for (const Step& s : steps) {
    slide(dlg, s.code, s.position);
    EXPECT_EQ(shown_value(dlg), s.expected) << "code " << s.code;
    EXPECT_EQ(GetScrollPos(slider, SB_CTL), s.expected) << "code " << s.code;
  }
  // The real control: a click on its left arrow.
  RECT r;
  GetWindowRect(slider, &r);
  click(r.left + GetSystemMetrics(SM_CXHSCROLL) / 2, (r.top + r.bottom) / 2);
  EXPECT_TRUE(wait_until([&] { return shown_value(dlg) == 99; }, 3000)) << shown_value(dlg);
  EXPECT_EQ(GetScrollPos(slider, SB_CTL), 99);
  ASSERT_TRUE(press(dlg, kOk));
  ASSERT_TRUE(cancel_print_dialog(p));

  // From 99: move to `moved`, leave the dialog, cancel the print dialog it
  // leads to, and see what the dialog starts with next.
  struct Exit {
    const char* how;
    UINT message;
    WPARAM command;
    int moved, next;
  } exits[] = {{"Cancel", WM_COMMAND, kCancel, 40, 99},
               {"OK", WM_COMMAND, kOk, 40, 40},
               {"close box", WM_SYSCOMMAND, SC_CLOSE, 70, 40},
               {"Escape", WM_COMMAND, IDCANCEL, 60, 40},
               {"OK", WM_COMMAND, kOk, 100, 100}};
  for (const Exit& e : exits) {
    SCOPED_TRACE(e.how);
    dlg = open_zoom_dialog(p);
    ASSERT_NE(dlg, nullptr);
    slide(dlg, SB_THUMBPOSITION, e.moved);
    ASSERT_EQ(shown_value(dlg), e.moved);
    PostMessageA(dlg, e.message, e.command, 0);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(dlg); }, 5000));
    ASSERT_TRUE(cancel_print_dialog(p)) << "no print dialog";
    // A cancelled print dialog ends the command without a word.
    EXPECT_EQ(wait_other_window(p.pid(), p.main, 500), nullptr);
    dlg = open_zoom_dialog(p);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(shown_value(dlg), e.next);
    EXPECT_EQ(GetScrollPos(GetDlgItem(dlg, kSlider), SB_CTL), e.next);
    ASSERT_TRUE(press(dlg, kOk));
    ASSERT_TRUE(cancel_print_dialog(p));
  }
  p.close();
}

// A viewer that finds CUPS unreachable when it starts has no printer: the
// print dialog refuses (the system says why in a notice of its own), and
// the command ends without a message and without a page.
TEST(PrintUnreachable, ThePrintDialogsRefusalEndsTheCommandSilently) {
  // run_test.sh points CUPS at a socket that is not there.
  ASSERT_NE(std::getenv("CUPS_SERVER"), nullptr) << "run through tests/e2e/run_test.sh";
  ASSERT_EQ(default_printer(), "") << "CUPS is reachable";
  Program p;
  ASSERT_FALSE(show_file(p, "print-unreachable", "quadrants.bmp", quadrants(64, 48)).empty());
  const std::set<std::string> before = pdf_names();
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(zoom_ok(p)) << "round " << round;
    // The system's notice that there is no printer, not a print dialog.
    HWND notice = wait_window(kPrintDialogTitle, 5000, p.pid());
    if (notice) {
      if (round == 0) screenshot("print-unreachable-notice");
      EXPECT_NE(message_text(notice).find("install a printer"), std::string::npos) << message_text(notice);
      ASSERT_TRUE(press(notice, IDOK));
    }
    // Under load the system may bring its notice late, or again: it is the
    // only window the command may show.
    HWND other = nullptr;
    for (int late = 0; late < 5; ++late) {
      other = wait_other_window(p.pid(), p.main, 1500);
      // A window of the system's dialog code that goes again at once is no message.
      if (other && wait_until([&] { return !IsWindowVisible(other); }, 300)) {
        other = nullptr;
        continue;
      }
      if (!other || title_of(other) != kPrintDialogTitle) break;
      wait_until([&] { return !message_text(other).empty() || !IsWindow(other); }, 2000);
      if (message_text(other).find("install a printer") == std::string::npos) break;
      ASSERT_TRUE(press(other, IDOK));
      other = nullptr;
    }
    EXPECT_EQ(other, nullptr) << "round " << round << ": " << title_of(other) << ": " << message_text(other);
    if (other) press(other, IDOK);
  }
  EXPECT_EQ(pdf_names(), before);
  p.close();
}

TEST(PrintZoomJapanese, TheDialogAndTheMessageSpeakJapanese) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "print-japanese"));
  open_where_no_print_file_can_be_made(p, "print-japanese-data", kOpenTitleJa);
  ASSERT_TRUE(wait_until([&] { return button_enabled(p.main, IDC_PRINT_BUTTON); }));

  HWND dlg = command_dialog(p, kCmdPrint, L"印刷ズーム設定");
  ASSERT_NE(dlg, nullptr) << "no Japanese print zoom dialog";
  struct Text {
    int id;
    const wchar_t* text;
  } texts[] = {{kValue, L"100"}, {kOk, L"OK"}, {kCancel, L"ｷｬﾝｾﾙ"}};
  for (const Text& t : texts) EXPECT_EQ(control_text(dlg, t.id), t.text) << "control " << t.id;
  EXPECT_EQ(wide_title_of(FindWindowExW(dlg, nullptr, L"Static", nullptr)), L"縮小ファクター (%) (20,21,...,99,100)");
  slide(dlg, SB_PAGELEFT);
  EXPECT_EQ(shown_value(dlg), 90);
  screenshot("print-zoom-dialog-japanese");
  ASSERT_TRUE(press(dlg, kCancel));

  const std::string why = printer_missing_reason();
  if (!why.empty()) {
    std::printf("note: the Japanese message of a refused job needs a printer: %s\n", why.c_str());
    p.close();
    return;
  }
  // The system's print dialog (in the system's language) comes next.
  print_to_file(wait_other_window(p.pid(), p.main, 10000));
  HWND box = wait_window_w(L"警告", 10000, p.pid());
  screenshot("print-refused-japanese");
  ASSERT_NE(box, nullptr) << "no Japanese message";
  EXPECT_EQ(wide_message_text(box), L"印刷をスタートできません.");
  press(box, IDOK);
  p.close();
}

// A print to file whose file cannot be made: the job does not start, and
// the viewer says so.
TEST(PrintPage, AJobThatCannotStartIsReported) {
  SKIP_WITHOUT_PRINTER();
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "print-refused"));
  const std::set<std::string> before = pdf_names();
  open_where_no_print_file_can_be_made(p, "print-refused-data", kOpenTitle);
  ASSERT_TRUE(zoom_ok(p));
  print_to_file(wait_window(kPrintDialogTitle, 10000, p.pid()));
  HWND box = wait_other_window(p.pid(), p.main, 10000);
  screenshot("print-refused");
  ASSERT_NE(box, nullptr) << "no message";
  EXPECT_EQ(title_of(box), "Warning");
  EXPECT_EQ(message_text(box), "Unable to start print job.");
  press(box, IDOK);
  EXPECT_EQ(wait_new_pdf(before, 1000), "") << "a page after all";
  p.close();
}
