#include <cmath>

#include "gamepack/Gamepack_Image.h"
#include "DataFile/DataFile_Package.h"
#include "Graphics_TestDevice.h"
#include "Sprite/Sprite_Class.h"
#include "Sprite/Sprite_Main.h"

namespace {

// A w by h frame, transparent but for the solid pixels listed.
CBitmap32 Frame(int w, int h, std::initializer_list<std::pair<int, int>> solid, uint32_t colour = 0xFFFFFFFFu) {
  CBitmap32 b(w, h);
  for (auto [x, y] : solid) b.Row(y)[x] = colour;
  return b;
}

TEST_F(GraphicsTest, SubImagesWrapIntoTheFramesAndAnEmptySpriteHasNone) {
  CSprite s;
  std::vector<CBitmap32> frames{Frame(2, 2, {{0, 0}}), Frame(2, 2, {{1, 1}}), Frame(2, 2, {{0, 1}})};
  ASSERT_TRUE(s.SetFromBitmaps(std::move(frames)));
  EXPECT_EQ(s.Frame(4), 1);
  EXPECT_EQ(s.Frame(-1), 2);
  EXPECT_EQ(s.Frame(-3), 0);
  EXPECT_EQ(s.Frame(-2147483647 - 1), s.Frame(1));  // INT_MIN % 3 == -2
  EXPECT_EQ(s.GetTexture(-4), s.GetTexture(2));
  // Drawing a negative sub-image draws a real frame.
  s.DrawSimple(-1, 10, 10);
  EXPECT_EQ(Lit(Screen()), (std::vector<std::pair<int, int>>{{10, 11}}));

  CSprite empty;
  EXPECT_EQ(empty.Frame(0), -1);
  EXPECT_EQ(empty.Frame(-5), -1);
  EXPECT_EQ(empty.GetTexture(3), -1);
  EXPECT_EQ(empty.GetFrame(-1), nullptr);
  EXPECT_FALSE(empty.MaskBit(0, 0, 0));
  empty.Draw(-1, 0, 0, 1, 1, 0, 0xFFFFFF, 1);
  empty.DrawTiled(7, 0, 0, 1, 1, true, true, 0, 0, 64, 64, 0xFFFFFF, 1);
  EXPECT_TRUE(Lit(Screen()).size() == 1);
}

TEST_F(GraphicsTest, BoundingBoxModesAndPreciseMasks) {
  CSprite s;
  s.precise = 1;
  std::vector<CBitmap32> frames{Frame(8, 6, {{2, 1}, {5, 3}}), Frame(8, 6, {{1, 4}})};
  ASSERT_TRUE(s.SetFromBitmaps(std::move(frames)));
  // Automatic: every solid pixel of every frame.
  EXPECT_EQ(std::vector<int>({s.bboxLeft, s.bboxTop, s.bboxRight, s.bboxBottom}), std::vector<int>({1, 1, 5, 4}));
  s.SetBboxMode(BBOX_FULL);
  EXPECT_EQ(std::vector<int>({s.bboxLeft, s.bboxTop, s.bboxRight, s.bboxBottom}), std::vector<int>({0, 0, 7, 5}));
  s.SetBbox(3, 3, 4, 4);  // ignored outside manual mode
  EXPECT_EQ(s.bboxLeft, 0);
  s.SetBboxMode(BBOX_MANUAL);
  s.SetBbox(3, 3, 4, 4);
  EXPECT_EQ(std::vector<int>({s.bboxLeft, s.bboxTop, s.bboxRight, s.bboxBottom}), std::vector<int>({3, 3, 4, 4}));

  EXPECT_TRUE(s.MaskBit(0, 2, 1));
  EXPECT_FALSE(s.MaskBit(0, 1, 4));
  EXPECT_TRUE(s.MaskBit(1, 1, 4));
  EXPECT_TRUE(s.MaskBit(3, 1, 4));  // frame 3 is frame 1
  EXPECT_FALSE(s.MaskBit(0, 8, 1));
  EXPECT_FALSE(s.MaskBit(0, -1, 1));
  // Not precise: the box is the mask.
  s.SetPrecise(false);
  EXPECT_TRUE(s.MaskBit(0, 3, 4));
  EXPECT_FALSE(s.MaskBit(0, 2, 1));
}

TEST_F(GraphicsTest, PointsAndLinesMeetTheMaskThroughScaleAndAngle) {
  CSprite s;
  s.precise = 1;
  std::vector<CBitmap32> frames{Frame(4, 4, {{3, 0}})};  // top-right pixel
  ASSERT_TRUE(s.SetFromBitmaps(std::move(frames)));
  s.xorig = 0;
  s.yorig = 0;
  EXPECT_TRUE(s.PointHits(0, 100, 50, 1, 1, 0, 103.5f, 50.5f));
  EXPECT_FALSE(s.PointHits(0, 100, 50, 1, 1, 0, 102.5f, 50.5f));
  // Doubled: the pixel covers 106..108, 50..52.
  EXPECT_TRUE(s.PointHits(0, 100, 50, 2, 2, 0, 107, 51));
  EXPECT_FALSE(s.PointHits(0, 100, 50, 2, 2, 0, 105, 51));
  // Mirrored: it lies left of the origin.
  EXPECT_TRUE(s.PointHits(0, 100, 50, -1, 1, 0, 96.5f, 50.5f));
  // Turned 90 degrees counter-clockwise: x along the image goes up the screen.
  EXPECT_TRUE(s.PointHits(0, 100, 50, 1, 1, 90, 100.5f, 46.5f));
  EXPECT_FALSE(s.PointHits(0, 100, 50, 1, 1, 90, 103.5f, 50.5f));
  EXPECT_FALSE(s.PointHits(0, 100, 50, 0, 1, 0, 103.5f, 50.5f));
  EXPECT_FALSE(s.PointHits(0, 100, 50, 1, 1, 0, NAN, 50.5f));
  EXPECT_FALSE(s.PointHits(0, 100, 50, 1e-30f, 1, 0, 1e30f, 50.5f));

  // Lines across the box at (100, 50)..(103, 53).
  EXPECT_TRUE(s.CollisionLine(99, 54, 105, 48, 0, 100, 50, 1, 1, 0, 100, 50, 103, 53));
  EXPECT_FALSE(s.CollisionLine(99, 49, 104, 54, 0, 100, 50, 1, 1, 0, 100, 50, 103, 53));
  // Straight lines meet the mask too, not the box alone.
  EXPECT_TRUE(s.CollisionLine(103, 40, 103, 60, 0, 100, 50, 1, 1, 0, 100, 50, 103, 53));
  EXPECT_FALSE(s.CollisionLine(101, 40, 101, 60, 0, 100, 50, 1, 1, 0, 100, 50, 103, 53));
  EXPECT_FALSE(s.CollisionLine(90, 40, 90, 60, 0, 100, 50, 1, 1, 0, 100, 50, 103, 53));
  // Far out, where a float no longer counts in whole steps, the walk ends.
  const int far = 20000000;
  EXPECT_FALSE(s.CollisionLine(far - 10.0f, far - 20.0f, far + 10.0f, far + 20.0f, 0, float(far), float(far), 1, 1,
                               0, far, far, far + 3, far + 3));
  s.SetPrecise(false);
  EXPECT_TRUE(s.CollisionLine(99, 49, 104, 54, 0, 100, 50, 1, 1, 0, 100, 50, 103, 53));
}

TEST_F(GraphicsTest, PackageSpritesDrawTheirTrimmedFramesAndKeepTheirMasks) {
  // One 4 by 4 page: a red 2 by 2 block at (1, 1), the rest transparent.
  PackImage page;
  page.width = page.height = 4;
  page.rgba.assign(64, 0);
  for (int y = 1; y < 3; y++)
    for (int x = 1; x < 3; x++) {
      uint8_t* p = &page.rgba[size_t(y * 4 + x) * 4];
      p[0] = 255;
      p[3] = 255;
    }
  std::vector<uint8_t> png;
  std::string error;
  ASSERT_TRUE(DataFile_EncodePNG(page, png, error)) << error;
  GamePackage pkg;
  pkg.textures.push_back({PackageBytes(png.data(), png.size())});
  // The frame is 6 by 5; its drawn part is the page's block, placed at (3, 2).
  TexturePageEntry e;
  e.x = e.y = 1;
  e.width = e.height = e.drawn_width = e.drawn_height = 2;
  e.x_offset = 3;
  e.y_offset = 2;
  e.frame_width = 6;
  e.frame_height = 5;
  e.texture_id = 0;
  pkg.tpag.push_back(e);
  PackageSprite ps;
  ps.exists = true;
  ps.name = "spr_block";
  ps.width = 6;
  ps.height = 5;
  ps.x_origin = 1;
  ps.y_origin = 1;
  ps.precise = true;
  ps.frames = {0, 7};  // the second names no entry and draws nothing
  ps.masks.push_back(PackageMask(30, 0));
  ps.masks[0][2 * 6 + 3] = 1;
  pkg.sprites.push_back(ps);
  pkg.sprites.push_back(PackageSprite());  // an empty slot

  int first = Sprite_Count();
  Graphics_LoadPackage(pkg);
  ASSERT_EQ(Sprite_Count(), first + 2);
  EXPECT_FALSE(Sprite_Exists(first + 1));
  CSprite* s = Sprite_Data(first);
  ASSERT_NE(s, nullptr);
  EXPECT_STREQ(Sprite_Name(first), "spr_block");
  EXPECT_EQ(s->numb, 2);
  s->DrawSimple(0, 20, 30);
  s->DrawSimple(1, 40, 30);
  std::vector<std::pair<int, int>> expected{{22, 31}, {23, 31}, {22, 32}, {23, 32}};
  std::vector<uint32_t> scr = Screen();
  EXPECT_EQ(Lit(scr), expected);
  EXPECT_EQ(Pixel(scr, 22, 31), 0xFFFF0000u);
  // The frame's pixels come back from the page, trimmed part in place.
  CBitmap32 fb;
  ASSERT_TRUE(s->GetFrameBitmap(0, fb));
  EXPECT_EQ(fb.width, 6);
  EXPECT_EQ(fb.height, 5);
  EXPECT_EQ(fb.Row(2)[3], 0xFFFF0000u);
  EXPECT_EQ(fb.Row(3)[4], 0xFFFF0000u);
  EXPECT_EQ(fb.Row(0)[0], 0u);
  EXPECT_FALSE(s->GetFrameBitmap(1, fb));
  EXPECT_FALSE(s->GetFrameBitmap(2, fb));
  // One shared mask serves every frame.
  EXPECT_TRUE(s->MaskBit(1, 3, 2));
  EXPECT_FALSE(s->MaskBit(0, 4, 2));
  // With only readable frames, box and masks come again from the pixels.
  s->frames.pop_back();
  s->numb = 1;
  s->SetBboxMode(BBOX_AUTOMATIC);
  EXPECT_EQ(std::vector<int>({s->bboxLeft, s->bboxTop, s->bboxRight, s->bboxBottom}), std::vector<int>({3, 2, 4, 3}));
  s->SetPrecise(true);
  EXPECT_TRUE(s->MaskBit(0, 4, 3));
  EXPECT_FALSE(s->MaskBit(0, 5, 3));
  Sprite_Delete(first);
}

}  // namespace
