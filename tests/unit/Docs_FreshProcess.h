// Runs a test in a fresh process, where only the runner has registered its
// names (other tests of this program add their own).
#pragma once
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

// True in the fresh process; in the test's own process, runs the test again
// in a new one, checks that it passed and returns false.
inline bool Docs_InFreshProcess() {
  if (std::getenv("DOCS_TEST_CHILD")) return true;
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string filter = std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
  pid_t child = fork();
  if (child == 0) {
    setenv("DOCS_TEST_CHILD", "1", 1);
    char* args[] = {const_cast<char*>("unit_tests"), filter.data(), nullptr};
    execv("/proc/self/exe", args);
    _exit(127);
  }
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the reference does not match the runner (see above)";
  return false;
}
