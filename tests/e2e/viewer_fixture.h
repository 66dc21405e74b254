// The set-up most viewer tests share: the viewer started in a fresh folder
// named after the test, its tool bar standing, and closed when the test ends.
// A suite takes it under its own name: using View = ViewerTest; TEST_F(View, …).
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/viewer_ui.h"

namespace e2e {

class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    ASSERT_TRUE(start_viewer_ready(p, std::string(test->test_suite_name()) + "-" + test->name()));
  }
  void TearDown() override { p.close(); }

  Program p;
};

}  // namespace e2e
