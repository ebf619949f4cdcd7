#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "Base/Console.h"
#include "Base/File_Folders.h"
#include "Base/IniFile.h"
#include "Code/Code_Context.h"
#include "Code/Code_Main.h"
#include "Debug/Debug_Main.h"
#include "IO/IO_Feed.h"
#include "IO/IO_Main.h"
#include "Option/Option_CommandLine.h"
#include "Option/Option_Main.h"
#include "Run_TestWorld.h"

void Variable_Init_World();
void Constant_Init_World();

using namespace testworld;

namespace {
RValue Real(double d) { return RValue{VALUE_REAL, nullptr, d}; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// A running game in debug mode with its debugger form (no display), and
// save and game folders of its own.
class DebuggerGame : public ::testing::Test {
 protected:
  std::string root, save, game;
  int thing = -1;

  void SetUp() override {
    char pattern[] = "/tmp/debugger_testXXXXXX";
    root = mkdtemp(pattern);
    save = root + "/save/";
    game = root + "/game/";
    ASSERT_EQ(system(("mkdir -p '" + game + "'").c_str()), 0);
    File_SetSaveDirectory(save.c_str());
    File_SetGameDirectory(game.c_str());
    Reset();
    Code_Init();
    Variable_Init_World();
    Constant_Init_World();
    Debug_Mode = 1;
    Debug_Flags = DEBUG_FLAG_FPS;
  }
  void Start(int instances = 2, int sprite = -1) {
    thing = Object_Add("obj_thing");
    Object_Find(thing)->sprite_index = sprite;
    std::vector<std::pair<int, std::pair<float, float>>> placed;
    for (int i = 0; i < instances; ++i) placed.push_back({thing, {10.0f * i, 5}});
    AddRoom(placed);
    Object_LinkParents();
    ASSERT_TRUE(StartGame());
    Run_Running = 1;
    ASSERT_NE(g_DebugForm, nullptr);
    Debug_Update();  // loads the settings
  }
  void TearDown() override {
    Debug_Close();
    Run_Running = 0;
    Reset();
    Debug_Mode = 0;
    Debug_Flags = 0;
    g_GameOptions = GameOptions();
    File_SetSaveDirectory(nullptr);
    File_SetGameDirectory(nullptr);
    ASSERT_EQ(system(("rm -rf '" + root + "'").c_str()), 0);
  }
  DebugForm* F() { return g_DebugForm; }
};
}  // namespace

TEST(DebuggerValues, RealsTakeTheFirstFormatThatHoldsAndWholeNumbersShowInFull) {
  EXPECT_EQ(Debug_ValueToString(Real(1.0 / 3)), "0.3333333333");
  EXPECT_EQ(Debug_ValueToString(Real(0.25)), "0.25");
  EXPECT_EQ(Debug_ValueToString(Real(0.5)), "0.50");
  EXPECT_EQ(Debug_ValueToString(Real(1.2345)), "1.2345");
  EXPECT_EQ(Debug_ValueToString(Real(2)), "2");
  EXPECT_EQ(Debug_ValueToString(Real(-0.0)), "0");
  // Beyond the 32-bit range ("%d" would wrap).
  EXPECT_EQ(Debug_ValueToString(Real(1e10)), "10000000000");
  EXPECT_EQ(Debug_ValueToString(Real(-3e12)), "-3000000000000");
  EXPECT_EQ(Debug_ValueToString(Real(1e20)), "100000000000000000000");
  RValue s{};
  RValue_SetString(&s, "text 1.5");
  EXPECT_EQ(Debug_ValueToString(s), "text 1.5");
  RValue_Free(&s);
}

TEST_F(DebuggerGame, WatchesShowValuesAndFailuresLeaveTheGameAlone) {
  Start();
  g_GameOptions.show_errors = true;
  g_GameOptions.errors_fatal = true;  // even then a watch's error is not fatal
  Error_SetOccurred(false);
  for (const char* e : {"1/3", "\"a\" + \"b\"", "1 +", "no_such_variable", "instance_create(0, 0, 999)", "x"})
    Debug_AddWatch(F(), e);
  size_t messages = F()->children[DEBUG_MESSAGES].rows.size();
  std::string last = Error_Last();
  Debug_Update();
  std::vector<std::string> values;
  for (const DebugWatch& w : F()->watches) values.push_back(w.value);
  std::vector<std::string> want = {"0.3333333333", "ab", DEBUG_UNABLE, DEBUG_UNABLE, DEBUG_UNABLE, "0"};
  EXPECT_EQ(values, want);
  EXPECT_EQ(F()->watchRows.size(), 6u);
  EXPECT_EQ(F()->watchRows[2][1], DEBUG_UNABLE);
  EXPECT_EQ(F()->children[DEBUG_MESSAGES].rows.size(), messages);  // nothing logged
  EXPECT_FALSE(Error_Occurred());
  EXPECT_EQ(Error_Last(), last);
  EXPECT_FALSE(Error_Aborted());
  EXPECT_EQ(g_PendingTransition, TRANSITION_NONE);
  EXPECT_TRUE(g_GameOptions.show_errors);
  EXPECT_FALSE(g_DebugEvaluatingWatches);
  // The game's own errors are reported again afterwards.
  g_GameOptions.show_errors = false;
  g_GameOptions.errors_fatal = false;
  Error_Show_Action("after the watches", false);
  EXPECT_TRUE(Error_Occurred());
}

TEST_F(DebuggerGame, WatchCommandsEditTheListAndItsRows) {
  Start();
  EXPECT_EQ(F()->watchRows, (std::vector<std::vector<std::string>>{{"Expressions", ""}}));
  Debug_AddWatch(F(), "1");
  Debug_AddWatch(F(), "2");
  Debug_AddWatch(F(), "3");
  Debug_Update();
  Debug_ChangeWatch(F(), 1, "20");
  Debug_Update();
  EXPECT_EQ(F()->watchRows[1], (std::vector<std::string>{"20", "20"}));
  Debug_Select(F(), -1, 2);
  Debug_Wheel(F(), -1, 1);  // down, kept within the rows
  EXPECT_EQ(F()->watchSelection, 2);
  Debug_Wheel(F(), -1, -1);
  EXPECT_EQ(F()->watchSelection, 1);
  Debug_Command(F(), DEBUG_CMD_DELETE_WATCH);
  ASSERT_EQ(F()->watches.size(), 2u);
  EXPECT_EQ(F()->watches[1].expression, "3");
  Debug_DeleteWatch(F(), 5);  // past the list: nothing
  EXPECT_EQ(F()->watches.size(), 2u);
  Debug_Command(F(), DEBUG_CMD_CLEAR_WATCHES);
  EXPECT_TRUE(F()->watches.empty());
  EXPECT_TRUE(F()->watchRows.empty());
}

TEST_F(DebuggerGame, LocalsOpenByIdByObjectNameAndReuseWindowEight) {
  Start(8);
  const auto& active = g_RunRoom->active;
  std::string first = std::to_string(active[0]->id);
  EXPECT_EQ(Debug_OpenLocalsWindow(F(), first.c_str()), DEBUG_LOCALS_FIRST);
  const DebugChildWindow& w = F()->children[DEBUG_LOCALS_FIRST];
  EXPECT_EQ(w.caption, "Instance Var: obj_thing (" + first + ")");
  ASSERT_EQ(w.rows.size(), 49u);
  EXPECT_EQ(w.rows[0], (std::vector<std::string>{"x", "0"}));
  EXPECT_EQ(w.rows[9], (std::vector<std::string>{"id", first}));
  // The same id again: the window already showing it.
  EXPECT_EQ(Debug_OpenLocalsWindow(F(), first.c_str()), DEBUG_LOCALS_FIRST);
  EXPECT_EQ(Debug_OpenLocalsWindow(F(), "0"), -1);  // the id 0: no instance
  EXPECT_EQ(Debug_OpenLocalsWindow(F(), "no_object"), -1);
  EXPECT_EQ(Debug_OpenLocalsWindow(F(), "obj_thing"), DEBUG_LOCALS_FIRST);  // its first instance
  for (int i = 1; i < 6; ++i)
    EXPECT_EQ(Debug_OpenLocalsWindow(F(), std::to_string(active[i]->id).c_str()), DEBUG_LOCALS_FIRST + i);
  EXPECT_EQ(Debug_OpenLocalsWindow(F(), std::to_string(active[6]->id).c_str()), DEBUG_LOCALS_LAST);
  EXPECT_EQ(F()->children[DEBUG_LOCALS_LAST].instanceId, active[6]->id);
  // A double-click on a locals row watches that instance's variable.
  Debug_Activate(F(), DEBUG_LOCALS_LAST, 0);
  ASSERT_EQ(F()->watches.size(), 1u);
  EXPECT_EQ(F()->watches[0].expression, "(" + std::to_string(active[6]->id) + ").x");
  EXPECT_EQ(F()->watches[0].value, "60");
  // An instance that goes empties its window.
  active[6]->marked = true;
  Debug_Update();
  EXPECT_TRUE(F()->children[DEBUG_LOCALS_LAST].rows.empty());
  EXPECT_EQ(F()->children[DEBUG_LOCALS_LAST].caption, "Instance Var: Unknown (-1)");
}

TEST_F(DebuggerGame, GlobalsAndInstancesRows) {
  Start();
  Debug_Command(F(), DEBUG_CMD_SHOW_GLOBALS);
  Debug_Command(F(), DEBUG_CMD_SHOW_INSTANCES);
  const auto& globals = F()->children[DEBUG_GLOBALS].rows;
  ASSERT_EQ(globals.size(), 24u);
  EXPECT_EQ(globals[2][0], "mouse_button");
  EXPECT_EQ(globals[3][0], "mouse_button");
  EXPECT_EQ(globals[10], (std::vector<std::string>{"lives", "-1"}));
  const auto& instances = F()->children[DEBUG_INSTANCES].rows;
  ASSERT_EQ(instances.size(), 2u);
  EXPECT_EQ(instances[1][1], "obj_thing");
  EXPECT_EQ(instances[1][2], "<undefined>");
  Debug_Activate(F(), DEBUG_GLOBALS, 9);
  EXPECT_EQ(F()->watches.back().expression, "score");
}

TEST_F(DebuggerGame, SettingsFileOfOneWatchAndTheGlobalsWindow) {
  Start();
  Debug_AddWatch(F(), "x");
  F()->children[DEBUG_GLOBALS].remembered = {10, 20, 300, 200};
  Debug_Command(F(), DEBUG_CMD_SHOW_GLOBALS);
  Debug_SaveSettings();
  std::string want =
      "[]\r\nVisible=false\r\n"
      "[LocalsWindow8]\r\nVisible=false\r\n[LocalsWindow7]\r\nVisible=false\r\n"
      "[LocalsWindow6]\r\nVisible=false\r\n[LocalsWindow5]\r\nVisible=false\r\n"
      "[LocalsWindow4]\r\nVisible=false\r\n[LocalsWindow3]\r\nVisible=false\r\n"
      "[MessagesWindow]\r\nVisible=false\r\n[InstancesWindow]\r\nVisible=false\r\n"
      "[GlobalsWindow]\r\nInstanceID=0\r\nright=300\r\nleft=10\r\ntop=20\r\nbottom=200\r\nVisible=true\r\n"
      "[DebugForm]\r\nNumWatches=1\r\nWatch0=x\r\nFPSVisible=true\r\n";
  EXPECT_EQ(ReadFile(save + "Debug.ini"), want);
}

TEST_F(DebuggerGame, SettingsWithoutWatchesAndFpsOffReadBack) {
  std::ofstream(game + "Debug.ini", std::ios::binary)
      << "[DebugForm]\r\nFPSVisible=false\r\nNumWatches=3\r\nWatch0=a\r\nWatch2=c\r\n"
         "[InstancesWindow]\r\nVisible=true\r\nleft=5\r\ntop=6\r\nright=105\r\nbottom=56\r\n";
  Start();
  EXPECT_EQ(Debug_Flags & DEBUG_FLAG_FPS, 0u);
  EXPECT_FALSE(F()->fpsChecked);
  ASSERT_EQ(F()->watches.size(), 2u);  // Watch1 is missing
  EXPECT_EQ(F()->watches[1].expression, "c");
  EXPECT_TRUE(F()->children[DEBUG_INSTANCES].visible);
  EXPECT_EQ(F()->children[DEBUG_INSTANCES].rect.right, 105);
  Debug_ClearWatches(F());
  Debug_SaveSettings();
  IniFile ini("Debug.ini", true);  // now from the save folder
  EXPECT_STREQ(ini.GetKey("DebugForm", "NumWatches")->value, "0");
  EXPECT_STREQ(ini.GetKey("DebugForm", "FPSVisible")->value, "false");
  // Keys that were there keep their texts; no new watch key is written.
  EXPECT_STREQ(ini.GetKey("DebugForm", "Watch0")->value, "a");
  EXPECT_EQ(ini.GetKey("DebugForm", "Watch1"), nullptr);
}

TEST_F(DebuggerGame, MessagesCopyAsUtf8AndTheWheelMovesTheSelection) {
  Start();
  DebugChildWindow& m = F()->children[DEBUG_MESSAGES];
  m.rows.clear();
  m.selected.clear();
  DebugMessages_Add(F(), "h\xC3\xA9llo\n");
  DebugMessages_Add(F(), "\xE2\x82\xAC second\n");
  DebugMessages_Add(F(), "third\n");
  EXPECT_EQ(DebugMessages_CopyText(F()), "h\xC3\xA9llo\n\xE2\x82\xAC second\nthird\n");  // none selected: all
  Debug_Select(F(), DEBUG_MESSAGES, 1);
  EXPECT_EQ(DebugMessages_CopyText(F()), "\xE2\x82\xAC second\n");
  Debug_Wheel(F(), DEBUG_MESSAGES, -1);  // a notch down moves a child's selection down
  EXPECT_EQ(DebugMessages_CopyText(F()), "third\n");
  Debug_Wheel(F(), DEBUG_MESSAGES, -1);  // past the last line: nothing
  EXPECT_EQ(DebugMessages_CopyText(F()), "third\n");
  Debug_Select(F(), DEBUG_MESSAGES, 0, true);
  EXPECT_EQ(DebugMessages_CopyText(F()), "h\xC3\xA9llo\nthird\n");
}

TEST_F(DebuggerGame, CommandsPauseStepRunAndStop) {
  Start();
  Debug_Command(F(), DEBUG_CMD_STEP);  // not paused: nothing
  EXPECT_EQ(Run_StepCount, 0);
  Debug_Command(F(), DEBUG_CMD_PAUSE);
  EXPECT_TRUE(Run_Paused);
  Debug_Command(F(), DEBUG_CMD_STEP);
  Debug_Command(F(), DEBUG_CMD_STEP);
  EXPECT_EQ(Run_StepCount, 2);
  Debug_Command(F(), DEBUG_CMD_RUN);
  EXPECT_FALSE(Run_Paused);
  Debug_Command(F(), DEBUG_ID_DISPLAY_FPS, false);
  EXPECT_EQ(Debug_Flags & DEBUG_FLAG_FPS, 0u);
  Debug_Command(F(), DEBUG_CMD_STOP);
  EXPECT_EQ(Run_Running, 0);
  EXPECT_FALSE(F()->shown);  // the quit hides the form
}

TEST_F(DebuggerGame, CtrlClickOnAnInstanceOpensItsLocals) {
  Start(1, AddSprite(10, 10));
  int id = g_RunRoom->active[0]->id;
  IO_Feed_MouseMove(4, 8);
  Run_Step();
  EXPECT_EQ(F()->labels[2], "mouse id: " + std::to_string(id));
  EXPECT_FALSE(F()->children[DEBUG_LOCALS_FIRST].visible);  // no Ctrl, no click
  IO_Feed_KeyDown(17);
  IO_Feed_MouseButton(1, true);
  Run_Step();
  EXPECT_TRUE(F()->children[DEBUG_LOCALS_FIRST].visible);
  EXPECT_EQ(F()->children[DEBUG_LOCALS_FIRST].instanceId, id);
  IO_Feed_MouseButton(1, false);
  IO_Feed_KeyUp(17);
  IO_Feed_MouseMove(300, 300);
  Run_Step();
  EXPECT_EQ(F()->labels[2], "mouse id: ");
}

TEST_F(DebuggerGame, ClosingSavesDeletesTheFormAndTheGameRunsOn) {
  Start();
  Debug_AddWatch(F(), "1 + 1");
  Debug_Close();
  EXPECT_EQ(g_DebugForm, nullptr);
  EXPECT_EQ(g_ConsoleListener, nullptr);
  EXPECT_EQ(Run_Running, 1);
  Run_Step();  // no form: nothing to refresh
  IniFile ini("Debug.ini", true);
  ASSERT_NE(ini.GetKey("DebugForm", "Watch0"), nullptr);
  EXPECT_STREQ(ini.GetKey("DebugForm", "Watch0")->value, "1 + 1");
}

TEST_F(DebuggerGame, AHugeWatchCountInTheSettingsReadsOnlyTheWatchesThere) {
  std::ofstream(game + "Debug.ini", std::ios::binary)
      << "[DebugForm]\r\nNumWatches=4000000000\r\nWatch7=b\r\nWatch01=no\r\nWatch0=a\r\nWatch-1=no\r\n"
         "[GlobalsWindow]\r\nVisible=true\r\nleft=1e99\r\ntop=x\r\nright=-5\r\nbottom=7\r\n";
  Start();
  ASSERT_EQ(F()->watches.size(), 2u);
  EXPECT_EQ(F()->watches[0].expression, "a");
  EXPECT_EQ(F()->watches[1].expression, "b");
  EXPECT_TRUE(F()->children[DEBUG_GLOBALS].visible);
  EXPECT_FALSE(F()->children[DEBUG_GLOBALS].remembered.HasWidth());
}
