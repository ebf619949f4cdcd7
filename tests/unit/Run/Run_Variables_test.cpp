#include <gtest/gtest.h>

#include "Code/Code_Main.h"
#include "Code/Code_Constant.h"
#include "IO/IO_Feed.h"
#include "IO/IO_Main.h"
#include "Run_TestWorld.h"

void Variable_Init_World();
void Constant_Init_World();

using namespace testworld;

namespace {
class RunVariables : public ::testing::Test {
 protected:
  CInstance* self = nullptr;
  void SetUp() override {
    Reset();
    Code_Init();
    Variable_Init_World();
    Constant_Init_World();
    int a = Object_Add("a");
    AddRoom({{a, {10, 20}}});
    ASSERT_TRUE(StartGame());
    self = g_RunRoom->active[0];
  }
  void TearDown() override { Reset(); }
  void Run(const char* text) {
    CCode* code = Code_CompileUnit(text, "test", false);
    ASSERT_NE(code, nullptr) << text;
    Code_ExecuteUnit(code, self, self);
  }
  double Eval(const char* expression) {
    CCode code(expression, true);
    EXPECT_TRUE(code.Compile("test")) << expression;
    RValue r = {VALUE_REAL, nullptr, 0};
    Code_Evaluate(self, self, &code, &r);
    double v = r.val;
    RValue_Free(&r);
    return v;
  }
};

TEST_F(RunVariables, MotionVariablesMoveEachOtherAlong) {
  Run("speed = 2; direction = 180;");
  EXPECT_FLOAT_EQ(self->hspeed, -2);
  Run("vspeed = 2;");
  EXPECT_FLOAT_EQ(self->direction, 225);
  Run("x = 40; y = 50;");
  EXPECT_TRUE(self->bbox_dirty);
  EXPECT_EQ(Eval("x + y"), 90);
  EXPECT_EQ(Eval("xstart"), 10);
}

TEST_F(RunVariables, AlarmsAreAnArrayOfTwelve) {
  Run("alarm[3] = 7; alarm[12] = 5;");
  EXPECT_EQ(self->GetAlarm(3), 7);
  EXPECT_EQ(Eval("alarm[3]"), 7);
  EXPECT_EQ(Eval("alarm[12]"), -1);
  EXPECT_EQ(Eval("alarm[0]"), -1);
}

TEST_F(RunVariables, RoomAndGameGlobals) {
  Run("room_caption = \"Hi\"; score = 12; room_speed = 0; background_color = c_red; view_xview[2] = 33;");
  EXPECT_STREQ(g_RunRoom->caption, "Hi");
  EXPECT_EQ(g_Score, 12);
  EXPECT_EQ(g_RunRoom->speed, 0);
  EXPECT_EQ(g_RunRoom->colour, 0x0000FFu);
  EXPECT_EQ(g_RunRoom->views[2].xview, 33);
  EXPECT_EQ(Eval("view_xview[9]"), 0);  // outside the eight slots
  EXPECT_EQ(Eval("room_width"), 640);
  EXPECT_EQ(Eval("id"), self->id);
  EXPECT_EQ(Eval("ev_user3"), EV_OTHER_USER0 + 3);
  EXPECT_EQ(Eval("vk_left"), 37);
}

TEST_F(RunVariables, GlobalDotNamesOfInstanceBuiltInsAreUserGlobals) {
  Run("global.x = 300; global.speed = 4; global.visible = 0; global.alarm[0] = 9; global.score = 5;");
  EXPECT_FLOAT_EQ(self->x, 10);
  EXPECT_FLOAT_EQ(self->speed, 0);
  EXPECT_TRUE(self->visible);
  EXPECT_EQ(self->GetAlarm(0), -1);
  EXPECT_EQ(Eval("global.x + global.speed + global.visible + global.alarm[0]"), 313);
  // A game built-in stays the game's.
  EXPECT_EQ(g_Score, 5);
  EXPECT_EQ(Eval("x"), 10);
}

TEST_F(RunVariables, LivesAndHealthRunOutOnce) {
  int a = self->object_index;
  LogOn(a, EV_OTHER, EV_OTHER_NO_MORE_LIVES, "no more lives");
  LogOn(a, EV_OTHER, EV_OTHER_NO_MORE_HEALTH, "no more health");
  Object_BuildEventLists();
  Run("lives = 2; lives -= 1; lives -= 1; lives -= 1; health = 0; health = -5;");
  std::vector<std::string> want = {"a:no more lives", "a:no more health"};
  EXPECT_EQ(Log(), want);
}

TEST_F(RunVariables, InputReadsTheStep) {
  IO_Clear();
  IO_Feed_KeyDown(68);
  IO_Feed_Char('d');
  IO_Update();
  EXPECT_EQ(Eval("keyboard_lastkey"), 68);
  Run("s = keyboard_string; keyboard_string = \"\";");
  EXPECT_STREQ(IO_GetTypedText(), "");
  IO_Clear();
}
}  // namespace
