// Saving images opened from BMP files as TIF through the real dialogs, and
// the TIF conditions dialog. The files are read back by libtiff, ImageMagick
// and Pillow on the machine.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/e2e/print_pages.h"
#include "tests/e2e/save_ui.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/viewer/resource.h"

using namespace e2e;

namespace {

constexpr int kIntel = IDC_TIF_INTEL, kMotorola = IDC_TIF_MOTOROLA, kAs16 = IDC_TIF_AS_16BIT;

int grey_level(int x, int y) { return (x * 7 + y * 50) % 256; }

// An 8-bit BMP with 256 grey entries, w x h.
std::vector<uint8_t> grey_bmp(int w, int h) {
  std::vector<uint32_t> table;
  for (uint32_t i = 0; i < 256; ++i) table.push_back(i * 0x010101u);
  const int stride = (w + 3) / 4 * 4;
  std::vector<uint8_t> rows(static_cast<size_t>(stride) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) rows[static_cast<size_t>(h - 1 - y) * stride + x] = static_cast<uint8_t>(grey_level(x, y));
  return make_bmp(w, h, 8, table, rows);
}

std::vector<uint8_t> grey_ppm(int w, int h) {
  const std::string head = "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n";
  std::vector<uint8_t> b(head.begin(), head.end());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.insert(b.end(), 3, static_cast<uint8_t>(grey_level(x, y)));
  return b;
}

bool checked(HWND dlg, int id) { return SendDlgItemMessageA(dlg, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

HWND open_conditions(Program& p) {
  post_command(p.main, kCmdParameters);
  return wait_window("TIF Image Conditions", 10000, p.pid());
}

// Sets both conditions by mouse clicks in the dialog and confirms with OK.
void set_conditions(Program& p, bool motorola, bool as16) {
  HWND dlg = open_conditions(p);
  ASSERT_NE(dlg, nullptr);
  click_child(dlg, motorola ? kMotorola : kIntel);
  if (checked(dlg, kAs16) != as16) click_child(dlg, kAs16);
  ASSERT_EQ(checked(dlg, kMotorola), motorola);
  ASSERT_EQ(checked(dlg, kAs16), as16);
  ASSERT_TRUE(press(dlg, IDOK));
}

std::string q(const std::string& windowsPath) {
  std::string quoted = "'";
  quoted += unix_path(windowsPath);
  quoted += "'";
  return quoted;
}

}  // namespace

// A grey 256-colour image saved in both byte orders, as palette and as
// 16-bit files: each is read back right by the machine's TIFF readers.
TEST(SaveTif, BothByteOrdersAndSixteenBitReadBack) {
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "save-tif"));
  const std::string dir = fresh_dir("save-tif-files");
  const int w = 33, h = 5;
  ASSERT_TRUE(write_file(join(dir, "grey.bmp"), grey_bmp(w, h)));
  ASSERT_TRUE(write_file(join(dir, "grey.ppm"), grey_ppm(w, h)));
  ASSERT_TRUE(open_with_dialog(p, join(dir, "grey.bmp")));
  ASSERT_TRUE(wait_title(p.main, "Kaldero - grey.bmp [1:1]"));

  const std::string a = join(dir, "a.tif"), b = join(dir, "b.tif"), c = join(dir, "c.tif"), d = join(dir, "d.tif");
  EXPECT_EQ(save_answered(p, a), "Information: The image has been saved as;\n" + a + ".");
  // The caption follows once the message has been answered.
  EXPECT_TRUE(wait_title(p.main, "Kaldero - a.tif [1:1]")) << title_of(p.main);
  set_conditions(p, true, false);
  EXPECT_EQ(save_answered(p, b), "Information: The image has been saved as;\n" + b + ".");
  set_conditions(p, false, true);
  EXPECT_EQ(save_answered(p, c), "Information: The image has been saved as;\n" + c + ".");
  set_conditions(p, true, true);
  EXPECT_EQ(save_answered(p, join(dir, "d")), "Information: The image has been saved as;\n" + d + ".")
      << "the default extension";
  p.close();

  for (const std::string& f : {a, b, c, d}) {
    ASSERT_TRUE(file_exists(f)) << f;
    EXPECT_EQ(shell_output("tiffinfo -D " + q(f) + " 2>&1 >/dev/null"), "") << f;
  }
  EXPECT_EQ(read_file(a)[0], 'I');
  EXPECT_EQ(read_file(b)[0], 'M');
  for (const std::string& f : {a, b}) {
    EXPECT_EQ(shell_output("compare -metric AE " + q(f) + " " + q(join(dir, "grey.ppm")) + " null:"), "0") << f;
    EXPECT_EQ(shell_output("/usr/bin/python3 -c \"from PIL import Image; import sys; "
                           "print(Image.open(sys.argv[1]).convert('RGB').tobytes() == "
                           "Image.open(sys.argv[2]).convert('RGB').tobytes())\" " +
                           q(f) + " " + q(join(dir, "grey.ppm"))),
              "True\n")
        << f;
  }
  EXPECT_EQ(shell_output("tiffcmp " + q(a) + " " + q(b)), "");
  // 16-bit samples (white-is-zero undone by ImageMagick) within one 8-bit
  // step of 257 x the grey level.
  for (const std::string& f : {c, d}) {
    EXPECT_EQ(read_file(f).size(), 156u + 2 * w * h) << f;
    const std::string raw = f + ".gray";
    EXPECT_EQ(shell_output("convert " + q(f) + " -depth 16 -endian MSB gray:" + q(raw)), "");
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
// both back, OK keeps them.
TEST(SaveTif, ConditionsDialogCancelAndCloseBoxRestore) {
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "tif-conditions"));
  for (const bool viaCloseBox : {false, true}) {
    HWND dlg = open_conditions(p);
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(checked(dlg, kIntel));
    EXPECT_FALSE(checked(dlg, kMotorola));
    EXPECT_FALSE(checked(dlg, kAs16));
    // Cancel is the default button.
    EXPECT_EQ(LOWORD(SendMessageA(dlg, DM_GETDEFID, 0, 0)), IDCANCEL);
    click_child(dlg, kMotorola);
    click_child(dlg, kAs16);
    EXPECT_TRUE(checked(dlg, kMotorola));
    EXPECT_FALSE(checked(dlg, kIntel));
    EXPECT_TRUE(checked(dlg, kAs16));
    if (!viaCloseBox) screenshot("tif-conditions");
    if (viaCloseBox) {
      PostMessageA(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
      ASSERT_TRUE(wait_until([&] { return !IsWindow(dlg); }));
    } else {
      ASSERT_TRUE(press(dlg, IDCANCEL));
    }
  }
  HWND dlg = open_conditions(p);
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(checked(dlg, kIntel));
  EXPECT_FALSE(checked(dlg, kAs16));
  click_child(dlg, kMotorola);
  click_child(dlg, kAs16);
  click_child(dlg, kAs16);  // the check box toggles
  ASSERT_TRUE(press(dlg, IDOK));
  dlg = open_conditions(p);
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(checked(dlg, kMotorola));
  EXPECT_FALSE(checked(dlg, kAs16));
  ASSERT_TRUE(press(dlg, IDCANCEL));
  p.close();
}
