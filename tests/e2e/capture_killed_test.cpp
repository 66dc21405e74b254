// A capture program killed while it has the screen saver and a BMP wallpaper
// off: the next run finds the note the killed one left, puts the saver back
// on, and at its own normal exit leaves the desktop as the user had it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/capture_app_ui.h"
#include "tests/e2e/capture_ui.h"
#include "tests/e2e/registry.h"

using namespace e2e;

namespace {

// The sections of an INI file, in their order.
std::vector<std::string> ini_sections(const std::string& ini) {
  char names[1024] = {};
  const DWORD n = GetPrivateProfileSectionNamesA(names, sizeof names, ini.c_str());
  std::vector<std::string> out;
  for (DWORD i = 0; i < n && names[i];) {
    out.emplace_back(names + i);
    i += static_cast<DWORD>(out.back().size()) + 1;
  }
  return out;
}

TEST(CaptureDesktop, AKilledRunsScreenSaverIsBackAfterTheNextRun) {
  SavedRegistryValue savedWallpaper(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper");
  SavedRegistryValue savedSaver(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveActive");
  // A copy of the program in a folder of its own keeps its INI there.
  const std::string dir = fresh_dir("capture-killed");
  const std::string exe = join(dir, "MERIDOT5.EXE");
  const std::string ini = join(dir, "MERIDOT5.INI");
  const std::string bmp = join(dir, "clouds.bmp");
  ASSERT_TRUE(CopyFileA(meridot_exe().c_str(), exe.c_str(), FALSE));
  ASSERT_TRUE(write_file(bmp, make_bmp24(8, 8, [](int x, int y) { return (x + y) % 2 ? 0x3366CCu : 0xFFFFFFu; })));
  set_desk_wallpaper(bmp);
  set_screen_saver_active(true);

  Program killed;
  ASSERT_TRUE(start_meridot_in(killed, exe, dir));
  DesktopSettings s = desktop_settings();
  ASSERT_TRUE(s.read);
  ASSERT_FALSE(s.screenSaverActive);
  ASSERT_EQ(s.wallpaper, "");
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, killed.pid());
  ASSERT_TRUE(process);
  ASSERT_TRUE(TerminateProcess(process, 9));
  EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
  CloseHandle(process);
  ASSERT_TRUE(killed.wait_exit(5000));
  s = desktop_settings();
  ASSERT_FALSE(s.screenSaverActive) << "the killed run left the saver off";
  EXPECT_EQ(ini_sections(ini).size(), 1u) << "a note of what the killed run switched off";

  Program next;
  ASSERT_TRUE(start_meridot_in(next, exe, dir));
  s = desktop_settings();
  EXPECT_FALSE(s.screenSaverActive) << "off again while the next run runs";
  EXPECT_EQ(s.wallpaper, "");
  post_command(next.main, 104);  // Exit
  DWORD code = 99;
  ASSERT_TRUE(next.wait_exit(10000, &code));
  EXPECT_EQ(code, 0u);
  s = desktop_settings();
  EXPECT_TRUE(s.screenSaverActive);
  EXPECT_EQ(s.wallpaper, bmp);
  EXPECT_EQ(ini_sections(ini), std::vector<std::string>{"Position"}) << "the note is gone";

  // No blanking of the test screen after this test.
  set_desk_wallpaper("");
  set_screen_saver_active(false);
}

}  // namespace
