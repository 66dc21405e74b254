// The Japanese faces the programs ask for ("ＭＳ Ｐゴシック" in the dialogs,
// "ＭＳゴシック" in the hints) are resolved to the Japanese fonts the test and
// run prefixes map them to, and not to a fallback: checked on the font a
// dialog of the viewer's own Japanese template really gets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "resources/viewer/resource.h"

using namespace e2e;

namespace {

INT_PTR CALLBACK quiet_dialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The full name of the font actually selected, as its own data gives it (the
// family name of a replaced face is the name that was asked for).
std::string resolved_full_name(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  std::string family;
  const UINT size = GetOutlineTextMetricsA(dc, 0, nullptr);
  if (size > 0) {
    std::vector<char> buffer(size);
    auto* otm = reinterpret_cast<OUTLINETEXTMETRICA*>(buffer.data());
    if (GetOutlineTextMetricsA(dc, size, otm))
      family = buffer.data() + reinterpret_cast<uintptr_t>(otm->otmpFullName);
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return family;
}

}  // namespace

TEST(DialogFontJapanese, DialogAndHintFacesResolveToTheMappedJapaneseFonts) {
  ASSERT_EQ(GetACP(), 932u) << "this test needs a Japanese locale";
  HMODULE exe = LoadLibraryExA(viewer_exe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  HRSRC res = FindResourceA(exe, IDD_COLOUR_SELECT_J, MAKEINTRESOURCEA(5));  // RT_DIALOG
  ASSERT_NE(res, nullptr);
  const auto* tmpl = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(exe, res)));
  HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), tmpl, nullptr, quiet_dialog, 0);
  ASSERT_NE(dialog, nullptr);
  const auto dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  ASSERT_NE(dialogFont, nullptr);
  const std::string dialogFamily = resolved_full_name(dialogFont);
  DestroyWindow(dialog);
  FreeLibrary(exe);

  // The hint font as the tool bar makes it.
  HFONT hintFont = CreateFontW(12, 0, 0, 0, 400, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, L"ＭＳゴシック");
  ASSERT_NE(hintFont, nullptr);
  const std::string hintFamily = resolved_full_name(hintFont);
  DeleteObject(hintFont);

  // The proportional face for the dialogs, the fixed one for the hints.
  EXPECT_EQ(dialogFamily.substr(0, dialogFamily.find(' ')), "IPAPGothic") << dialogFamily;
  EXPECT_EQ(hintFamily.substr(0, hintFamily.find(' ')), "IPAGothic") << hintFamily;
}
