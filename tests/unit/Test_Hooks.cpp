// Every test runs with the areas wired together as the runner wires them at
// start-up.
#include <gtest/gtest.h>

#include "StartUp/StartUp_Main.h"

namespace {
class StartUpHooks : public ::testing::Environment {
 public:
  void SetUp() override { StartUp_InstallHooks(); }
};
const auto* g_Hooks = ::testing::AddGlobalTestEnvironment(new StartUpHooks);
}  // namespace
