// The model text reader and writer, and the geometry of the 3D shapes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Base/Maths_Matrix.h"
#include "Graphics/Graphics_D3D_Model.h"
#include "Graphics/Graphics_D3D_Shape.h"

namespace {

bool Parse(const std::string& text, std::vector<D3DModelCommand>* out, int* line = nullptr,
           std::string* reason = nullptr) {
  int l = 0;
  std::string r;
  bool ok = D3D_Model_ParseText(text.data(), text.size(), out, line ? line : &l, reason ? reason : &r);
  return ok;
}

}  // namespace

TEST(ModelText, WrittenTextReadsBackTheSameCommands) {
  std::vector<D3DModelCommand> commands(3);
  commands[0].kind = MODEL_BEGIN;
  commands[0].args[0] = 5;
  commands[1].kind = MODEL_VERTEX_NORMAL_TEXTURE_COLOR;
  for (int i = 0; i < 10; i++) commands[1].args[i] = i * 1.25 - 3;
  commands[1].args[0] = 0.1f;  // single-precision values keep every bit
  commands[2].kind = MODEL_ELLIPSOID;
  commands[2].args[8] = 24;
  std::string text = D3D_Model_ToText(commands);
  EXPECT_EQ(text.substr(0, 6), "100\n3\n");
  EXPECT_NE(text.find("\n0 5 0 0 0 0 0 0 0 0 0\n"), std::string::npos) << text;
  std::vector<D3DModelCommand> back;
  ASSERT_TRUE(Parse(text, &back));
  ASSERT_EQ(back.size(), 3u);
  for (size_t c = 0; c < 3; c++) {
    EXPECT_EQ(back[c].kind, commands[c].kind);
    for (int i = 0; i < 10; i++) EXPECT_EQ(float(back[c].args[i]), float(commands[c].args[i])) << c << " " << i;
  }
  // Line ends of either kind, blanks and tabs between numbers.
  ASSERT_TRUE(Parse("100\r\n1\r\n15\t1  2 3 4 5 6 7 8 9 10\r\n", &back));
  EXPECT_EQ(back[0].kind, MODEL_FLOOR);
  EXPECT_EQ(back[0].args[9], 10);
  // Lines after the counted ones are not read; an empty model is a model.
  ASSERT_TRUE(Parse("100\n0\nanything\n", &back));
  EXPECT_TRUE(back.empty());
}

TEST(ModelText, TextThatIsNotAModelNamesItsLine) {
  struct Case {
    const char* text;
    int line;
  } cases[] = {
      {"", 1},
      {"101\n0\n", 1},
      {"100 x\n0\n", 1},
      {"100\n", 2},
      {"100\n-1\n", 2},
      {"100\nmany\n", 2},
      {"100\n2\n1 0 0 0 0 0 0 0 0 0 0\n", 4},
      {"100\n1\n16 0 0 0 0 0 0 0 0 0 0\n", 3},
      {"100\n1\n-1 0 0 0 0 0 0 0 0 0 0\n", 3},
      {"100\n1\n2.5 0 0 0 0 0 0 0 0 0 0\n", 3},
      {"100\n1\n2 0 0 0 0 0 0 0 0 0\n", 3},
      {"100\n1\n2 0 0 0 0 0 0 0 0 0 0 0\n", 3},
      {"100\n1\n2 0 0 nan 0 0 0 0 0 0 0\n", 3},
      {"100\n1\n2 0 0 1,5 0 0 0 0 0 0 0\n", 3},
      // A count far beyond the text is found short without being allocated.
      {"100\n4000000000\n", 3},
  };
  for (const Case& c : cases) {
    std::vector<D3DModelCommand> out(1);
    int line = 0;
    std::string reason;
    EXPECT_FALSE(Parse(c.text, &out, &line, &reason)) << c.text;
    EXPECT_EQ(line, c.line) << c.text;
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(out.size(), 1u) << "the output is left alone";
  }
}

TEST(ModelTable, IdsAreNeverReusedAndBadIdsAreIgnored) {
  int a = D3D_Model_Create(), b = D3D_Model_Create();
  EXPECT_EQ(b, a + 1);
  D3D_Model_Destroy(a);
  EXPECT_FALSE(D3D_Model_Exists(a));
  EXPECT_EQ(D3D_Model_Create(), b + 1);
  D3DModelCommand c;
  c.kind = MODEL_BLOCK;
  D3D_Model_Add(a, c);
  D3D_Model_Add(-1, c);
  D3D_Model_Draw(a, 0, 0, 0, -1);
  EXPECT_EQ(D3D_Model_Commands(a), nullptr);
  c.kind = MODEL_COMMAND_COUNT;
  D3D_Model_Add(b, c);
  EXPECT_TRUE(D3D_Model_Commands(b)->empty());
  EXPECT_FALSE(D3D_Model_Save(a, "never.txt"));
  EXPECT_FALSE(D3D_Model_Load(a, "/nonexistent", "x"));
}

