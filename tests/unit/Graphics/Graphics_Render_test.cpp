#include <climits>
#include <cmath>
#include <functional>

#include "Graphics/Graphics_D3D.h"
#include "Graphics/Graphics_Image.h"
#include "Graphics/Graphics_Surface.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Graphics_TestDevice.h"
#include "Sprite/Sprite_Class.h"

namespace {

// A 4 by 3 image with a different colour in every pixel.
CBitmap32 Pattern() {
  CBitmap32 b(4, 3);
  for (int y = 0; y < 3; y++)
    for (int x = 0; x < 4; x++) b.Row(y)[x] = 0xFF000000u | uint32_t((x + 1) * 40) << 16 | uint32_t((y + 1) * 60) << 8 | 7u;
  return b;
}

using Pixels = std::vector<std::pair<int, int>>;

// A sprite of the pattern with its origin at (xorig, yorig).
bool PatternSprite(CSprite* s, int xorig, int yorig) {
  std::vector<CBitmap32> frames{Pattern()};
  s->xorig = xorig;
  s->yorig = yorig;
  return s->SetFromBitmaps(std::move(frames));
}

TEST_F(GraphicsTest, SpriteLightsExactlyItsPixelsWithItsColours) {
  CSprite s;
  ASSERT_TRUE(PatternSprite(&s, 1, 2));
  s.DrawSimple(0, 10, 20);
  std::vector<uint32_t> scr = Screen();
  EXPECT_EQ(Lit(scr).size(), 12u);
  for (int y = 0; y < 3; y++)
    for (int x = 0; x < 4; x++) EXPECT_EQ(Pixel(scr, 9 + x, 18 + y), s.bitmaps[0].Row(y)[x]) << x << "," << y;

  // Doubled in both directions: each pixel becomes a 2 by 2 block.
  Graphics_Clear(0xFF000000);
  s.Draw(0, 10, 20, 2, 2, 0, 0xFFFFFF, 1);
  scr = Screen();
  EXPECT_EQ(Lit(scr).size(), 48u);
  EXPECT_EQ(Pixel(scr, 8, 16), s.bitmaps[0].Row(0)[0]);
  EXPECT_EQ(Pixel(scr, 15, 21), s.bitmaps[0].Row(2)[3]);

  // A blend colour multiplies: blue 0 removes the blue channel (7).
  Graphics_Clear(0xFF000000);
  s.Draw(0, 10, 20, 1, 1, 0, 0x00FFFF, 1);
  EXPECT_EQ(Pixel(Screen(), 9, 18), s.bitmaps[0].Row(0)[0] & 0xFFFFFF00u);
}

TEST_F(GraphicsTest, BlendModesAndAlphaGiveTheExpectedValues) {
  auto fillThenDraw = [](int mode, uint32_t bgr, float alpha) {
    Graphics_Clear(0xFF406080);  // red 0x40, green 0x60, blue 0x80
    GR_SetBlendMode(mode);
    GR_SetColor(bgr);
    GR_SetAlpha(alpha);
    GR_Draw_Rectangle(0, 0, 3, 3, false);
    uint32_t p = 0;
    Graphics_ReadPixels(-1, 1, 1, 1, 1, &p);
    GR_SetBlendMode(0);
    GR_SetAlpha(1);
    return p & 0xFFFFFF;
  };
  auto near = [](uint32_t got, int r, int g, int b) {
    int gr = (got >> 16) & 255, gg = (got >> 8) & 255, gb = got & 255;
    return std::abs(gr - r) <= 1 && std::abs(gg - g) <= 1 && std::abs(gb - b) <= 1;
  };
  // Normal: source * a + dest * (1 - a), white at half alpha.
  EXPECT_TRUE(near(fillThenDraw(0, 0xFFFFFF, 0.5f), 0x9F, 0xAF, 0xBF));
  // Add: dest + source * a.
  EXPECT_TRUE(near(fillThenDraw(1, 0x202020, 1), 0x60, 0x80, 0xA0));
  // Max: source * a + dest * (1 - source).
  uint32_t max = fillThenDraw(2, 0x000080, 1);  // red 0x80 only
  EXPECT_TRUE(near(max, 0x80 + 0x40 * 127 / 255, 0x60, 0x80)) << std::hex << max;
  // Subtract: dest * (1 - source).
  EXPECT_TRUE(near(fillThenDraw(3, 0xFFFFFF, 1), 0, 0, 0));
  EXPECT_TRUE(near(fillThenDraw(3, 0x000000, 1), 0x40, 0x60, 0x80));
  // Alpha 0 draws nothing in normal mode.
  EXPECT_TRUE(near(fillThenDraw(0, 0xFFFFFF, 0), 0x40, 0x60, 0x80));
}

TEST_F(GraphicsTest, SurfaceDrawnOntoTheScreen) {
  int id = Surface_Create(8, 6);
  ASSERT_GE(id, 0);
  ASSERT_TRUE(Surface_SetTarget(id));
  GR_Draw_Clear(0x0000FF);  // red
  GR_SetColor(0xFF0000);    // blue
  GR_Draw_Point(7, 5);
  ASSERT_TRUE(Surface_ResetTarget());
  EXPECT_FALSE(Surface_ResetTarget());  // nothing left to reset
  // The viewport and view came back: a point lands where the screen says.
  GR_SetColor(0x00FF00);
  GR_Draw_Point(60, 60);
  Surface_Draw(id, 20, 30);
  std::vector<uint32_t> scr = Screen();
  EXPECT_EQ(Pixel(scr, 60, 60), 0xFF00FF00u);
  EXPECT_EQ(Pixel(scr, 20, 30), 0xFFFF0000u);
  EXPECT_EQ(Pixel(scr, 26, 35), 0xFFFF0000u);
  EXPECT_EQ(Pixel(scr, 27, 35), 0xFF0000FFu);
  EXPECT_EQ(Pixel(scr, 28, 35), 0xFF000000u);
  EXPECT_EQ(Pixel(scr, 20, 36), 0xFF000000u);
  // A second target replaces the first instead of nesting.
  int other = Surface_Create(4, 4);
  ASSERT_TRUE(Surface_SetTarget(id));
  ASSERT_TRUE(Surface_SetTarget(other));
  EXPECT_EQ(Graphics_RenderTargetDepth(), 1);
  Surface_ResetTarget();
  EXPECT_EQ(Graphics_RenderTargetDepth(), 0);
  Surface_Free(id);
  Surface_Free(other);
  EXPECT_EQ(Surface_GetWidth(id), -1);
}

TEST_F(GraphicsTest, PointsAndLinesHitTheDirect3DPixels) {
  GR_Draw_Point(3, 4);
  GR_Draw_Line(2, 10, 12, 10);  // last pixel left out
  GR_Draw_Line(30, 2, 30, 6);
  GR_Draw_Line(50, 20, 44, 20);  // leftward: 50 down to 45
  GR_Draw_Line(40, 30, 40, 24);  // upward: 30 up to 25
  std::vector<uint32_t> scr = Screen();
  Pixels expected{{3, 4}};
  for (int x = 2; x < 12; x++) expected.emplace_back(x, 10);
  for (int y = 2; y < 6; y++) expected.emplace_back(30, y);
  for (int x = 45; x <= 50; x++) expected.emplace_back(x, 20);
  for (int y = 25; y <= 30; y++) expected.emplace_back(40, y);
  Pixels lit = Lit(scr);
  std::sort(expected.begin(), expected.end(), [](auto a, auto b) { return a.second != b.second ? a.second < b.second : a.first < b.first; });
  EXPECT_EQ(lit, expected);

  // A rectangle outline lights its border once, corners included; a filled
  // one covers both corners.
  Graphics_Clear(0xFF000000);
  GR_Draw_Rectangle(5, 5, 9, 8, true);
  EXPECT_EQ(Lit(Screen()).size(), size_t(2 * 5 + 2 * 2));
  Graphics_Clear(0xFF000000);
  GR_Draw_Rectangle(5, 5, 9, 8, false);
  EXPECT_EQ(Lit(Screen()).size(), size_t(5 * 4));
}

TEST_F(GraphicsTest, SpritesFromOnePageShareOneBatch) {
  CBitmap32 page(16, 16);
  for (uint32_t& p : page.pixels) p = 0xFFFFFFFFu;
  int t1 = GR_Texture_Create(16, 16, page.pixels.data());
  int t2 = GR_Texture_Create(16, 16, page.pixels.data());
  TPageEntry a = TPage_Whole(t1, 8, 8), b = TPage_Whole(t2, 8, 8);

  GR_D3D_Start_Frame();
  for (int i = 0; i < 100; i++) GR_TPage_Draw(&a, 0, 0, float(i % 50), float(i / 50), 1, 1, 0, 0xFFFFFF, 1);
  Batch_Flush();
  EXPECT_EQ(Graphics_FrameCounters.batches, 1);
  EXPECT_EQ(Graphics_FrameCounters.textureSwaps, 1);

  // Two pages in turn share one batch too, each bound once.
  GR_D3D_Start_Frame();
  for (int i = 0; i < 100; i++) GR_TPage_Draw(i % 2 ? &b : &a, 0, 0, 1, 1, 1, 1, 0, 0xFFFFFF, 1);
  Batch_Flush();
  EXPECT_EQ(Graphics_FrameCounters.batches, 1);
  EXPECT_EQ(Graphics_FrameCounters.textureSwaps, 2);

  // A render-state change closes the batch.
  GR_D3D_Start_Frame();
  GR_TPage_Draw(&a, 0, 0, 1, 1, 1, 1, 0, 0xFFFFFF, 1);
  GR_SetBlendMode(1);
  GR_TPage_Draw(&a, 0, 0, 1, 1, 1, 1, 0, 0xFFFFFF, 1);
  Batch_Flush();
  EXPECT_EQ(Graphics_FrameCounters.batches, 2);
  GR_Texture_Free(t1);
  GR_Texture_Free(t2);
}

// Pages of one colour each, drawn as 2 by 2 squares along a row, in turn.
struct ColourPages {
  std::vector<int> textures;
  std::vector<TPageEntry> entries;
  explicit ColourPages(int count) {
    for (int i = 0; i < count; i++) {
      CBitmap32 page(4, 4);
      for (uint32_t& p : page.pixels) p = Colour(i);
      textures.push_back(GR_Texture_Create(4, 4, page.pixels.data()));
      entries.push_back(TPage_Whole(textures.back(), 2, 2));
    }
  }
  ~ColourPages() {
    for (int t : textures) GR_Texture_Free(t);
  }
  static uint32_t Colour(int i) { return 0xFF000000u | uint32_t(20 + i * 20) << 16 | uint32_t(200 - i * 15); }
};

TEST_F(GraphicsTest, PagesSharingABatchDrawTheirOwnPixels) {
  // Ten pages: more than one batch may sample, so the batch is drawn and a
  // new one begun; every square keeps its own page's colour, in order.
  ColourPages pages(10);
  GR_D3D_Start_Frame();
  Graphics_Clear(0xFF000000);
  for (int i = 0; i < 30; i++) GR_TPage_Draw(&pages.entries[i % 10], 0, 0, float(i * 2), 4, 1, 1, 0, 0xFFFFFF, 1);
  // Overlapping squares: the later one covers the earlier, as drawn in turn.
  GR_TPage_Draw(&pages.entries[3], 0, 0, 0, 10, 1, 1, 0, 0xFFFFFF, 1);
  GR_TPage_Draw(&pages.entries[7], 0, 0, 1, 10, 1, 1, 0, 0xFFFFFF, 1);
  Batch_Flush();
  EXPECT_LE(Graphics_FrameCounters.batches, 4);
  std::vector<uint32_t> scr = Screen();
  for (int i = 0; i < 30; i++) {
    EXPECT_EQ(Pixel(scr, i * 2, 4), pages.Colour(i % 10)) << i;
    EXPECT_EQ(Pixel(scr, i * 2 + 1, 5), pages.Colour(i % 10)) << i;
  }
  EXPECT_EQ(Pixel(scr, 0, 10), pages.Colour(3));
  EXPECT_EQ(Pixel(scr, 1, 10), pages.Colour(7));
  EXPECT_EQ(Pixel(scr, 2, 11), pages.Colour(7));

  // Untextured drawing, a blend mode or a texture mode change between pages
  // closes the batch and draws as before.
  Graphics_Clear(0xFF000000);
  GR_TPage_Draw(&pages.entries[1], 0, 0, 0, 0, 1, 1, 0, 0xFFFFFF, 1);
  GR_SetColor(0x0000FF);
  GR_Draw_Rectangle(2, 0, 3, 1, false);
  GR_TPage_Draw(&pages.entries[2], 0, 0, 4, 0, 1, 1, 0, 0xFFFFFF, 1);
  GR_SetBlendMode(1);  // additive over black: the same colour
  GR_TPage_Draw(&pages.entries[5], 0, 0, 6, 0, 1, 1, 0, 0xFFFFFF, 1);
  GR_SetBlendMode(0);
  GR_TPage_Draw(&pages.entries[6], 0, 0, 8, 0, 1, 1, 0, 0x00FFFF, 1);  // no blue
  scr = Screen();
  EXPECT_EQ(Pixel(scr, 0, 0), pages.Colour(1));
  EXPECT_EQ(Pixel(scr, 2, 0), 0xFFFF0000u);
  EXPECT_EQ(Pixel(scr, 4, 0), pages.Colour(2));
  EXPECT_EQ(Pixel(scr, 6, 0), pages.Colour(5));
  EXPECT_EQ(Pixel(scr, 8, 0), pages.Colour(6) & 0xFFFFFF00u);

  // A surface target between pages: each target gets only its own squares.
  int surface = Surface_Create(8, 8);
  ASSERT_GE(surface, 0);
  Graphics_Clear(0xFF000000);
  GR_TPage_Draw(&pages.entries[0], 0, 0, 0, 0, 1, 1, 0, 0xFFFFFF, 1);
  ASSERT_TRUE(Surface_SetTarget(surface));
  Graphics_Clear(0xFF000000);
  GR_TPage_Draw(&pages.entries[1], 0, 0, 2, 2, 1, 1, 0, 0xFFFFFF, 1);
  Surface_ResetTarget();
  GR_TPage_Draw(&pages.entries[2], 0, 0, 4, 0, 1, 1, 0, 0xFFFFFF, 1);
  scr = Screen();
  EXPECT_EQ(Pixel(scr, 0, 0), pages.Colour(0));
  EXPECT_EQ(Pixel(scr, 2, 2), 0xFF000000u);
  EXPECT_EQ(Pixel(scr, 4, 0), pages.Colour(2));
  uint32_t p = 0;
  ASSERT_TRUE(Graphics_ReadPixels(Surface_GetTexture(surface), 2, 2, 1, 1, &p));
  EXPECT_EQ(p, pages.Colour(1));
  Surface_Free(surface);
}

TEST_F(GraphicsTest, OversizedVertexRequestIsServedWhole) {
  // More vertices than a batch holds: the caller may fill all of them.
  const int n = BATCH_MAX_VERTS + 6 * 1000;
  SVertex* v = Batch_AllocVerts(PR_TRIANGLELIST, -1, VERTEX_SIZE_2D, n);
  ASSERT_NE(v, nullptr);
  for (int i = 0; i < n; i++) v[i] = {float(i % 3 == 1 ? 4 : 0), float(i % 3 == 2 ? 4 : 0), 0, 0xFFFFFFFFu, 0, 0};
  GR_D3D_Start_Frame();
  Batch_Flush();
  EXPECT_EQ(Graphics_FrameCounters.batches, 1);
  EXPECT_NE(Pixel(Screen(), 1, 1), 0xFF000000u);
  // Strips never share a batch.
  GR_D3D_Start_Frame();
  for (int i = 0; i < 3; i++) ASSERT_NE(Batch_AllocVerts(PR_TRIANGLESTRIP, -1, VERTEX_SIZE_2D, 4), nullptr);
  Batch_Flush();
  EXPECT_EQ(Graphics_FrameCounters.batches, 3);
  EXPECT_EQ(Batch_AllocVerts(PR_TRIANGLELIST, -1, 36, 3), nullptr);
}

TEST_F(GraphicsTest, TextureFlushFreesSurfaceTexturesAndTargets) {
  int id = Surface_Create(16, 16);
  ASSERT_GE(id, 0);
  int texture = Surface_GetTexture(id);
  ASSERT_TRUE(GR_Texture_Exists(texture));
  ASSERT_TRUE(Surface_SetTarget(id));
  GR_Texture_Flush();
  EXPECT_FALSE(Surface_Exists(id));
  EXPECT_FALSE(GR_Texture_Exists(texture));
  EXPECT_EQ(Surface_GetTarget(), -1);
  EXPECT_EQ(Graphics_RenderTargetDepth(), 0);
  // Drawing goes to the screen again.
  GR_Draw_Point(1, 1);
  EXPECT_EQ(Pixel(Screen(), 1, 1), 0xFFFFFFFFu);
}

TEST_F(GraphicsTest, GrabbedRectanglesAreClipped) {
  GR_SetColor(0x0000FF);
  GR_Draw_Point(0, 0);
  CBitmap32* b = Graphics_GrabScreenRect(kTestSize, kTestSize, -10, -5, 50, 20);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->width, 40);
  EXPECT_EQ(b->height, 15);
  EXPECT_EQ(b->Row(0)[0], 0xFFFF0000u);
  delete b;
  EXPECT_EQ(Graphics_GrabScreenRect(kTestSize, kTestSize, 70, 0, 5, 5), nullptr);
  EXPECT_EQ(Graphics_GrabScreenRect(kTestSize, kTestSize, INT_MIN, 0, INT_MIN, 5), nullptr);
  b = Graphics_GrabScreenRect(kTestSize, kTestSize, 60, 60, INT_MAX, INT_MAX);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->width * b->height, 16);
  delete b;
  EXPECT_EQ(Graphics_GrabSurfaceRect(-1, 0, 0, 5, 5), nullptr);
  int id = Surface_Create(4, 4);
  ASSERT_TRUE(Surface_SetTarget(id));
  GR_Draw_Clear(0x00FF00);
  Surface_ResetTarget();
  b = Graphics_GrabSurfaceRect(Surface_GetTexture(id), 2, -1, 10, 10);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->width, 2);
  EXPECT_EQ(b->height, 4);
  EXPECT_EQ(b->Row(3)[1], 0xFF00FF00u);
  delete b;
  Surface_Free(id);
  EXPECT_EQ(GR_GetPixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(GR_GetPixel(-1, 0), 0u);
}

