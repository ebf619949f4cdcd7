#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Background/Background_Main.h"
#include "Base/File_Folders.h"
#include "Font/Font_Main.h"
#include "Graphics/Graphics_Image.h"
#include "Graphics_TestDevice.h"
#include "Sprite/Sprite_Main.h"

namespace {

class ResourceTest : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    char dir[] = "/tmp/gr_res_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    folder_ = dir;
    File_SetGameDirectory(folder_.c_str());
    // A 6 by 2 strip: three 2 by 2 images, red, green and blue, on a
    // magenta key colour in the bottom-left pixel of the picture.
    const uint32_t key = 0xFFFF00FFu, r = 0xFFFF0000u, g = 0xFF00FF00u, b = 0xFF0000FFu;
    const uint32_t strip[12] = {r, r, g, g, b, b, key, r, g, key, b, key};
    ASSERT_TRUE(GR_Image_SavePNG((folder_ + "/strip.png").c_str(), strip, 6, 2));
  }
  void TearDown() override {
    remove((folder_ + "/strip.png").c_str());
    rmdir(folder_.c_str());
    File_SetGameDirectory("");
  }
  std::string folder_;
};

TEST_F(ResourceTest, SpritesLoadFromFilesAndCopyWithTexturesOfTheirOwn) {
  int before = Sprite_Count();
  EXPECT_EQ(Sprite_Add("missing.png", 1, false, false, false, false, 0, 0), -1);
  EXPECT_EQ(Sprite_Count(), before);

  int s = Sprite_Add("strip.png", 3, true, true, false, true, 1, 0);
  ASSERT_GE(s, 0);
  CSprite* spr = Sprite_Data(s);
  EXPECT_EQ(spr->numb, 3);
  EXPECT_EQ(spr->width, 2);
  EXPECT_EQ(spr->xorig, 1);
  EXPECT_STREQ(Sprite_Name(s), ("__newsprite" + std::to_string(s)).c_str());
  // The key colour went transparent: image 0 keeps three solid pixels.
  CBitmap32 frame;
  ASSERT_TRUE(spr->GetFrameBitmap(0, frame));
  EXPECT_EQ(frame.Row(1)[0], 0u);
  EXPECT_EQ(frame.Row(1)[1], 0xFFFF0000u);
  EXPECT_FALSE(spr->MaskBit(0, 0, 1));
  EXPECT_TRUE(spr->MaskBit(0, 1, 1));

  int copy = Sprite_Duplicate(s);
  ASSERT_GE(copy, 0);
  ASSERT_TRUE(Sprite_Delete(s));
  EXPECT_FALSE(Sprite_Exists(s));
  Sprite_Data(copy)->DrawSimple(1, 11, 10);  // green image at (10, 10)
  std::vector<uint32_t> scr = Screen();
  EXPECT_EQ(Pixel(scr, 10, 10), 0xFF00FF00u);
  EXPECT_EQ(Pixel(scr, 11, 11), 0xFF000000u);  // the key pixel

  // Merging appends images; the alpha of another sprite's intensity.
  int other = Sprite_Add("strip.png", 3, false, false, false, false, 0, 0);
  ASSERT_TRUE(Sprite_Data(copy)->Merge(*Sprite_Data(other)));
  EXPECT_EQ(Sprite_Data(copy)->numb, 6);
  ASSERT_TRUE(Sprite_Data(other)->SetAlphaFromSprite(*Sprite_Data(other)));
  ASSERT_TRUE(Sprite_Data(other)->GetFrameBitmap(0, frame));
  EXPECT_EQ(frame.Row(0)[0] >> 24, 85u);  // (255 + 0 + 0) / 3
  EXPECT_EQ(Sprite_Assign(other, 999999), 0);
  EXPECT_EQ(Sprite_Assign(other, copy), 1);
  EXPECT_EQ(Sprite_Data(other)->numb, 6);
  Sprite_Delete(copy);
  Sprite_Delete(other);
}

std::string g_Requested;
bool RecordDownload(int, const char* url) {
  g_Requested = url;
  return true;
}

