#include <gtest/gtest.h>

#include "Kivo/Kivo_Pause.h"
#include "Run_TestWorld.h"
#include "IO/IO_Feed.h"
#include "IO/IO_Main.h"
#include "Run/Run_Services.h"

using namespace testworld;

namespace {
class RunStep : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  void Start() {
    Object_LinkParents();
    ASSERT_TRUE(StartGame());
  }
  // One step and the transition after it, as a frame does.
  void Frame() {
    Run_Step();
    Run_HandleTransition();
  }
};

TEST_F(RunStep, PhasesRunInTheirFixedOrder) {
  int a = Object_Add("a");
  LogOn(a, EV_CREATE, 0, "create");
  LogOn(a, EV_OTHER, EV_OTHER_GAME_START, "game start");
  LogOn(a, EV_OTHER, EV_OTHER_ROOM_START, "room start");
  LogOn(a, EV_STEP, EV_STEP_BEGIN, "begin step");
  LogOn(a, EV_ALARM, 3, "alarm 3");
  LogOn(a, EV_KEYBOARD, VK_NOKEY, "no key");
  LogOn(a, EV_MOUSE, EV_MOUSE_NO_BUTTON, "no button");
  LogOn(a, EV_STEP, EV_STEP_NORMAL, "step");
  LogOn(a, EV_STEP, EV_STEP_END, "end step");
  LogOn(a, EV_DRAW, 0, "draw");
  int line = TimeLine_Create("line");
  TimeLine_Data(line)->AddMoment(0)->code = Code([](CInstance*, CInstance*) { Log().push_back("a:moment 0"); });
  On(a, EV_CREATE, 0, [line](CInstance* self, CInstance*) {
    Log().push_back("a:create");
    self->SetAlarm(3, 1);
    self->timeline_index = line;
    self->timeline_running = true;
  });
  Object_Find(a)->sprite_index = AddSprite(16, 16);  // under the mouse
  IO_Feed_MouseMove(2, 2);
  AddRoom({{a, {0, 0}}});
  Start();
  Frame();
  Frame();
  std::vector<std::string> want = {"a:create",   "a:game start", "a:room start", "a:begin step", "a:moment 0",
                                   "a:alarm 3",  "a:no key",     "a:no button",  "a:step",       "a:end step",
                                   "a:draw",     "a:begin step", "a:no key",     "a:no button",  "a:step",
                                   "a:end step", "a:draw"};
  EXPECT_EQ(Log(), want);
}

TEST_F(RunStep, InstancesCreatedDuringAPassMissThatPass) {
  int a = Object_Add("a");
  int made = 0;
  On(a, EV_STEP, EV_STEP_NORMAL, [&](CInstance* self, CInstance*) {
    Log().push_back("step " + std::to_string(self->id));
    if (made++ == 0) Run_CreateInstance(a, 0, 0);
  });
  AddRoom({{a, {0, 0}}});
  Start();
  Frame();
  ASSERT_EQ(Log().size(), 1u);  // the new instance waits for the next step
  Frame();
  EXPECT_EQ(Log().size(), 3u);
}

TEST_F(RunStep, ARoomChangeEndsTheStepAfterThePhase) {
  int a = Object_Add("a");
  On(a, EV_STEP, EV_STEP_BEGIN, [](CInstance*, CInstance*) {
    Log().push_back("a:begin");
    Run_GotoRoom(1);
  });
  LogOn(a, EV_STEP, EV_STEP_NORMAL, "step");
  LogOn(a, EV_OTHER, EV_OTHER_ROOM_END, "room end");
  int b = Object_Add("b");
  LogOn(b, EV_CREATE, 0, "create");
  // Two instances: the second's begin step does not run once the first
  // asked for the room change.
  AddRoom({{a, {0, 0}}, {a, {0, 0}}});
  AddRoom({{b, {0, 0}}});
  int order[] = {0, 1};
  Room_SetOrder(order, 2);
  Start();
  Frame();
  std::vector<std::string> want = {"a:begin", "a:room end", "a:room end", "b:create"};
  EXPECT_EQ(Log(), want);
  EXPECT_EQ(g_RoomIndex, 1);
}

