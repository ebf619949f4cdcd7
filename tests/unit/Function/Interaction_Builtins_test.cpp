// The interaction built-ins that need no display: joysticks over SDL's
// virtual sticks, file dialogs answered from the queue, key and button
// queries.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "Base/Dialog_Answers.h"
#include "Function/Function_Interaction.h"
#include "Function_Call.h"
#include "IO/IO_Feed.h"
#include "IO/IO_Main.h"
#include "IO/IO_Query.h"
#include "IO/LoadSave_Main.h"
#include "Run/Run_Main.h"

namespace {
class Joysticks : public ::testing::Test {
 protected:
  int devices[2] = {-1, -1};
  SDL_Joystick* sticks[2] = {nullptr, nullptr};

  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    ASSERT_EQ(SDL_NumJoysticks(), 0) << "a real joystick is attached";
  }
  void Attach(int n, const char* name, int axes, int buttons, int hats) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = static_cast<Uint16>(axes);
    desc.nbuttons = static_cast<Uint16>(buttons);
    desc.nhats = static_cast<Uint16>(hats);
    desc.name = name;
    devices[n] = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(devices[n], 0) << SDL_GetError();
    sticks[n] = SDL_JoystickOpen(devices[n]);
    ASSERT_NE(sticks[n], nullptr);
  }
  void TearDown() override {
    for (int n = 1; n >= 0; n--) {
      if (sticks[n]) SDL_JoystickClose(sticks[n]);
      if (devices[n] >= 0) SDL_JoystickDetachVirtual(devices[n]);
    }
    SDL_JoystickUpdate();
  }
};

TEST_F(Joysticks, WithoutAStickEveryQueryKeepsItsDefault) {
  EXPECT_EQ(CallReal("joystick_exists", {1}), 0);
  EXPECT_EQ(CallReal("joystick_direction", {1}), 101);
  EXPECT_EQ(CallReal("joystick_pov", {1}), -1);
  EXPECT_EQ(CallReal("joystick_xpos", {1}), 0);
  EXPECT_EQ(CallText("joystick_name", {1}), "");
}

TEST_F(Joysticks, AxesHatsAndButtonsOfOneStick) {
  Attach(0, "Test stick", 6, 12, 1);
  EXPECT_EQ(CallReal("joystick_exists", {1}), 1);
  EXPECT_EQ(CallText("joystick_name", {1}), "Test stick");
  EXPECT_EQ(CallReal("joystick_axes", {1}), 6);
  EXPECT_EQ(CallReal("joystick_buttons", {1}), 12);
  EXPECT_EQ(CallReal("joystick_has_pov", {1}), 1);
  // Centred: position 32767, so 0; the ends 0 and 65535.
  EXPECT_EQ(CallReal("joystick_xpos", {1}), 0);
  EXPECT_EQ(CallReal("joystick_direction", {1}), 101);
  SDL_JoystickSetVirtualAxis(sticks[0], 0, 32767);
  SDL_JoystickSetVirtualAxis(sticks[0], 1, -32768);
  SDL_JoystickSetVirtualAxis(sticks[0], 5, -32768);
  EXPECT_FLOAT_EQ(CallReal("joystick_xpos", {1}), 65535.0f / 32767.0f - 1.0f);
  EXPECT_EQ(CallReal("joystick_ypos", {1}), -1);
  EXPECT_EQ(CallReal("joystick_vpos", {1}), -1);
  EXPECT_EQ(CallReal("joystick_zpos", {1}), 0);
  EXPECT_EQ(CallReal("joystick_direction", {1}), 105);  // up and right
  SDL_JoystickSetVirtualAxis(sticks[0], 0, -32768);
  SDL_JoystickSetVirtualAxis(sticks[0], 1, 32767);
  EXPECT_EQ(CallReal("joystick_direction", {1}), 97);  // down and left

  EXPECT_EQ(CallReal("joystick_pov", {1}), -1);
  SDL_JoystickSetVirtualHat(sticks[0], 0, SDL_HAT_RIGHTUP);
  EXPECT_EQ(CallReal("joystick_pov", {1}), 45);
  SDL_JoystickSetVirtualHat(sticks[0], 0, SDL_HAT_LEFT);
  EXPECT_EQ(CallReal("joystick_pov", {1}), 270);

  SDL_JoystickSetVirtualButton(sticks[0], 2, SDL_PRESSED);
  EXPECT_EQ(CallReal("joystick_check_button", {1, 3}), 1);
  EXPECT_EQ(CallReal("joystick_check_button", {1, 2}), 0);
  EXPECT_EQ(CallReal("joystick_check_button", {1, 0}), 0);
  EXPECT_EQ(CallReal("joystick_check_button", {1, 33}), 0);
}

TEST_F(Joysticks, NumberTwoIsTheSecondStickAndAnythingElseTheFirst) {
  Attach(0, "First", 2, 2, 0);
  Attach(1, "Second", 4, 8, 1);
  EXPECT_EQ(CallText("joystick_name", {2}), "Second");
  EXPECT_EQ(CallText("joystick_name", {2.5}), "First");
  EXPECT_EQ(CallText("joystick_name", {0}), "First");
  EXPECT_EQ(CallReal("joystick_buttons", {2}), 8);
  // A stick without a hat has no point of view (whatever else it can do).
  EXPECT_EQ(CallReal("joystick_has_pov", {1}), 0);
  EXPECT_EQ(CallReal("joystick_has_pov", {2}), 1);
  // A stick without the axis answers as centred.
  EXPECT_EQ(CallReal("joystick_rpos", {1}), 0);
}

