#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "IO/IO_Feed.h"
#include "IO/IO_Main.h"
#include "Test_TempFolder.h"

namespace {
class IOInput : public ::testing::Test {
 protected:
  void SetUp() override {
    IO_Key_UnsetMap();
    IO_Clear();
  }
  void TearDown() override { SetUp(); }
};

TEST_F(IOInput, AStepSeesWhatArrivedSinceThePreviousOne) {
  IO_Feed_KeyDown(65);
  EXPECT_EQ(IO_Key_Check(65), 0);  // not before the step's update
  IO_Update();
  EXPECT_EQ(IO_Key_Check(65), 1);
  EXPECT_EQ(IO_Key_CheckPressed(65), 1);
  IO_Update();
  EXPECT_EQ(IO_Key_Check(65), 1);
  EXPECT_EQ(IO_Key_CheckPressed(65), 0);
  IO_Feed_KeyUp(65);
  IO_Update();
  EXPECT_EQ(IO_Key_Check(65), 0);
  EXPECT_EQ(IO_Key_CheckReleased(65), 1);
  EXPECT_EQ(IO_GetLastKey(), 65);
  // A tap between two steps is seen pressed and released.
  IO_Feed_KeyDown(66);
  IO_Feed_KeyUp(66);
  IO_Update();
  EXPECT_EQ(IO_Key_CheckPressed(66), 1);
  EXPECT_EQ(IO_Key_CheckReleased(66), 1);
  EXPECT_EQ(IO_Key_Check(66), 0);
}

TEST_F(IOInput, OutOfRangeKeysButtonsAndDevicesReadZeroAndAreNeverWritten) {
  for (int key : {-1, 256, 100000, -100000}) {
    IO_Feed_KeyDown(key);
    IO_Key_Clear(key);
    IO_Key_Set(key, true);
    IO_Key_SetMap(key, 65);
    EXPECT_EQ(IO_Key_Check(key), 0);
    EXPECT_EQ(IO_Key_CheckPressed(key), 0);
    EXPECT_EQ(IO_Key_CheckReleased(key), 0);
    EXPECT_EQ(IO_Key_GetMap(key), key);
  }
  IO_Update();
  EXPECT_FALSE(IO_Key_AnyHeld());
  // The last button is kept across io_clear: it must only stay as it was.
  int last = IO_Mouse_GetLastButton(0);
  for (int button : {0, 4, -7}) IO_Feed_MouseButton(button, true);
  for (auto [button, device] : {std::pair{0, 0}, {4, 0}, {1, -1}, {1, 5}, {-7, 99}}) {
    IO_Mouse_SetLastButton(button, device);
    IO_Mouse_Clear(button, device);
    IO_Mouse_SetButton(device, button);
    EXPECT_EQ(IO_Mouse_Check(button, device), 0);
    EXPECT_EQ(IO_Mouse_CheckPressed(button, device), 0);
    EXPECT_EQ(IO_Mouse_CheckReleased(button, device), 0);
    EXPECT_EQ(IO_Mouse_WheelUp(device), 0);
  }
  IO_Update();
  EXPECT_EQ(IO_Mouse_GetButton(0), 0);
  EXPECT_EQ(IO_Mouse_GetLastButton(0), last);
}

TEST_F(IOInput, RemappedKeysArriveAsTheirTarget) {
  IO_Key_SetMap(37, 65);
  IO_Feed_KeyDown(37);
  IO_Update();
  EXPECT_EQ(IO_Key_Check(65), 1);
  EXPECT_EQ(IO_Key_Check(37), 0);
  IO_Key_UnsetMap();
  EXPECT_EQ(IO_Key_GetMap(37), 37);
}

TEST_F(IOInput, TheKeyboardsOwnStateOutlivesTheGamesClearsAndMaps) {
  IO_Key_SetMap(37, 65);
  IO_Feed_KeyDown(37);
  IO_Feed_KeyDown(70);
  IO_Update();
  IO_Clear();
  IO_Key_Clear(70);
  IO_Update();
  EXPECT_EQ(IO_Key_Check(70), 0);
  EXPECT_EQ(IO_Key_CheckDirect(70), 1);
  EXPECT_EQ(IO_Key_CheckDirect(37), 1);  // the key pressed, not its target
  EXPECT_EQ(IO_Key_CheckDirect(65), 0);
  IO_Feed_KeyUp(37);
  IO_Feed_KeyUp(70);
  EXPECT_EQ(IO_Key_CheckDirect(37), 0);
  EXPECT_EQ(IO_Key_CheckDirect(70), 0);
}

TEST_F(IOInput, TheKeyHeldIsTheLastPressedWhileItIsHeld) {
  IO_Update();
  EXPECT_EQ(IO_Key_Held(), 0);
  IO_Feed_KeyDown(90);
  IO_Feed_KeyDown(66);
  IO_Update();
  EXPECT_EQ(IO_Key_Held(), 66);
  IO_Feed_KeyUp(66);
  IO_Update();
  EXPECT_EQ(IO_Key_Held(), 90);  // the lowest key still held
  IO_Feed_KeyUp(90);
  IO_Update();
  EXPECT_EQ(IO_Key_Held(), 0);
}

TEST_F(IOInput, SynthesisedPressesTypeTheirCharacters) {
  for (int key : {16, int('Q'), int('2'), 186, 222, int('w')}) {
    IO_Inject_Key(key, true);
    if (key != 16) IO_Inject_Key(key, false);
  }
  IO_Inject_Key(16, false);
  for (int key : {int('Q'), int('2'), 186, 222, 8, int('Z'), 107, 108, 112, 13}) {
    IO_Inject_Key(key, true);
    IO_Inject_Key(key, false);
  }
  IO_Inject_Flush();
  // 'w' (119) is the F8 key: it types nothing; Backspace takes the ' back;
  // the separator (108) and F1 type nothing; Enter types no text.
  EXPECT_STREQ(IO_GetTypedText(), "Q@:\"q2;z+");
  EXPECT_EQ(IO_GetLastKey(), 13);
  EXPECT_EQ(IO_Key_TypedChar(9, false), 9u);
  EXPECT_EQ(IO_Key_TypedChar(300, false), 0u);
  EXPECT_EQ(IO_Key_TypedChar(-1, true), 0u);
}

TEST_F(IOInput, MouseButtonsWheelAndTypedText) {
  IO_Feed_MouseButton(2, true);
  IO_Feed_MouseWheel(-1);
  IO_Update();
  EXPECT_EQ(IO_Mouse_GetButton(0), 2);
  EXPECT_EQ(IO_Mouse_CheckPressed(2, 0), 1);
  EXPECT_EQ(IO_Mouse_WheelDown(0), 1);
  EXPECT_EQ(IO_Mouse_GetLastButton(0), 2);
  IO_Update();
  EXPECT_EQ(IO_Mouse_WheelDown(0), 0);

  for (uint32_t c : {0x41u, 0xE9u, 0x20ACu, 8u, 0x42u}) IO_Feed_Char(c);
  EXPECT_STREQ(IO_GetTypedText(), "A\xC3\xA9" "B");  // backspace took the euro sign
  // Texts longer than the buffer keep their end.
  std::string many = std::string(IO_TEXT_MAX + 50, 'x') + "end";
  IO_SetTypedText(many.c_str());
  EXPECT_EQ(std::strlen(IO_GetTypedText()), static_cast<size_t>(IO_TEXT_MAX));
  IO_Feed_Char(0xE9);
  std::string typed = IO_GetTypedText();
  EXPECT_LE(typed.size(), static_cast<size_t>(IO_TEXT_MAX));
  EXPECT_EQ(typed.substr(typed.size() - 5), "end\xC3\xA9");
  IO_Clear();
  EXPECT_STREQ(IO_GetTypedText(), "");
}
}  // namespace

