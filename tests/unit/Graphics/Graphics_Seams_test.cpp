// Images that share a texture page draw as if each had the page to itself:
// a pixel whose centre falls on an image's edge reads the image, never the
// gap beside it, through turned views and at fractional places, sampled to
// the nearest texel or blended.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "Font/Font_Main.h"
#include "Font/Font_Raster.h"
#include "Graphics/Graphics_Embedded.h"
#include "Graphics/Graphics_Image.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Graphics_TestDevice.h"
#include "Sprite/Sprite_Class.h"
#include "Sprite/Sprite_Main.h"
#include "gamepack/Gamepack_Image.h"

namespace {

constexpr uint32_t kRoomColour = 0xFFFF00FFu;  // what the screen is cleared to
constexpr uint32_t kTileColour = 0xFF3080C0u;

PackImage Solid(int width, int height, uint32_t argb) {
  PackImage image;
  image.width = width;
  image.height = height;
  for (int i = 0; i < width * height; i++)
    image.rgba.insert(image.rgba.end(), {uint8_t(argb >> 16), uint8_t(argb >> 8), uint8_t(argb), uint8_t(argb >> 24)});
  return image;
}

// One page as the package builder packs it: a tall image on its left, so
// that the tile and the wide image sit with gaps on their left and below.
class SeamsTest : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    std::vector<PackImage> images{Solid(5, 40, 0xFFFF0000u), Solid(8, 8, kTileColour), Solid(24, 16, kTileColour)};
    std::vector<std::string> labels{"tall", "tile", "wide"};
    GamePackage pkg;
    std::string error;
    ASSERT_TRUE(DataFile_PackTextures(images, labels, pkg, m_storage, error)) << error;
    ASSERT_EQ(pkg.textures.size(), 1u);
    m_page = GR_Texture_CreateFromImage(pkg.textures[0].png.data(), pkg.textures[0].png.size());
    ASSERT_GE(m_page, 0);
    for (const TexturePageEntry& t : pkg.tpag) {
      TPageEntry e = TPage_Whole(m_page, t.width, t.height);
      e.x = t.x;
      e.y = t.y;
      m_entries.push_back(e);
    }
    ASSERT_GT(Tile().x, 0);
    ASSERT_GT(Wide().x, 0);
  }
  void TearDown() override {
    GR_SetInterpolation(false);
    GR_Texture_Free(m_page);
  }
  const TPageEntry& Tile() const { return m_entries[1]; }
  const TPageEntry& Wide() const { return m_entries[2]; }

  // The pixels that are not the given colour, as "x,y" texts.
  static std::vector<std::string> Other(const std::vector<uint32_t>& screen, uint32_t colour) {
    std::vector<std::string> out;
    for (int y = 0; y < kTestSize; y++)
      for (int x = 0; x < kTestSize; x++)
        if (Pixel(screen, x, y) != colour) out.push_back(std::to_string(x) + "," + std::to_string(y));
    return out;
  }

  std::vector<std::vector<uint8_t>> m_storage;
  std::vector<TPageEntry> m_entries;
  int m_page = -1;
};

TEST_F(SeamsTest, TiledOpaqueImageThroughTurnedViewsLeavesNoHoles) {
  for (bool linear : {false, true})
    for (float angle : {0.0f, 30.0f, 45.0f, 90.0f, 135.0f})
      for (float offset : {0.0f, 0.5f, 0.25f}) {
        GR_SetInterpolation(linear);
        Graphics_SetViewPortAndView(0, 0, kTestSize, kTestSize, offset, offset, kTestSize, kTestSize, angle);
        Graphics_Clear(kRoomColour);
        // Tiles far past the turned view's corners.
        GR_TPage_DrawTiled(&Tile(), 0, 0, 0, 0, 1, 1, true, true, -kTestSize, -kTestSize, 3 * kTestSize,
                           3 * kTestSize, 0xFFFFFF, 1);
        std::vector<std::string> holes = Other(Screen(), kTileColour);
        EXPECT_TRUE(holes.empty()) << (linear ? "linear" : "nearest") << ", angle " << angle << ", view at "
                                   << offset << ": " << holes.size() << " pixels not the tile's, first "
                                   << holes.front();
      }
}

