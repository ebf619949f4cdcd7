// Every test runs with the areas wired together as the runner wires them at
// start-up.
#include <gtest/gtest.h>

#include "Graphics_API/Window_Main.h"
#include "StartUp/StartUp_Main.h"

namespace {
class StartUpHooks : public ::testing::Environment {
 public:
  void SetUp() override { StartUp_InstallHooks(); }
  // The window and device some tests leave open go before the process ends,
  // so that no graphics driver thread is running when the leak check runs.
  void TearDown() override { Window_Destroy(); }
};
const auto* g_Hooks = ::testing::AddGlobalTestEnvironment(new StartUpHooks);
}  // namespace
