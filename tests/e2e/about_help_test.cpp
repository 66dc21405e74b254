// About and Help of the viewer: the box's caption, version line and icon and
// the two ways out of it; the readme opened through the shell, renamed away,
// and with no program for PDF documents.
#include <gtest/gtest.h>

#include "tests/e2e/about_ui.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/viewer_ui.h"
#include "resources/viewer/resource.h"

using namespace e2e;

namespace {

constexpr int kCmdAbout = IDM_ABOUT;
constexpr int kCmdHelp = IDM_HELP;

struct AboutLanguage {
  const wchar_t* caption;
  const wchar_t* titleBeforeVersion;
  const wchar_t* textStart;
  const char* shot;
};

void about_story(const AboutLanguage& lang) {
  Program p;
  ASSERT_TRUE(start_viewer_ready(p, "about"));
  const auto texts = [&](HWND box, const std::wstring& version) {
    EXPECT_EQ(control_text(box, IDC_ABOUT_TITLE), lang.titleBeforeVersion + version + L") ***");
    EXPECT_EQ(control_text(box, IDC_ABOUT_TEXT).rfind(lang.textStart, 0), 0u) << "the description comes first";
  };
  e2e::about_story(p, {viewer_exe(), IDI_ABOUT, lang.caption, [](Program& q, int) { post_command(q.main, kCmdAbout); },
                       texts, lang.shot});
  p.close();
}

void help_story(const char* readme) {
  const auto start = [](Program& p, const std::string& exe, const std::string& dir) {
    return p.start(exe, dir) && p.wait_main("KALDERO5") &&
           wait_until([&] { return IsWindowVisible(button_of(p.main, IDC_SPACE_BUTTON)) != 0; });
  };
  e2e::help_story({"KALDERO5.EXE", {"KALDERO5.PDF", "KALDEROJ.PDF"}, readme, start,
                   [](Program& p) { post_command(p.main, kCmdHelp); }});
}

}  // namespace

TEST(About, ShowsVersionAndIconAndEndsByOkOrCloseBox) {
  about_story({L"About", L"*** Kaldero (V ", L"Kaldero shows BMP and one-image icon files", "about-english"});
}

TEST(AboutJapanese, ShowsVersionAndIconAndEndsByOkOrCloseBox) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  about_story({L"御案内", L"*** カルデロ (V ", L"BMP・アイコンファイルの表示", "about-japanese"});
}

TEST(Help, OpensTheManualOrSaysWhyNot) { help_story("KALDERO5.PDF"); }

TEST(HelpJapanese, OpensTheManualOrSaysWhyNot) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  help_story("KALDEROJ.PDF");
}
