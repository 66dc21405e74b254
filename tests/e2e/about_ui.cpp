#include "tests/e2e/about_ui.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/pdf_association.h"
#include "tests/e2e/viewer_ui.h"

namespace e2e {

namespace {

// The box's icon: the static control of the icon style.
HWND icon_control(HWND box) {
  for (HWND w = nullptr; (w = FindWindowExA(box, w, "Static", nullptr)) != nullptr;)
    if ((GetWindowLongA(w, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return w;
  return nullptr;
}

// An icon as the program file carries it, drawn the way an icon control
// draws it: at its own size, over the dialog's face colour.
Pixels exe_icon_on_face(const std::string& exePath, int id, int w, int h) {
  Pixels px;
  HMODULE exe = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!exe) return px;
  HICON icon = static_cast<HICON>(LoadImageA(exe, MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  if (icon) {
    px = drawn_pixels(w, h, [&](HDC mem) {
      RECT all{0, 0, w, h};
      FillRect(mem, &all, GetSysColorBrush(COLOR_3DFACE));
      DrawIconEx(mem, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    });
    DestroyIcon(icon);
  }
  FreeLibrary(exe);
  return px;
}

// A point of the window's close box, found by asking the window what lies
// where along its caption.
bool close_box_point(HWND w, POINT* out) {
  const RECT r = window_rect(w);
  for (int y = r.top; y < r.top + GetSystemMetrics(SM_CYCAPTION) + 8; ++y)
    for (int x = r.right - 1; x > r.right - 60; --x)
      if (SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
        *out = {x - 3, y + 3};
        return SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(out->x, out->y)) == HTCLOSE;
      }
  return false;
}

// The version the program file carries, as the About boxes show it ("2.45").
std::string exe_version(const std::string& exe) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
  std::vector<char> info(size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  if (size == 0 || !GetFileVersionInfoA(exe.c_str(), 0, size, info.data()) ||
      !VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len))
    return "";
  char text[32];
  std::snprintf(text, sizeof text, "%u.%02u", static_cast<unsigned>(HIWORD(fixed->dwFileVersionMS)),
                static_cast<unsigned>(LOWORD(fixed->dwFileVersionMS)));
  return text;
}

}  // namespace

std::wstring control_text(HWND dialog, int id) {
  wchar_t text[1024] = {};
  GetDlgItemTextW(dialog, id, text, 1024);
  return text;
}

void about_story(const AboutCase& c) {
  SCOPED_TRACE(c.shot);
  const std::string version = exe_version(c.exe);
  ASSERT_FALSE(version.empty());
  Program p;
  ASSERT_TRUE(c.start(p));
  const std::string title = title_of(p.main);
  for (int round : {0, 1}) {
    SCOPED_TRACE(round == 0 ? "OK" : "close box");
    c.open(p, round);
    HWND box = wait_window_w(c.caption, 10000, p.pid());
    ASSERT_NE(box, nullptr);
    settle(box);
    EXPECT_EQ(GetWindow(box, GW_OWNER), p.main);
    EXPECT_FALSE(IsWindowEnabled(p.main)) << "the box is modal";
    c.checkTexts(box, std::wstring(version.begin(), version.end()));

    HWND iconControl = icon_control(box);
    ASSERT_NE(iconControl, nullptr);
    RECT ir;
    GetClientRect(iconControl, &ir);
    const int size = GetSystemMetrics(SM_CXICON);
    ASSERT_GE(ir.right, size);
    ASSERT_GE(ir.bottom, size);
    const Pixels expected = exe_icon_on_face(c.exe, c.iconId, size, size);
    ASSERT_EQ(expected.width, size);
    const POINT at = client_to_screen(iconControl, 0, 0);
    const Pixels shownIcon = grab_screen(at.x, at.y, size, size);
    EXPECT_EQ(count_differences(shownIcon, 0, 0, expected, 0, 0, size, size), 0);
    if (round == 0) screenshot(c.shot);

    POINT closeBox;
    if (round == 0) {
      click_centre(GetDlgItem(box, IDOK));
    } else {
      ASSERT_TRUE(close_box_point(box, &closeBox));
      click(closeBox.x, closeBox.y);
    }
    ASSERT_TRUE(wait_until([&] { return !IsWindow(box); }, 5000));
    EXPECT_TRUE(wait_until([&] { return IsWindowEnabled(p.main) != 0; }, 2000));
    EXPECT_TRUE(p.running());
    EXPECT_EQ(title_of(p.main), title);
  }
  p.close();
}

void help_story(const HelpCase& c) {
  SCOPED_TRACE(c.readme);
  PdfAssociation association;
  const std::string dir = fresh_dir(std::string("help-") + c.readme);
  for (const std::string& name : c.files)
    ASSERT_TRUE(CopyFileA(join(bin_dir(), name).c_str(), join(dir, name).c_str(), FALSE))
        << name << ": the build puts both manuals beside the program";
  ASSERT_TRUE(CopyFileA(join(bin_dir(), c.exeName).c_str(), join(dir, c.exeName).c_str(), FALSE));
  const std::string record = join(dir, "opened.txt");
  ASSERT_TRUE(association.use_recorder(join(bin_dir(), "pdf_recorder.exe"), record));

  Program p;
  ASSERT_TRUE(c.start(p, join(dir, c.exeName), dir));
  const std::string manual = join(dir, c.readme);

  c.help(p);
  ASSERT_TRUE(wait_until([&] { return file_exists(record); }, 15000)) << "the recorder was not started";
  const std::vector<uint8_t> bytes = read_file(record);
  const std::string opened(bytes.begin(), bytes.end());
  EXPECT_EQ(_stricmp(opened.c_str(), manual.c_str()), 0) << opened;
  settle(p.main);
  EXPECT_EQ(find_window("Error", p.pid()), nullptr);

  ASSERT_TRUE(MoveFileA(manual.c_str(), (manual + ".away").c_str()));
  DeleteFileA(record.c_str());
  c.help(p);
  HWND owner = nullptr;
  EXPECT_EQ(expect_message(p.pid(), "Error", 10000, IDOK, &owner),
            std::string("Install the readme file (") + c.readme + ")\nin the same directory.");
  EXPECT_EQ(owner, p.main);
  EXPECT_FALSE(file_exists(record));

  ASSERT_TRUE(MoveFileA((manual + ".away").c_str(), manual.c_str()));
  ASSERT_TRUE(association.remove());
  c.help(p);
  EXPECT_EQ(expect_message(p.pid(), "Error", 10000, IDOK, &owner),
            std::string("Unable to open the readme file (") + c.readme +
                ")\nbecause of being NO software to read PDF documents.");
  EXPECT_EQ(owner, p.main);
  EXPECT_TRUE(p.running());
  p.close();
}

}  // namespace e2e