// Draws a scene with the guard band and without it, and expects the same
// pixels (of the screen, or of a surface the scene names) both ways, each
// channel within tolerance.
void ExpectSameBothWays(const std::string& what, int tolerance, const std::function<int()>& scene) {
  std::vector<uint32_t> pictures[2];
  for (int on = 0; on < 2; on++) {
    Graphics_SetGuardBand(on == 1);
    Graphics_SetViewPortAndView(0, 0, kTestSize, kTestSize, 0, 0, kTestSize, kTestSize, 0);
    Graphics_Clear(0xFF000000);
    int surface = scene();
    Graphics_SetViewPortAndView(0, 0, kTestSize, kTestSize, 0, 0, kTestSize, kTestSize, 0);
    int texture = surface >= 0 ? Surface_GetTexture(surface) : -1;
    int w = surface >= 0 ? Surface_GetWidth(surface) : kTestSize, h = surface >= 0 ? Surface_GetHeight(surface) : kTestSize;
    pictures[on].resize(size_t(w) * size_t(h));
    EXPECT_TRUE(Graphics_ReadPixels(texture, 0, 0, w, h, pictures[on].data()));
    if (surface >= 0) Surface_Free(surface);
  }
  Graphics_SetGuardBand(true);
  int differ = 0, bright = 0;
  for (size_t i = 0; i < pictures[0].size(); i++) {
    for (int shift = 0; shift < 32; shift += 8)
      if (std::abs(int((pictures[0][i] >> shift) & 255) - int((pictures[1][i] >> shift) & 255)) > tolerance) {
        differ++;
        break;
      }
    bright += (pictures[1][i] & 0xE0E0E0) != 0;
  }
  EXPECT_EQ(differ, 0) << what;
  EXPECT_GT(bright, 0) << what << ": the scene drew nothing but its background";
}

