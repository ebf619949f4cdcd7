// The physics keys of objects and rooms: from the project through the
// package and back, with the builder's and the reader's checks.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "gamepack/Gamepack_Project.h"
#include "gamepack/Gamepack_Write.h"

namespace {
namespace fs = std::filesystem;

class DataFilePhysics : public testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/gamepack_physics_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    m_dir = name;
  }
  void TearDown() override { fs::remove_all(m_dir); }

  bool Build(const std::string& json, ProjectBuild& build, std::string& error) {
    std::ofstream(m_dir / "project.json") << json;
    return DataFile_BuildProject((m_dir / "project.json").string(), build, error);
  }
  // The error of building an object with these physics keys.
  std::string ObjectError(const std::string& physics, const std::string& sprite = "") {
    ProjectBuild build;
    std::string error;
    std::string json = R"({"sprites": [{"name": "s", "frames": [{"width": 20, "height": 10, "colour": "#FFFFFF"}]}],
                           "objects": [{"name": "o", )" + sprite + R"("physics": )" + physics + "}]}";
    EXPECT_FALSE(Build(json, build, error)) << physics;
    return error;
  }
  // A package image with one object and one room, the object's physics set.
  static std::vector<uint8_t> Package(const PackageObjectPhysics& physics, const PackageRoomPhysics& world) {
    GamePackage pkg;
    PackageObject o;
    o.exists = true, o.name = "o", o.physics = physics;
    pkg.objects.push_back(o);
    PackageRoom r;
    r.exists = true, r.name = "r", r.physics = world;
    pkg.rooms.push_back(r);
    pkg.general.room_order = {0};
    return DataFile_WritePackage(pkg);
  }

  fs::path m_dir;
};

TEST_F(DataFilePhysics, KeysReachThePackageWithTheSpritesSizeByDefault) {
  ProjectBuild build;
  std::string error;
  ASSERT_TRUE(Build(R"({
    "sprites": [{"name": "s", "frames": [{"width": 20, "height": 10, "colour": "#FFFFFF"}]}],
    "objects": [
      {"name": "crate", "sprite": "s", "physics": {"shape": "box", "density": 2, "kinematic": true}},
      {"name": "ball", "sprite": "s", "physics": {}},
      {"name": "wedge", "physics": {"shape": "polygon", "points": [[0, 0], [10, 0], [0, 10]],
                                    "collision_group": -3, "sensor": true, "awake": false}},
      {"name": "plain"}],
    "rooms": [{"name": "r", "physics": {"gravity_x": 1}}, {"name": "q"}]})",
                    build, error))
      << error;
  GamePackage pkg;
  ASSERT_TRUE(DataFile_LoadPackageFromMemory(DataFile_WritePackage(build.pkg), pkg, error)) << error;
  const PackageObjectPhysics& crate = pkg.objects[0].physics;
  EXPECT_TRUE(crate.enabled);
  EXPECT_EQ(crate.shape, 1);
  EXPECT_FLOAT_EQ(crate.width, 20);
  EXPECT_FLOAT_EQ(crate.height, 10);
  EXPECT_FLOAT_EQ(crate.density, 2);
  EXPECT_TRUE(crate.kinematic);
  EXPECT_FLOAT_EQ(crate.friction, 0.2f);
  const PackageObjectPhysics& ball = pkg.objects[1].physics;
  EXPECT_EQ(ball.shape, 0);
  EXPECT_FLOAT_EQ(ball.radius, 10);
  EXPECT_FLOAT_EQ(ball.restitution, 0.1f);
  const PackageObjectPhysics& wedge = pkg.objects[2].physics;
  ASSERT_EQ(wedge.points.size(), 3u);
  EXPECT_FLOAT_EQ(wedge.points[1].first, 10);
  EXPECT_EQ(wedge.collision_group, -3);
  EXPECT_TRUE(wedge.sensor);
  EXPECT_FALSE(wedge.awake);
  EXPECT_FALSE(pkg.objects[3].physics.enabled);
  EXPECT_TRUE(pkg.rooms[0].physics.enabled);
  EXPECT_FLOAT_EQ(pkg.rooms[0].physics.gravity_x, 1);
  EXPECT_FLOAT_EQ(pkg.rooms[0].physics.gravity_y, 10);
  EXPECT_FLOAT_EQ(pkg.rooms[0].physics.scale, 0.1f);
  EXPECT_FALSE(pkg.rooms[1].physics.enabled);
}

TEST_F(DataFilePhysics, TheBuilderRefusesShapesTheWorldCannotUse) {
  const std::pair<std::string, const char*> cases[] = {
      {R"({"shape": "triangle"})", "key \"shape\": expected \"circle\", \"box\" or \"polygon\""},
      {R"({"shape": "circle"})", "a circle needs a radius above 0 (or a sprite)"},
      {R"({"shape": "polygon", "points": [[0, 0], [0, 10], [10, 0]]})", "convex polygon, clockwise"},
      {R"({"shape": "polygon", "points": [[0, 0], [10, 0]]})", "3 to 8 points"},
      {R"({"shape": "polygon", "points": [[0, 0], [10, 0], "x"]})", "expected [x, y] pairs"},
      {R"({"density": -1})", "key \"density\": cannot be negative"},
      {R"({"collision_group": 40000})", "-32768 to 32767"},
      {R"({"frction": 1})", "key \"physics\": unknown key \"frction\""},
  };
  for (auto& [physics, expected] : cases) {
    std::string error = ObjectError(physics, physics.find("circle") != std::string::npos ? "" : "\"sprite\": \"s\", ");
    EXPECT_NE(error.find(expected), std::string::npos) << physics << "\n  gave: " << error;
  }
  ProjectBuild build;
  std::string error;
  EXPECT_FALSE(Build(R"({"rooms": [{"name": "r", "physics": {"scale": 0}}]})", build, error));
  EXPECT_NE(error.find("rooms[0] (\"r\"): key \"physics\": key \"scale\""), std::string::npos) << error;
}

TEST_F(DataFilePhysics, TheReaderRefusesPhysicsFieldsThatWouldHurtTheWorld) {
  PackageObjectPhysics good;
  good.enabled = true, good.radius = 4;
  PackageRoomPhysics world;
  world.enabled = true;
  GamePackage pkg;
  std::string error;
  ASSERT_TRUE(DataFile_LoadPackageFromMemory(Package(good, world), pkg, error)) << error;
  EXPECT_FLOAT_EQ(pkg.objects[0].physics.radius, 4);

  auto refused = [&](PackageObjectPhysics p, PackageRoomPhysics w, const char* expected) {
    EXPECT_FALSE(DataFile_LoadPackageFromMemory(Package(p, w), pkg, error)) << expected;
    EXPECT_NE(error.find(expected), std::string::npos) << error;
  };
  PackageObjectPhysics p = good;
  p.shape = 7;
  refused(p, world, "OBJT: object 0: physics shape 7 is not 0, 1 or 2");
  p = good, p.density = NAN;
  refused(p, world, "a physics field is not a finite number");
  p = good, p.collision_group = 70000;
  refused(p, world, "outside 16 bits");
  p = good, p.shape = 2, p.points = {{0, 0}, {1, 0}};
  refused(p, world, "the physics shape has no size");
  p = good, p.points.assign(9, {0, 0});
  refused(p, world, "physics point count 9 is above 8");
  PackageRoomPhysics w = world;
  w.scale = -1;
  refused(good, w, "ROOM: room 0: the physics scale must be above 0");
  w = world, w.gravity_y = INFINITY;
  refused(good, w, "ROOM: room 0: a physics field is not a finite number");
}
}  // namespace
