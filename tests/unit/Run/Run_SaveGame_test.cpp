#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "Base/RValue.h"
#include "Object/Instance_Main.h"
#include "Run/Run_Activation.h"
#include "Run/Run_SaveGame.h"
#include "Run/Run_Services.h"
#include "Run_TestWorld.h"

using namespace testworld;
namespace fs = std::filesystem;

namespace {
class RunSaveGame : public ::testing::Test {
 protected:
  fs::path dir;
  int a = -1;
  void SetUp() override {
    Reset();
    char tmpl[] = "/tmp/savegameXXXXXX";
    dir = mkdtemp(tmpl);
    a = Object_Add("a");
    LogOn(a, EV_CREATE, 0, "create");
    LogOn(a, EV_OTHER, EV_OTHER_ROOM_START, "room start");
    int r0 = AddRoom({{a, {1, 2}}, {a, {3, 4}}});
    AddRoom({{a, {9, 9}}});
    Room_Data(r0)->persistent = true;
    g_GameId = 1234;
    ASSERT_TRUE(StartGame());
  }
  void TearDown() override {
    Reset();
    fs::remove_all(dir);
  }
  std::string File(const char* name) { return (dir / name).string(); }
};

TEST_F(RunSaveGame, ALoadGivesBackTheSavedWorldWithoutEvents) {
  CInstance* first = g_RunRoom->active[0];
  int id = first->id;
  first->SetPosition(50, 60);
  first->SetSpeed(3);
  first->SetAlarm(4, 17);
  g_Score = 99;
  Run_DestroyInstance(g_RunRoom->active[1]);
  // Leave the persistent room and save in the other one.
  Run_GotoRoom(1);
  Run_HandleTransition();
  g_RunRoom->active[0]->depth = -5;
  ASSERT_TRUE(Run_SaveGame(File("s.dat").c_str()));

  g_Score = 0;
  Run_GotoRoom(0);
  Run_HandleTransition();
  CInstance_Find(id)->SetPosition(0, 0);
  Log().clear();
  ASSERT_TRUE(Run_LoadGame(File("s.dat").c_str()));
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(g_RoomIndex, 1);
  EXPECT_EQ(g_Score, 99);
  ASSERT_EQ(g_RunRoom->active.size(), 1u);
  EXPECT_EQ(g_RunRoom->active[0]->depth, -5);
  EXPECT_EQ(Object_Find(a)->instances.size(), 1u);
  // The persistent room kept its state and gives it back on return.
  EXPECT_EQ(CInstance_Find(id), nullptr);
  Run_GotoRoom(0);
  Run_HandleTransition();
  CInstance* back = CInstance_Find(id);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->x, 50);
  EXPECT_EQ(back->speed, 3);
  EXPECT_EQ(back->GetAlarm(4), 17);
  EXPECT_EQ(g_RunRoom->active.size(), 1u);  // the destroyed one was not saved
  int next = Instance_PeekNextId();
  EXPECT_GT(next, id);
}

std::vector<int> Ids(const std::vector<CInstance*>& list) {
  std::vector<int> ids;
  for (const CInstance* inst : list) ids.push_back(inst->id);
  return ids;
}

bool AllDeactivated(const std::vector<CInstance*>& list) {
  for (const CInstance* inst : list)
    if (!inst->deactivated) return false;
  return true;
}

