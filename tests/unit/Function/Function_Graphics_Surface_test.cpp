// The drawing built-ins on the headless device: what they draw onto
// surfaces, read back through the built-ins themselves.
#include <SDL2/SDL.h>

#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "Base/File_Folders.h"
#include "Function_Graphics_Call.h"
#include "Graphics_API/Display_Main.h"
#include "Font/Font_Main.h"
#include "Graphics/Graphics_Main.h"
#include "Graphics/Graphics_Surface.h"
#include "IO/IO_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"

namespace {
constexpr uint32_t RED = 255;

class DrawTest : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    Graphics_EnsureRegistered();
  }
  void TearDown() override {
    if (Surface_GetTarget() >= 0) Surface_ResetTarget();
    for (int s : surfaces) Surface_Free(s);
    GR_SetBlendMode(0);
  }
  // A new surface of that size, cleared to black and made the target.
  int Target(int w, int h) {
    int s = static_cast<int>(GCall("surface_create", {w, h}));
    surfaces.push_back(s);
    EXPECT_EQ(GCall("surface_set_target", {s}), 1);
    GCall("draw_clear", {0});
    return s;
  }
  static double Pixel(int s, double x, double y) { return GCall("surface_getpixel", {s, x, y}); }
  static void Rect(double x1, double y1, double x2, double y2, uint32_t colour) {
    GCall("draw_rectangle_color", {x1, y1, x2, y2, colour, colour, colour, colour, 0});
  }
  std::vector<int> surfaces;
};

// A reset undoes only what surface_set_target did: without a surface as the
// target, a render target pushed by someone else stays.
TEST_F(DrawTest, ResettingWithoutASurfaceTargetLeavesOtherTargetsAlone) {
  int s = Target(4, 4);
  int t = static_cast<int>(GCall("surface_create", {4, 4}));
  surfaces.push_back(t);
  EXPECT_EQ(GCall("surface_set_target", {t}), 1);
  EXPECT_EQ(Graphics_RenderTargetDepth(), 1) << "targets do not nest";
  EXPECT_EQ(GCall("surface_reset_target"), 1);
  EXPECT_EQ(Graphics_RenderTargetDepth(), 0);
  ASSERT_TRUE(Graphics_PushRenderTarget(Surface_GetTexture(s)));
  EXPECT_EQ(GCall("surface_reset_target"), 0);
  EXPECT_EQ(Graphics_RenderTargetDepth(), 1);
  Graphics_PopRenderTarget();
}

// The width, height and bits per pixel of a BMP file; all 0 when it is none.
struct BmpInfo {
  int32_t width = 0, height = 0;
  int16_t bits = 0;
};
BmpInfo ReadBmp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  BmpInfo info;
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return info;
  std::memcpy(&info.width, &bytes[18], 4);
  std::memcpy(&info.height, &bytes[22], 4);
  std::memcpy(&info.bits, &bytes[28], 2);
  return info;
}

TEST_F(DrawTest, ScreenAndSurfacesAreSavedAsBmpWhateverTheExtension) {
  char folder[] = "/tmp/draw_save_XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  File_SetSaveDirectory(folder);
  int s = Target(12, 6);
  GCall("surface_reset_target");
  GCall("surface_save", {s, "surface.png"});
  BmpInfo info = ReadBmp(std::string(folder) + "/surface.png");
  EXPECT_EQ(info.width, 12);
  EXPECT_EQ(std::abs(info.height), 6);
  EXPECT_EQ(info.bits, 24);
  GCall("surface_save_part", {s, "part.bmp", 8, -2, 10, 4});
  info = ReadBmp(std::string(folder) + "/part.bmp");
  EXPECT_EQ(info.width, 4);
  EXPECT_EQ(std::abs(info.height), 2);

  GCall("screen_save_part", {"shot.png", -10, 0, 50, 10});
  info = ReadBmp(std::string(folder) + "/shot.png");
  EXPECT_EQ(info.width, 40);
  EXPECT_EQ(std::abs(info.height), 10);
  GCall("screen_save_part", {"none.png", kTestSize, 0, 50, 10});
  EXPECT_FALSE(std::ifstream(std::string(folder) + "/none.png").good());

  EXPECT_EQ(ErrorFrom([&] { GCall("surface_save", {s, ""}); }), "Trying to save surface to empty image file name.");
  EXPECT_EQ(ErrorFrom([&] { GCall("surface_save", {s, 5}); }), "Trying to save surface to empty image file name.");
  EXPECT_EQ(ErrorFrom([] { GCall("screen_save", {""}); }), "Trying to save screen to empty image file name.");
  File_SetSaveDirectory("");
  std::system((std::string("rm -rf ") + folder).c_str());
}