namespace {

Vector3 Pos(const SVertex3D& v) { return {v.x, v.y, v.z}; }
Vector3 Sub(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// Every triangle faces away from the centre (its edges' cross product and
// its vertices' normals point outward), and its texture coordinates lie in
// 0..h, 0..v.
void ExpectOutward(const std::vector<SVertex3D>& v, const Vector3& centre, float h, float vr, const char* name) {
  ASSERT_FALSE(v.empty()) << name;
  ASSERT_EQ(v.size() % 3, 0u) << name;
  int bad = 0;
  for (size_t i = 0; i < v.size(); i += 3) {
    Vector3 a = Pos(v[i]), b = Pos(v[i + 1]), c = Pos(v[i + 2]);
    Vector3 cross = Vector3_Cross(Sub(b, a), Sub(c, a));
    Vector3 mid{(a.x + b.x + c.x) / 3 - centre.x, (a.y + b.y + c.y) / 3 - centre.y, (a.z + b.z + c.z) / 3 - centre.z};
    if (Vector3_Dot(cross, mid) <= 0) bad++;
    for (size_t k = i; k < i + 3; k++) {
      Vector3 n{v[k].nx, v[k].ny, v[k].nz};
      EXPECT_NEAR(std::sqrt(Vector3_Dot(n, n)), 1.0f, 1e-4f) << name;
      EXPECT_GT(Vector3_Dot(n, Sub(Pos(v[k]), centre)), -1e-3f) << name << " vertex " << k;
      EXPECT_TRUE(v[k].u >= -1e-5f && v[k].u <= h + 1e-5f && v[k].v >= -1e-5f && v[k].v <= vr + 1e-5f) << name;
    }
  }
  EXPECT_EQ(bad, 0) << name << ": triangles wound inward";
}

}  // namespace

TEST(Shapes, ClosedShapesFaceOutwardWhicheverWayTheirCornersAreGiven) {
  const D3DBox boxes[] = {{-10, -20, -5, 10, 20, 5}, {10, 20, 5, -10, -20, -5}, {0, 0, 0, 30, 10, 50}};
  for (const D3DBox& b : boxes) {
    Vector3 centre{(b.x1 + b.x2) / 2, (b.y1 + b.y2) / 2, (b.z1 + b.z2) / 2};
    std::vector<SVertex3D> v;
    D3D_Shape_Block(v, b, 2, 3);
    EXPECT_EQ(v.size(), 36u);
    ExpectOutward(v, centre, 2, 3, "block");
    v.clear();
    D3D_Shape_Cylinder(v, b, 2, 3, true, 12);
    EXPECT_EQ(v.size(), size_t(12 * 6 + 2 * 12 * 3));
    ExpectOutward(v, centre, 2, 3, "cylinder");
    v.clear();
    D3D_Shape_Cone(v, b, 2, 3, true, 12);
    ExpectOutward(v, centre, 2, 3, "cone");
    v.clear();
    D3D_Shape_Ellipsoid(v, b, 2, 3, 12);
    ExpectOutward(v, centre, 2, 3, "ellipsoid");
  }
}

TEST(Shapes, StepsAreClampedAndFlatShapesFaceTheirNormal) {
  std::vector<SVertex3D> v;
  D3D_Shape_Cylinder(v, {0, 0, 0, 1, 1, 1}, 1, 1, false, -7);
  EXPECT_EQ(v.size(), 3u * 6);
  v.clear();
  D3D_Shape_Ellipsoid(v, {0, 0, 0, 1, 1, 1}, 1, 1, 2000000000);
  EXPECT_EQ(v.size(), size_t(128 * 64 * 6 - 2 * 128 * 3));
  // A floor faces up (+z) and a wall the side of (y2 - y1, x1 - x2).
  v.clear();
  D3D_Shape_Floor(v, {0, 0, 0, 10, 10, 5}, 1, 1);
  ExpectOutward(v, {5, 5, -100}, 1, 1, "floor");
  v.clear();
  D3D_Shape_Wall(v, {0, 0, 0, 10, 0, 10}, 1, 1);
  ExpectOutward(v, {5, 100, 5}, 1, 1, "wall");
}
