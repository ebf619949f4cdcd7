#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Base/Console.h"
#include "Base/ShowMessage.h"

TEST(ShowMessage, WithoutADisplayItLogsAndReturns) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  EXPECT_FALSE(ShowMessage_HasDisplay());
  static std::string logged;
  logged.clear();
  g_ConsoleListener = [](const char* line) { logged += line; };
  ShowMessage("Score: 100%d h\xC3\xA9");  // a game's text is never a format
  g_ConsoleListener = nullptr;
  EXPECT_EQ(logged, "Score: 100%d h\xC3\xA9\n");
}
