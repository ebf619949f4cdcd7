// 3D drawing compared with golden images (tests/golden/d3d/NAME.png, 64 by
// 64), each channel within a small tolerance. scripts/update-d3d-golden
// draws them again (RUNNER_UPDATE_GOLDEN=1); look at each new one before
// committing it.
#include <cstdlib>
#include <functional>
#include <string>

#include "Graphics/Graphics_D3D.h"
#include "Graphics/Graphics_Image.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Function_Graphics_Call.h"
#include "Graphics_TestDevice.h"

void Function_D3D_Init();

namespace {

constexpr int kTolerance = 6;

class D3DPixels : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    Reset();
    // A 4 by 4 checker of white and grey with a red corner, to show how
    // textures lie.
    uint32_t px[16];
    for (int i = 0; i < 16; i++) px[i] = ((i / 4 + i % 4) % 2) ? 0xFF808080u : 0xFFFFFFFFu;
    px[0] = 0xFFFF0000u;
    checker_ = GR_Texture_Create(4, 4, px);
  }
  void TearDown() override {
    Reset();
    GR_Texture_Free(checker_);
  }
  static void Reset() {
    D3D_Start(false);
    D3D_SetLighting(false);
    D3D_SetCulling(false);
    D3D_SetShading(true);
    D3D_SetFog(false, 0, 0, 0);
    D3D_SetDepth(0);
    D3D_Transform_SetIdentity();
    D3D_TransformStack_Clear();
    Graphics_LightDefineAmbient(0);
    for (int i = 0; i < LIGHT_COUNT; i++) Graphics_LightEnable(i, false);
    GR_SetRepeat(false);
    GR_SetColor(0xFFFFFF);
    Graphics_SetViewPortAndView(0, 0, kTestSize, kTestSize, 0, 0, kTestSize, kTestSize, 0);
  }
  // 3D mode looking at the origin from a corner above, z up; no culling.
  static void Camera() {
    D3D_Start(true);
    D3D_SetCulling(false);
    Graphics_Clear(0xFF203040);
    float from[3] = {70, 50, 60}, to[3] = {0, 0, 0}, up[3] = {0, 0, 1};
    D3D_SetProjectionExt(from, to, up, 45, 1, 1, 1000);
  }
  // A white light from the camera's side and a dim ambient.
  static void Lights() {
    D3D_SetLighting(true);
    Graphics_LightDefineAmbient(0x303030);
    Graphics_LightDefineDirection(0, -1, -0.5f, -2, 0xFFFFFF);
    Graphics_LightEnable(0, true);
  }
  // Compares the screen with the golden image; in update mode writes it
  // instead, unless the image is only compared again (owner false).
  void Check(const std::string& name, bool owner = true) {
    std::vector<uint32_t> got = Screen();
    std::string path = std::string(GOLDEN_DIR) + "/d3d/" + name + ".png";
    const char* update = std::getenv("RUNNER_UPDATE_GOLDEN");
    if (update && *update == '1') {
      if (owner) ASSERT_TRUE(GR_Image_SavePNG(path.c_str(), got.data(), kTestSize, kTestSize));
      return;
    }
    std::vector<CBitmap32> frames;
    ASSERT_TRUE(GR_Image_Load(path.c_str(), frames)) << path;
    ASSERT_EQ(frames[0].width, kTestSize);
    ASSERT_EQ(frames[0].height, kTestSize);
    int bad = 0;
    for (size_t i = 0; i < got.size(); i++)
      for (int shift = 0; shift < 24; shift += 8) {
        int a = int((got[i] >> shift) & 255), b = int((frames[0].pixels[i] >> shift) & 255);
        if (std::abs(a - b) > kTolerance) {
          if (bad++ < 5)
            ADD_FAILURE() << name << ": pixel " << i % kTestSize << "," << i / kTestSize << " is " << std::hex
                          << got[i] << ", golden " << frames[0].pixels[i];
          break;
        }
      }
    EXPECT_EQ(bad, 0) << name;
  }
  int checker_ = -1;
};

struct Shape {
  const char* name;
  std::function<void(int texture)> draw;
};

const Shape kShapes[] = {
    {"block", [](int t) { D3D_Draw_Block(-20, -20, -10, 20, 20, 10, t, 1, 1); }},
    {"cylinder", [](int t) { D3D_Draw_Cylinder(-20, -20, -15, 20, 20, 15, t, 2, 1, true, 16); }},
    {"cone", [](int t) { D3D_Draw_Cone(-20, -20, -15, 20, 20, 15, t, 2, 1, true, 16); }},
    {"ellipsoid", [](int t) { D3D_Draw_Ellipsoid(-20, -20, -15, 20, 20, 15, t, 2, 1, 16); }},
    {"wall", [](int t) { D3D_Draw_Wall(20, -20, -15, -20, 20, 15, t, 1, 1); }},
    {"floor", [](int t) { D3D_Draw_Floor(-25, -25, -5, 25, 25, 5, t, 1, 1); }},
};

}  // namespace

TEST_F(D3DPixels, EachShapeLitAndUnlit) {
  for (const Shape& s : kShapes) {
    Camera();
    s.draw(checker_);
    Check(std::string(s.name) + "_unlit");
    Camera();
    Lights();
    GR_SetColor(0x40A0FF);  // orange
    s.draw(-1);
    Check(std::string(s.name) + "_lit");
    Reset();
  }
}

TEST_F(D3DPixels, TextureRepeatsWhenRepeatIsOn) {
  Camera();
  GR_SetRepeat(true);
  D3D_Draw_Block(-20, -20, -10, 20, 20, 10, checker_, 2, 2);
  Check("block_repeat");
}

