// Opening icons with the Japanese UI: the colour dialog and the refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/e2e/icon_ui.h"

using namespace e2e;

TEST(OpenIconJapanese, ColourDialogAndRefusalsSpeakJapanese) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  Program p;
  ASSERT_TRUE(start_viewer(p, "open-icon-japanese"));
  const std::string dir = fresh_dir("open-icon-japanese-files");
  IconPicture pic = sixteen(true);
  pic.palette[3] = 0x000000;  // black, to be chosen below, is one of the icon's colours
  // "表" ends in the byte of a backslash in code page 932: neither the
  // caption nor the temporary name may cut the name there. Wine can store
  // such a name only when the Unix side has a Japanese UTF-8 locale.
  std::wstring wideName = L"表示.ICO";
  std::wstring widePath = wide_of(dir) + L"\\" + wideName;
  if (!write_file_w(widePath, icon_file(pic))) {
    std::printf("note: no Japanese file names here (ja_JP.UTF-8 is not a locale of this machine); "
                "the icon gets an ASCII name\n");
    wideName = L"TSUKI.ICO";
    widePath = wide_of(dir) + L"\\" + wideName;
    ASSERT_TRUE(write_file_w(widePath, icon_file(pic)));
  }
  const std::wstring tempBitmap =
      wide_of(temp_dir()) + L"\\" + wideName.substr(0, wideName.size() - 4) + L"!.___";
  DeleteFileW(tempBitmap.c_str());
  choose_file(p, ansi_of(widePath), kOpenTitleJa);
  HWND dlg = wait_window_w(L"表示色の選択", 10000, p.pid());
  ASSERT_NE(dlg, nullptr) << "no Japanese colour dialog";
  EXPECT_NE(GetFileAttributesW(tempBitmap.c_str()), INVALID_FILE_ATTRIBUTES) << "no temporary bitmap named after the icon";
  wchar_t text[256] = {};
  GetDlgItemTextW(dlg, IDCANCEL, text, 256);
  EXPECT_EQ(std::wstring(text), L"ｷｬﾝｾﾙ");
  GetDlgItemTextW(dlg, 0xFFFF, text, 256);
  EXPECT_EQ(std::wstring(text), L"アイコン中の透明色・反転色の\n表示色を選択してください.");
  EXPECT_EQ(selected_item(dlg), 0);
  screenshot("open-icon-colour-dialog-japanese");
  pick_with_mouse(p, dlg, kBlackItem, "open-icon-colour-list-japanese");
  ASSERT_TRUE(press(dlg, IDOK));
  const std::wstring caption = L"カルデロ - " + wideName + L" [1:1]";
  ASSERT_TRUE(wait_until([&] { return wide_title_of(p.main) == caption; })) << title_of(p.main);
  EXPECT_TRUE(view_shows(p.main, pic, 0x000000));
  settle(p.main);
  EXPECT_EQ(GetFileAttributesW(tempBitmap.c_str()), INVALID_FILE_ATTRIBUTES) << "the temporary bitmap was left behind";

  std::vector<uint8_t> longer = icon_file(pic);
  longer.push_back(0);
  IconPicture deep = true_colour(false);
  deep.bits = 32;
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    const wchar_t* caption;
    const wchar_t* text;
  } cases[] = {
      {"LONG.ICO", longer, L"エラー", L"正しい形式のアイコンファイル\nではありません."},
      {"ALPHA.ICO", icon_file(deep), L"警告", L"2色/16色/256色/16M色アイコンファイル以外は\n表示できません."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    choose_file(p, write_icon(dir, c.name, c.bytes), kOpenTitleJa);
    HWND box = wait_window_w(c.caption, 10000, p.pid());
    ASSERT_NE(box, nullptr) << "no message box";
    wait_until([&] { return !wide_message_text(box).empty(); }, 2000);
    EXPECT_EQ(wide_message_text(box), c.text);
    if (std::string(c.name) == "ALPHA.ICO") screenshot("open-icon-refused-japanese");
    ASSERT_TRUE(press(box, IDOK));
    EXPECT_EQ(wide_title_of(p.main), caption);
  }
  p.close();
}
