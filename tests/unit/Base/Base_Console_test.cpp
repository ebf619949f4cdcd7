#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Base/Console.h"

namespace {
std::vector<std::string> g_lines;
}

TEST(Console, LinesReachTheListenerBoundedAndUnformatted) {
  g_lines.clear();
  g_ConsoleListener = [](const char* line) { g_lines.push_back(line); };
  g_Console.Output("Room %d: %s\n", 3, "start");
  g_Console.Print("100%s of a game's text\n");  // printed as it stands
  g_Console.Output("%s\n", std::string(10000, 'x').c_str());
  g_Console.Output(nullptr);
  g_ConsoleListener = nullptr;
  ASSERT_EQ(g_lines.size(), 3u);
  EXPECT_EQ(g_lines[0], "Room 3: start\n");
  EXPECT_EQ(g_lines[1], "100%s of a game's text\n");
  EXPECT_EQ(g_lines[2].size(), 4095u);
  EXPECT_EQ(g_lines[2].back(), '\n');  // a cut line still ends its line
}
