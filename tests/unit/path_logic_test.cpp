// Path rules of the frame, under code page 932 and a single-byte code page.
#include "frame/path_logic.h"

#include <gtest/gtest.h>

#include <string>

using namespace frame;

namespace {
bool cp932_lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

struct Case {
  const char* path;
  size_t count;        // replace_last_chars only
  const char* tail;    // the new tail or extension
  LeadByteTest lead;
  const char* expect;  // nullptr: refused
  size_t outSize = 64;
};

// Each row through replace(case, out): a refused result leaves no partial path.
template <size_t N, typename Replace>
void expect_each(const Case (&cases)[N], Replace replace) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    char out[64] = "garbage";
    EXPECT_EQ(replace(c, out), c.expect != nullptr);
    EXPECT_STREQ(out, c.expect ? c.expect : "");
  }
}
}  // namespace

TEST(ReplaceLastChars, CountsCharactersNotBytes) {
  // "表" is 0x95 0x5C, "ｱ" (half-width) the single byte 0xB1.
  const Case cases[] = {
      {"C:\\bin\\MERIDOT5.EXE", 3, "INI", cp932_lead, "C:\\bin\\MERIDOT5.INI"},
      {"C:\\bin\\MERIDOT5.EXE", 5, "J.PDF", cp932_lead, "C:\\bin\\MERIDOTJ.PDF"},
      // A program renamed to a Japanese name: the last characters are pairs.
      {"C:\\\x95\x5C\x95\x5C", 1, "X", cp932_lead, "C:\\\x95\x5CX"},
      {"C:\\\x95\x5C\x95\x5C", 1, "X", nullptr, "C:\\\x95\x5C\x95X"},
      {"C:\\\xB1\xB1", 1, "X", cp932_lead, "C:\\\xB1X"},
      // A lead byte at the end stands alone.
      {"ab\x95", 1, "", cp932_lead, "ab"},
      {"EXE", 3, "INI", cp932_lead, "INI"},
      {"\x95\x5C", 2, "", cp932_lead, nullptr},  // one character, not two
      {"", 1, "X", cp932_lead, nullptr},
      // A result that does not fit is refused.
      {"C:\\MERIDOT5.EXE", 3, "INI", cp932_lead, nullptr, 15},
      {"C:\\MERIDOT5.EXE", 3, "INI", cp932_lead, "C:\\MERIDOT5.INI", 16},
  };
  expect_each(cases, [](const Case& c, char* out) {
    return replace_last_chars(c.path, c.count, c.tail, c.lead, out, c.outSize);
  });
}

TEST(ReplaceExtension, ReplacesFromTheFileNamesLastDot) {
  const Case cases[] = {
      {"C:\\icons\\sun.bmp", 0, ".ico", cp932_lead, "C:\\icons\\sun.ico"},
      {"C:\\icons\\sun.old.bmp", 0, ".ico", cp932_lead, "C:\\icons\\sun.old.ico"},
      {"C:\\icons\\sun", 0, ".ico", cp932_lead, "C:\\icons\\sun.ico"},
      // A dot in a folder name is no extension of the file.
      {"C:\\my.icons\\sun", 0, ".ico", cp932_lead, "C:\\my.icons\\sun.ico"},
      // "表" ends in the backslash byte: the name is "表.bmp", not ".bmp".
      {"C:\\d\\\x95\x5C.bmp", 0, ".ico", cp932_lead, "C:\\d\\\x95\x5C.ico"},
      {"C:\\d.x\\\x95\x5C", 0, ".ico", cp932_lead, "C:\\d.x\\\x95\x5C.ico"},
      {"C:\\d.x\\\x95\x5C", 0, ".ico", nullptr, "C:\\d.x\\\x95\x5C.ico"},
      {"", 0, ".ico", cp932_lead, ".ico"},
      {"C:\\sun.bmp", 0, ".ico", cp932_lead, nullptr, 8},
  };
  expect_each(cases,
              [](const Case& c, char* out) { return replace_extension(c.path, c.tail, c.lead, out, c.outSize); });
}

TEST(ReadmePath, SitsBesideTheProgramInTheUiLanguage) {
  struct ReadmeCase {
    const char* program;
    bool japanese;
    const char* expect;  // nullptr: no readme
  };
  const std::string longPath = "C:\\" + std::string(300, 'a') + "\\KALDERO5.EXE";
  const ReadmeCase cases[] = {
      {"C:\\Tools\\KALDERO5.EXE", false, "C:\\Tools\\KALDERO5.PDF"},
      {"C:\\Tools\\KALDERO5.EXE", true, "C:\\Tools\\KALDEROJ.PDF"},
      {"C:\\bin\\MERIDOT5.EXE", true, "C:\\bin\\MERIDOTJ.PDF"},
      // A folder whose last character is a pair ending in the backslash byte.
      {"C:\\\x95\x5C\\KALDERO5.EXE", true, "C:\\\x95\x5C\\KALDEROJ.PDF"},
      // A path too long for the buffer gives no readme rather than a cut one.
      {longPath.c_str(), false, nullptr},
      {"EXE", true, nullptr},
      {"EXE", false, nullptr},
  };
  for (const ReadmeCase& c : cases) {
    char out[256] = "garbage";
    EXPECT_EQ(readme_path_of(c.program, c.japanese, cp932_lead, out, sizeof out), c.expect != nullptr) << c.program;
    EXPECT_STREQ(out, c.expect ? c.expect : "") << c.program;
  }
}
