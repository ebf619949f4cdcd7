#include <climits>

#include "Graphics/Graphics_Surface.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Graphics_TestDevice.h"
#include "Sprite/Sprite_Class.h"

namespace {

using Pixels = std::vector<std::pair<int, int>>;

uint32_t At(int x, int y) {
  uint32_t p = 0;
  Graphics_ReadPixels(-1, x, y, 1, 1, &p);
  return p;
}

TEST_F(GraphicsTest, ShapesCoverTheirPixels) {
  GR_Draw_Circle(20, 20, 5, false);
  size_t disc = Lit(Screen()).size();
  EXPECT_GT(disc, 60u);  // about pi * 25
  EXPECT_LT(disc, 90u);
  EXPECT_NE(At(20, 20), 0xFF000000u);
  EXPECT_EQ(At(26, 20), 0xFF000000u);
  Graphics_Clear(0xFF000000);
  GR_Draw_Circle(20, 20, 5, true);
  size_t ring = Lit(Screen()).size();
  EXPECT_GT(ring, 24u);
  EXPECT_LT(ring, 45u);
  EXPECT_EQ(At(20, 20), 0xFF000000u);

  Graphics_Clear(0xFF000000);
  GR_Draw_Ellipse(10, 10, 30, 20, false);
  EXPECT_NE(At(20, 15), 0xFF000000u);
  EXPECT_EQ(At(20, 22), 0xFF000000u);

  // A filled triangle with a vertical and a horizontal edge.
  Graphics_Clear(0xFF000000);
  GR_Draw_Triangle(0, 0, 10, 0, 0, 10, false);
  size_t tri = Lit(Screen()).size();
  EXPECT_GE(tri, 45u);
  EXPECT_LE(tri, 55u);

  Graphics_Clear(0xFF000000);
  GR_Draw_RoundRect(5, 5, 25, 15, 4, 4, false);
  EXPECT_NE(At(15, 10), 0xFF000000u);
  EXPECT_EQ(At(5, 5), 0xFF000000u);  // the corner is cut
  EXPECT_NE(At(15, 5), 0xFF000000u);

  Graphics_Clear(0xFF000000);
  GR_Draw_Line_Width(10, 10, 30, 10, 4);
  EXPECT_EQ(Lit(Screen()).size(), 20u * 4u);

  GR_SetCirclePrecision(3);
  EXPECT_EQ(GR_GetCirclePrecision(), 4);
  GR_SetCirclePrecision(63);
  EXPECT_EQ(GR_GetCirclePrecision(), 60);
  GR_SetCirclePrecision(100);
  EXPECT_EQ(GR_GetCirclePrecision(), 64);
  GR_SetCirclePrecision(24);
}

TEST_F(GraphicsTest, HealthBarsAndButtons) {
  // Half full, left to right: ten of twenty columns in the middle colour.
  GR_Draw_HealthBar(0, 0, 19, 3, 50, 0x808080, 0x0000FF, 0x00FF00, 0xFF0000, 0, false, false);
  std::vector<uint32_t> scr = Screen();
  EXPECT_EQ(Lit(scr).size(), 10u * 4u);
  EXPECT_EQ(Pixel(scr, 0, 0), 0xFF00FF00u);
  // Over 100 is full; with its back and black border.
  Graphics_Clear(0xFF000000);
  GR_Draw_HealthBar(0, 0, 19, 3, 150, 0x808080, 0x0000FF, 0x00FF00, 0xFF0000, 3, true, true);
  scr = Screen();
  EXPECT_EQ(Pixel(scr, 5, 1), 0xFF0000FFu);
  EXPECT_EQ(Pixel(scr, 5, 0), 0xFF000000u);
  // Empty, bottom to top: only the back.
  Graphics_Clear(0xFF000000);
  GR_Draw_HealthBar(0, 0, 19, 3, -5, 0x808080, 0x0000FF, 0x00FF00, 0xFF0000, 3, true, false);
  EXPECT_EQ(At(5, 1), 0xFF808080u);

  Graphics_Clear(0xFF000000);
  GR_SetColor(0x808080);
  GR_Draw_Button(10, 10, 30, 20, true);
  EXPECT_EQ(At(10, 10), 0xFFC0C0C0u);  // light edge top-left
  EXPECT_EQ(At(30, 20), 0xFF404040u);  // dark edge bottom-right
  EXPECT_EQ(At(20, 15), 0xFF808080u);
  GR_Draw_Button(10, 10, 30, 20, false);
  EXPECT_EQ(At(10, 10), 0xFF404040u);
}

TEST_F(GraphicsTest, UserPrimitivesOfEveryKindAndSize) {
  GR_Primitive_Begin(PR_TRIANGLELIST, -1);
  GR_Primitive_Vertex_Color(0, 0, 0x0000FF, 1);
  GR_Primitive_Vertex_Color(8, 0, 0x0000FF, 1);
  GR_Primitive_Vertex_Color(0, 8, 0x0000FF, 1);
  GR_Primitive_Vertex(50, 50);  // an incomplete triangle is left out
  GR_Primitive_End();
  GR_Primitive_Begin(PR_LINESTRIP, -1);
  GR_Primitive_Vertex(20, 30);
  GR_Primitive_Vertex(25, 30);
  GR_Primitive_Vertex(25, 35);
  GR_Primitive_End();
  std::vector<uint32_t> scr = Screen();
  EXPECT_EQ(Pixel(scr, 1, 1), 0xFFFF0000u);
  EXPECT_EQ(Pixel(scr, 50, 50), 0xFF000000u);
  EXPECT_EQ(Pixel(scr, 20, 30), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(scr, 25, 34), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(scr, 25, 35), 0xFF000000u);

  // More points than a batch holds.
  Graphics_Clear(0xFF000000);
  GR_Primitive_Begin(PR_POINTLIST, -1);
  for (int i = 0; i < 40000; i++) GR_Primitive_Vertex(float(i % 64), float((i / 64) % 64));
  GR_Primitive_End();
  EXPECT_EQ(Lit(Screen()).size(), 64u * 64u);
}

TEST_F(GraphicsTest, TextureRepeatFilteringAndBlending) {
  // Two texels: red then blue.
  const uint32_t texels[2] = {0xFFFF0000u, 0xFF0000FFu};
  int t = GR_Texture_Create(2, 1, texels);
  auto quad = [t](float u1) {
    GR_Primitive_Begin(PR_TRIANGLESTRIP, t);
    GR_Primitive_Vertex_Texture(0, 0, 0, 0);
    GR_Primitive_Vertex_Texture(8, 0, u1, 0);
    GR_Primitive_Vertex_Texture(0, 2, 0, 1);
    GR_Primitive_Vertex_Texture(8, 2, u1, 1);
    GR_Primitive_End();
  };
  quad(2);  // clamped: the right half is all blue
  EXPECT_EQ(At(1, 0), 0xFFFF0000u);
  EXPECT_EQ(At(7, 0), 0xFF0000FFu);
  EXPECT_EQ(At(5, 0), 0xFF0000FFu);
  GR_SetRepeat(true);
  quad(2);  // repeated: red, blue, red, blue
  EXPECT_EQ(At(5, 0), 0xFFFF0000u);
  GR_SetRepeat(false);
  GR_SetInterpolation(true);
  quad(1);  // the middle mixes the two
  uint32_t mid = At(3, 0);
  EXPECT_GT((mid >> 16) & 255, 40u);
  EXPECT_GT(mid & 255, 40u);
  GR_SetInterpolation(false);
  // Without blending the vertex colour does not tint the texture.
  GR_SetColor(0x000000);
  quad(1);
  EXPECT_EQ(At(1, 0), 0xFF000000u);
  GR_SetTextureBlending(false);
  quad(1);
  EXPECT_EQ(At(1, 0), 0xFFFF0000u);
  GR_SetTextureBlending(true);
  GR_Texture_Free(t);
  EXPECT_FALSE(GR_Texture_Exists(t));
  EXPECT_EQ(GR_Texture_GetWidth(t), 1.0f);
}

TEST_F(GraphicsTest, AlphaTestAndColourWriteStates) {
  Graphics_SetRenderState(RS_ALPHATESTENABLE, 1);
  Graphics_SetRenderState(RS_ALPHAFUNC, CMP_GREATER);
  Graphics_SetRenderState(RS_ALPHAREF, 128);
  GR_SetAlpha(0.4f);
  GR_Draw_Rectangle(0, 0, 3, 3, false);
  EXPECT_EQ(At(1, 1), 0xFF000000u);
  GR_SetAlpha(1);
  GR_Draw_Rectangle(0, 0, 3, 3, false);
  EXPECT_EQ(At(1, 1), 0xFFFFFFFFu);
  Graphics_SetRenderState(RS_ALPHATESTENABLE, 0);

  Graphics_Clear(0xFF000000);
  Graphics_SetRenderState(RS_COLORWRITE, 1 | 8);  // red and alpha
  GR_Draw_Rectangle(0, 0, 3, 3, false);
  Graphics_SetRenderState(RS_COLORWRITE, 15);
  EXPECT_EQ(At(1, 1), 0xFFFF0000u);
  // Blending off: the source alpha is written as it is.
  Graphics_SetRenderState(RS_ALPHABLENDENABLE, 0);
  GR_SetAlpha(0.5f);
  GR_Draw_Rectangle(0, 0, 3, 3, false);
  Graphics_SetRenderState(RS_ALPHABLENDENABLE, 1);
  EXPECT_EQ(At(1, 1), 0x80FFFFFFu);

  // Flat shading takes the first vertex's colour; Gouraud blends them.
  GR_SetAlpha(1);
  Graphics_SetRenderState(RS_SHADEMODE, 1);
  GR_Draw_Triangle_Color(0, 10, 30, 10, 0, 40, 0x0000FF, 0x00FF00, 0xFF0000, false);
  EXPECT_EQ(At(8, 18), 0xFFFF0000u);
  Graphics_SetRenderState(RS_SHADEMODE, 2);
  GR_Draw_Triangle_Color(0, 10, 30, 10, 0, 40, 0x0000FF, 0x00FF00, 0xFF0000, false);
  uint32_t mixed = At(8, 18);
  EXPECT_NE(mixed & 0xFF00, 0u);
  EXPECT_NE(mixed & 0xFF, 0u);
}

TEST_F(GraphicsTest, ViewsMapTheRoomOntoTheViewport) {
  // The room rectangle (100, 50, 32, 32) shown in the top-left quarter.
  Graphics_SetViewPortAndView(0, 0, 32, 32, 100, 50, 32, 32, 0);
  GR_Draw_Point(105, 60);
  GR_Draw_Clear(0x0000FF);  // clears the viewport only
  GR_Draw_Point(105, 60);
  Graphics_SetViewPortAndView(0, 0, kTestSize, kTestSize, 0, 0, kTestSize, kTestSize, 0);
  std::vector<uint32_t> scr = Screen();
  EXPECT_EQ(Pixel(scr, 5, 10), 0xFFFFFFFFu);
  EXPECT_EQ(Pixel(scr, 31, 31), 0xFFFF0000u);
  EXPECT_EQ(Pixel(scr, 32, 31), 0xFF000000u);
  // A view twice the port's size halves everything.
  Graphics_Clear(0xFF000000);
  Graphics_SetViewPortAndView(0, 0, 32, 32, 0, 0, 64, 64, 0);
  GR_Draw_Rectangle(10, 10, 29, 29, false);
  Graphics_SetViewPortAndView(0, 0, kTestSize, kTestSize, 0, 0, kTestSize, kTestSize, 0);
  EXPECT_EQ(Lit(Screen()).size(), 100u);

  // A view turned 90 degrees: what lies right of its centre shows below it.
  Graphics_Clear(0xFF000000);
  Graphics_SetViewPortAndView(0, 0, kTestSize, kTestSize, 0, 0, kTestSize, kTestSize, 90);
  GR_Draw_Rectangle(42, 31, 43, 32, false);
  Graphics_SetViewPortAndView(0, 0, kTestSize, kTestSize, 0, 0, kTestSize, kTestSize, 0);
  EXPECT_EQ(At(31, 42) | At(32, 42) | At(31, 43) | At(32, 43), 0xFFFFFFFFu);

  // The overlay draws over its own 640 by 480 display and gives the room's
  // view back afterwards.
  Graphics_Clear(0xFF000000);
  Graphics_SetViewPortAndView(0, 0, 32, 32, 100, 50, 32, 32, 0);
  Graphics_Set2DView();
  GR_Draw_Rectangle(320, 240, 329, 247, false);
  Graphics_Set2DViewPort();
  GR_Draw_Point(100, 50);
  Graphics_SetViewPortAndView(0, 0, kTestSize, kTestSize, 0, 0, kTestSize, kTestSize, 0);
  EXPECT_EQ(Lit(Screen()), (Pixels{{0, 0}, {32, 32}}));
}

TEST_F(GraphicsTest, SpriteDrawFormsPlaceTheirPixels) {
  CSprite s;
  CBitmap32 img(4, 2);
  for (int x = 0; x < 4; x++) {
    img.Row(0)[x] = 0xFF000000u | uint32_t(0x30 * (x + 1)) << 16;
    img.Row(1)[x] = 0xFF000000u | uint32_t(0x30 * (x + 1));
  }
  std::vector<CBitmap32> frames{img};
  ASSERT_TRUE(s.SetFromBitmaps(std::move(frames)));
  // Part: columns 1 and 2 of the top row at (10, 10).
  s.DrawPart(0, 1, 0, 2, 1, 10, 10, 1, 1, 0xFFFFFF, 1);
  std::vector<uint32_t> scr = Screen();
  EXPECT_EQ(Lit(scr), (Pixels{{10, 10}, {11, 10}}));
  EXPECT_EQ(Pixel(scr, 10, 10), img.Row(0)[1]);
  // Stretched to 8 by 4, ignoring the origin.
  Graphics_Clear(0xFF000000);
  s.xorig = 3;
  s.DrawStretched(0, 20, 20, 8, 4, 0xFFFFFF, 1);
  scr = Screen();
  EXPECT_EQ(Lit(scr).size(), 32u);
  EXPECT_EQ(Pixel(scr, 27, 23), img.Row(1)[3]);
  // Turned 90 degrees counter-clockwise about the origin (0, 0): the top row
  // runs up the screen from (x, y - 1).
  Graphics_Clear(0xFF000000);
  s.xorig = 0;
  s.Draw(0, 30, 30, 1, 1, 90, 0xFFFFFF, 1);
  scr = Screen();
  EXPECT_EQ(Lit(scr).size(), 8u);
  EXPECT_EQ(Pixel(scr, 30, 29), img.Row(0)[0]);
  EXPECT_EQ(Pixel(scr, 30, 26), img.Row(0)[3]);
  EXPECT_EQ(Pixel(scr, 31, 29), img.Row(1)[0]);
  // General: corner colours tint a region.
  Graphics_Clear(0xFF000000);
  s.DrawGeneral(0, 0, 0, 4, 2, 40, 40, 1, 1, 0, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, 1);
  EXPECT_EQ(At(41, 41), 0xFF000000u);  // red tint on a blue pixel
  EXPECT_EQ(At(41, 40), img.Row(0)[1]);
  // Four corners: the image fills the quadrilateral.
  Graphics_Clear(0xFF000000);
  s.DrawPos(0, 0, 0, 8, 0, 8, 4, 0, 4, 0xFFFFFF, 1);
  EXPECT_EQ(Lit(Screen()).size(), 32u);
  // Wholly outside the view: nothing reaches the batch.
  GR_D3D_Start_Frame();
  s.DrawSimple(0, -100, -100);
  Batch_Flush();
  EXPECT_EQ(Graphics_FrameCounters.batches, 0);
}

TEST_F(GraphicsTest, SurfaceCopiesAreClipped) {
  int a = Surface_Create(8, 8), b = Surface_Create(8, 8);
  ASSERT_TRUE(Surface_SetTarget(a));
  GR_Draw_Clear(0x0000FF);
  Surface_ResetTarget();
  ASSERT_TRUE(Surface_SetTarget(b));
  GR_Draw_Clear(0x000000);
  Surface_ResetTarget();
  // Half the source hangs off the destination's bottom-right corner.
  EXPECT_TRUE(Surface_Copy(b, 4, 4, a, 0, 0, 8, 8));
  CBitmap32 px(8, 8);
  ASSERT_TRUE(Graphics_ReadPixels(Surface_GetTexture(b), 0, 0, 8, 8, px.pixels.data()));
  EXPECT_EQ(px.Row(3)[3], 0xFF000000u);
  EXPECT_EQ(px.Row(4)[4], 0xFFFF0000u);
  EXPECT_EQ(px.Row(7)[7], 0xFFFF0000u);
  EXPECT_FALSE(Surface_Copy(b, 9, 0, a, 0, 0, 8, 8));
  EXPECT_FALSE(Surface_Copy(b, 0, 0, a, -8, 0, 8, 8));
  EXPECT_FALSE(Surface_Copy(b, 0, 0, 99, 0, 0, 8, 8));
  EXPECT_FALSE(Surface_Copy(b, INT_MIN, INT_MIN, a, INT_MAX, 0, INT_MAX, INT_MAX));
  EXPECT_TRUE(Surface_Copy(b, -4, 0, a, 0, 0, INT_MAX, INT_MAX));
  Surface_Free(a);
  Surface_Free(b);
  // A freed slot is taken again first.
  EXPECT_EQ(Surface_Create(2, 2), a);
  Surface_Free(a);
  EXPECT_EQ(Surface_Create(0, 5), -1);
}

}  // namespace