// Deactivated instances, a copy among them, stay on the deactivated list
// when a persistent one is carried to another room, when the persistent room
// keeps them and when the game is saved and loaded.
TEST_F(RunSaveGame, DeactivatedInstancesStayOnTheirListAcrossRoomsAndLoads) {
  int p = Object_Add("p");
  Object_Find(p)->flags |= OBJECT_PERSISTENT;
  int walker = g_RunRoom->AddInstance(0, 0, p)->id;
  CInstance* first = g_RunRoom->active[0];
  int kept = first->id, other = g_RunRoom->active[1]->id;
  first->deactivated = CInstance_Find(walker)->deactivated = true;
  g_RunRoom->ApplyActivation();
  int copy = Run_CopyInstance(first, false)->id;
  EXPECT_EQ(Ids(g_RunRoom->deactivated), (std::vector<int>{kept, walker, copy}));

  Run_GotoRoom(1);
  Run_HandleTransition();
  EXPECT_EQ(Ids(g_RunRoom->deactivated), std::vector<int>{walker});
  EXPECT_TRUE(AllDeactivated(g_RunRoom->deactivated));
  EXPECT_EQ(g_RunRoom->active.size(), 1u);
  ASSERT_TRUE(Run_SaveGame(File("s.dat").c_str()));
  Run_ActivateAll();
  ASSERT_TRUE(Run_LoadGame(File("s.dat").c_str()));
  EXPECT_EQ(Ids(g_RunRoom->deactivated), std::vector<int>{walker});
  EXPECT_TRUE(AllDeactivated(g_RunRoom->deactivated));
  EXPECT_EQ(g_RunRoom->active.size(), 1u);

  // The kept room was saved with its lists; the walker comes along.
  Run_GotoRoom(0);
  Run_HandleTransition();
  EXPECT_EQ(Ids(g_RunRoom->active), std::vector<int>{other});
  EXPECT_EQ(Ids(g_RunRoom->deactivated), (std::vector<int>{kept, copy, walker}));
  EXPECT_TRUE(AllDeactivated(g_RunRoom->deactivated));
  Run_ActivateAll();
  EXPECT_EQ(Ids(g_RunRoom->active), (std::vector<int>{other, kept, copy, walker}));
  EXPECT_TRUE(g_RunRoom->deactivated.empty());
}

// A file saved by another run may hold tile ids this run has not given yet:
// they are never given again.
TEST_F(RunSaveGame, LoadedTileIdsAreNotGivenAgain) {
  int later = g_RunRoom->AddTileDef(0, 0, 0, 8, 8, 0, 0, 0) + 1000;
  g_RunRoom->tiles.back().id = later;
  ASSERT_TRUE(Run_SaveGame(File("s.dat").c_str()));
  g_RunRoom->tiles.clear();
  ASSERT_TRUE(Run_LoadGame(File("s.dat").c_str()));
  ASSERT_EQ(g_RunRoom->FindTileById(later), 0);
  EXPECT_GT(g_RunRoom->AddTileDef(0, 0, 0, 8, 8, 0, 0, 0), later);
}

TEST_F(RunSaveGame, BrokenOrForeignFilesChangeNothing) {
  ASSERT_TRUE(Run_SaveGame(File("s.dat").c_str()));
  auto size = fs::file_size(File("s.dat"));
  fs::copy_file(File("s.dat"), File("cut.dat"));
  fs::resize_file(File("cut.dat"), size - 5);
  g_RunRoom->active[0]->SetPosition(77, 77);
  EXPECT_FALSE(Run_LoadGame(File("cut.dat").c_str()));
  EXPECT_FALSE(Run_LoadGame(File("missing.dat").c_str()));
  g_GameId = 999;
  EXPECT_FALSE(Run_LoadGame(File("s.dat").c_str()));
  EXPECT_EQ(g_RunRoom->active[0]->x, 77);
  EXPECT_EQ(g_RunRoom->active.size(), 2u);
}

TEST_F(RunSaveGame, TheFrameLoopLoadsAPendingFile) {
  ASSERT_TRUE(Run_SaveGame(File("s.dat").c_str()));
  g_RunRoom->active[0]->SetPosition(77, 77);
  Run_PendingLoadFile = String_Duplicate(File("s.dat").c_str());
  g_PendingTransition = TRANSITION_LOAD;
  Run_HandleTransition();
  EXPECT_EQ(Run_PendingLoadFile, nullptr);
  EXPECT_EQ(g_RunRoom->active[0]->x, 1);
}
}  // namespace
