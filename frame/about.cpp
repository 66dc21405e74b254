#include "frame/about.h"

#include <cstdio>
#include <vector>

#include "frame/messages.h"
#include "frame/os_style.h"

namespace frame {

namespace {

INT_PTR CALLBACK about_proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      const AboutBox& box = *reinterpret_cast<const AboutBox*>(lParam);
      char version[32];
      program_version(version, sizeof version);
      for (int i = 0; i < box.textCount; ++i) {
        const AboutText& t = box.texts[i];
        char text[1024];
        std::snprintf(text, sizeof text, tr(t.english, t.japanese), version);
        SetDlgItemTextA(dialog, t.control, text);
      }
      return TRUE;
    }
    case WM_CLOSE: EndDialog(dialog, 0); return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) EndDialog(dialog, 1);
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

void show_about(HINSTANCE instance, HWND owner, const AboutBox& box) {
  const INT_PTR result = DialogBoxParamA(instance, tr(box.englishTemplate, box.japaneseTemplate), owner, about_proc,
                                         reinterpret_cast<LPARAM>(&box));
  if (result == -1) report_dialog_failure();
}

void program_version(char* out, size_t size) {
  if (size == 0) return;
  out[0] = '\0';
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  DWORD ignored = 0;
  const DWORD infoSize = GetFileVersionInfoSizeA(path, &ignored);
  if (infoSize == 0) return;
  std::vector<char> info(infoSize);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!GetFileVersionInfoA(path, 0, infoSize, info.data()) ||
      !VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
      fixedSize < sizeof *fixed)
    return;
  std::snprintf(out, size, "%u.%02u", static_cast<unsigned>(HIWORD(fixed->dwFileVersionMS)),
                static_cast<unsigned>(LOWORD(fixed->dwFileVersionMS)));
}

}  // namespace frame
