// The package builder: projects become packages that load back with every
// resource in place; bad projects are refused with a message that says where
// and what.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "gamepack/Gamepack_Image.h"
#include "gamepack/Gamepack_Project.h"
#include "gamepack/Gamepack_Write.h"

namespace {

namespace fs = std::filesystem;

class DataFileProject : public testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/gamepack_test_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    m_dir = name;
  }
  void TearDown() override { fs::remove_all(m_dir); }

  void Write(const std::string& name, const std::string& text) {
    fs::create_directories((m_dir / name).parent_path());
    std::ofstream(m_dir / name, std::ios::binary) << text;
  }
  void WritePng(const std::string& name, const PackImage& image) {
    std::vector<uint8_t> png;
    std::string error;
    ASSERT_TRUE(DataFile_EncodePNG(image, png, error)) << error;
    Write(name, std::string(png.begin(), png.end()));
  }

  // Builds the project, writes the package and loads it back.
  void BuildAndLoad(const std::string& json, GamePackage& loaded) {
    Write("project.json", json);
    ProjectBuild build;
    std::string error;
    ASSERT_TRUE(DataFile_BuildProject((m_dir / "project.json").string(), build, error)) << error;
    ASSERT_TRUE(DataFile_LoadPackageFromMemory(DataFile_WritePackage(build.pkg), loaded, error)) << error;
  }
  std::string BuildError(const std::string& json) {
    Write("project.json", json);
    ProjectBuild build;
    std::string error;
    EXPECT_FALSE(DataFile_BuildProject((m_dir / "project.json").string(), build, error));
    std::string prefix = (m_dir / "project.json").string();
    EXPECT_EQ(error.compare(0, prefix.size(), prefix), 0) << error;
    return error.substr(std::min(error.size(), prefix.size()));
  }

  fs::path m_dir;
};

// A w x h RGBA image, transparent except for the given rectangle.
PackImage Sprite(int w, int h, int left, int top, int right, int bottom) {
  PackImage image;
  image.width = w, image.height = h;
  image.rgba.assign((size_t)w * h * 4, 0);
  for (int y = top; y <= bottom; y++)
    for (int x = left; x <= right; x++) {
      uint8_t* px = &image.rgba[((size_t)y * w + x) * 4];
      px[0] = 255, px[3] = 255;
    }
  return image;
}

// A 24-bit BMP (no alpha) of 3 x 2 pixels: bottom row blue, blue, red; top
// row red, blue, red.
std::string Bmp() {
  std::string b = "BM";
  auto u32 = [&](uint32_t v) { b.append((const char*)&v, 4); };
  auto u16 = [&](uint16_t v) { b.append((const char*)&v, 2); };
  u32(54 + 16), u32(0), u32(54), u32(40), u32(3), u32(2), u16(1), u16(24), u32(0), u32(16);
  u32(0), u32(0), u32(0), u32(0);
  const char bottom[] = "\xFF\x00\x00\xFF\x00\x00\x00\x00\xFF\x00\x00\x00";  // BGR + padding
  const char top[] = "\x00\x00\xFF\xFF\x00\x00\x00\x00\xFF\x00\x00\x00";
  b.append(bottom, 12);
  b.append(top, 12);
  return b;
}

