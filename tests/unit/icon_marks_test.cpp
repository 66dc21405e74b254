// Transparent pixels written into a captured icon: for every form, which
// bytes a mark changes (AND bit, colour index or half of it) and which stay,
// and the files that are refused.
#include <gtest/gtest.h>

#include <vector>

#include "formats/capture_icon.h"
#include "formats/icon_layout.h"
#include "formats/icon_marks.h"

namespace {

namespace ci = fmt::capture_icon;
namespace im = fmt::icon_marks;

// An icon as a capture of this form writes it, every pixel index non-zero so
// that a cleared index shows (16 colours: 0x9A pairs, 256: 1 + position).
std::vector<uint8_t> captured_icon(uint32_t n, int colours) {
  std::vector<uint8_t> block(ci::reduced_block_size(n, colours), 0);
  ci::put_reduced_header(block.data(), n, colours);
  const size_t rows = 40 + 4 * static_cast<size_t>(colours);
  for (size_t i = rows; i < block.size(); ++i)
    block[i] = colours == 16 ? 0x9A : static_cast<uint8_t>(1 + i % 255);
  return ci::icon_file(block.data(), block.size(), n, colours);
}

struct Mark {
  int column, row;
};

TEST(IconMarks, MarkedPixelsGetAndBitAndIndexZero) {
  struct Case {
    const char* what;
    std::vector<Mark> marks;
  };
  const Case cases[] = {
      {"no marks", {}},
      {"left pixel of a byte pair", {{2, 0}}},
      {"right pixel of a byte pair", {{3, 5}}},
      {"both pixels of a pair", {{6, 9}, {7, 9}}},
      {"corners", {{0, 0}, {-1, 0}, {0, -1}, {-1, -1}}},  // -1: the last column or row
      {"a full AND byte and the next one's first bit", {{8, 1}, {9, 1}, {10, 1}, {11, 1}, {12, 1}, {13, 1}, {14, 1},
                                                         {15, 1}, {-16, 2}}},
  };
  for (uint32_t n : {16u, 32u, 48u, 64u})
    for (int colours : {16, 256})
      for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << n << "x" << n << "/" << colours << ": " << c.what);
        const std::vector<uint8_t> before = captured_icon(n, colours);
        ASSERT_FALSE(before.empty());
        std::vector<uint8_t> marks(im::kGridCells, 0);
        std::vector<uint8_t> expected = before;
        // The rule written out by its offsets: file row r holds image row
        // N - 1 - r; AND rows of 4 * ceil(N / 32) bytes after the XOR rows.
        const uint32_t bits = colours == 16 ? 4 : 8;
        const size_t xorAt = colours == 16 ? 126 : 1086;
        const size_t andAt = xorAt + n * n * bits / 8, andRow = 4 * ((n + 31) / 32);
        for (Mark m : c.marks) {
          const uint32_t k = m.column < 0 ? n + m.column : m.column, j = m.row < 0 ? n + m.row : m.row;
          marks[j * 64 + k] = 1;
          const uint32_t r = n - 1 - j;
          expected[andAt + r * andRow + k / 8] |= static_cast<uint8_t>(128 >> (k % 8));
          uint8_t& px = expected[xorAt + r * n * bits / 8 + k * bits / 8];
          px = bits == 8 ? 0 : static_cast<uint8_t>(k % 2 ? px & 0xF0 : px & 0x0F);
        }
        // Flags outside N x N are never read.
        for (size_t i = 0; i < im::kGridCells; ++i)
          if (i % 64 >= n || i / 64 >= n) marks[i] = 1;
        const std::vector<uint8_t> after = im::apply_marks(before.data(), before.size(), n, colours, marks.data());
        EXPECT_EQ(after, expected);
        EXPECT_EQ(im::any_marked(marks.data(), n), !c.marks.empty());
        fmt::icon::IconFigures f;
        EXPECT_EQ(fmt::icon::check_icon(after.data(), after.size(), after.size(), &f), fmt::icon::IconCheckResult::Ok);
      }
}

TEST(IconMarks, AndRowPaddingOfSize48StaysZero) {
  for (int colours : {16, 256}) {
    const std::vector<uint8_t> before = captured_icon(48, colours);
    const std::vector<uint8_t> all(im::kGridCells, 1);
    const std::vector<uint8_t> after = im::apply_marks(before.data(), before.size(), 48, colours, all.data());
    ASSERT_EQ(after.size(), before.size());
    const size_t andAt = after.size() - 48 * 8;
    for (size_t r = 0; r < 48; ++r)
      for (size_t b = 0; b < 8; ++b)
        EXPECT_EQ(after[andAt + r * 8 + b], b < 6 ? 0xFF : 0x00) << colours << " row " << r << " byte " << b;
  }
}

TEST(IconMarks, RefusesAFileThatIsNotThisFormsIcon) {
  const std::vector<uint8_t> good = captured_icon(32, 16);
  const std::vector<uint8_t> marks(im::kGridCells, 1);
  struct Case {
    const char* what;
    std::vector<uint8_t> file;
    uint32_t n;
    int colours;
  };
  std::vector<uint8_t> shortFile(good.begin(), good.end() - 1), longFile = good, otherHeader = good,
      otherPlanes = good;
  longFile.push_back(0);
  otherHeader[30] ^= 1;  // biHeight
  otherPlanes[10] = 1;   // a writer that sets the entry's planes
  const Case cases[] = {
      {"one byte short", shortFile, 32, 16}, {"one byte long", longFile, 32, 16},
      {"another info header", otherHeader, 32, 16}, {"directory planes 1", otherPlanes, 32, 16},
      {"another size", good, 16, 16}, {"another colour count", good, 32, 256},
      {"unsupported size", good, 33, 16}, {"empty", {}, 32, 16},
  };
  for (const Case& c : cases)
    EXPECT_TRUE(im::apply_marks(c.file.data(), c.file.size(), c.n, c.colours, marks.data()).empty()) << c.what;
}

}  // namespace
