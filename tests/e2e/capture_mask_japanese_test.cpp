// The transparent-pixel tool in the Japanese UI (run under a Japanese locale:
// the suite's name says so): its buttons, the fill tool dialog and the
// success texts of Cancel and OK.
#include <gtest/gtest.h>

#include "tests/e2e/about_ui.h"
#include "tests/e2e/mask_ui.h"

using namespace e2e;

namespace {

std::wstring japanese_success(Program& p) {
  const HWND box = wait_window_w(L"成功", 10000, p.pid());
  if (!box) return L"";
  const std::wstring text = wide_message_text(box);
  press(box, IDOK);
  return text;
}

TEST(CaptureMaskJapanese, ButtonsFillDialogAndSuccessTexts) {
  MaskSession session;
  ASSERT_TRUE(session.open("mask-japanese", 32, 16, true));
  Program& p = session.p;
  EXPECT_EQ(control_text(p.main, kToolOk), L"OK");
  EXPECT_EQ(control_text(p.main, kToolCancel), L"ｷｬﾝｾﾙ");
  EXPECT_EQ(control_text(p.main, kToolFill), L"ツール");

  const wchar_t* title = L"塗りつぶしツールの設定";
  const HWND dlg = open_fill_dialog(p, title);
  ASSERT_TRUE(dlg);
  EXPECT_EQ(control_text(dlg, kPixelButton), L"画素");
  EXPECT_EQ(control_text(dlg, kAreaButton), L"領域");
  EXPECT_EQ(control_text(dlg, IDCANCEL), L"ｷｬﾝｾﾙ");
  bool found = false;
  for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    found = found || wide_title_of(c) == L"マウス・クリックで透明色ピクセルの設定ができ、\n再クリックで元に戻ります.\n"
                                     L"透明色ピクセルの設定色は適宜選択ください.\nTrue Color画面の使用を推奨します.";
  EXPECT_TRUE(found) << "the dialog's text";
  screenshot("mask-fill-dialog-japanese");
  click_child(dlg, IDCANCEL);
  ASSERT_TRUE(wait_until([&] { return !IsWindow(dlg); }, 5000));

  for (POINT c : {POINT{0, 0}, POINT{4, 4}, POINT{31, 31}}) click_cell(p.main, c.x, c.y);
  screenshot("mask-tool-japanese");
  // The menu's Icon closes the tool as Cancel does.
  post_command(p.main, kMeridotIcon);
  EXPECT_EQ(japanese_success(p), L"32x32/16色アイコン・ファイルが\nできあがりました.\n透明色部分はありません.");
  ASSERT_TRUE(wait_until([&] { return IsWindowVisible(capture_window(p.pid())); }, 10000));
  take_square(32, kMaskPatternX, kMaskPatternY);
  ASSERT_TRUE(save_and_open_tool(p, join(session.dir, "b.ico"), true));
  click_cell(p.main, 2, 2);
  click_child(p.main, kToolOk);
  EXPECT_EQ(japanese_success(p), L"32x32/16色アイコン・ファイルが\nできあがりました.\n透明色部分があります.");
  p.close();
}

}  // namespace