TEST_F(DataFileProject, EveryResourceKindReachesThePackage) {
  WritePng("img/ball0.png", Sprite(8, 6, 2, 1, 5, 3));
  WritePng("img/ball1.png", Sprite(8, 6, 1, 2, 6, 4));
  Write("scripts/move.txt", "x += 1;");
  Write("sounds/boom.wav", "RIFFfake");
  Write("files/level.txt", "level data");
  GamePackage p;
  BuildAndLoad(R"({
    "name": "Everything", "game_id": 77,
    "options": {"show_errors": false, "errors_fatal": true, "new_audio": true,
                "freeze_when_inactive": true, "unknown_variables_zero": true},
    "constants": {"LIVES": 3, "TITLE": "\"Hi\""},
    "scripts": {"scr_inline": "return 1;", "scr_file": {"file": "scripts/move.txt"}},
    "sprites": [{"name": "spr_ball", "frames": ["img/ball0.png", "img/ball1.png"],
                 "xorigin": 4, "yorigin": 3, "precise": true, "smooth": true, "preload": false},
                {"name": "spr_block", "frames": [{"width": 16, "height": 16, "colour": "#0000FF"}],
                 "bbox_mode": 2, "bbox_left": 2, "bbox_right": 9}],
    "backgrounds": [{"name": "bg_sky", "image": {"width": 64, "height": 32, "colour": "#8080FF"}}],
    "fonts": [{"name": "fnt_default", "font": "Sans", "size": 10, "bold": true},
              {"name": "fnt_digits", "first": 48, "last": 57,
               "image": {"width": 80, "height": 12, "colour": "#FFFFFF"}}],
    "sounds": [{"name": "snd_boom", "file": "sounds/boom.wav", "kind": 2, "volume": 0.5}],
    "paths": [{"name": "pth_loop", "kind": 1, "closed": false, "points": [[0, 0], [10, 20, 50]]}],
    "timelines": [{"name": "tl_wave", "moments": {"60": "b = 2;", "0": "a = 1;"}}],
    "objects": [
      {"name": "obj_base", "events": {"step_end": "z = 3;"}},
      {"name": "obj_ball", "sprite": "spr_ball", "mask": "spr_block", "parent": "obj_base",
       "depth": -10, "solid": true, "visible": false, "persistent": true,
       "events": {"draw": "draw_self();", "create": "speed = 2;", "alarm:11": "a = 1;",
                  "collision:obj_base": "speed = 0;", "keyboard:vk_left": "x -= 1;",
                  "keypress:A": "", "keyrelease:32": "", "mouse:4": "", "other:10": "",
                  "step_begin": "", "step": {"file": "scripts/move.txt"}, "destroy": ""}}],
    "rooms": [
      {"name": "rm_first", "width": 320, "height": 240, "speed": 60, "colour": "#FF0000",
       "caption": "First", "persistent": true, "code": "global.level = 1;",
       "backgrounds": [{"background": "bg_sky", "htiled": false, "hspeed": 1.5}],
       "views": [{"wview": 160, "hview": 120, "object": "obj_ball"}],
       "instances": [{"object": "obj_ball", "x": 16, "y": 32, "code": "speed = 1;"},
                     {"object": "obj_base"}],
       "tiles": [{"background": "bg_sky", "x": 8, "y": 4, "left": 16, "depth": 100}]},
      {"name": "rm_second", "instances": [{"object": "obj_base", "x": 1, "y": 2}]}],
    "included_files": [{"file": "files/level.txt", "export": "game", "overwrite": true}]
  })", p);

  EXPECT_EQ(p.general.version, 800u);
  EXPECT_EQ(p.general.name, "Everything");
  EXPECT_EQ(p.general.caption, "Everything");
  EXPECT_EQ(p.general.game_id, 77u);
  EXPECT_EQ(p.general.room_order, (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(p.general.window_width, 320);
  EXPECT_EQ(p.general.window_height, 240);
  EXPECT_EQ(p.general.last_instance_id, 100003);
  EXPECT_EQ(p.general.last_tile_id, 10000001);

  EXPECT_FALSE(p.options.show_errors);
  EXPECT_TRUE(p.options.errors_fatal && p.options.new_audio && p.options.freeze_when_inactive &&
              p.options.unknown_variables_zero);
  ASSERT_EQ(p.options.constants.size(), 2u);
  EXPECT_EQ(p.options.constants[0], (std::pair<std::string, std::string>{"LIVES", "3"}));
  EXPECT_EQ(p.options.constants[1].second, "\"Hi\"");

  ASSERT_EQ(p.scripts.size(), 2u);
  EXPECT_EQ(p.scripts[0].name, "scr_inline");
  EXPECT_EQ(p.scripts[1].code, "x += 1;");

  const PackageSprite& ball = p.sprites[0];
  EXPECT_EQ(ball.width, 8);
  EXPECT_EQ(ball.height, 6);
  EXPECT_EQ(ball.x_origin, 4);
  EXPECT_EQ(ball.y_origin, 3);
  EXPECT_TRUE(ball.precise && ball.smooth && !ball.preload && !ball.transparent);
  // The automatic box holds the opaque pixels of both frames.
  EXPECT_EQ(ball.bbox_mode, 0);
  EXPECT_EQ((std::vector<int32_t>{ball.bbox_left, ball.bbox_top, ball.bbox_right, ball.bbox_bottom}),
            (std::vector<int32_t>{1, 1, 6, 4}));
  ASSERT_EQ(ball.frames.size(), 2u);
  ASSERT_EQ(ball.masks.size(), 2u);
  EXPECT_EQ(ball.masks[0][1 * 8 + 2], 1);
  EXPECT_EQ(ball.masks[0][1 * 8 + 1], 0);
  EXPECT_EQ(ball.masks[1][1 * 8 + 2], 0);
  const TexturePageEntry& frame = p.tpag[ball.frames[1]];
  EXPECT_EQ(frame.width, 8);
  EXPECT_EQ(frame.frame_height, 6);
  ASSERT_LT(frame.texture_id, (int)p.textures.size());
  EXPECT_EQ(p.textures[frame.texture_id].png[1], 'P');

  const PackageSprite& block = p.sprites[1];
  EXPECT_EQ((std::vector<int32_t>{block.bbox_left, block.bbox_top, block.bbox_right, block.bbox_bottom}),
            (std::vector<int32_t>{2, 0, 9, 15}));
  EXPECT_TRUE(block.masks.empty());

  EXPECT_EQ(p.backgrounds[0].width, 64);
  EXPECT_EQ(p.tpag[p.backgrounds[0].tpag].height, 32);

  EXPECT_EQ(p.fonts[0].font_name, "Sans");
  // A font without an image is packed with the glyphs of the nearest face.
  ASSERT_GE(p.fonts[0].tpag, 0);
  EXPECT_EQ(p.fonts[0].glyphs.front().code, 32);
  EXPECT_EQ(p.fonts[0].glyphs.back().code, 126);
  ASSERT_EQ(p.fonts[1].glyphs.size(), 10u);
  EXPECT_EQ(p.fonts[1].glyphs[9].code, 57);
  EXPECT_EQ(p.fonts[1].glyphs[9].x, 72);
  EXPECT_EQ(p.fonts[1].glyphs[9].width, 8);
  EXPECT_EQ(p.fonts[1].glyphs[9].shift, 8);

  ASSERT_EQ(p.sounds.size(), 1u);
  EXPECT_EQ(p.sounds[0].kind, 2);
  EXPECT_EQ(p.sounds[0].file_name, "boom.wav");
  EXPECT_EQ(p.sounds[0].extension, ".wav");
  EXPECT_EQ(p.sounds[0].volume, 0.5f);
  EXPECT_EQ(std::string((const char*)p.audio[p.sounds[0].audio].data(), p.audio[0].size()), "RIFFfake");

  EXPECT_EQ(p.paths[0].kind, 1);
  EXPECT_FALSE(p.paths[0].closed);
  ASSERT_EQ(p.paths[0].points.size(), 2u);
  EXPECT_EQ(p.paths[0].points[0].speed, 100.0f);
  EXPECT_EQ(p.paths[0].points[1].speed, 50.0f);

  ASSERT_EQ(p.timelines[0].moments.size(), 2u);
  EXPECT_EQ(p.timelines[0].moments[0].step, 0);
  EXPECT_EQ(p.timelines[0].moments[1].code, "b = 2;");

  const PackageObject& obj = p.objects[1];
  EXPECT_EQ(obj.sprite, 0);
  EXPECT_EQ(obj.mask, 1);
  EXPECT_EQ(obj.parent, 0);
  EXPECT_EQ(obj.depth, -10);
  EXPECT_TRUE(obj.solid && !obj.visible && obj.persistent);
  std::vector<std::pair<int32_t, int32_t>> events;
  for (auto& e : obj.events) events.emplace_back(e.type, e.number);
  EXPECT_EQ(events, (std::vector<std::pair<int32_t, int32_t>>{
                        {0, 0}, {1, 0}, {2, 11}, {3, 0}, {3, 1}, {4, 0}, {5, 37}, {6, 4}, {7, 10}, {8, 0},
                        {9, 'A'}, {10, 32}}));
  EXPECT_EQ(obj.events[3].code, "x += 1;");

  const PackageRoom& room = p.rooms[0];
  EXPECT_EQ(room.speed, 60);
  EXPECT_EQ(room.colour, 0x0000FFu);  // red as a BGR colour
  EXPECT_EQ(room.caption, "First");
  EXPECT_TRUE(room.persistent);
  EXPECT_EQ(room.code, "global.level = 1;");
  EXPECT_TRUE(room.backgrounds[0].visible);
  EXPECT_FALSE(room.backgrounds[0].htiled);
  EXPECT_EQ(room.backgrounds[0].hspeed, 1.5f);
  EXPECT_FALSE(room.backgrounds[1].visible);
  EXPECT_TRUE(room.views_enabled);
  EXPECT_EQ(room.views[0].wport, 160);
  EXPECT_EQ(room.views[0].object, 1);
  ASSERT_EQ(room.instances.size(), 2u);
  EXPECT_EQ(room.instances[0].id, 100001);
  EXPECT_EQ(room.instances[0].x, 16.0f);
  EXPECT_EQ(room.instances[0].code, "speed = 1;");
  EXPECT_EQ(p.rooms[1].instances[0].id, 100003);
  ASSERT_EQ(room.tiles.size(), 1u);
  EXPECT_EQ(room.tiles[0].width, 48);  // the rest of the background from left
  EXPECT_EQ(room.tiles[0].depth, 100.0f);
  EXPECT_EQ(room.tiles[0].id, 10000001);

  ASSERT_EQ(p.included_files.size(), 1u);
  EXPECT_EQ(p.included_files[0].name, "level.txt");
  EXPECT_EQ(p.included_files[0].export_mode, 2);
  EXPECT_TRUE(p.included_files[0].overwrite);
  EXPECT_EQ(p.included_files[0].data.size(), 10u);
}

TEST_F(DataFileProject, ExtensionFunctionsAreNumberedInOrder) {
  GamePackage p;
  BuildAndLoad(R"({"extensions": [
    {"name": "maths", "files": [
      {"file": "libm.so.6", "init": "m_init", "functions": [
        {"name": "ext_cos", "external": "cos", "args": ["real"]},
        {"name": "ext_join", "args": ["string", "real"], "returns": "string", "call": "stdcall"}]},
      {"file": "more.txt", "kind": "code"}]},
    {"name": "other", "folder": "elsewhere", "files": [{"file": "x.dll", "functions": [{"name": "ext_x"}]}]}]})",
               p);
  ASSERT_EQ(p.extensions.size(), 2u);
  const PackageExtension& maths = p.extensions[0];
  EXPECT_EQ(maths.folder, "maths");
  ASSERT_EQ(maths.files.size(), 2u);
  EXPECT_EQ(maths.files[0].initialize, "m_init");
  EXPECT_EQ(maths.files[0].kind, 1);
  EXPECT_EQ(maths.files[1].kind, 2);
  const PackageExtensionFunction& join = maths.files[0].functions[1];
  EXPECT_EQ(join.id, 1);
  EXPECT_EQ(join.external_name, "ext_join");
  EXPECT_EQ(join.call_kind, 11);
  EXPECT_EQ(join.return_kind, 1);
  EXPECT_EQ(join.argument_kinds, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(maths.files[0].functions[0].call_kind, 12);
  EXPECT_EQ(p.extensions[1].files[0].functions[0].id, 2);
  EXPECT_EQ(p.extensions[1].folder, "elsewhere");
}