TEST_F(ResourceTest, SpritesFromAnAddressArriveLater) {
  Sprite_SetDownloader(nullptr);
  int before = Sprite_Count();
  EXPECT_EQ(Sprite_Add("https://example.com/a.png", 3, false, false, false, false, 0, 0), -1);
  EXPECT_EQ(Sprite_Count(), before);  // no download layer: no slot

  Sprite_SetDownloader(RecordDownload);
  int s = Sprite_Add("https://example.com/a.png", 3, false, false, false, false, 0, 0);
  ASSERT_GE(s, 0);
  EXPECT_EQ(g_Requested, "https://example.com/a.png");
  EXPECT_EQ(Sprite_Data(s)->numb, 0);
  FILE* f = fopen((folder_ + "/strip.png").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::vector<uint8_t> png(4096);
  png.resize(fread(png.data(), 1, png.size(), f));
  fclose(f);
  EXPECT_EQ(Sprite_AsyncLoaded(s, png.data(), png.size()), 0);
  EXPECT_EQ(Sprite_Data(s)->numb, 3);
  EXPECT_EQ(Sprite_AsyncLoaded(s, png.data(), png.size()), -1);  // only once
  // A failed download leaves the sprite empty.
  int t = Sprite_Add("http://example.com/b.png", 1, false, false, false, false, 0, 0);
  EXPECT_EQ(Sprite_AsyncLoaded(t, nullptr, 0), -1);
  EXPECT_EQ(Sprite_Data(t)->numb, 0);
  Sprite_SetDownloader(nullptr);
  Sprite_Delete(s);
  Sprite_Delete(t);
}

TEST_F(ResourceTest, BackgroundsFromFilesColoursAndGradients) {
  EXPECT_EQ(Background_Add("nowhere.bmp", false, false, false), -1);
  int b = Background_Add("strip.png", false, false, true);
  ASSERT_GE(b, 0);
  EXPECT_EQ(Background_Data(b)->width, 6);

  int g = Background_Create();
  CBackground* grad = Background_Data(g);
  ASSERT_TRUE(grad->CreateGradient(5, 3, 0x0000FF, 0xFF0000, 0, true));
  CBitmap32 img;
  ASSERT_TRUE(grad->GetBitmap(img));
  EXPECT_EQ(img.Row(1)[0], 0xFFFF0000u);  // colour 1 (red) on the left
  EXPECT_EQ(img.Row(1)[4], 0xFF0000FFu);  // colour 2 (blue) on the right
  ASSERT_TRUE(grad->CreateColor(4, 4, 0x00FF00, false));
  // Tiled over an area: whole copies cover it exactly.
  grad->DrawTiled(4, 8, 1, 1, true, true, 0, 0, 16, 16, 0xFFFFFF, 1);
  EXPECT_EQ(Lit(Screen()).size(), 256u);
  EXPECT_EQ(Pixel(Screen(), 0, 0), 0xFF00FF00u);

  int d = Background_Duplicate(g);
  ASSERT_GE(d, 0);
  Background_Delete(g);
  EXPECT_EQ(Background_Data(d)->width, 4);
  Graphics_Clear(0xFF000000);
  Background_Data(d)->DrawStretched(0, 0, 8, 2, 0xFFFFFF, 1);
  EXPECT_EQ(Lit(Screen()).size(), 16u);
  Background_Delete(b);
  Background_Delete(d);
}

TEST_F(ResourceTest, FontsFromSpriteImages) {
  int s = Sprite_Add("strip.png", 3, false, true, false, false, 0, 0);
  ASSERT_GE(s, 0);
  // Fixed width: every advance is the image width plus the separation.
  int fixed = Font_AddSprite(s, 'a', false, 1);
  ASSERT_GE(fixed, 0);
  Text_SetFont(fixed);
  EXPECT_EQ(Text_Width("abc", -1, -1), 9);
  EXPECT_EQ(Text_Height("a", -1, -1), 2);
  // Proportional from a text: "x" is image 0, "y" image 1.
  int prop = Font_AddSpriteExt(s, "xyz", true, 0);
  ASSERT_GE(prop, 0);
  Text_SetFont(prop);
  EXPECT_EQ(Text_Width("xy", -1, -1), 4);
  Text_Draw(10, 10, "y", -1, -1);
  EXPECT_EQ(Pixel(Screen(), 10, 10), 0xFF00FF00u);
  EXPECT_EQ(Font_AddSprite(123456, 'a', false, 0), -1);
  // A typeface font draws with the glyphs of the nearest installed face.
  int face = Font_Add("Arial", 12, true, false, 32, 127);
  Text_SetFont(face);
  int wide = Text_Width("ab", -1, -1);
  EXPECT_GT(wide, 12);
  EXPECT_LT(wide, 32);
  EXPECT_GE(Text_Height("ab", -1, -1), 12);
  Text_Draw(0, 40, "H", -1, -1);
  int lit = 0;
  for (int y = 40; y < 60; y++)
    for (int x = 0; x < 12; x++) lit += Pixel(Screen(), x, y) != 0xFF000000u;
  EXPECT_GT(lit, 10);
  Font_Replace(face, "Arial", 8, false, false, 32, 127);
  EXPECT_LT(Text_Width("ab", -1, -1), wide);
  EXPECT_STREQ(Font_Get(face)->GetName(), "Arial");
  Text_SetFont(-1);
  Font_Delete(fixed);
  Font_Delete(prop);
  Font_Delete(face);
  Sprite_Delete(s);
}

}  // namespace
