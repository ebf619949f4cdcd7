#include <climits>
#include <cmath>

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

TEST_F(GraphicsTest, SpriteLightsExactlyItsPixelsWithItsColours) {
  CSprite s;
  std::vector<CBitmap32> frames{Pattern()};
  ASSERT_TRUE(s.SetFromBitmaps(std::move(frames)));
  s.xorig = 1;
  s.yorig = 2;
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

}  // namespace