// Drawn at half and quarter pixels, without turning, the image covers
// exactly the pixels whose centres it holds, each in its own colour: no pixel
// lost to the gap and, blended, no darker fringe where the gap's transparent
// black was mixed in.
TEST_F(SeamsTest, ImageAtFractionalPlacesCoversItsPixelsInItsOwnColour) {
  for (bool linear : {false, true})
    for (float x : {10.5f, 10.25f, 7.75f})
      for (float y : {10.5f, 20.75f}) {
        GR_SetInterpolation(linear);
        Graphics_Clear(kRoomColour);
        GR_TPage_Draw(&Wide(), 0, 0, x, y, 1, 1, 0, 0xFFFFFF, 1);
        std::vector<uint32_t> screen = Screen();
        int covered = 0, wrong = 0;
        for (int py = 0; py < kTestSize; py++)
          for (int px = 0; px < kTestSize; px++) {
            uint32_t p = Pixel(screen, px, py);
            if (p == kTileColour) covered++;
            else if (p != kRoomColour) wrong++;
          }
        std::string where = std::string(linear ? "linear" : "nearest") + " at " + std::to_string(x) + "," +
                            std::to_string(y);
        EXPECT_EQ(covered, 24 * 16) << where;
        EXPECT_EQ(wrong, 0) << where;
        // Scaled up by a fraction, the edge texels are stretched over the
        // pixels beside them; still nothing from the gap shows.
        Graphics_Clear(kRoomColour);
        GR_TPage_Draw(&Wide(), 0, 0, x, y, 1.3f, 1.7f, 0, 0xFFFFFF, 1);
        screen = Screen();
        wrong = 0;
        for (uint32_t p : screen) wrong += p != kTileColour && p != kRoomColour;
        EXPECT_EQ(wrong, 0) << where << ", scaled";
      }
}

// A font made from a sprite keeps its glyphs apart on its sheet: "a" drawn
// between pixels, enlarged or turned, shows nothing of "b" beside it.
TEST_F(GraphicsTest, FontFromSpriteGlyphsNeverShowTheirNeighbours) {
  constexpr uint32_t kA = 0xFFC00000u, kB = 0xFF00C000u;
  CSprite* sprite = new CSprite();
  std::vector<CBitmap32> frames(2, CBitmap32(4, 5));
  std::fill(frames[0].pixels.begin(), frames[0].pixels.end(), kA);
  std::fill(frames[1].pixels.begin(), frames[1].pixels.end(), kB);
  ASSERT_TRUE(sprite->SetFromBitmaps(std::move(frames)));
  int s = Sprite_Append(sprite, "glyphs");
  int font = Font_AddSprite(s, 'a', false, 0);
  ASSERT_GE(font, 0);
  Text_SetFont(font);
  for (bool linear : {false, true})
    for (float angle : {0.0f, 45.0f, 90.0f})
      for (float at : {10.5f, 10.25f}) {
        GR_SetInterpolation(linear);
        Graphics_Clear(kRoomColour);
        Text_DrawTransformed(at + 20, at + 20, "a", -1, -1, 3.5f, 2.5f, angle);
        int red = 0, other = 0;
        for (uint32_t p : Screen()) {
          red += p == kA;
          other += p != kA && p != kRoomColour;
        }
        std::string how = std::string(linear ? "linear" : "nearest") + ", angle " + std::to_string(angle) + " at " +
                          std::to_string(at);
        EXPECT_GT(red, 100) << how;
        EXPECT_EQ(other, 0) << how;
      }
  GR_SetInterpolation(false);
  Text_SetFont(-1);
  Font_Delete(font);
  Sprite_Delete(s);
}

struct Rect {
  int x, y, w, h;
  std::string name;
};

// Each pixel about a rectangle of the sheet that differs from the
// rectangle's pixel nearest to it, and each two rectangles closer than the
// gap, as texts.
std::vector<std::string> RingFaults(const CBitmap32& sheet, const std::vector<Rect>& rects) {
  std::vector<std::string> faults;
  auto same = [&](const Rect& r, int x, int y) {
    if (x < 0 || y < 0 || x >= sheet.width || y >= sheet.height) return;
    int rx = std::clamp(x, r.x, r.x + r.w - 1), ry = std::clamp(y, r.y, r.y + r.h - 1);
    if (sheet.Row(y)[x] != sheet.Row(ry)[rx])
      faults.push_back(r.name + " at " + std::to_string(x) + "," + std::to_string(y));
  };
  for (size_t i = 0; i < rects.size(); i++) {
    const Rect& r = rects[i];
    for (int y = r.y - 1; y <= r.y + r.h; y++) {
      same(r, r.x - 1, y);
      same(r, r.x + r.w, y);
    }
    for (int x = r.x; x < r.x + r.w; x++) {
      same(r, x, r.y - 1);
      same(r, x, r.y + r.h);
    }
    for (size_t j = i + 1; j < rects.size(); j++) {
      const Rect& o = rects[j];
      if (o.x < r.x + r.w + kTPageGap && r.x < o.x + o.w + kTPageGap && o.y < r.y + r.h + kTPageGap &&
          r.y < o.y + o.h + kTPageGap)
        faults.push_back(r.name + " close to " + o.name);
    }
  }
  return faults;
}

CBitmap32 ReadTexture(int id) {
  const GRTexture* t = GR_Texture_Get(id);
  CBitmap32 b(t ? t->width : 0, t ? t->height : 0);
  EXPECT_TRUE(t && Graphics_ReadPixels(id, 0, 0, b.width, b.height, b.pixels.data()));
  return b;
}