// Sprites reaching past every edge of the viewport, at fractional places,
// scaled and turned, with lines and points drawn between them; with
// gradients, over a huge dim triangle and under shapes shaded from corner
// to corner.
void EdgeScene(const CSprite& s, bool gradients) {
  if (gradients) GR_Draw_Triangle_Color(-100000, -3000, 90000, 40, 30, 120000, 0x10, 0x1000, 0x100000, false);
  const float places[][2] = {{-13.3f, 20.4f}, {58.7f, 31.1f}, {22.2f, -7.6f}, {40.5f, 60.2f}, {-9.1f, -11.7f}, {61.9f, 59.3f}};
  float angle = 0;
  for (const auto& p : places) {
    s.Draw(0, p[0], p[1], 5.5f, 4.25f, angle, 0xFFFFFF, 0.8f);
    angle += 33;
    GR_Draw_Line(p[0], p[1], 32, 32);
    GR_Draw_Point(p[0] + 14, p[1] + 3);
  }
  if (!gradients) return;
  GR_Draw_Circle_Color(60, 8, 14.5f, 0x00FF00, 0xFF0000, false);
  GR_Draw_Rectangle_Color(-30, 50, 100, 70, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, false);
}

// Triangles clipped at the viewport's edge get their colours and texture
// coordinates at the new corners rounded to floats; drawn whole, they do
// not. Flat-coloured sprites come out the same to the bit, gradients within
// one level.
TEST_F(GraphicsTest, GuardBandDrawsTheSamePixelsAsClipping) {
  CSprite s;
  ASSERT_TRUE(PatternSprite(&s, 2, 1));
  for (bool linear : {false, true})
    for (bool gradients : {false, true}) {
      GR_SetInterpolation(linear);
      std::string how = std::string(linear ? " (linear" : " (nearest") + (gradients ? ", gradients)" : ")");
      int tolerance = gradients ? 1 : 0;
      ExpectSameBothWays("whole screen" + how, tolerance, [&] { return EdgeScene(s, gradients), -1; });
      // A turned view, and ports apart from the screen's edges: one with an
      // odd width, which cannot be widened about a whole pixel.
      ExpectSameBothWays("turned view" + how, tolerance, [&] {
        Graphics_SetViewPortAndView(0, 0, kTestSize, kTestSize, 5.5f, -3, kTestSize, kTestSize, 20);
        return EdgeScene(s, gradients), -1;
      });
      ExpectSameBothWays("ports" + how, tolerance, [&] {
        Graphics_SetViewPortAndView(6, 10, 30, 40, 0, 0, 30, 40, 0);
        EdgeScene(s, gradients);
        Graphics_SetViewPortAndView(40, 3, 21, 50, 10, 10, 42, 100, 0);
        EdgeScene(s, gradients);
        return -1;
      });
      ExpectSameBothWays("scissor test on" + how, tolerance, [&] {
        Graphics_SetRenderState(RS_SCISSORTEST, 1);
        Graphics_SetViewPortAndView(8, 8, 40, 40, 0, 0, 64, 64, 0);
        EdgeScene(s, gradients);
        Graphics_SetRenderState(RS_SCISSORTEST, 0);
        return -1;
      });
      ExpectSameBothWays("surface" + how, tolerance, [&] {
        int id = Surface_Create(40, 26);
        EXPECT_TRUE(Surface_SetTarget(id));
        GR_Draw_Clear(0x000000);
        EdgeScene(s, gradients);
        Surface_ResetTarget();
        return id;
      });
    }
  GR_SetInterpolation(false);
  // Nothing drawn through a widened viewport reaches past the real one.
  Graphics_SetViewPortAndView(6, 10, 30, 40, 0, 0, 30, 40, 0);
  EdgeScene(s, true);
  Graphics_SetViewPortAndView(0, 0, kTestSize, kTestSize, 0, 0, kTestSize, kTestSize, 0);
  std::vector<std::pair<int, int>> lit = Lit(Screen());
  EXPECT_EQ(lit.size(), 30u * 40u);
  for (auto [x, y] : lit) ASSERT_TRUE(x >= 6 && x < 36 && y >= 10 && y < 50) << x << "," << y;
}

