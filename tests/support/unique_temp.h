// A temporary file name of the running test's own. ctest runs test cases in
// parallel processes, so a fixed name under TempDir() would be shared.
#pragma once
#include <gtest/gtest.h>

#include <string>

namespace test_support {

inline std::string UniqueTempPath(const std::string& name) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string prefix = test ? std::string(test->test_suite_name()) + "." + test->name() + "-" : std::string();
  for (char& c : prefix)
    if (c == '/' || c == '\\') c = '_';
  return ::testing::TempDir() + prefix + name;
}

}  // namespace test_support
