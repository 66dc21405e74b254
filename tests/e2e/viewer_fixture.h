// The set-up most tests share: a program started in a fresh folder named
// after the test (dir_name), its tool bar standing, and closed when the test
// ends. A suite takes it under its own name: using View = ViewerTest; TEST_F(View, …).
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/capture_ui.h"
#include "tests/e2e/viewer_ui.h"

namespace e2e {

template <bool (*start)(Program&, const std::string&, const std::vector<std::pair<std::string, std::string>>&)>
class StartedTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(start(p, dir_name, {})); }
  void TearDown() override { p.close(); }

  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string dir_name = std::string(test->test_suite_name()) + "-" + test->name();
  Program p;
};

using ViewerTest = StartedTest<start_viewer_ready>;
using CaptureTest = StartedTest<start_meridot>;

}  // namespace e2e