std::string Report(const std::vector<std::string>& faults) {
  return faults.empty() ? "" : std::to_string(faults.size()) + " faults, first " + faults.front();
}

// The sheets the runner draws text from give every glyph the same ring: the
// typeface glyphs (on one row, and at a size that takes several), the
// built-in font's and the debug font's.
TEST_F(GraphicsTest, GlyphSheetsRingEachGlyphWithItsOwnEdges) {
  for (int size : {12, 64}) {
    FontRaster r;
    ASSERT_TRUE(Font_Rasterise("DejaVu Sans", size, false, false, 32, 127, r));
    std::vector<Rect> rects;
    for (const FontGlyph& g : r.glyphs)
      if (g.w > 0) rects.push_back({g.x, g.y, g.w, g.h, std::string(1, char(g.code))});
    EXPECT_EQ(Report(RingFaults(r.sheet, rects)), "") << "typeface at " << size;
    if (size > 12) EXPECT_GT(r.glyphs.back().y, 0) << "the glyphs take more than one row";
  }

  const CFontCW* builtIn = Font_Default();
  ASSERT_NE(builtIn, nullptr);
  std::vector<Rect> rects;
  for (const FontGlyph& g : builtIn->glyphs)
    rects.push_back({builtIn->tpe.x + g.x, builtIn->tpe.y + g.y, g.w, g.h, std::string(1, char(g.code))});
  EXPECT_EQ(Report(RingFaults(ReadTexture(builtIn->tpe.texture), rects)), "") << "built-in font";

  int debug = EmbeddedImage_CreateTexture(EMBEDDED_DEBUG_FONT);
  ASSERT_GE(debug, 0);
  rects.clear();
  for (uint32_t c = EMBEDDED_FONT_FIRST; c <= EMBEDDED_FONT_LAST; c++) {
    const EmbeddedGlyph* g = EmbeddedImage_FontGlyph(c);
    rects.push_back({g->u, g->v, g->width, g->height, std::to_string(c)});
  }
  EXPECT_EQ(Report(RingFaults(ReadTexture(debug), rects)), "") << "debug font";
  GR_Texture_Free(debug);
}

// The ring about an image takes its nearest edge pixel; what lies past the
// ring and the image itself stay as they were, and the ring stops at the
// page's edges.
TEST(TPageExtrude, RingCopiesTheNearestEdgePixelInsideThePage) {
  constexpr int W = 7, H = 6;
  auto page = [] {
    std::vector<uint32_t> p(W * H, 0xEEu);
    return p;
  };
  // A 3 x 2 image at (2, 2): every pixel of the 5 x 4 ring about it is set.
  std::vector<uint32_t> p = page();
  auto set = [&](int x, int y, uint32_t v) { p[size_t(y) * W + size_t(x)] = v; };
  set(2, 2, 1), set(3, 2, 2), set(4, 2, 3), set(2, 3, 4), set(3, 3, 5), set(4, 3, 6);
  TPage_Extrude(p.data(), W, H, 2, 2, 3, 2);
  const uint32_t want[H][W] = {{0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE},
                               {0xEE, 1, 1, 2, 3, 3, 0xEE},
                               {0xEE, 1, 1, 2, 3, 3, 0xEE},
                               {0xEE, 4, 4, 5, 6, 6, 0xEE},
                               {0xEE, 4, 4, 5, 6, 6, 0xEE},
                               {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}};
  for (int y = 0; y < H; y++)
    for (int x = 0; x < W; x++) EXPECT_EQ(p[size_t(y) * W + size_t(x)], want[y][x]) << x << "," << y;

  // In the page's top-left and bottom-right corners only the ring's inner
  // sides are drawn; a one-pixel image spreads to its eight neighbours.
  for (auto [x, y, w, h] : {std::array{0, 0, 2, 2}, std::array{5, 4, 2, 2}, std::array{3, 2, 1, 1}}) {
    p = page();
    for (int j = 0; j < h; j++)
      for (int i = 0; i < w; i++) set(x + i, y + j, uint32_t(100 + j * 10 + i));
    TPage_Extrude(p.data(), W, H, x, y, w, h);
    for (int py = 0; py < H; py++)
      for (int px = 0; px < W; px++) {
        bool inRing = px >= x - 1 && px <= x + w && py >= y - 1 && py <= y + h;
        uint32_t expected = inRing ? uint32_t(100 + (std::clamp(py, y, y + h - 1) - y) * 10 +
                                              (std::clamp(px, x, x + w - 1) - x))
                                   : 0xEEu;
        EXPECT_EQ(p[size_t(py) * W + size_t(px)], expected) << "image at " << x << "," << y << ": " << px << "," << py;
      }
  }
}

}  // namespace