// Event numbers by the runner's constant names, each only for its own kind.
TEST_F(DataFileProject, EventNumbersTakeTheirConstantNames) {
  GamePackage p;
  BuildAndLoad(R"({"objects": [{"name": "o", "events": {
    "other:ev_room_start": "", "other:ev_user15": "", "mouse:ev_global_left_press": "",
    "mouse:ev_mouse_wheel_down": "", "keypress:vk_escape": "", "alarm:3": ""}}]})",
               p);
  std::set<std::pair<int32_t, int32_t>> events;
  for (const PackageEvent& e : p.objects[0].events) events.insert({e.type, e.number});
  EXPECT_EQ(events, (std::set<std::pair<int32_t, int32_t>>{{7, 4}, {7, 25}, {6, 53}, {6, 61}, {9, 27}, {2, 3}}));
  EXPECT_NE(BuildError(R"({"objects": [{"name": "o", "events": {"other:ev_left_press": ""}}]})")
                .find("expected a number from 0 to 255 or the ev_ name of an other event"),
            std::string::npos);
}

TEST_F(DataFileProject, MissingKeysTakeNaturalDefaults) {
  GamePackage p;
  BuildAndLoad(R"({"objects": [{"name": "o"}], "rooms": [{"name": "r", "instances": [{"object": "o"}]}]})", p);
  EXPECT_EQ(p.general.version, 800u);
  EXPECT_EQ(p.general.name, "project");
  EXPECT_EQ(p.general.window_width, 640);
  EXPECT_EQ(p.general.window_height, 480);
  EXPECT_TRUE(p.options.show_errors);
  EXPECT_FALSE(p.options.errors_fatal);
  const PackageObject& o = p.objects[0];
  EXPECT_TRUE(o.visible);
  EXPECT_FALSE(o.solid || o.persistent);
  EXPECT_EQ(o.depth, 0);
  EXPECT_EQ(o.sprite, -1);
  EXPECT_EQ(o.parent, -1);
  EXPECT_EQ(o.mask, -1);
  const PackageRoom& r = p.rooms[0];
  EXPECT_EQ(r.width, 640);
  EXPECT_EQ(r.height, 480);
  EXPECT_EQ(r.speed, 30);
  EXPECT_FALSE(r.views_enabled);
  EXPECT_EQ(r.instances[0].x, 0.0f);
}

