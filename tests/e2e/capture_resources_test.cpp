// What the capture program's file carries (icons, the cross cursor, its
// buttons in four sets; the version is ProgramFiles') and which set its tool
// bar shows on each Windows version.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/e2e/capture_app_ui.h"
#include "tests/e2e/capture_ui.h"
#include "tests/e2e/registry.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/capture/resource.h"

using namespace e2e;

namespace {

struct Module {
  HMODULE h = LoadLibraryExA(meridot_exe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ~Module() {
    if (h) FreeLibrary(h);
  }
};

std::vector<uint8_t> resource(HMODULE m, const char* name, const char* type) {
  HRSRC r = FindResourceA(m, name, type);
  if (!r) return {};
  const auto* p = static_cast<const uint8_t*>(LockResource(LoadResource(m, r)));
  return p ? std::vector<uint8_t>(p, p + SizeofResource(m, r)) : std::vector<uint8_t>{};
}

uint32_t u16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }

}  // namespace

TEST(CaptureResources, IconsCursorAndEveryButtonBitmap) {
  Module exe;
  ASSERT_TRUE(exe.h);
  for (const char* icon : {static_cast<const char*>(IDI_MERIDOT), IDI_GRAB,
                           static_cast<const char*>(MAKEINTRESOURCEA(IDI_MERIDOT_ABOUT))}) {
    HICON h = static_cast<HICON>(LoadImageA(exe.h, icon, IMAGE_ICON, 32, 32, 0));
    EXPECT_TRUE(h) << (IS_INTRESOURCE(icon) ? "the About icon" : icon);
    if (h) DestroyIcon(h);
  }

  // The cross cursor: a 16-colour and a monochrome image, 32 x 32, each with
  // its hot spot at (15, 15), an opaque black pixel of the cross.
  const std::vector<uint8_t> group = resource(exe.h, IDC_CROSS_CURSOR, MAKEINTRESOURCEA(12));  // RT_GROUP_CURSOR
  ASSERT_GE(group.size(), 6u + 2 * 14);
  ASSERT_EQ(u16(group, 4), 2u);
  std::vector<uint32_t> depths;
  for (size_t i = 0; i < 2; ++i) {
    const size_t e = 6 + 14 * i;
    EXPECT_EQ(u16(group, e), 32u);
    EXPECT_EQ(u16(group, e + 2), 64u);  // colour and mask rows
    const std::vector<uint8_t> image = resource(exe.h, MAKEINTRESOURCEA(u16(group, e + 12)), MAKEINTRESOURCEA(1));
    ASSERT_GT(image.size(), 4u + 40u);
    EXPECT_EQ(u16(image, 0), 15u);
    EXPECT_EQ(u16(image, 2), 15u);
    // The depth as the image's own header gives it (the resource compiler
    // writes 1 into every directory entry of a cursor group).
    depths.push_back(u16(image, 4 + 14));
  }
  EXPECT_EQ(depths, (std::vector<uint32_t>{4, 1}));
  HCURSOR cursor = static_cast<HCURSOR>(LoadImageA(exe.h, IDC_CROSS_CURSOR, IMAGE_CURSOR, 32, 32, 0));
  ASSERT_TRUE(cursor);
  ICONINFO ii{};
  ASSERT_TRUE(GetIconInfo(cursor, &ii));
  EXPECT_EQ(ii.xHotspot, 15u);
  EXPECT_EQ(ii.yHotspot, 15u);
  HDC dc = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, ii.hbmMask);
  EXPECT_EQ(GetPixel(mem, 15, 15) & 0xFFFFFF, 0u) << "opaque";
  EXPECT_EQ(GetPixel(mem, 0, 0) & 0xFFFFFF, 0xFFFFFFu) << "clear corner";
  if (ii.hbmColor) {
    SelectObject(mem, ii.hbmColor);
    EXPECT_EQ(GetPixel(mem, 15, 15) & 0xFFFFFF, 0u) << "black";
  }
  SelectObject(mem, old);
  DeleteDC(mem);
  ReleaseDC(nullptr, dc);
  if (ii.hbmColor) DeleteObject(ii.hbmColor);
  DeleteObject(ii.hbmMask);

  struct Base {
    const char* name;
    int width;
  };
  for (const Base b : {Base{"Gap", 16}, Base{"CaptSz", 32}, Base{"Capt", 32}, Base{"About", 32}, Base{"Space", 2000}})
    for (const char* set : {"", "9", "8", "X"})
      for (const char* state : {"Up", "Dn", "In"}) {
        const std::string name = std::string(b.name) + set + state;
        int bits = 0;
        const Pixels px = bitmap_resource(exe.h, name.c_str(), &bits);
        EXPECT_EQ(px.width, b.width) << name;
        EXPECT_EQ(px.height, 20) << name;
        EXPECT_EQ(bits, 4) << name;
      }
}

// The capture program reads the version its own way: 6.1 takes the "X" set
// (the viewer shows its plain set there), 5.0 the "8" set, 4.0 the plain one;
// its buttons sit one pixel lower than the viewer's, under a black line.
TEST(CaptureResources, EachWindowsVersionShowsItsButtonSet) {
  SavedRegistryValue ntVersion(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion");
  ASSERT_TRUE(ntVersion.existed());
  Module exe;
  ASSERT_TRUE(exe.h);
  struct Case {
    const char* version;
    const char* set;
  };
  for (const Case c : {Case{"6.1", "X"}, Case{"5.0", "8"}, Case{"4.0", ""}, Case{"6.3", "X"}}) {
    SCOPED_TRACE(c.version);
    ASSERT_TRUE(ntVersion.set(c.version));
    Program p;
    ASSERT_TRUE(start_meridot_in(p, meridot_exe(), fresh_dir("capture-set")));
    const POINT away = client_to_screen(p.main, 60, GetSystemMetrics(SM_CYBORDER) + 26);
    move_mouse(away.x, away.y);
    settle(p.main);
    const Pixels client = grab_client(p.main);
    const int top = GetSystemMetrics(SM_CYBORDER);
    for (int x = 0; x < client.width; ++x) EXPECT_EQ(client.at(x, 0), 0u) << "top line at " << x;
    for (const auto& [base, x] : {std::pair{"CaptSz", 16}, std::pair{"Capt", 48}, std::pair{"About", 80}}) {
      int bits = 0;
      const Pixels want = bitmap_resource(exe.h, (std::string(base) + c.set + "Up").c_str(), &bits);
      ASSERT_EQ(want.width, 32);
      EXPECT_EQ(count_differences(client, x, top, want, 0, 0, 32, 20), 0) << base;
    }
    p.close();
  }
}