TEST_F(D3DPixels, FogThickensWithDistance) {
  Camera();
  D3D_SetFog(true, 0xC0C0C0, 70, 130);
  for (int i = 0; i < 4; i++) D3D_Draw_Block(-40.0f + 25 * i, -40.0f + 25 * i, -5, -25.0f + 25 * i, -25.0f + 25 * i, 5, checker_, 1, 1);
  Check("fog");
}

TEST_F(D3DPixels, FlatAndSmoothShading) {
  Camera();
  Lights();
  D3D_SetShading(false);
  D3D_Draw_Ellipsoid(-20, -20, -15, 20, 20, 15, -1, 1, 1, 12);
  Check("ellipsoid_flat");
  Camera();
  D3D_SetShading(true);
  D3D_Draw_Ellipsoid(-20, -20, -15, 20, 20, 15, -1, 1, 1, 12);
  Check("ellipsoid_smooth");
}

TEST_F(D3DPixels, PointLightFallsOffWithRange) {
  Camera();
  D3D_SetLighting(true);
  Graphics_LightDefinePoint(3, 10, 10, 20, 80, 0x00FFFF);  // yellow
  Graphics_LightEnable(3, true);
  D3D_Draw_Floor(-30, -30, 0, 30, 30, 0, -1, 1, 1);
  Check("point_light");
}

// Culling keeps the outsides: an open cylinder seen from above shows its
// outer wall and, through the top, the far half of its inner wall only
// when culling is off. The wall and floor face the camera.
TEST_F(D3DPixels, CullingKeepsOutsides) {
  Camera();
  D3D_SetCulling(true);
  D3D_Draw_Cylinder(-20, -20, -15, 20, 20, 15, checker_, 2, 1, false, 16);
  Check("cylinder_culled");
  Camera();
  D3D_Draw_Cylinder(-20, -20, -15, 20, 20, 15, checker_, 2, 1, false, 16);
  Check("cylinder_not_culled");
  // Each shape drawn alone with culling looks as it does without.
  for (const Shape& s : kShapes) {
    Camera();
    D3D_SetCulling(true);
    s.draw(checker_);
    Check(std::string(s.name) + "_unlit", false);
  }
}

// The cull mode by its Direct3D number: counter-clockwise (3) drops faces
// counter-clockwise on the screen, clockwise (2) the others.
TEST_F(D3DPixels, CullModesByScreenWinding) {
  for (uint32_t mode : {1u, 2u, 3u}) {
    Graphics_SetRenderState(RS_CULLMODE, mode);
    Graphics_Clear(0xFF000000);
    GR_Draw_Triangle(0, 0, 20, 0, 0, 20, false);  // clockwise on screen
    EXPECT_EQ(Pixel(Screen(), 3, 3), mode == 2 ? 0xFF000000u : 0xFFFFFFFFu) << mode;
    Graphics_Clear(0xFF000000);
    GR_Draw_Triangle(0, 0, 0, 20, 20, 0, false);  // counter-clockwise
    EXPECT_EQ(Pixel(Screen(), 3, 3), mode == 3 ? 0xFF000000u : 0xFFFFFFFFu) << mode;
  }
  Graphics_SetRenderState(RS_CULLMODE, 1);
}

TEST_F(D3DPixels, EachProjection) {
  D3D_Start(true);
  Graphics_Clear(0xFF000000);
  // A block standing on the plane z = 0 of a 64 by 64 area, seen in the
  // view's own two ways and turned by 30 degrees.
  auto scene = [this] {
    Graphics_Clear(0xFF000000);
    D3D_Draw_Block(16, 16, -20, 48, 40, 0, checker_, 1, 1);
  };
  D3D_SetProjectionOrtho(0, 0, 64, 64, 30);
  scene();
  Check("projection_ortho");
  D3D_SetProjectionPerspective(0, 0, 64, 64, 30);
  scene();
  Check("projection_depth");
  float from[3] = {32, 100, -60}, to[3] = {32, 28, -10}, up[3] = {0, 0, -1};
  D3D_SetProjection(from, to, up);
  scene();
  Check("projection_lookat");
  D3D_SetProjectionExt(from, to, up, 70, 2, 1, 200);
  scene();
  Check("projection_ext");
  // The built-in passes the field of view, aspect and near and far planes in
  // that order: the same picture.
  D3D_SetProjection(from, to, up);
  if (Function_FindBuiltIn("d3d_set_projection_ext") < 0) Function_D3D_Init();
  GCall("d3d_set_projection_ext", {32, 100, -60, 32, 28, -10, 0, 0, -1, 70, 2, 1, 200});
  scene();
  Check("projection_ext", false);
}

// A 2D rectangle at depth 5 between a floor at 0 and one at 10, in the
// default perspective of the view: it hides the farther floor (green) and
// is hidden by the nearer (red) where they overlap.
TEST_F(D3DPixels, TwoDimensionalDrawingAtADepth) {
  D3D_Start(true);
  Graphics_Clear(0xFF000000);
  GR_SetColor(0x00FF00);
  D3D_Draw_Floor(0, 0, 10, 40, 40, 10, -1, 1, 1);
  GR_SetColor(0x0000FF);
  D3D_Draw_Floor(24, 24, 0, 64, 64, 0, -1, 1, 1);
  D3D_SetDepth(5);
  GR_SetColor(0xFFFFFF);
  GR_Draw_Rectangle(12, 12, 51, 51, false);
  Check("depth_2d");
}