TEST_F(DataFileProject, OlderPackageVersionIsWrittenOnRequest) {
  GamePackage p;
  BuildAndLoad(R"({"package_version": 700})", p);
  EXPECT_EQ(p.general.version, 700u);
  EXPECT_NE(BuildError(R"({"package_version": 810})").find("expected 700 (the older header) or 800"), std::string::npos);
}

TEST_F(DataFileProject, GameVersionIsFourWholeNumbers) {
  GamePackage p;
  BuildAndLoad(R"({})", p);
  EXPECT_EQ(p.general.major + p.general.minor + p.general.release + p.general.build, 0u);
  BuildAndLoad(R"({"version": [3, 4, 5, 6]})", p);
  EXPECT_EQ(p.general.major, 3u);
  EXPECT_EQ(p.general.minor, 4u);
  EXPECT_EQ(p.general.release, 5u);
  EXPECT_EQ(p.general.build, 6u);
  for (const char* bad : {R"({"version": [1, 2]})", R"({"version": [1, -2, 0, 0]})", R"({"version": [1, 2.5, 0, 0]})",
                          R"({"version": "1.2"})"})
    EXPECT_NE(BuildError(bad).find("\"version\""), std::string::npos) << bad;
}

TEST_F(DataFileProject, TransparentImagesLoseTheBottomLeftColour) {
  Write("key.bmp", Bmp());
  GamePackage p;
  BuildAndLoad(R"({"sprites": [{"name": "s", "frames": ["key.bmp"], "transparent": true, "precise": true},
                                {"name": "t", "frames": ["key.bmp"], "precise": true}]})", p);
  // Blue (the bottom-left colour) is gone; the red pixels remain.
  EXPECT_EQ(p.sprites[0].masks[0], (PackageMask{1, 0, 1, 0, 0, 1}));
  EXPECT_EQ(p.sprites[0].bbox_left, 0);
  EXPECT_EQ(p.sprites[0].bbox_right, 2);
  EXPECT_EQ(p.sprites[0].bbox_bottom, 1);
  EXPECT_EQ(p.sprites[1].masks[0], PackageMask(6, 1));
}

