// Every collision built-in over the same shapes: a hollow, lopsided sprite
// drawn plain, mirrored, turned and scaled, with precise masks and without.
// Each pixel near the instance is asked of every built-in; the answers must
// agree with each other and with the pixels drawn (precise) or the bounding
// box (not precise).
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "Function_Call.h"
#include "Graphics_TestDevice.h"
#include "Run/Run_Services.h"
#include "Run_TestWorld.h"
#include "Sprite/Sprite_Class.h"

void Function_Game_Init();

using namespace testworld;

namespace {
// 8 by 6, origin (2, 1): a frame with an island inside and an open corner.
const char* const kShape[] = {
    "########",
    "#......#",
    "#..##..#",
    "#......#",
    "#.......",
    "##......",
};

struct Pose {
  const char* name;
  float xscale, yscale, angle;
};

const Pose kPoses[] = {
    {"plain", 1, 1, 0},       {"mirrored", -1, 1, 0},   {"flipped", 1, -1, 0},  {"turned 90", 1, 1, 90},
    {"turned 180", 1, 1, 180}, {"turned 270", 1, 1, 270}, {"scaled", 2, 3, 0},   {"mirrored turned 90", -2, 1, 90},
};

class CollisionShapes : public GraphicsTest {
 protected:
  void SetUp() override {
    GraphicsTest::SetUp();
    Reset();
    InitCWLFunctions();
    if (Function_FindBuiltIn("mp_grid_path") < 0) Function_Game_Init();
  }
  void TearDown() override { Reset(); }

  // The shape's sprite, precise or not, as the object "shape"; a 1 by 1
  // probe for the placement tests. Both in a started room.
  void Start(bool precise) {
    CBitmap32 bmp(8, 6);
    for (int y = 0; y < 6; y++)
      for (int x = 0; x < 8; x++) bmp.Row(y)[x] = kShape[y][x] == '#' ? 0xFFFFFFFFu : 0;
    auto* s = new CSprite;
    s->precise = precise;
    std::vector<CBitmap32> frames;
    frames.push_back(std::move(bmp));
    ASSERT_TRUE(s->SetFromBitmaps(std::move(frames)));
    s->xorig = 2, s->yorig = 1;
    sprite = s;
    shape = Object_Add("shape");
    Object_Find(shape)->sprite_index = Sprite_Append(s, "shape");
    int probeObject = Object_Add("probe");
    Object_Find(probeObject)->sprite_index = AddSprite(1, 1);
    AddRoom({{shape, {24, 24}}, {probeObject, {0, 0}}});
    Object_LinkParents();
    ASSERT_TRUE(StartGame());
    inst = g_RunRoom->active[0];
    probe = g_RunRoom->active[1];
  }

  double Ask(CInstance* self, const char* name, std::initializer_list<TestArg> args) {
    RValue r;
    CallBuiltIn(self, name, args, &r);
    double v = r.val;
    RValue_Free(&r);
    return v;
  }
  // An instance answer as a truth value, checking it names the shape.
  bool Found(double id) {
    EXPECT_TRUE(id == TARGET_NOONE || id == inst->id) << id;
    return id == inst->id;
  }

