// What the two picture tools share: the folder and language of the pictures,
// writing them, and waiting for a window by its title in that language.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/harness.h"

namespace pictures {

struct Output {
  std::string folder;
  std::string prefix;  // before every name given to picture()
  std::string lang = GetACP() == 932 ? "ja" : "en";

  bool japanese() const { return lang == "ja"; }
  // The file name of a picture that differs between the languages.
  std::string picture(const std::string& name) const { return prefix + name + "-" + lang; }
  // Writes px as folder\file.bmp and prints the path.
  void save(const e2e::Pixels& px, const std::string& file) const {
    const std::string path = e2e::join(folder, file + ".bmp");
    if (!e2e::write_file(path, e2e::bmp_of(px))) std::printf("cannot write %s\n", path.c_str());
    else std::printf("%s\n", path.c_str());
  }
  // The window with its frame once it has painted.
  void save_window(HWND w, const std::string& name) const {
    e2e::settle(w);
    Sleep(300);
    save(e2e::grab_window(w), picture(name));
  }
  HWND wait_dialog(const wchar_t* english, const wchar_t* japaneseTitle, DWORD pid) const {
    return e2e::wait_window_w(japanese() ? japaneseTitle : english, 10000, pid);
  }
  // The tool bar strip from its left edge to the right edge of its last
  // button plus `beyond` pixels, as the button table places them.
  e2e::Pixels toolbar(HWND main, HWND lastFiller, int height, int beyond) const {
    const POINT strip = e2e::client_to_screen(main, 0, 0);
    RECT filler{};
    GetWindowRect(lastFiller, &filler);
    return e2e::grab_screen(strip.x, strip.y, filler.left - strip.x + beyond, height);
  }
};

}  // namespace pictures