TEST_F(DrawTest, ScreenPixelsCaptionsAndDisplayReset) {
  Rect(5, 5, 6, 6, RED);
  EXPECT_EQ(GCall("draw_getpixel", {5, 5}), 0xFFFF0000u) << "the back buffer's ARGB word";
  EXPECT_EQ(GCall("draw_getpixel", {-1, 5}), 0);

  // Reals where a text is asked for count as the empty text.
  GCall("window_set_caption", {"Game"});
  EXPECT_EQ(GCallWith(nullptr, "window_get_caption", {}).text, "Game");
  GCall("window_set_caption", {5});
  EXPECT_EQ(GCallWith(nullptr, "window_get_caption", {}).text, "");
  EXPECT_EQ(GCall("string_width", {123}), 0);
  EXPECT_GT(GCall("string_width", {"123"}), 0);

  // With one argument vertical sync goes off, whatever the unused slot holds.
  const RFunction* reset = Function_Get(Function_FindBuiltIn("display_reset"));
  RValue args[2] = {{VALUE_REAL, nullptr, 0}, {VALUE_REAL, nullptr, 1}};
  RValue result = {VALUE_REAL, nullptr, 0};
  if (SDL_GL_SetSwapInterval(1) == 0) {
    reset->routine(result, nullptr, nullptr, 1, args);
    EXPECT_TRUE(Display_ResetPending());
    Graphics_ResetIfRequested();
    EXPECT_EQ(SDL_GL_GetSwapInterval(), 0);
    reset->routine(result, nullptr, nullptr, 2, args);
    Graphics_ResetIfRequested();
    EXPECT_EQ(SDL_GL_GetSwapInterval(), 1);
    reset->routine(result, nullptr, nullptr, 1, args);
    Graphics_ResetIfRequested();
  }
  EXPECT_EQ(GCall("window_get_showborder"), 0);
  EXPECT_EQ(GCall("display_set_colordepth", {Display_GetColourDepth() + 8}), 0);
}
// draw_getpixel finds a room point where the renderer put it, through the
// view being drawn, turned or not, and when views are off.
TEST_F(DrawTest, ScreenPixelsAreFoundThroughTheView) {
  CRoom room;
  room.width = 128, room.height = 64;
  CRoom* saved = g_RunRoom;
  g_RunRoom = &room;
  for (float angle : {0.0f, 90.0f, 30.0f}) {
    RoomView& v = room.views[0];
    v.visible = true;
    v.xview = 40, v.yview = 8, v.wview = 32, v.hview = 16;
    v.xport = 8, v.yport = 16, v.wport = 48, v.hport = 32;
    v.angle = angle;
    room.views_enabled = true;
    Graphics_Clear(0xFF000000);
    Graphics_SetViewPortAndView(v.xport, v.yport, v.wport, v.hport, v.xview, v.yview, v.wview, v.hview, v.angle);
    Rect(50, 12, 53, 15, RED);
    EXPECT_EQ(GCall("draw_getpixel", {51.5, 13.5}), 0xFFFF0000u) << angle;
    EXPECT_EQ(GCall("draw_getpixel", {60, 13.5}), 0xFF000000u) << angle;
  }
  // The mouse the other way: the port's centre is the view's centre, and a
  // half turn takes the port's corner to the far corner of the view.
  int mx = IO_MousePositionX[0], my = IO_MousePositionY[0];
  IO_MousePositionX[0] = 32, IO_MousePositionY[0] = 32;
  EXPECT_FLOAT_EQ(GCall("window_view_mouse_get_x", {0}), 56);
  EXPECT_FLOAT_EQ(GCall("window_view_mouse_get_y", {0}), 16);
  room.views[0].angle = 180;
  IO_MousePositionX[0] = 8, IO_MousePositionY[0] = 16;
  EXPECT_NEAR(GCall("window_view_mouse_get_x", {0}), 72, 1e-4);
  EXPECT_NEAR(GCall("window_view_mouse_get_y", {0}), 24, 1e-4);
  IO_MousePositionX[0] = mx, IO_MousePositionY[0] = my;

  // Views off: the room is stretched over the window.
  room.views_enabled = false;
  Graphics_Clear(0xFF000000);
  Graphics_SetViewPortAndView(0, 0, kTestSize, kTestSize, 0, 0, 128, 64, 0);
  Rect(100, 10, 103, 13, RED);
  EXPECT_EQ(GCall("draw_getpixel", {101.5, 11.5}), 0xFFFF0000u);
  g_RunRoom = saved;
}

// Every built-in with arguments that are not a number, out of every range,
// negative or texts: none may crash, hang or leave a surface as the target.
TEST_F(DrawTest, EveryBuiltInSurvivesHostileArguments) {
  const std::set<std::string> skipped = {
      // They move or resize the test's window.
      "window_set_fullscreen", "window_set_size", "window_set_rectangle", "window_set_position", "window_center"};
  bool interpolation = GR_GetInterpolation(), repeat = GR_GetRepeat();
  int count = 0;
  for (int i = 0; i < Function_Count(); i++) {
    const RFunction* f = Function_Get(i);
    if (!f || skipped.count(f->name)) continue;
    std::string name = f->name;
    bool ours = false;
    for (const char* prefix : {"draw_", "surface_", "tile_", "display_", "window_", "screen_", "color_", "make_color",
                               "merge_color", "texture_", "string_width", "string_height", "sprite_get_texture",
                               "background_get_texture"})
      ours = ours || name.rfind(prefix, 0) == 0;
    if (!ours) continue;
    count++;
    int argc = f->argnumb < 0 ? 2 : f->argnumb;
    for (double value : {std::nan(""), 1e300, -1e300, -1.0, 4294967296.0}) {
      RValue args[MAX_ARGUMENTS] = {};
      for (int a = 0; a < argc; a++) RValue_SetReal(&args[a], value);
      RValue result = {VALUE_REAL, nullptr, 0};
      f->routine(result, nullptr, nullptr, argc, args);
      RValue_Free(&result);
    }
    RValue args[MAX_ARGUMENTS] = {};
    for (int a = 0; a < argc; a++) RValue_SetString(&args[a], "");
    RValue result = {VALUE_REAL, nullptr, 0};
    f->routine(result, nullptr, nullptr, argc, args);
    RValue_Free(&result);
    for (RValue& v : args) RValue_Free(&v);
    EXPECT_EQ(Surface_GetTarget(), -1) << name;
  }
  EXPECT_GE(count, 190);
  GR_SetInterpolation(interpolation);
  GR_SetRepeat(repeat);
  GR_SetTextureBlending(true);
  Text_SetFont(-1);
  Text_SetHAlign(0);
  Text_SetVAlign(0);
  GR_SetCirclePrecision(24);
  Display_SetVSync(false);
  Graphics_ResetIfRequested();
}
}  // namespace
