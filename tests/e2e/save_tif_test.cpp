// Saving images opened from BMP files as TIF through the real dialogs, and
// the TIF conditions dialog. The files are read back by ImageMagick on the
// machine.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/e2e/save_ui.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/viewer/resource.h"

using namespace e2e;

namespace {

constexpr int kIntel = IDC_TIF_INTEL, kMotorola = IDC_TIF_MOTOROLA, kAs16 = IDC_TIF_AS_16BIT;

int grey_level(int x, int y) { return (x * 7 + y * 50) % 256; }

bool checked(HWND dlg, int id) { return SendDlgItemMessageA(dlg, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The dialog's choices: "Intel" or "Motorola", and ", 16 bits" when ticked.
std::string choices(HWND dlg) {
  const std::string order = checked(dlg, kIntel) == checked(dlg, kMotorola) ? "no single byte order"
                            : checked(dlg, kIntel)                          ? "Intel"
                                                                            : "Motorola";
  return checked(dlg, kAs16) ? order + ", 16 bits" : order;
}

HWND open_conditions(Program& p) { return command_dialog(p, kCmdParameters, "TIF Image Conditions"); }

// Sets both conditions by mouse clicks in the dialog and confirms with OK.
void set_conditions(Program& p, bool motorola, bool as16) {
  HWND dlg = open_conditions(p);
  ASSERT_NE(dlg, nullptr);
  click_child(dlg, motorola ? kMotorola : kIntel);
  if (checked(dlg, kAs16) != as16) click_child(dlg, kAs16);
  ASSERT_EQ(choices(dlg), std::string(motorola ? "Motorola" : "Intel") + (as16 ? ", 16 bits" : ""));
  ASSERT_TRUE(press(dlg, IDOK));
}

}  // namespace

// A grey 256-colour image saved in both byte orders, as palette and as
// 16-bit files: each is read back right by the machine's TIFF readers.
TEST(SaveTif, BothByteOrdersAndSixteenBitReadBack) {
  const int w = 33, h = 5;
  std::vector<uint32_t> greys;
  for (uint32_t i = 0; i < 256; ++i) greys.push_back(i * 0x010101u);
  Program p;
  const std::string dir = show_file(p, "save-tif", "grey.bmp", make_bmp(w, h, 8, greys, rows_of(w, h, 8, grey_level)));
  ASSERT_FALSE(dir.empty());
  const std::string bmp = quoted_unix_path(join(dir, "grey.bmp"));

  const std::string a = join(dir, "a.tif"), b = join(dir, "b.tif"), c = join(dir, "c.tif"), d = join(dir, "d.tif");
  EXPECT_EQ(save_answered(p, a), saved_message(a));
  // The caption follows once the message has been answered.
  EXPECT_TRUE(wait_title(p.main, "Kaldero - a.tif [1:1]")) << title_of(p.main);
  set_conditions(p, true, false);
  EXPECT_EQ(save_answered(p, b), saved_message(b));
  set_conditions(p, false, true);
  EXPECT_EQ(save_answered(p, c), saved_message(c));
  set_conditions(p, true, true);
  EXPECT_EQ(save_answered(p, join(dir, "d")), saved_message(d)) << "the default extension";
  p.close();

  // The files' pixels are the bitmap's; that libtiff, Pillow and tiffcmp
  // read the writer's files cleanly is the unit tests' part.
  for (const std::string& f : {a, b, c, d}) ASSERT_TRUE(file_exists(f)) << f;
  EXPECT_EQ(read_file(a)[0], 'I');
  EXPECT_EQ(read_file(b)[0], 'M');
  for (const std::string& f : {a, b})
    EXPECT_EQ(shell_output("compare -metric AE " + quoted_unix_path(f) + " " + bmp + " null:"), "0") << f;
  // 16-bit samples (white-is-zero undone by ImageMagick) within one 8-bit
  // step of 257 x the grey level.
  for (const std::string& f : {c, d}) {
    EXPECT_EQ(read_file(f).size(), 156u + 2 * w * h) << f;
    const std::string raw = f + ".gray";
    EXPECT_EQ(shell_output("convert " + quoted_unix_path(f) + " -depth 16 -endian MSB gray:" + quoted_unix_path(raw)),
              "");
    const std::vector<uint8_t> s = read_file(raw);
    ASSERT_EQ(s.size(), 2u * w * h) << f;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const int v = (s[2 * (y * w + x)] << 8) | s[2 * (y * w + x) + 1];
        const int centre = 257 * grey_level(x, y);
        ASSERT_GE(v, std::max(centre - 255, 0)) << f << " " << x << "," << y;
        ASSERT_LE(v, std::min(centre + 255, 65535)) << f << " " << x << "," << y;
      }
  }
}

// The choices apply while the dialog is open; Cancel and the close box put
// both back, OK keeps them. Cancel is the default button.
TEST(SaveTif, ConditionsDialogCancelAndCloseBoxRestore) {
  const struct Round {
    const char* how;
    int leaveBy;  // a button, or 0 for the close box
    std::vector<int> clicks;
    const char* chosen;
  } rounds[] = {{"Cancel", IDCANCEL, {kMotorola, kAs16}, "Motorola, 16 bits"},
                {"close box", 0, {kMotorola, kAs16}, "Motorola, 16 bits"},
                {"OK, the check box toggling", IDOK, {kMotorola, kAs16, kAs16}, "Motorola"},
                {"Cancel after OK", IDCANCEL, {}, "Motorola"}};
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "tif-conditions"));
  std::string kept = "Intel";
  for (const Round& r : rounds) {
    SCOPED_TRACE(r.how);
    HWND dlg = open_conditions(p);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(choices(dlg), kept);
    EXPECT_EQ(LOWORD(SendMessageA(dlg, DM_GETDEFID, 0, 0)), IDCANCEL);
    for (const int id : r.clicks) click_child(dlg, id);
    EXPECT_EQ(choices(dlg), r.chosen);
    if (r.leaveBy == IDCANCEL && !r.clicks.empty()) screenshot("tif-conditions");
    ASSERT_TRUE(leave_dialog(dlg, r.leaveBy));
    if (r.leaveBy == IDOK) kept = r.chosen;
  }
  p.close();
}
