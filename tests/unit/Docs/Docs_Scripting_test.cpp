// The scripting reference names every built-in variable and constant the
// runner registers, so a name added to the runner without a line in the
// reference fails here. Each check runs in a fresh process, where only the
// runner has registered names (other tests add their own).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include <algorithm>
#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "Code/Code_Constant.h"
#include "Code/Code_Main.h"
#include "Function/Function_Init.h"
#include "Variable/Variable_BuiltIn.h"

void Constant_Init_World();
void Variable_Init_World();

namespace {

// Every name written in backticks in the reference's text (not in its
// fenced examples, whose fences would pair the backticks wrongly).
std::set<std::string> NamesInReference() {
  std::ifstream in(std::string(DOCS_DIR) + "/scripting.md");
  std::string s, line;
  bool fenced = false;
  while (std::getline(in, line)) {
    if (line.rfind("```", 0) == 0) fenced = !fenced;
    else if (!fenced) s += line + "\n";
  }
  std::set<std::string> names;
  static const std::regex quoted("`([^`]+)`");
  static const std::regex word("[A-Za-z_][A-Za-z_0-9]*");
  for (auto it = std::sregex_iterator(s.begin(), s.end(), quoted); it != std::sregex_iterator(); ++it) {
    std::string inside = (*it)[1];
    for (auto w = std::sregex_iterator(inside.begin(), inside.end(), word); w != std::sregex_iterator(); ++w)
      names.insert((*w)[0]);
  }
  return names;
}

void RegisterEverything() {
  if (Variable_BuiltIn_Find("argument0") < 0) Code_Init();
  if (!Constant_Find("c_white")) Constant_Init_World();
  if (Variable_BuiltIn_Find("x") < 0) Variable_Init_World();
  InitCWLFunctions();
}

// True in the fresh process; in the test's own process, runs the test again
// in a new one and checks that it passed.
bool InFreshProcess() {
  if (std::getenv("DOCS_SCRIPTING_CHILD")) return true;
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string filter = std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
  pid_t child = fork();
  if (child == 0) {
    setenv("DOCS_SCRIPTING_CHILD", "1", 1);
    char* args[] = {const_cast<char*>("unit_tests"), filter.data(), nullptr};
    execv("/proc/self/exe", args);
    _exit(127);
  }
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "names missing from docs/scripting.md (see above)";
  return false;
}

std::string Missing(const std::vector<std::string>& registered) {
  std::set<std::string> written = NamesInReference();
  std::string missing;
  std::vector<std::string> sorted = registered;
  std::sort(sorted.begin(), sorted.end());
  for (const std::string& name : sorted)
    if (!written.count(name)) missing += name + " ";
  return missing;
}

TEST(DocsScripting, EveryBuiltInVariableIsDescribed) {
  if (!InFreshProcess()) return;
  RegisterEverything();
  std::vector<std::string> names;
  for (int i = 0; i < Variable_BuiltIn_Count(); ++i)
    if (const RVariableRoutine* v = Variable_BuiltIn_Get(i)) names.push_back(v->name);
  EXPECT_EQ(Missing(names), "");
}

TEST(DocsScripting, EveryBuiltInConstantIsListed) {
  if (!InFreshProcess()) return;
  RegisterEverything();
  EXPECT_EQ(Missing(Constant_Names()), "");
}

}  // namespace
