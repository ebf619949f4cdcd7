// The drawing built-ins on the headless device: what they draw onto
// surfaces, read back through the built-ins themselves.
#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "Background/Background_Main.h"
#include "Base/File_Folders.h"
#include "Function_Graphics_Call.h"
#include "Graphics_API/Display_Main.h"
#include "Graphics/Graphics_Surface.h"
#include "Object/Instance_Class.h"
#include "Sprite/Sprite_Main.h"

namespace {
constexpr uint32_t RED = 255, GREEN = 65280, BLUE = 16711680;

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

// A sprite of 2 by 2 frames in the given ARGB colours.
int MakeSprite(std::initializer_list<uint32_t> colours) {
  std::vector<CBitmap32> frames;
  for (uint32_t c : colours) {
    frames.emplace_back(2, 2);
    for (uint32_t& p : frames.back().pixels) p = c;
  }
  auto* s = new CSprite;
  EXPECT_TRUE(s->SetFromBitmaps(std::move(frames)));
  return Sprite_Append(s, "spr_test");
}

TEST_F(DrawTest, SurfacesAreMadeTargetedReadAndFreed) {
  int s = Target(16, 8);
  EXPECT_EQ(GCall("surface_exists", {s}), 1);
  EXPECT_EQ(GCall("surface_get_width", {s}), 16);
  EXPECT_EQ(GCall("surface_get_height", {s}), 8);
  GCall("draw_set_color", {GREEN});
  GCall("draw_rectangle", {2, 2, 5, 5, 0});
  EXPECT_EQ(Pixel(s, 3, 3), GREEN) << "a read draws what waits in the batch first";
  EXPECT_EQ(Pixel(s, 2.4, 4.6), GREEN) << "coordinates are rounded";
  EXPECT_EQ(Pixel(s, 1, 1), 0);
  for (auto [x, y] : {std::pair{-1, 0}, {16, 0}, {0, 8}, {0, -1}, {100000, 100000}}) EXPECT_EQ(Pixel(s, x, y), 0);

  // A second target replaces the first; one reset returns to the screen.
  int t = static_cast<int>(GCall("surface_create", {4, 4}));
  surfaces.push_back(t);
  EXPECT_EQ(GCall("surface_set_target", {t}), 1);
  EXPECT_EQ(Surface_GetTarget(), t);
  EXPECT_EQ(Graphics_RenderTargetDepth(), 1);
  EXPECT_EQ(GCall("surface_reset_target"), 1);
  EXPECT_EQ(Surface_GetTarget(), -1);
  EXPECT_EQ(Graphics_RenderTargetDepth(), 0);

  // Without a surface as the target, a reset leaves every render target alone.
  ASSERT_TRUE(Graphics_PushRenderTarget(Surface_GetTexture(t)));
  EXPECT_EQ(GCall("surface_reset_target"), 0);
  EXPECT_EQ(Graphics_RenderTargetDepth(), 1);
  Graphics_PopRenderTarget();

  GCall("surface_free", {s});
  EXPECT_EQ(GCall("surface_get_width", {s}), -1);
  EXPECT_EQ(GCall("surface_exists", {s}), 0);
  EXPECT_EQ(ErrorFrom([] { GCall("surface_free", {12345}); }), "");
  EXPECT_EQ(ErrorFrom([] { GCall("draw_surface", {12345, 0, 0}); }), "Trying to use non-existing surface.");
  EXPECT_EQ(ErrorFrom([&] { GCall("surface_getpixel", {s, 0, 0}); }), "Trying to use non-existing surface.");
}

TEST_F(DrawTest, SpriteSubImagesWrapAndNegativeOnesTakeTheInstanceFrame) {
  int spr = MakeSprite({0xFFFF0000, 0xFF00FF00, 0xFF0000FF});
  int s = Target(16, 4);
  CInstance self(0, 0, 100001, -1, false);
  self.image_index = 2.9f;
  GCallWith(&self, "draw_sprite", {spr, 4, 0, 0});     // past the frame count: frame 1
  GCallWith(&self, "draw_sprite", {spr, 2.7, 2, 0});   // frame 2
  GCallWith(&self, "draw_sprite", {spr, -1, 4, 0});    // the instance's frame 2
  GCallWith(&self, "draw_sprite", {spr, -0.5, 6, 0});  // negative too
  self.image_index = 0;
  GCallWith(&self, "draw_sprite", {spr, 3, 8, 0});  // frame 0
  EXPECT_EQ(Pixel(s, 1, 1), GREEN);
  EXPECT_EQ(Pixel(s, 3, 1), BLUE);
  EXPECT_EQ(Pixel(s, 5, 1), BLUE);
  EXPECT_EQ(Pixel(s, 7, 1), BLUE);
  EXPECT_EQ(Pixel(s, 9, 1), RED);

  // draw_self: the instance's sprite, frame, position, scale and blend.
  self.sprite_index = spr;
  self.image_index = 1.5f;
  self.x = 10, self.y = 0;
  self.image_xscale = 2;
  self.image_blend = 0x00FFFF;  // no blue: green stays green
  GCallWith(&self, "draw_self", {});
  EXPECT_EQ(Pixel(s, 13, 1), GREEN);
  self.image_blend = 0xFF0000;  // blue only: green goes black
  GCallWith(&self, "draw_self", {});
  EXPECT_EQ(Pixel(s, 13, 1), 0);

  // draw_sprite_pos passes a negative sub-image to the sprite, which wraps it.
  GCallWith(&self, "draw_sprite_pos", {spr, -1, 0, 2, 2, 2, 2, 4, 0, 4, 1});
  EXPECT_EQ(Pixel(s, 1, 3), BLUE);

  self.sprite_index = -1;
  EXPECT_EQ(ErrorFrom([&] { GCallWith(&self, "draw_self", {}); }), "Trying to draw non-existing sprite.");
  EXPECT_EQ(ErrorFrom([] { GCall("draw_sprite", {999, 0, 0, 0}); }), "Trying to draw non-existing sprite.");
  EXPECT_EQ(ErrorFrom([] { GCall("sprite_get_texture", {999, 0}); }),
            "Trying to get texture from non-existing sprite.");
  EXPECT_EQ(GCall("sprite_get_texture", {spr, 1}), Sprite_Data(spr)->GetTexture(1));
}

TEST_F(DrawTest, TiledDrawingCoversTheAreaAndIgnoresScalesOfZeroOrLess) {
  int spr = MakeSprite({0xFFFF0000});
  int s = Target(8, 8);
  GCall("draw_sprite_tiled_ext", {spr, 0, 0, 0, 0, 1, 16777215, 1});
  GCall("draw_sprite_tiled_ext", {spr, 0, 0, 0, 1, -1, 16777215, 1});
  GCall("draw_surface_tiled_ext", {s, 0, 0, 0, 0, 16777215, 1});
  EXPECT_EQ(Pixel(s, 0, 0), 0) << "nothing is drawn with a scale of 0 or less";
  GCall("draw_sprite_tiled", {spr, 0, 1, 1});
  EXPECT_EQ(Pixel(s, 0, 0), RED);
  EXPECT_EQ(Pixel(s, 7, 7), RED);
}

TEST_F(DrawTest, BackgroundsAndTheirMessages) {
  auto* b = new CBackground;
  CBitmap32 image(4, 4);
  for (uint32_t& p : image.pixels) p = 0xFFFFFF00;  // yellow
  ASSERT_TRUE(b->SetFromBitmap(std::move(image)));
  int back = Background_Append(b, "bg_test");
  int s = Target(8, 8);
  GCall("draw_background_stretched", {back, 0, 0, 8, 8});
  EXPECT_EQ(Pixel(s, 7, 7), RED + GREEN);
  GCall("draw_background_part_ext", {back, 0, 0, 2, 2, 0, 0, 1, 1, BLUE, 1});  // yellow * blue = black
  EXPECT_EQ(Pixel(s, 1, 1), 0);
  EXPECT_EQ(Pixel(s, 2, 2), RED + GREEN);
  EXPECT_EQ(ErrorFrom([] { GCall("draw_background", {999, 0, 0}); }), "Trying to draw non-existing background.");
  EXPECT_EQ(ErrorFrom([] { GCall("background_get_texture", {999}); }),
            "Trying to get texture from non-existing background.");
  EXPECT_EQ(GCall("background_get_texture", {back}), b->GetTexture());
}

TEST_F(DrawTest, PrimitivesOfEveryKind) {
  int s = Target(16, 16);
  auto shape = [&](int kind, std::initializer_list<std::pair<int, int>> points) {
    GCall("draw_clear", {0});
    GCall("draw_primitive_begin", {kind});
    for (auto [x, y] : points) GCall("draw_vertex_color", {x, y, RED, 1});
    GCall("draw_primitive_end");
  };
  shape(1, {{3, 4}});
  EXPECT_EQ(Pixel(s, 3, 4), RED);
  EXPECT_EQ(Pixel(s, 4, 4), 0);
  shape(2, {{0, 5}, {8, 5}});
  EXPECT_EQ(Pixel(s, 4, 5), RED);
  shape(3, {{0, 2}, {8, 2}, {8, 10}});
  EXPECT_EQ(Pixel(s, 8, 6), RED);
  shape(4, {{0, 0}, {16, 0}, {0, 16}});
  EXPECT_EQ(Pixel(s, 2, 2), RED);
  EXPECT_EQ(Pixel(s, 14, 14), 0);
  shape(5, {{0, 0}, {16, 0}, {0, 16}, {16, 16}});
  EXPECT_EQ(Pixel(s, 14, 14), RED);
  shape(6, {{0, 0}, {16, 0}, {16, 16}, {0, 16}});
  EXPECT_EQ(Pixel(s, 1, 14), RED);
  // An unknown kind starts nothing: the vertices that follow draw nothing.
  shape(9, {{0, 0}, {16, 0}, {0, 16}});
  EXPECT_EQ(Pixel(s, 2, 2), 0);

  GCall("draw_clear", {0});
  GCall("draw_set_color", {GREEN});
  GCall("draw_point", {1, 1});
  GCall("draw_line", {0, 3, 10, 3});
  GCall("draw_circle", {12, 12, 3, 0});
  GCall("draw_triangle_color", {0, 6, 6, 6, 0, 12, BLUE, BLUE, BLUE, 0});
  EXPECT_EQ(Pixel(s, 1, 1), GREEN);
  EXPECT_EQ(Pixel(s, 5, 3), GREEN);
  EXPECT_EQ(Pixel(s, 12, 12), GREEN);
  EXPECT_EQ(Pixel(s, 1, 7), BLUE);
}

TEST_F(DrawTest, BlendModesAlphaClearsAndUnknownModes) {
  int s = Target(4, 4);
  GCall("draw_clear", {0x000040});
  GCall("draw_set_blend_mode", {1});
  Rect(0, 0, 3, 3, 0x000080);
  EXPECT_EQ(Pixel(s, 1, 1), 0xC0);
  // Unknown modes and factors keep the adding mode.
  GCall("draw_set_blend_mode", {7});
  GCall("draw_set_blend_mode_ext", {0, 2});
  GCall("draw_set_blend_mode_ext", {5, 12});
  Rect(0, 0, 3, 3, 0x000020);
  EXPECT_EQ(Pixel(s, 1, 1), 0xE0);

  // The cleared alpha is what a destination-alpha factor reads.
  GCall("draw_clear_alpha", {RED, 0.5});
  GCall("draw_set_blend_mode_ext", {7, 1});  // source * destination alpha, destination * 0
  Rect(0, 0, 3, 3, 0xFFFFFF);
  double grey = Pixel(s, 1, 1);
  int r = int(grey) & 255, g = int(grey) >> 8 & 255, b = int(grey) >> 16 & 255;
  EXPECT_NEAR(r, 128, 1);
  EXPECT_EQ(r, g);
  EXPECT_EQ(g, b);
}

TEST_F(DrawTest, TheBatchIsDrawnBeforeAStateChangeOrAClear) {
  int s = Target(4, 4);
  Rect(0, 0, 3, 3, RED);
  GCall("draw_set_blend_mode", {3});  // subtracting the red would leave black
  EXPECT_EQ(Pixel(s, 1, 1), RED);
  GCall("draw_set_blend_mode", {0});
  Rect(0, 0, 3, 3, RED);
  GCall("draw_clear", {BLUE});
  EXPECT_EQ(Pixel(s, 1, 1), BLUE);
}

TEST_F(DrawTest, SurfaceCopiesAreClippedAndCopiesOntoItselfReadTheOldPixels) {
  int a = Target(8, 8);
  Rect(0, 0, 3, 7, RED);
  Rect(4, 0, 7, 7, GREEN);
  GCall("surface_reset_target");
  int b = Target(8, 8);
  GCall("surface_reset_target");
  GCall("surface_copy", {b, 2, 2, a});
  EXPECT_EQ(Pixel(b, 1, 1), 0);
  EXPECT_EQ(Pixel(b, 2, 2), RED);
  EXPECT_EQ(Pixel(b, 7, 7), GREEN);
  GCall("surface_copy_part", {b, -3, -3, a, -2, -2, 100, 100});
  // Source (-2, -2) lands at (-3, -3): what is left is source (1, 1) at (0, 0).
  EXPECT_EQ(Pixel(b, 2, 2), RED);
  EXPECT_EQ(Pixel(b, 3, 3), GREEN);

  // Overlapping rectangles of one surface: columns 0..5 move right by 2.
  GCall("surface_copy_part", {a, 2, 0, a, 0, 0, 6, 8});
  EXPECT_EQ(Pixel(a, 1, 0), RED);
  EXPECT_EQ(Pixel(a, 5, 0), RED);
  EXPECT_EQ(Pixel(a, 6, 0), GREEN);
  EXPECT_EQ(Pixel(a, 7, 0), GREEN);

  EXPECT_EQ(ErrorFrom([&] { GCall("surface_copy", {999, 0, 0, a}); }), "Trying to use non-existing surface.");
  EXPECT_EQ(ErrorFrom([&] { GCall("surface_copy", {a, 0, 0, 999}); }), "Trying to use non-existing surface.");
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

TEST_F(DrawTest, ScreenPixelsPathsCaptionsAndDisplayReset) {
  Rect(5, 5, 6, 6, RED);
  EXPECT_EQ(GCall("draw_getpixel", {5, 5}), 0xFFFF0000u) << "the back buffer's ARGB word";
  EXPECT_EQ(GCall("draw_getpixel", {-1, 5}), 0);

  EXPECT_EQ(ErrorFrom([] { GCall("draw_path", {0, 0, 0, 1}); }), "Trying to drawn non-existing path.");

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
}  // namespace
