// The icon files that happen to lie on the test machine: each opens with the
// pixels the system's own icon code draws, or is refused with an icon message.
#include <gtest/gtest.h>

#include <regex>

#include "tests/e2e/icon_ui.h"

using namespace e2e;

namespace {

// Icon files below dir (on the Z: drive, the machine's own file system),
// by their last four characters as the viewer tells them.
void find_icon_files(const std::string& dir, int depth, std::vector<std::string>& out) {
  if (depth > 20) return;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileExA(join(dir, "*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                              FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = join(dir, name);
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // Linked folders could lead back up the tree.
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) find_icon_files(path, depth + 1, out);
    } else if (name.size() >= 4 && _stricmp(name.c_str() + name.size() - 4, ".ico") == 0 && path.size() < 256) {
      out.push_back(path);
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

// Compares the view of an icon opened at 1:1 with the system's drawings of
// it on two backgrounds: where they agree the pixel is opaque and the view
// shows its colour; where they differ it is masked, and the view shows
// every masked pixel in the colour it shows the first one in.
::testing::AssertionResult view_matches_system_drawing(HWND main, const std::vector<uint8_t>& file) {
  const int w = static_cast<int>(file[26] | file[27] << 8), h = static_cast<int>(file[30] | file[31] << 8) / 2;
  const std::vector<uint32_t> onGreen = draw_icon(file, w, h, 0x00FF00), onBlue = draw_icon(file, w, h, 0x3060C0);
  if (onGreen.size() != static_cast<size_t>(w) * h || onBlue.size() != onGreen.size())
    return ::testing::AssertionFailure() << "the system could not draw it";
  auto at = [&](const std::vector<uint32_t>& v, int x, int y) { return v[static_cast<size_t>(y) * w + x]; };
  const IconPicture drawn = picture(w, h, 24, {}, [&](int x, int y) { return at(onGreen, x, y); },
                                    [&](int x, int y) { return at(onGreen, x, y) != at(onBlue, x, y); });
  settle(main);
  const Pixels px = grab_client(main);
  uint32_t maskShown = 0;
  for (size_t i = onGreen.size(); i-- > 0;)
    if (onGreen[i] != onBlue[i] && px.width > w && px.height > kStrip + h) maskShown = px.at(static_cast<int>(i % w), kStrip + static_cast<int>(i / w));
  return view_shows(main, drawn, maskShown);
}

bool is_icon_refusal(const std::string& caption, const std::string& text) {
  if (caption == "Error")
    return text == "Not an icon file with correct format." || text == "More than one icon contained in the file.";
  if (caption == "Warning")
    return text == "Unable to process an icon with zero width or height." ||
           text == "Unable to display an icon file\nexcept with 2/16/256/16M colors.";
  return false;
}

// "Kaldero - NAME [n:1]" or "Kaldero - NAME [1:n]".
bool is_caption_of(const std::string& title, const std::string& name, bool* natural) {
  const std::string head = "Kaldero - " + name + " [";
  if (title.rfind(head, 0) != 0 || title.back() != ']') return false;
  const std::string ratio = title.substr(head.size(), title.size() - head.size() - 1);
  *natural = ratio == "1:1";
  static const std::regex form("[0-9]+:1|1:[0-9]+");
  return std::regex_match(ratio, form);
}

}  // namespace

TEST(OpenIcon, IconFilesFoundOnTheMachineOpenOrAreRefused) {
  std::vector<std::string> files;
  const ULONGLONG searchStart = GetTickCount64();
  find_icon_files("Z:\\usr\\share", 0, files);
  std::printf("%zu .ico files under /usr/share (search took %llu ms)\n", files.size(),
              static_cast<unsigned long long>(GetTickCount64() - searchStart));
  if (files.empty()) GTEST_SKIP() << "no .ico file under /usr/share on this machine";
  std::sort(files.begin(), files.end());

  Program p;
  ASSERT_TRUE(start_viewer(p, "open-icon-found"));
  const std::string dir = fresh_dir("open-icon-found-files");
  const std::string marker = write_icon(dir, "MARKER.ICO", icon_file(true_colour(false)));
  const ULONGLONG start = GetTickCount64();
  const size_t kMostFiles = 60;
  int opened = 0, refused = 0, tried = 0;
  std::string lastName;
  for (const std::string& path : files) {
    if (static_cast<size_t>(tried) == kMostFiles || GetTickCount64() - start > 45000) break;
    ++tried;
    SCOPED_TRACE(path);
    const std::string name = path.substr(path.rfind('\\') + 1);
    if (name == lastName) {
      // The same caption again would not tell whether this one opened.
      choose_file(p, marker);
      ASSERT_TRUE(wait_caption(p, caption_for("MARKER.ICO")));
    }
    const std::string titleBefore = title_of(p.main);
    choose_file(p, path);
    enum { Waiting, Opened, Refused, Other } outcome = Waiting;
    bool natural = false;
    std::string said;
    wait_until([&] {
      if (!p.running()) return (outcome = Other), true;
      if (HWND dlg = find_window(kColourTitle, p.pid())) {
        press(dlg, IDOK);
        return false;
      }
      for (const char* caption : {"Error", "Warning"})
        if (HWND box = find_window(caption, p.pid())) {
          wait_until([&] { return !message_text(box).empty(); }, 2000);
          said = message_text(box);
          outcome = is_icon_refusal(caption, said) ? Refused : Other;
          press(box, IDOK);
          return true;
        }
      if (is_caption_of(title_of(p.main), name, &natural)) return (outcome = Opened), true;
      return false;
    }, 15000);
    ASSERT_NE(outcome, Waiting) << "no caption and no message: the viewer hangs";
    ASSERT_NE(outcome, Other) << (p.running() ? "unexpected message: " + said : "the viewer ended");
    if (outcome == Refused) {
      ++refused;
      std::printf("refused %s: %s\n", path.c_str(), said.c_str());
      EXPECT_EQ(title_of(p.main), titleBefore);
    } else {
      ++opened;
      std::printf("opened %s: %s\n", path.c_str(), title_of(p.main).c_str());
      lastName = name;
      if (natural) {
        EXPECT_TRUE(view_matches_system_drawing(p.main, read_file(path)));
        screenshot("open-icon-found-" + std::to_string(opened));
      }
    }
  }
  std::printf("found %zu, tried %d: %d opened, %d refused\n", files.size(), tried, opened, refused);
  RecordProperty("found", static_cast<int>(files.size()));
  RecordProperty("opened", opened);
  RecordProperty("refused", refused);
  EXPECT_TRUE(p.running());
  p.close();
}