namespace {
TEST(IOVirtualKeys, FreeRecordsAreHandedOutOnce) {
  std::vector<VirtualKey*> taken;
  while (VirtualKey* k = IO_VirtualKey_FindFree()) {
    k->flags |= VIRTUALKEY_USED;
    taken.push_back(k);
  }
  EXPECT_EQ(taken.size(), static_cast<size_t>(IO_VIRTUAL_KEYS));
  IO_VirtualKey_Delete(5);
  IO_VirtualKey_Delete(-1);
  IO_VirtualKey_Delete(IO_VIRTUAL_KEYS);
  VirtualKey* again = IO_VirtualKey_FindFree();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->index, 5);
  for (VirtualKey* k : taken) IO_VirtualKey_Delete(k->index);
}
}  // namespace

namespace {
TEST(IORecording, PlaybackGivesBackEachRecordedStepThenThePlayer) {
  CTestFolder folder("input_recording");
  std::string file = folder.Path() + "/input.rec";
  IO_Clear();
  ASSERT_TRUE(IO_Record_Start(file.c_str()));
  IO_Feed_KeyDown(65);
  IO_Feed_MouseMove(12, 34);
  IO_Update();
  IO_Feed_KeyUp(65);
  IO_Feed_MouseButton(3, true);
  IO_Update();
  IO_Record_Stop();

  IO_Clear();
  IO_Feed_MouseMove(0, 0);
  ASSERT_TRUE(IO_Playback_Start(file.c_str()));
  IO_Feed_KeyDown(90);  // the player's own keys wait for the end of the recording
  IO_Update();
  EXPECT_EQ(IO_Key_CheckPressed(65), 1);
  EXPECT_EQ(IO_Key_Check(90), 0);
  EXPECT_EQ(IO_MousePositionX[0], 12);
  EXPECT_EQ(IO_MousePositionY[0], 34);
  IO_Update();
  EXPECT_EQ(IO_Key_CheckReleased(65), 1);
  EXPECT_EQ(IO_Mouse_CheckPressed(3, 0), 1);
  IO_Update();  // past the end: cleared, the player takes over
  EXPECT_EQ(IO_Key_Check(65), 0);
  EXPECT_EQ(IO_Mouse_Check(3, 0), 0);
  EXPECT_FALSE(IO_Playback_Start((folder.Path() + "/missing.rec").c_str()));
  IO_Clear();
}
}  // namespace