TEST_F(DataFileProject, SharedMaskIsTheUnionOfTheFrames) {
  WritePng("a.png", Sprite(4, 1, 0, 0, 0, 0));
  WritePng("b.png", Sprite(4, 1, 2, 0, 2, 0));
  GamePackage p;
  BuildAndLoad(R"({"sprites": [{"name": "s", "frames": ["a.png", "b.png"], "precise": true,
                                "separate_masks": false}]})", p);
  ASSERT_EQ(p.sprites[0].masks.size(), 1u);
  EXPECT_EQ(p.sprites[0].masks[0], (PackageMask{1, 0, 1, 0}));
}

TEST_F(DataFileProject, ImagesArePackedOntoPagesWithoutOverlap) {
  std::string sprites;
  for (int i = 0; i < 7; i++)
    sprites += std::string(i ? "," : "") + R"({"name": "s)" + std::to_string(i) +
               R"(", "frames": [{"width": 900, "height": )" + std::to_string(600 + i) +
               R"(, "colour": "#102030"}], "bbox_mode": 1})";
  GamePackage p;
  BuildAndLoad(R"({"sprites": [)" + sprites + "]}", p);
  ASSERT_EQ(p.tpag.size(), 7u);
  EXPECT_EQ(p.textures.size(), 2u);
  for (size_t a = 0; a < p.tpag.size(); a++) {
    const TexturePageEntry& t = p.tpag[a];
    EXPECT_LE(t.x + t.width, kTexturePageMax);
    EXPECT_LE(t.y + t.height, kTexturePageMax);
    for (size_t b = a + 1; b < p.tpag.size(); b++) {
      const TexturePageEntry& u = p.tpag[b];
      bool apart = t.texture_id != u.texture_id || t.x + t.width <= u.x || u.x + u.width <= t.x ||
                   t.y + t.height <= u.y || u.y + u.height <= t.y;
      EXPECT_TRUE(apart) << a << " and " << b;
    }
  }
}

