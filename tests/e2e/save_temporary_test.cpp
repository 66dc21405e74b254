// Where a save puts its temporary file: beside the target even in a folder
// as deep as a path allows, and what a killed save left there is cleaned up
// at the next one without touching anyone else's file.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/harness.h"
#include "tests/e2e/save_ui.h"
#include "tests/e2e/viewer_ui.h"

using namespace e2e;

namespace {

// The viewer showing a small BMP, ready to save it as TIF.
class SaveTemporary : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto bmp = make_bmp24(7, 5, [](int x, int y) { return x < 3 ? 0xFF0000u : (y < 2 ? 0x00FF00u : 0x0000FFu); });
    dir = show_file(p, "save-temporary", "photo.bmp", bmp);
    ASSERT_FALSE(dir.empty());
  }
  void TearDown() override { p.close(); }

  Program p;
  std::string dir;
};

TEST_F(SaveTemporary, SavesIntoAFolderAsDeepAsTheDialogAllows) {
  const std::string shallow = join(dir, "a.tif");
  ASSERT_EQ(save_answered(p, shallow), saved_message(shallow));
  const std::vector<uint8_t> want = read_file(shallow);
  ASSERT_FALSE(want.empty());

  // Folders down to 250 bytes with the last backslash: the file's path is
  // then 255 bytes, the most the save dialog returns, and the usual
  // temporary name would not fit beside it.
  std::string deep = dir;
  while (deep.size() + 1 < 250) {
    deep = join(deep, std::string(std::min<size_t>(60, 250 - deep.size() - 2), 'd'));
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep;
  }
  ASSERT_EQ(deep.size() + 1, 250u);
  HANDLE usual = CreateFileA(join(deep, "~kal1A2B.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_EQ(usual, INVALID_HANDLE_VALUE) << "a name of 12 characters is too long here";
  const std::string target = join(deep, "a.tif");
  EXPECT_EQ(save_answered(p, target), saved_message(target));
  EXPECT_EQ(read_file(target), want) << "the same bytes as the save into a short folder";
  EXPECT_EQ(files_in(deep), (std::vector<std::string>{"a.tif"})) << "no temporary file stays";
}

TEST_F(SaveTemporary, StaleTemporaryFilesOfTheViewerAreRemovedAtTheNextSave) {
  const std::vector<uint8_t> left = {'l', 'e', 'f', 't'};
  // What killed saves left behind, a save another instance holds open, and
  // names that only look like the viewer's (the capture program's among them).
  const std::vector<std::string> stale = {"~kal1A2B.tmp", "~KAL00FF.TMP", "~kal7"};
  const std::vector<std::string> kept = {"~kal3C4D.tmp", "~kal1A2B.tmp.txt", "~kal12345.tmp", "~kalendar.tmp",
                                         "~mrd1A2B.tmp"};
  for (const auto& name : stale) ASSERT_TRUE(write_file(join(dir, name), left));
  for (const auto& name : kept) ASSERT_TRUE(write_file(join(dir, name), left));
  HANDLE held = CreateFileA(join(dir, "~kal3C4D.tmp").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  const std::string target = join(dir, "a.tif");
  EXPECT_EQ(save_answered(p, target), saved_message(target));
  CloseHandle(held);
  std::vector<std::string> want = kept;
  want.push_back("a.tif");
  want.push_back("photo.bmp");
  std::sort(want.begin(), want.end());
  EXPECT_EQ(files_in(dir), want);
  for (const auto& name : kept) EXPECT_EQ(read_file(join(dir, name)), left) << name;
}

}  // namespace
