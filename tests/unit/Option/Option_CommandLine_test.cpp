#include <gtest/gtest.h>

#include "Option/Option_CommandLine.h"
#include "Support/Support_DLL.h"

namespace {
void Parse(std::initializer_list<const char*> words) {
  std::vector<char*> argv{const_cast<char*>("runner")};
  for (const char* w : words) argv.push_back(const_cast<char*>(w));
  ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}
}  // namespace

TEST(CommandLine, OptionsSetTheirSwitchesAndAParseStartsFromTheDefaults) {
  Parse({"-ext", "-noaudio", "-game", "g.win", "-bp", "s@3", "-record"});
  EXPECT_TRUE(g_DLL_NoCalls);
  EXPECT_EQ(g_NoAudio, 1);
  EXPECT_EQ(g_CommandLine.game, "g.win");
  EXPECT_EQ(g_CommandLine.breakpoint, "s@3");
  EXPECT_TRUE(g_CommandLine.record.empty());  // no file after it: ignored
  Parse({"-debug"});
  EXPECT_FALSE(g_DLL_NoCalls);
  EXPECT_EQ(g_NoAudio, 0);
  EXPECT_TRUE(g_CommandLine.debug);
  EXPECT_TRUE(g_CommandLine.game.empty());
}