TEST_F(DataFileProject, BadProjectsSayWhereAndWhat) {
  WritePng("one.png", Sprite(1, 1, 0, 0, 0, 0));
  WritePng("two.png", Sprite(2, 2, 0, 0, 0, 0));
  const std::pair<const char*, const char*> cases[] = {
      {R"({"name": "x",})", ":1:14: not valid JSON: unexpected '}' after ','"},
      {"{\n  \"name\": \"x\",\n  \"rooms\": [1, ]\n}", ":3:16: not valid JSON: unexpected ']' after ','"},
      {R"({"name": "é" "x"})", ":1:14: not valid JSON: unexpected '\"' after '\"'"},
      {R"({"name": "x"} [])", ":1:15: not valid JSON: unexpected '[' after '}'"},
      {R"({"name": )", ": not valid JSON: the text ends before the project does"},
      {R"({"sprite": []})", ": the project: unknown key \"sprite\""},
      {R"({"options": {"show_error": true}})", ": options: unknown key \"show_error\""},
      {R"({"sprites": [{"name": "s", "frames": []}]})",
       ": sprites[0] (\"s\"): key \"frames\": expected at least one image"},
      {R"({"sprites": [{"name": "s", "frames": ["none.png"]}]})", "cannot open image file"},
      {R"({"sprites": [{"name": "s", "frames": [7]}]})", "key \"frames\"[0]: expected an image file name"},
      {R"({"scripts": {"": "x = 1;"}})", ": scripts: a script needs a name"},
      {R"({"sprites": [{"name": "s", "frames": ["one.png", "two.png"]}]})",
       "key \"frames\": frame 1 is 2x2 but frame 0 is 1x1"},
      {R"({"sprites": [{"name": "s", "frames": [{"width": 4, "height": 4, "colour": "red"}]}]})",
       "colour \"red\" is not of the form #RRGGBB"},
      {R"({"sprites": [{"name": "s", "frames": [{"width": 2049, "height": 1, "colour": "#000000"}]}]})",
       "is not between 1 and 2048"},
      {R"({"objects": [{"name": "o", "sprite": "nope"}]})",
       ": objects[0] (\"o\"): key \"sprite\": no sprite named \"nope\""},
      {R"({"objects": [{"name": "o", "depth": "deep"}]})", "key \"depth\": expected a number, got \"deep\""},
      {R"({"objects": [{"name": "o", "depth": 1.5}]})", "key \"depth\": expected a whole number"},
      {R"({"objects": [{"name": "o", "solid": "yes"}]})", "key \"solid\": expected true or false"},
      {R"({"objects": [{"name": "o", "events": {"stepp": ""}}]})", "unknown event \"stepp\""},
      {R"({"objects": [{"name": "o", "events": {"alarm:12": ""}}]})", "expected a number from 0 to 11"},
      {R"({"objects": [{"name": "o", "events": {"collision:p": ""}}]})", "no object named \"p\""},
      {R"({"objects": [{"name": "o", "events": {"keyboard:vk_nothing": ""}}]})", "expected a key code"},
      {R"({"objects": [{"name": "o", "events": {"create": {"file": "gone.txt"}}}]})", "cannot read file"},
      {R"({"objects": [{"name": "o"}, {"name": "o"}]})", ": objects[1]: a second resource of this kind is named \"o\""},
      {R"({"objects": [{"name": "a", "parent": "b"}, {"name": "b", "parent": "a"}]})",
       "the parent chain comes back to this object"},
      {R"({"objects": [{}]})", ": objects[0]: key \"name\": expected the resource's name"},
      {R"({"rooms": [{"name": "r", "instances": [{"x": 1}]}]})", "an instance needs its object"},
      {R"({"rooms": [{"name": "r", "colour": "#12345"}]})", "key \"colour\": expected a colour"},
      {R"({"rooms": [{"name": "r", "speed": 0}]})", "key \"speed\": expected a speed of at least 1"},
      {R"({"fonts": [{"name": "f", "first": 65, "last": 67, "image": {"width": 10, "height": 4, "colour": "#FFFFFF"}}]})",
       "not a multiple of its 3 glyphs"},
      {R"({"sounds": [{"name": "s", "file": "missing.wav"}]})", "sounds[0] (\"s\"): key \"file\": cannot read file"},
      {R"({"extensions": [{"name": "e", "files": [{"file": "a", "functions": [{"name": "f", "args": ["int"]}]}]}]})",
       "extensions[0] (\"e\"): key \"files\"[0]: key \"functions\"[0]: key \"args\": argument 0"},
      {R"({"extensions": [{"name": "e", "files": [{"file": "a", "kind": "so"}]}]})",
       "key \"kind\": expected a number or one of \"code\" \"dll\""},
      {R"({"timelines": [{"name": "t", "moments": {"7": "", "07": ""}}]})", "two keys name step 7"},
      {R"({"timelines": [{"name": "t", "moments": {"soon": ""}}]})", "key \"soon\": expected a step number"},
      {R"({"included_files": [{"file": "x", "export": "desk"}]})", "expected \"none\", \"temp\", \"game\" or \"folder\""},
  };
  for (auto& [json, expected] : cases) {
    std::string error = BuildError(json);
    EXPECT_NE(error.find(expected), std::string::npos) << json << "\n  gave: " << error;
  }
}

// JSON readers differ on these, so a project holding them is refused rather
// than read one way.
TEST_F(DataFileProject, RepeatedKeysBadTextAndHugeNumbersAreRefused) {
  const std::pair<std::string, std::string> cases[] = {
      {"{\"name\": \"a\",\n \"name\": \"b\"}", ":2:2: the key \"name\" appears twice in one object"},
      {"{\"rooms\": [{\"name\": \"r\",\n\n \"wi\\u0064th\": 5, \"width\": 6}]}",
       ":1:12: a key appears twice in one object"},
      {"{\"caption\": \"caf\xE9\"}", ": not valid JSON: text that is not UTF-8"},
      {"{\"objects\": [{\"name\": \"o\", \"depth\": 99999999999999999999}]}",
       "key \"depth\": expected a whole number, got 99999999999999999999"},
      {"{\"objects\": [{\"name\": \"o\", \"depth\": -3000000000}]}",
       "key \"depth\": expected a whole number, got -3000000000"},
  };
  for (auto& [json, expected] : cases) {
    std::string error = BuildError(json);
    EXPECT_NE(error.find(expected), std::string::npos) << json << "\n  gave: " << error;
  }
  // The same key in two objects is no repeat.
  GamePackage loaded;
  BuildAndLoad(R"({"objects": [{"name": "a"}, {"name": "b"}]})", loaded);
  EXPECT_EQ(loaded.objects.size(), 2u);
}

TEST_F(DataFileProject, MissingProjectFileIsAnError) {
  ProjectBuild build;
  std::string error;
  EXPECT_FALSE(DataFile_BuildProject((m_dir / "none.json").string(), build, error));
  EXPECT_NE(error.find("none.json: cannot read the project file"), std::string::npos);
}

}  // namespace
