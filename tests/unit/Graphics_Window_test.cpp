#include <SDL2/SDL.h>

#include <cstring>

#include "Graphics/Graphics_Transition.h"
#include "IO/IO_Main.h"
#include "Graphics_TestDevice.h"

namespace {

TEST_F(GraphicsTest, WindowSettingsAndTheQuitRequest) {
  Window_SetCaption("Level 1");
  EXPECT_STREQ(Window_GetCaption(), "Level 1");
  Window_SetColour(0x123456);
  EXPECT_EQ(Window_GetColour(), 0x123456u);
  Window_SetCursor(-1);
  EXPECT_EQ(Window_GetCursor(), -1);
  Window_SetCursor(0);
  Window_SetVisible(true);
  EXPECT_TRUE(Window_GetVisible());
  Window_SetVisible(false);

  // The back buffer follows the window's size at the next frame.
  Window_SetSize(80, 50);
  Window_ProcessMessages();
  GR_D3D_Start_Frame();
  EXPECT_EQ(GR_Window_GetWidth(), 80);
  EXPECT_EQ(GR_Window_GetHeight(), 50);
  Window_SetSize(kTestSize, kTestSize);
  Window_ProcessMessages();
  GR_D3D_Start_Frame();
  EXPECT_EQ(GR_Window_GetWidth(), kTestSize);

  EXPECT_FALSE(Window_QuitRequested());
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  Window_ProcessMessages();
  EXPECT_TRUE(Window_QuitRequested());
  Window_ClearQuit();
}

void PushKey(bool down, SDL_Keycode key) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.keysym.sym = key;
  SDL_PushEvent(&e);
}

TEST_F(GraphicsTest, ThePumpFeedsKeysTextAndMouseToTheInput) {
  IO_Clear();
  PushKey(true, SDLK_LSHIFT);
  PushKey(true, SDLK_RSHIFT);
  PushKey(false, SDLK_LSHIFT);
  PushKey(true, SDLK_a);
  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  strcpy(text.text.text, "a\xC3\xA9");
  SDL_PushEvent(&text);
  SDL_Event click{};
  click.type = SDL_MOUSEBUTTONDOWN;
  click.button.button = SDL_BUTTON_RIGHT;
  SDL_PushEvent(&click);
  Window_ProcessMessages();
  IO_Update();
  EXPECT_FALSE(IO_Key_Check(160));  // left Shift went up
  EXPECT_TRUE(IO_Key_Check(161));
  EXPECT_TRUE(IO_Key_Check(16));    // Shift is held while either side is
  EXPECT_TRUE(IO_Key_Check('A'));
  EXPECT_STREQ(IO_GetTypedText(), "a\xC3\xA9");
  EXPECT_TRUE(IO_Mouse_Check(2, 0));
  PushKey(false, SDLK_RSHIFT);
  Window_ProcessMessages();
  IO_Update();
  EXPECT_FALSE(IO_Key_Check(16));
  IO_Clear();
}

TEST_F(GraphicsTest, ThePresentLeavesTheBackBufferReadable) {
  GR_D3D_Start_Frame();
  GR_Draw_Point(5, 6);
  GR_D3D_Finish_Frame();
  EXPECT_EQ(GR_GetPixel(5, 6), 0xFFFFFFFFu);
  EXPECT_GE(Graphics_PresentTime, 0);
}

TEST(GraphicsTransition, BuiltInKindsExistAndUnknownScriptsAreRefused) {
  EXPECT_TRUE(TransFunctionExists(0));
  EXPECT_TRUE(TransFunctionExists(21));
  EXPECT_FALSE(TransFunctionExists(22));
  EXPECT_FALSE(TransFunctionExists(-1));
  EXPECT_FALSE(Transition_DefineScript(30, "no_such_script"));
  EXPECT_FALSE(Transition_DefineScript(30, nullptr));
  EXPECT_FALSE(TransFunctionExists(30));
  EXPECT_EQ(Transition_Script(30), -1);
}

}  // namespace

// Scripts may put the mouse anywhere: far positions are held to the int range.
TEST_F(GraphicsTest, MousePositionsFarOffTheScreenAreHeld) {
  Display_SetMouse(INT32_MIN, INT32_MAX);
  EXPECT_EQ(Window_GetMouseX(), Window_GetX() >= 0 ? INT32_MIN : INT32_MIN - Window_GetX());
  EXPECT_EQ(Window_GetMouseY(), Window_GetY() <= 0 ? INT32_MAX : INT32_MAX - Window_GetY());
  EXPECT_LE(Display_GetMouseX(), INT32_MIN + std::max(0, Window_GetX()));
  EXPECT_GE(Display_GetMouseY(), INT32_MAX + std::min(0, Window_GetY()));
  Display_SetMouse(0, 0);
}
