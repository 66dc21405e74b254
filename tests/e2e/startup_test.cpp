// Start-up and end of the viewer: title, language, single instance,
// start-up picture, placement, minimum size and exit codes; and what both
// program files carry.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/e2e/viewer_fixture.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/viewer/resource.h"

using namespace e2e;

using StartupJapanese = ViewerTest;
using StartupOnDepth8 = ViewerTest;
using StartupInShellDesktop = ViewerTest;

TEST(Startup, FirstStartShowsTheUntitledCaptionAndTheCentredPictureAndEachWayOutEndsWithZero) {
  const Pixels splash = resource_bitmap(IDB_SPLASH);
  ASSERT_EQ(splash.width, 256);
  ASSERT_EQ(splash.height, 192);
  struct Way {
    const char* what;
    UINT message;
    WPARAM command;
  };
  const Way ways[] = {{"the Exit command", WM_COMMAND, IDM_EXIT}, {"the system menu", WM_SYSCOMMAND, SC_CLOSE}};
  for (const Way& w : ways) {
    SCOPED_TRACE(w.what);
    Program p;
    ASSERT_TRUE(start_viewer(p, "first-start"));
    EXPECT_EQ(title_of(p.main), "Kaldero - (No title)");
    // The start-up picture as the program carries it, centred below the strip.
    RECT client;
    GetClientRect(p.main, &client);
    const int x0 = (client.right - 256) / 2, y0 = (client.bottom - 212) / 2 + 20;
    Pixels shown;
    // Painting may still be on its way: wait until the picture stands.
    wait_until([&] {
      shown = grab_client(p.main);
      return count_differences(shown, x0, y0, splash, 0, 0, 256, 192) == 0;
    }, 5000);
    EXPECT_EQ(count_differences(shown, x0, y0, splash, 0, 0, 256, 192), 0);
    // Around the picture the white background of the view.
    EXPECT_EQ(shown.at(x0 - 1, y0 + 50), 0xFFFFFFu);
    EXPECT_EQ(shown.at(x0 + 256, y0 + 50), 0xFFFFFFu);
    EXPECT_EQ(shown.at(x0 + 100, y0 + 192), 0xFFFFFFu);
    screenshot("startup-english");
    PostMessageA(p.main, w.message, w.command, 0);
    DWORD code = 99;
    ASSERT_TRUE(p.wait_exit(10000, &code));
    EXPECT_EQ(code, 0u);
  }
}

TEST_F(StartupJapanese, CodePage932GivesJapaneseCaption) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  EXPECT_EQ(wide_title_of(p.main), L"カルデロ - (無題)");
  screenshot("startup-japanese");
}

TEST(Startup, AnyWindowWhoseTitleContainsThePrefixBlocksTheStart) {
  // Not a viewer at all: the rule looks at titles only.
  HWND other = CreateWindowA("STATIC", "Notes about Kaldero - draft", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                             100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  Program p;
  ASSERT_TRUE(p.start(viewer_exe(), fresh_dir("blocked")));
  DWORD code = 99;
  bool exited = false;
  // Keep this thread's window answering while the viewer enumerates titles.
  wait_until([&] {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    return exited = p.wait_exit(0, &code);
  }, 15000);
  DestroyWindow(other);
  ASSERT_TRUE(exited);
  EXPECT_EQ(code, 0u);
}

TEST(Startup, WidthBelow440SnapsBack) {
  Program p;
  ASSERT_TRUE(start_viewer(p, "min-width"));
  RECT r;
  GetWindowRect(p.main, &r);
  SetWindowPos(p.main, nullptr, 0, 0, 300, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
  settle(p.main);
  EXPECT_TRUE(wait_until([&] {
    GetWindowRect(p.main, &r);
    return r.right - r.left == 440;
  }, 5000)) << "width " << r.right - r.left;
  // A height too small for the strip comes back as well (the system's own
  // smallest frame may be taller still).
  SetWindowPos(p.main, nullptr, 0, 0, 600, 10, SWP_NOMOVE | SWP_NOZORDER);
  settle(p.main);
  GetWindowRect(p.main, &r);
  EXPECT_GE(r.bottom - r.top, GetSystemMetrics(SM_CYMIN) + 20);
  EXPECT_EQ(r.right - r.left, 600);
  p.close();
}

TEST_F(StartupOnDepth8, A256ColourDisplayIsAccepted) {
  HDC ic = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  const int bits = GetDeviceCaps(ic, BITSPIXEL);
  DeleteDC(ic);
  ASSERT_EQ(bits, 8) << "this test needs an 8-bit screen";
  EXPECT_EQ(title_of(p.main), "Kaldero - (No title)");
  screenshot("startup-depth8");
}

TEST_F(StartupInShellDesktop, WindowIsCentredAboveTheTaskBar) {
  RECT work;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
  ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
  ASSERT_LT(work.bottom, 600) << "no task bar at the bottom";
  const int bar = 600 - work.bottom;
  const RECT r = window_rect(p.main);
  // 640 × 480 by default; centred in the height above the bar, x unchanged.
  EXPECT_EQ(r.right - r.left, 640);
  EXPECT_EQ(r.left, 80);
  EXPECT_EQ(r.top, (600 - bar - 480) / 2);
  screenshot("startup-shell-desktop");
}

// Each program file carries its name and version, in the numbers and the
// texts, and declares DPI awareness: on a scaled display one image pixel at
// 1:1 must stay one screen pixel.
TEST(ProgramFiles, CarryTheirVersionAndDeclareDpiAwareness) {
  struct Case {
    std::string exe;
    const char* product;
    const char* version;
    DWORD versionMS;
  };
  for (const Case& c : {Case{viewer_exe(), "Kaldero", "2.45", 0x0002002Du}, Case{meridot_exe(), "Meridot", "2.51", 0x00020033u}}) {
    SCOPED_TRACE(c.product);
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(c.exe.c_str(), &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(c.exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    UINT len = 0;
    for (const auto& [name, value] : {std::pair{"ProductName", c.product}, std::pair{"ProductVersion", c.version},
                                      std::pair{"FileVersion", c.version}}) {
      char* text = nullptr;
      const std::string key = std::string("\\StringFileInfo\\040904b0\\") + name;
      ASSERT_TRUE(VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&text), &len)) << name;
      EXPECT_STREQ(text, value) << name;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwProductVersionMS, c.versionMS);
    EXPECT_EQ(fixed->dwFileVersionMS, c.versionMS);

    HMODULE module = LoadLibraryExA(c.exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(res, nullptr);
    const std::string xml(static_cast<const char*>(LockResource(LoadResource(module, res))), SizeofResource(module, res));
    EXPECT_NE(xml.find("<dpiAware"), std::string::npos);
    EXPECT_NE(xml.find(">true</dpiAware>"), std::string::npos);
    FreeLibrary(module);
  }
}