TEST_F(GraphicsTest, GuardBandDrawsTheSame3DPixelsAsClipping) {
  // A checkered floor and a wall reaching behind the camera and past every
  // side (across the near plane), and a block in view.
  uint32_t px[16];
  for (int i = 0; i < 16; i++) px[i] = ((i / 4 + i % 4) % 2) ? 0xFF808080u : 0xFFFFFFFFu;
  int checker = GR_Texture_Create(4, 4, px);
  GR_SetRepeat(true);
  for (bool perspective : {true, false}) {
    ExpectSameBothWays(perspective ? "perspective" : "orthographic", 1, [&] {
      D3D_Start(true);
      D3D_SetPerspective(perspective);
      D3D_SetCulling(false);
      Graphics_Clear(0xFF000000);
      float from[3] = {-20, -20, 25}, to[3] = {40, 30, 0}, up[3] = {0, 0, 1};
      if (perspective) D3D_SetProjectionExt(from, to, up, 70, 1, 1, 1000);
      GR_SetColor(0x40C0FF);
      D3D_Draw_Floor(-200, -200, 0, 300, 300, 0, checker, 30, 30);
      GR_SetColor(0x60FF60);
      D3D_Draw_Wall(-25, -100, 0, -25, 100, 40, checker, 8, 2);
      GR_SetColor(0xFF8020);
      D3D_Draw_Block(20, 10, 0, 45, 25, 12, -1, 1, 1);
      D3D_Start(false);
      GR_SetColor(0xFFFFFF);
      return -1;
    });
  }
  GR_SetRepeat(false);
  GR_Texture_Free(checker);
}

}  // namespace