class FileDialogs : public ::testing::Test {
 protected:
  void SetUp() override { setenv("SDL_VIDEODRIVER", "offscreen", 1); }
  void TearDown() override { DialogAnswers_Set(""); }
};

TEST_F(FileDialogs, TheDefaultExtensionFollowsTheFirstPattern) {
  EXPECT_EQ(File_DefaultExtension("Text files|*.txt|All files|*.*"), "txt");
  EXPECT_EQ(File_DefaultExtension("Images|*.png;*.jpg"), "png");
  EXPECT_EQ(File_DefaultExtension("no bar"), "");
  EXPECT_EQ(File_DefaultExtension(nullptr), "");
}

TEST_F(FileDialogs, APickedPathComesBackWholeAndMayBeUsed) {
  std::string longPath = "/picked/" + std::string(300, 'd') + "/Notes.TXT";
  DialogAnswers_Set(("OK:" + longPath + ";Cancel;OK:/picked/saved").c_str());
  EXPECT_EQ(CallText("get_open_filename", {"Text|*.txt", ""}), longPath);
  EXPECT_EQ(LoadSave_MakeBundlePath(longPath.c_str()), longPath);
  std::string other = "/picked/" + std::string(300, 'd') + "/notes.txt";
  EXPECT_EQ(LoadSave_MakeBundlePath(other.c_str()), "");  // another file on Linux
  EXPECT_EQ(CallText("get_save_filename_ext", {"Text|*.txt", "a", "/tmp", "Save"}), "");
  // A name without an extension gets the filter's.
  EXPECT_EQ(CallText("get_save_filename", {"Text|*.txt|All|*.*", "a"}), "/picked/saved.txt");
  EXPECT_EQ(LoadSave_MakeSavePath("/picked/saved.txt"), "/picked/saved.txt");
  // Arguments that do not fit open nothing and leave the queue alone.
  DialogAnswers_Set("OK:/x");
  EXPECT_EQ(CallText("get_open_filename", {1, ""}), "");
  EXPECT_TRUE(DialogAnswers_Pending());
}

class KeyQueries : public ::testing::Test {
 protected:
  void SetUp() override { IO_Clear(); }
  void TearDown() override { IO_Clear(); }
};

TEST_F(KeyQueries, NoKeyAnyKeyAndButtonsOutOfRange) {
  IO_Update();
  EXPECT_EQ(Keyboard_CheckState(0, IO_HELD), 1);
  EXPECT_EQ(Keyboard_CheckState(1, IO_HELD), 0);
  IO_Feed_KeyDown(200);
  IO_Feed_MouseButton(3, true);
  IO_Update();
  EXPECT_EQ(Keyboard_CheckState(0, IO_HELD), 0);
  EXPECT_EQ(Keyboard_CheckState(1, IO_PRESSED), 1);
  EXPECT_EQ(Keyboard_CheckState(1, IO_RELEASED), 0);
  EXPECT_EQ(Keyboard_CheckState(300, IO_HELD), 0);
  EXPECT_EQ(Keyboard_CheckState(-5, IO_HELD), 0);
  EXPECT_EQ(Mouse_CheckButton(-1, 0), 1);
  EXPECT_EQ(Mouse_CheckButton(0, 0), 0);
  EXPECT_EQ(Mouse_CheckButtonPressed(3, 0), 1);
  EXPECT_EQ(Mouse_CheckButton(4, 0), 0);
  EXPECT_EQ(Mouse_CheckButton(1, 9), 0);
}

TEST_F(KeyQueries, SynthesisedKeysArriveWithTheNextPumpOrStep) {
  IO_Inject_Key(65, true);
  EXPECT_EQ(IO_Key_CheckDirect(65), 0);
  IO_Inject_Flush();
  EXPECT_EQ(IO_Key_CheckDirect(65), 1);
  IO_Inject_Key(65, false);
  IO_Update();  // the step takes what is still queued
  EXPECT_EQ(IO_Key_CheckPressed(65), 1);
  EXPECT_EQ(IO_Key_CheckReleased(65), 1);
  // A modal box takes the keys synthesised before it.
  IO_Inject_Key(66, true);
  IO_Clear();
  IO_Update();
  EXPECT_EQ(IO_Key_Check(66), 0);
}

TEST_F(KeyQueries, WaitingEndsAtOnceWhenTheGameIsNotRunning) {
  // No window and no running main loop: like a closed window.
  int running = Run_Running;
  Run_Running = 0;
  CallReal("keyboard_wait", {});
  CallReal("mouse_wait", {});
  EXPECT_EQ(IO_GetLastKey(), 0);
  EXPECT_EQ(IO_Mouse_GetLastButton(0), 0);
  Run_Running = running;
}
}  // namespace