  // Runs every built-in at every pixel around the instance in its pose.
  void CheckPose(const Pose& p, bool precise) {
    SCOPED_TRACE(std::string(p.name) + (precise ? ", precise" : ", not precise"));
    inst->SetImageXScale(p.xscale);
    inst->SetImageYScale(p.yscale);
    inst->SetImageAngle(p.angle);
    Graphics_Clear(0xFF000000);
    sprite->Draw(0, inst->x, inst->y, p.xscale, p.yscale, p.angle, 0xFFFFFF, 1);
    std::vector<uint32_t> screen = Screen();
    auto lit = [&](int i, int j) {
      return i >= 0 && j >= 0 && i < kTestSize && j < kTestSize && (Pixel(screen, i, j) & 0xFFFFFF) != 0;
    };
    int l, t, r, b;
    inst->GetBoundingBox(&l, &t, &r, &b);
    // Turned by a multiple of 90 degrees, the box is the drawn image's extent.
    if (std::fmod(p.angle, 90.0f) == 0) {
      int dl = kTestSize, dt = kTestSize, dr = -1, db = -1;
      for (int j = 0; j < kTestSize; j++)
        for (int i = 0; i < kTestSize; i++)
          if (lit(i, j)) dl = std::min(dl, i), dr = std::max(dr, i), dt = std::min(dt, j), db = std::max(db, j);
      EXPECT_EQ(l, dl);
      EXPECT_EQ(r, dr);
      EXPECT_EQ(t, dt);
      EXPECT_EQ(b, db);
    }
    auto inBox = [&](int i, int j) { return i >= l && i <= r && j >= t && j <= b; };
    // What a test of one pixel answers: the mask's pixel, else the box.
    std::function<bool(int, int)> maskHit = [&](int i, int j) { return precise ? lit(i, j) : inBox(i, j); };
    auto anyOf = [](const std::function<bool(int, int)>& hit, int i1, int j1, int i2, int j2) {
      for (int j = j1; j <= j2; j++)
        for (int i = i1; i <= i2; i++)
          if (hit(i, j)) return true;
      return false;
    };
    for (int j = t - 3; j <= b + 3; j++) {
      for (int i = l - 3; i <= r + 3; i++) {
        SCOPED_TRACE("pixel " + std::to_string(i) + "," + std::to_string(j));
        if (!precise) {
          EXPECT_TRUE(!lit(i, j) || inBox(i, j));
        }
        bool want = maskHit(i, j);
        // The point and placement tests always use the mask.
        EXPECT_EQ(Ask(inst, "position_meeting", {i, j, shape}), want);
        EXPECT_EQ(Ask(inst, "position_meeting", {i + 0.75, j + 0.25, shape}), want);
        EXPECT_EQ(Found(Ask(inst, "instance_position", {i, j, shape})), want);
        EXPECT_EQ(Ask(probe, "place_meeting", {i, j, shape}), want);
        EXPECT_EQ(Found(Ask(probe, "instance_place", {i, j, shape})), want);
        // The shape tests with either flag: the flag off asks the box alone.
        for (int flag = 0; flag <= 1; flag++) {
          std::function<bool(int, int)> hit = flag ? maskHit : std::function<bool(int, int)>(inBox);
          SCOPED_TRACE(flag ? "flag on" : "flag off");
          EXPECT_EQ(Found(Ask(probe, "collision_point", {i, j, shape, flag, 0})), hit(i, j));
          EXPECT_EQ(Found(Ask(probe, "collision_rectangle", {i, j, i, j, shape, flag, 0})), hit(i, j));
          EXPECT_EQ(Found(Ask(probe, "collision_rectangle", {i + 2, j + 1, i, j, shape, flag, 0})),
                    anyOf(hit, i, j, i + 2, j + 1));
          EXPECT_EQ(Found(Ask(probe, "collision_ellipse", {i, j, i, j, shape, flag, 0})), hit(i, j));
          EXPECT_EQ(Found(Ask(probe, "collision_line", {i, j, i + 3, j, shape, flag, 0})), anyOf(hit, i, j, i + 3, j));
          EXPECT_EQ(Found(Ask(probe, "collision_line", {i, j + 3, i, j, shape, flag, 0})), anyOf(hit, i, j, i, j + 3));
          bool diagonal = hit(i, j) || hit(i + 1, j + 1) || hit(i + 2, j + 2);
          EXPECT_EQ(Found(Ask(probe, "collision_line", {i, j, i + 2, j + 2, shape, flag, 0})), diagonal);
          EXPECT_EQ(Found(Ask(probe, "collision_line", {i + 2, j + 2, i, j, shape, flag, 0})), diagonal);
        }
      }
    }
  }

  CSprite* sprite = nullptr;
  CInstance* inst = nullptr;
  CInstance* probe = nullptr;
  int shape = -1;
};

TEST_F(CollisionShapes, PreciseTestsMeetTheDrawnPixelsInEveryPose) {
  Start(true);
  for (const Pose& p : kPoses) CheckPose(p, true);
}

TEST_F(CollisionShapes, BetweenWholePixelsTheTestsRoundAsTheDrawingDoes) {
  Start(true);
  for (auto [x, y] : {std::pair{24.25f, 23.75f}, std::pair{23.7f, 24.3f}}) {
    inst->SetPosition(x, y);
    for (const Pose& p : kPoses) CheckPose(p, true);
  }
}

TEST_F(CollisionShapes, ShapesWithoutMasksMeetTheirBoundingBoxInEveryPose) {
  Start(false);
  for (const Pose& p : kPoses) CheckPose(p, false);
  // Turned by other angles the box holds the turned image; every test agrees on it.
  CheckPose({"turned 30", 1, 1, 30}, false);
  CheckPose({"turned 135, scaled", 1.5f, -1, 135}, false);
}
}  // namespace
