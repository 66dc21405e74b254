// The capture's questions, save dialog, warnings and success text in the
// Japanese UI (run under a Japanese locale: the suite's name says so).
#include <gtest/gtest.h>

#include "tests/e2e/capture_ui.h"

using namespace e2e;

namespace {

TEST(CaptureSaveJapanese, QuestionsDialogAndMessagesAreJapanese) {
  PatternWindow pattern(400, 250, 200, 200, test_pattern);
  Program p;
  ASSERT_TRUE(start_meridot(p, "capture-japanese"));
  const std::string path = join(fresh_dir("capture-japanese-out"), "ja.ico");
  ASSERT_TRUE(enter_capture(p));
  drag({440, 300}, {{450, 310}, {440, 300}});

  auto answer = [&](const wchar_t* caption, const wchar_t* text, int button) {
    const HWND box = wait_window_w(caption, 15000, p.pid());
    if (!box) return ::testing::AssertionFailure() << "no box";
    const std::wstring shown = wide_message_text(box);
    if (shown != text) return ::testing::AssertionFailure() << "another text";
    return press(box, button) ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "no answer";
  };
  ASSERT_TRUE(answer(L"質問", L"イメージを保存しますか？", IDYES));
  HWND dialog = wait_window_w(L"アイコン・ファイル名の指定", 10000, p.pid());
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(answer_file_dialog(dialog, "D:\\ja.ico"));
  ASSERT_TRUE(answer(L"警告", L"リムーバブル(またはリモート)・ディスクへはセーブできません.", IDOK));
  dialog = wait_window_w(L"アイコン・ファイル名の指定", 10000, p.pid());
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(answer_file_dialog(dialog, path));
  ASSERT_TRUE(wait_window_w(L"質問", 15000, p.pid()));
  screenshot("capture-japanese-transparent-question");
  ASSERT_TRUE(answer(L"質問", L"アイコンに透明色部分を作りますか？", IDNO));
  ASSERT_TRUE(answer(L"成功", L"32x32/16色アイコン・ファイルが\nできあがりました.", IDOK));
  EXPECT_EQ(read_file(path).size(), 766u);
  p.close();
}

}  // namespace