TEST_F(RunStep, APersistentRoomKeepsItsInstancesAndAPersistentInstanceTravels) {
  int a = Object_Add("a");
  int p = Object_Add("p");
  Object_Find(p)->flags |= OBJECT_PERSISTENT;
  LogOn(a, EV_CREATE, 0, "create");
  LogOn(p, EV_CREATE, 0, "create");
  int r0 = AddRoom({{a, {5, 5}}, {p, {1, 1}}});
  int r1 = AddRoom();
  Room_Data(r0)->persistent = true;
  Start();
  CInstance* kept = g_RunRoom->active[0];
  kept->SetPosition(42, 7);
  int kept_id = kept->id;
  Run_GotoRoom(r1);
  Run_HandleTransition();
  ASSERT_EQ(g_RunRoom->active.size(), 1u);  // the persistent instance came along
  EXPECT_EQ(g_RunRoom->active[0]->object_index, p);
  EXPECT_EQ(CInstance_Find(kept_id), nullptr);  // waits in its room, out of reach
  Run_GotoRoom(r0);
  Run_HandleTransition();
  CInstance* back = CInstance_Find(kept_id);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->x, 42);
  std::vector<std::string> want = {"a:create", "p:create"};  // no second create
  EXPECT_EQ(Log(), want);
  EXPECT_EQ(Object_Find(p)->instances.size(), 1u);
}

TEST_F(RunStep, EndAndRestartActOnThePendingWord) {
  int a = Object_Add("a");
  LogOn(a, EV_OTHER, EV_OTHER_GAME_END, "game end");
  LogOn(a, EV_CREATE, 0, "create");
  AddRoom({{a, {0, 0}}});
  Start();
  Run_Running = 1;
  Run_RestartGame();
  Run_HandleTransition();
  EXPECT_EQ(Run_Running, 1);
  Run_EndGame();
  Run_HandleTransition();
  EXPECT_EQ(Run_Running, 0);
  EndGame();
  std::vector<std::string> want = {"a:create", "a:game end", "a:create", "a:game end"};
  EXPECT_EQ(Log(), want);
}

TEST_F(RunStep, OnlyAPersistentRoomKeepsWhatChangedWhileItRan) {
  int kept = AddRoom(), plain = AddRoom(), other = AddRoom();
  Room_Data(kept)->persistent = true;
  Room_Data(kept)->AddTileDef(-1, 0, 0, 16, 16, 0, 0, 0);
  Room_Data(plain)->AddTileDef(-1, 0, 0, 16, 16, 0, 0, 0);
  Start();
  for (int room : {kept, plain}) {
    Run_GotoRoom(room);
    Frame();
    ASSERT_EQ(g_RunRoom, Room_Running(room));
    g_RunRoom->speed = 7;
    g_RunRoom->views[0].xview = 9;
    g_RunRoom->ClearTiles();
    Run_GotoRoom(other);
    Frame();
    Run_GotoRoom(room);
    Frame();
    bool persistent = room == kept;
    EXPECT_EQ(g_RunRoom->speed, persistent ? 7 : 30);
    EXPECT_EQ(g_RunRoom->views[0].xview, persistent ? 9 : 0);
    EXPECT_EQ(g_RunRoom->tiles.size(), persistent ? 0u : 1u);
    // The resource is what later starts see.
    EXPECT_EQ(Room_Data(room)->speed, 30);
    EXPECT_EQ(Room_Data(room)->tiles.size(), 1u);
  }
  // Restarting the game lets a persistent room go too.
  Run_RestartGame();
  Frame();
  ASSERT_EQ(g_RunRoom, Room_Running(kept));
  EXPECT_EQ(g_RunRoom->speed, 30);
  EXPECT_EQ(g_RunRoom->tiles.size(), 1u);
}

TEST_F(RunStep, MissingRoomsAreFatal) {
  AddRoom();
  Start();
  Run_GotoRoom(7);
  EXPECT_EQ(g_PendingTransition, TRANSITION_FATAL);
  g_PendingTransition = TRANSITION_NONE;
  Run_GotoNextRoom();
  EXPECT_EQ(g_PendingTransition, TRANSITION_FATAL);
  Run_HandleTransition();
  EXPECT_EQ(Run_Running, 0);
  EXPECT_EQ(Run_ExitStatus(), 1);
}

TEST_F(RunStep, ARoomSpeedOfZeroOrLessStillGivesAFrameTime) {
  EXPECT_EQ(Run_FrameTime(0), 1000000);
  EXPECT_EQ(Run_FrameTime(-5), 1000000);
  EXPECT_EQ(Run_FrameTime(50), 20000);
}

