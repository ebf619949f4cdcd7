#include <SDL2/SDL.h>

#include <cstring>

#include "Graphics/Graphics_Transition.h"
#include "IO/IO_Feed.h"
#include "IO/IO_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Room/Room_Render.h"
#include "Function_Graphics_Call.h"

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

namespace {
// A room whose first view shows (17, 7) 35 by 35 in a port of the same size at (1, 1).
class GraphicsViewTest : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    room.views_enabled = true;
    RoomView& v = room.views[0];
    v = RoomView{};
    v.visible = true;
    v.xview = 17, v.yview = 7, v.wview = 35, v.hview = 35;
    v.xport = 1, v.yport = 1, v.wport = 35, v.hport = 35;
    saved = g_RunRoom;
    g_RunRoom = &room;
    g_ViewCurrent = 0;
  }
  void TearDown() override {
    g_RunRoom = saved;
    IO_Feed_MouseMove(0, 0);
  }
  CRoom room;
  CRoom* saved = nullptr;
};
}  // namespace

TEST_F(GraphicsViewTest, DrawGetPixelReadsTheRoomPointThroughTheView) {
  const RoomView& v = room.views[0];
  RoomRender_SetView(&v, room.width, room.height);
  GCall("draw_rectangle", {20, 10, 29, 19, 0});
  for (int y = 7; y < 42; y++)
    for (int x = 17; x < 52; x++) {
      bool inside = x >= 20 && x <= 29 && y >= 10 && y <= 19;
      EXPECT_EQ(uint32_t(GCall("draw_getpixel", {x, y})) & 0xFFFFFF, inside ? 0xFFFFFFu : 0u) << x << "," << y;
    }
}

TEST_F(GraphicsViewTest, TheMouseOnAWholePixelIsAWholeRoomPoint) {
  for (int wy = 0; wy < kTestSize; wy += 3)
    for (int wx = 0; wx < kTestSize; wx += 3) {
      IO_Feed_MouseMove(wx, wy);
      EXPECT_EQ(GCall("window_view_mouse_get_x", {0}), 17 + wx - 1) << wx;
      EXPECT_EQ(GCall("window_view_mouse_get_y", {0}), 7 + wy - 1) << wy;
      // Through the first view even when the mouse is outside every port.
      EXPECT_EQ(GCall("window_views_mouse_get_x"), 17 + wx - 1) << wx;
      EXPECT_EQ(GCall("window_views_mouse_get_y"), 7 + wy - 1) << wy;
    }
}