TEST_F(RunStep, FpsCountsTheFramesOfEachWholeSecond) {
  CFpsCounter c;
  c.Start(5000000);
  // Frames at 30 per second (in whole microseconds, a little quicker).
  for (int k = 1; k <= 300; k++) {
    c.Frame(5000000 + int64_t(k) * Run_FrameTime(30));
    if (k > 31) {
      EXPECT_EQ(c.fps, 30) << k;
    }
  }
  // A pause of several seconds closes the second it began in.
  c.Frame(20000000);
  EXPECT_EQ(c.fps, 30);
  c.Frame(21000000);
  EXPECT_EQ(c.fps, 1);
}

TEST_F(RunStep, CollisionEventsSeeTheOtherAndSolidsGoBack) {
  int box = AddSprite(16, 16);
  int a = Object_Add("a");
  int wall = Object_Add("wall");
  Object_Find(a)->sprite_index = box;
  Object_Find(wall)->sprite_index = box;
  Object_Find(wall)->flags |= OBJECT_SOLID;
  int others = 0;
  On(a, EV_COLLISION, wall, [&](CInstance* self, CInstance* other) {
    others += other->object_index == wall;
    Log().push_back("hit at " + std::to_string(static_cast<int>(self->x)));
  });
  AddRoom({{a, {0, 0}}, {wall, {30, 0}}});
  Start();
  g_RunRoom->active[0]->SetHSpeed(8);
  Frame();  // x 8: clear of the wall
  Frame();  // x 16: overlaps, goes back to 8, then stays there
  ASSERT_EQ(Log().size(), 1u);
  EXPECT_EQ(Log()[0], "hit at 8");
  EXPECT_EQ(others, 1);
  EXPECT_EQ(g_RunRoom->active[0]->x, 8);
}

TEST_F(RunStep, TargetsFindUnmarkedInstancesOfDescendants) {
  int parent = Object_Add("parent");
  int child = Object_Add("child");
  Object_Find(child)->parent_index = parent;
  AddRoom({{parent, {0, 0}}, {child, {0, 0}}, {child, {0, 0}}});
  Start();
  Run_DestroyInstance(g_RunRoom->active[2]);
  std::vector<CInstance*> found;
  Run_CollectTargets(parent, nullptr, nullptr, found);
  EXPECT_EQ(found.size(), 2u);
  found.clear();
  Run_CollectTargets(TARGET_ALL, nullptr, nullptr, found);
  EXPECT_EQ(found.size(), 2u);
  found.clear();
  Run_CollectTargets(g_RunRoom->active[1]->id, nullptr, nullptr, found);
  EXPECT_EQ(found.size(), 1u);
  int index = -1;
  EXPECT_TRUE(Resource_FindByName("child", &index));
  EXPECT_EQ(index, child);
}
}  // namespace

namespace {
class RunInput : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    IO_Clear();
    IO_Key_UnsetMap();
  }
  void TearDown() override {
    IO_Clear();
    Reset();
  }
};

TEST_F(RunInput, KeyboardThenPressThenReleaseThenAnyAndNoKey) {
  int a = Object_Add("a");
  LogOn(a, EV_KEYBOARD, 65, "key A");
  LogOn(a, EV_KEYPRESS, 65, "press A");
  LogOn(a, EV_KEYRELEASE, 66, "release B");
  LogOn(a, EV_KEYBOARD, VK_ANYKEY, "any key");
  LogOn(a, EV_KEYBOARD, VK_NOKEY, "no key");
  LogOn(a, EV_KEYPRESS, VK_ANYKEY, "press any");
  AddRoom({{a, {0, 0}}});
  ASSERT_TRUE(StartGame());
  IO_Feed_KeyDown(66);
  IO_Feed_KeyUp(66);
  IO_Feed_KeyDown(65);
  Run_Step();
  IO_Feed_KeyUp(65);
  Run_Step();
  std::vector<std::string> want = {"a:key A", "a:press A", "a:release B", "a:any key", "a:press any", "a:no key"};
  EXPECT_EQ(Log(), want);
}

TEST_F(RunInput, MouseEventsOverInstancesAndGlobally) {
  int box = AddSprite(10, 10);
  int a = Object_Add("a");
  Object_Find(a)->sprite_index = box;
  LogOn(a, EV_MOUSE, EV_MOUSE_ENTER, "enter");
  LogOn(a, EV_MOUSE, EV_MOUSE_LEAVE, "leave");
  LogOn(a, EV_MOUSE, EV_MOUSE_LEFT_PRESSED, "left pressed");
  LogOn(a, EV_MOUSE, EV_MOUSE_GLOBAL_LEFT_PRESSED, "global left pressed");
  LogOn(a, EV_MOUSE, EV_MOUSE_NO_BUTTON, "no button");
  AddRoom({{a, {100, 100}}});
  ASSERT_TRUE(StartGame());
  IO_Feed_MouseMove(5, 5);
  IO_Feed_MouseButton(1, true);
  Run_Step();  // pressed away from the instance: only the global event
  IO_Feed_MouseButton(1, false);
  IO_Feed_MouseMove(105, 105);
  Run_Step();
  IO_Feed_MouseMove(300, 5);
  Run_Step();
  std::vector<std::string> want = {"a:global left pressed", "a:no button", "a:enter", "a:leave"};
  EXPECT_EQ(Log(), want);
}

TEST_F(RunInput, OutsideAndBoundaryFireWhenTheInstanceGetsThere) {
  int box = AddSprite(10, 10);
  int a = Object_Add("a");
  Object_Find(a)->sprite_index = box;
  On(a, EV_OTHER, EV_OTHER_BOUNDARY, [](CInstance* self, CInstance*) {
    Log().push_back("boundary at " + std::to_string(static_cast<int>(self->x)));
  });
  On(a, EV_OTHER, EV_OTHER_OUTSIDE, [](CInstance* self, CInstance*) {
    Log().push_back("outside at " + std::to_string(static_cast<int>(self->x)));
  });
  On(a, EV_OTHER, EV_OTHER_OUTSIDE_VIEW0 + 2, [](CInstance* self, CInstance*) {
    Log().push_back("outside view 2 at " + std::to_string(static_cast<int>(self->x)));
  });
  int r = AddRoom({{a, {40, 10}}});
  Room_Data(r)->width = 64;
  Room_Data(r)->views_enabled = true;
  RoomView& v = Room_Data(r)->views[2];
  v.visible = true, v.xview = 0, v.wview = 55, v.hview = 100;
  ASSERT_TRUE(StartGame());
  g_RunRoom->active[0]->SetHSpeed(10);
  for (int i = 0; i < 4; i++) Run_Step();
  std::vector<std::string> want = {"boundary at 60", "outside view 2 at 60", "outside at 70"};
  EXPECT_EQ(Log(), want);
}

TEST_F(RunInput, DrawGoesFromTheDeepestAndOncePerVisibleView) {
  int a = Object_Add("a");
  On(a, EV_DRAW, 0, [](CInstance* self, CInstance*) {
    Log().push_back(std::to_string(static_cast<int>(self->depth)) + " view " + std::to_string(g_ViewCurrent));
  });
  AddRoom({{a, {0, 0}}, {a, {0, 0}}, {a, {0, 0}}});
  ASSERT_TRUE(StartGame());
  g_RunRoom->active[0]->depth = 5;
  g_RunRoom->active[1]->depth = 50;
  g_RunRoom->active[2]->depth = -5;
  g_RunRoom->active[2]->visible = false;
  g_RunRoom->Draw();
  g_RunRoom->views_enabled = true;
  g_RunRoom->views[1].visible = true;
  g_RunRoom->views[3].visible = true;
  g_RunRoom->Draw();
  std::vector<std::string> want = {"50 view 0", "5 view 0", "50 view 1", "5 view 1", "50 view 3", "5 view 3"};
  EXPECT_EQ(Log(), want);
}
}  // namespace

// A pause event raised by the window is registered for one step, then cleared.
TEST(PauseEvent, RegisteredForTheStepAfterItIsRaised) {
  EXPECT_FALSE(Kivo_OSPauseEvent_Paused());
  Kivo_OSPauseEvent_Raise();
  EXPECT_FALSE(Kivo_OSPauseEvent_Paused());  // not before the step
  Kivo_OSPauseEvent_Tick();
  EXPECT_TRUE(Kivo_OSPauseEvent_Paused());
  Kivo_OSPauseEvent_Tick();
  EXPECT_FALSE(Kivo_OSPauseEvent_Paused());
}
