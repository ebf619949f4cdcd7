// Package writer and reader: every record kind survives a round trip, and
// broken packages give a clear error instead of a crash.
#include <gtest/gtest.h>

#include <cstring>

#include "DataFile/DataFile_Package.h"
#include "gamepack/Gamepack_Write.h"
#include "DataFile/DataFile_View.h"

namespace {

const uint8_t kPng[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
const uint8_t kWave[] = {'R', 'I', 'F', 'F', 9, 9};
const uint8_t kData[] = {'d', 'a', 't', 'a'};

// A package with every kind of record, each field off its default.
void FillPackage(GamePackage& p) {
  p.general.version = 800;
  p.general.name = "Demo";
  p.general.caption = "Demo caption";
  p.general.game_id = 4242;
  p.general.major = 2, p.general.minor = 3, p.general.release = 4, p.general.build = 5;
  p.general.window_width = 320, p.general.window_height = 200;
  p.general.last_instance_id = 100002, p.general.last_tile_id = 10000001;
  p.general.debug = true;
  p.general.room_order = {1, 0};

  p.options.fullscreen = true;
  p.options.new_audio = true;
  p.options.scale = -1;
  p.options.window_colour = 0x123456;
  p.options.freeze_when_inactive = true;
  p.options.show_errors = false;
  p.options.errors_fatal = true;
  p.options.unknown_variables_zero = true;
  p.options.key_quit = false;
  p.options.constants = {{"LIVES", "3"}, {"TITLE", "\"x\""}};

  p.textures = {{PackageBytes(kPng)}};
  TexturePageEntry t{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0};
  p.tpag = {t, t};

  PackageSprite s;
  s.exists = true;
  s.name = "spr";
  s.width = 9, s.height = 2;
  s.x_origin = 4, s.y_origin = 1;
  s.bbox_mode = 2;
  s.bbox_left = 1, s.bbox_top = 0, s.bbox_right = 8, s.bbox_bottom = 1;
  s.precise = true, s.transparent = true, s.smooth = true, s.preload = false;
  s.frames = {0, 1};
  s.masks = {PackageMask(18, 0), PackageMask(18, 1)};
  s.masks[0][8] = 1;  // the ninth pixel of a row spills into a second byte
  s.masks[0][10] = 1;
  p.sprites = {PackageSprite(), s};  // slot 0 empty

  PackageBackground b;
  b.exists = true, b.name = "bg", b.width = 3, b.height = 4;
  b.transparent = true, b.smooth = true, b.preload = false, b.tpag = 1;
  p.backgrounds = {b};

  PackageFont f;
  f.exists = true, f.name = "fnt", f.font_name = "Sans", f.size = 14;
  f.bold = true, f.italic = true, f.first = 48, f.last = 49, f.tpag = 0;
  f.glyphs = {{48, 0, 0, 5, 7, 6, 0}, {49, 5, 0, 5, 7, 6, -1}};
  p.fonts = {f};

  PackagePath path;
  path.exists = true, path.name = "pth", path.kind = 1, path.closed = false, path.precision = 8;
  path.points = {{1.5f, 2.5f, 50}, {-3, 4, 100}};
  p.paths = {path};

  p.scripts = {{true, "scr_a", "return 1;"}, PackageScript()};

  PackageTimeLine tl;
  tl.exists = true, tl.name = "tl", tl.moments = {{0, "a=1;"}, {30, "a=2;"}};
  p.timelines = {tl};

  PackageObject o;
  o.exists = true, o.name = "obj", o.sprite = 1, o.mask = 1, o.parent = -1, o.depth = -5;
  o.solid = true, o.visible = false, o.persistent = true;
  o.events = {{0, 0, "x=1;"}, {2, 11, "y=2;"}, {4, 0, ""}, {5, 37, "x-=1;"}};
  PackageObject child = o;
  child.name = "child", child.parent = 0, child.mask = -1, child.events.clear();
  p.objects = {o, child};

  PackageRoom r;
  r.exists = true, r.name = "rm", r.caption = "Room", r.width = 800, r.height = 600, r.speed = 60;
  r.persistent = true, r.colour = 0xFF00FF, r.show_colour = false, r.code = "global.a=1;";
  r.backgrounds[2] = {true, true, 0, 1, 2, false, true, 0.5f, -0.5f, 2, 3, true, 0.25f};
  r.views_enabled = true;
  r.views[1] = {true, 1, 2, 3, 4, 5, 6, 7, 8, 45, 9, 10, 11, 12, 1};
  r.instances = {{10.5f, 20, 1, 100001, "speed=2;"}, {0, 0, 0, 100002, ""}};
  r.tiles = {{1, 2, 0, 3, 4, 5, 6, 1000, 10000001, 2, 3, 0x00FF00, 0.5f, false}};
  PackageRoom second;
  second.exists = true, second.name = "rm2";
  p.rooms = {r, second};

  PackageIncludedFile inc;
  inc.name = "data.txt", inc.data = PackageBytes(kData), inc.export_mode = 3, inc.export_folder = "sub";
  inc.overwrite = true, inc.free_after_export = false, inc.remove_at_end = false;
  p.included_files = {inc};

  PackageSound snd;
  snd.exists = true, snd.name = "snd", snd.kind = 3, snd.extension = ".wav", snd.file_name = "a.wav";
  snd.effects = 5, snd.volume = 0.5f, snd.pan = -1, snd.preload = false, snd.audio = 1;
  p.sounds = {PackageSound(), snd};
  p.audio = {PackageBytes(kWave), PackageBytes(kWave, 2)};

  PackageExtensionFunction fn;
  fn.name = "ext_fn", fn.id = 3, fn.call_kind = 12, fn.return_kind = 1, fn.external_name = "ExtFn";
  fn.argument_count = 18;
  fn.argument_kinds.assign(16, 1);
  PackageExtensionFile file;
  file.exists = true, file.file_name = "ext.dll", file.initialize = "ext_init", file.kind = 1;
  PackageExtensionFunction body;
  body.name = "ext_code", body.id = 4, body.code = "return argument0 * 2;";
  file.functions = {fn, body};
  file.constants = {{"EXT_LIMIT", "16"}, {"EXT_NAME", "\"ext\""}};
  PackageExtension ext;
  ext.exists = true, ext.folder = "ExtFolder", ext.name = "Ext";
  ext.files = {file, PackageExtensionFile()};
  p.extensions = {PackageExtension(), ext};
}

std::vector<uint8_t> Written() {
  GamePackage p;
  FillPackage(p);
  return DataFile_WritePackage(p);
}

bool Load(std::vector<uint8_t> bytes, GamePackage& out, std::string& error) {
  return DataFile_LoadPackageFromMemory(std::move(bytes), out, error);
}

// Loads bytes that must fail; returns the error.
std::string LoadError(std::vector<uint8_t> bytes) {
  GamePackage out;
  std::string error;
  EXPECT_FALSE(Load(std::move(bytes), out, error));
  EXPECT_FALSE(error.empty());
  return error;
}

std::string LoadError(const GamePackage& p) { return LoadError(DataFile_WritePackage(p)); }

void SetU32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) { std::memcpy(&bytes[at], &v, 4); }

void AppendChunk(std::vector<uint8_t>& bytes, const char* tag, std::vector<uint8_t> payload) {
  bytes.insert(bytes.end(), tag, tag + 4);
  uint32_t size = (uint32_t)payload.size();
  bytes.insert(bytes.end(), (uint8_t*)&size, (uint8_t*)&size + 4);
  bytes.insert(bytes.end(), payload.begin(), payload.end());
  SetU32(bytes, 4, (uint32_t)bytes.size() - 8);
}

// The file offset of a chunk's tag, or npos.
size_t FindChunk(const std::vector<uint8_t>& bytes, const char* tag) {
  size_t pos = 8;
  while (pos + 8 <= bytes.size()) {
    if (std::memcmp(&bytes[pos], tag, 4) == 0) return pos;
    uint32_t size;
    std::memcpy(&size, &bytes[pos + 4], 4);
    pos += 8 + size;
  }
  return std::string::npos;
}

TEST(DataFilePackage, EveryRecordSurvivesARoundTrip) {
  std::vector<uint8_t> bytes = Written();
  GamePackage loaded;
  std::string error;
  ASSERT_TRUE(Load(bytes, loaded, error)) << error;
  // Writing what was read gives the same file: no field is lost or moved.
  EXPECT_EQ(DataFile_WritePackage(loaded), bytes);

  EXPECT_EQ(loaded.general.version, 800u);
  EXPECT_EQ(loaded.general.name, "Demo");
  EXPECT_EQ(loaded.general.room_order, (std::vector<int32_t>{1, 0}));
  EXPECT_TRUE(loaded.options.new_audio);
  EXPECT_FALSE(loaded.options.show_errors);
  ASSERT_EQ(loaded.options.constants.size(), 2u);
  EXPECT_EQ(loaded.options.constants[1].second, "\"x\"");
  EXPECT_FALSE(loaded.sprites[0].exists);
  const PackageSprite& s = loaded.sprites[1];
  ASSERT_EQ(s.masks.size(), 2u);
  EXPECT_EQ(s.masks[0][8], 1);
  EXPECT_EQ(s.masks[0][9], 0);
  EXPECT_EQ(s.masks[0][10], 1);
  EXPECT_EQ(s.masks[1], PackageMask(18, 1));
  EXPECT_EQ(loaded.tpag[1].frame_height, 10);
  EXPECT_EQ(loaded.objects[1].parent, 0);
  EXPECT_EQ(loaded.rooms[0].views[1].angle, 45.0f);
  EXPECT_EQ(loaded.rooms[0].tiles[0].blend, 0x00FF00u);
  EXPECT_FALSE(loaded.scripts[1].exists);
  // Blobs are views into the loaded buffer.
  ASSERT_EQ(loaded.textures[0].png.size(), sizeof kPng);
  EXPECT_EQ(std::memcmp(loaded.textures[0].png.data(), kPng, sizeof kPng), 0);
  EXPECT_GE(loaded.textures[0].png.data(), loaded.buffer.data());
  EXPECT_EQ(loaded.audio[1].size(), 2u);
  EXPECT_EQ(loaded.included_files[0].data.size(), sizeof kData);
  // Extension functions keep their full count but only 16 kinds.
  const PackageExtensionFunction& fn = loaded.extensions[1].files[0].functions[0];
  EXPECT_EQ(fn.argument_count, 18);
  EXPECT_EQ(fn.argument_kinds.size(), 16u);
  EXPECT_FALSE(loaded.extensions[0].exists);
  EXPECT_FALSE(loaded.extensions[1].files[1].exists);
  // Constants and code come back on their file and function.
  const PackageExtensionFile& file = loaded.extensions[1].files[0];
  ASSERT_EQ(file.constants.size(), 2u);
  EXPECT_EQ(file.constants[1].first, "EXT_NAME");
  EXPECT_EQ(file.constants[1].second, "\"ext\"");
  EXPECT_EQ(file.functions[0].code, "");
  EXPECT_EQ(file.functions[1].code, "return argument0 * 2;");
  // The raw payloads are there for readers that walk the bytes themselves.
  ASSERT_TRUE(loaded.sond.present);
  CPackageView view(loaded.buffer);
  uint32_t count = 0, entry = 0, nameOffset = 0;
  ASSERT_TRUE(view.U32(loaded.sond.offset, count));
  EXPECT_EQ(count, 2u);
  ASSERT_TRUE(view.U32(loaded.sond.offset + 8, entry));
  ASSERT_TRUE(view.U32(entry, nameOffset));
  std::string name;
  ASSERT_TRUE(view.Text(nameOffset, name));
  EXPECT_EQ(name, "snd");
  EXPECT_FALSE(loaded.code.present);
}

TEST(DataFilePackage, VersionWordFollowsTheGeneralTag) {
  GamePackage p;
  FillPackage(p);
  p.general.version = 700;
  std::vector<uint8_t> bytes = DataFile_WritePackage(p);
  ASSERT_NE(FindChunk(bytes, "GEN7"), std::string::npos);
  GamePackage loaded;
  std::string error;
  ASSERT_TRUE(Load(bytes, loaded, error)) << error;
  EXPECT_EQ(loaded.general.version, 700u);
  std::memcpy(&bytes[FindChunk(bytes, "GEN7")], "GENL", 4);
  ASSERT_TRUE(Load(bytes, loaded, error)) << error;
  EXPECT_EQ(loaded.general.version, 800u);
}

TEST(DataFilePackage, EmptyPackageLoadsWithDefaults) {
  GamePackage empty;
  GamePackage loaded;
  std::string error;
  ASSERT_TRUE(Load(DataFile_WritePackage(empty), loaded, error)) << error;
  EXPECT_TRUE(loaded.rooms.empty());
  EXPECT_TRUE(loaded.options.show_errors);
  EXPECT_TRUE(loaded.options.key_quit);
}

TEST(DataFilePackage, OptionWordsMissingFromAShortListKeepTheirDefaults) {
  GamePackage p;
  p.options.show_errors = false;  // word 25
  p.options.fullscreen = true;    // word 0
  std::vector<uint8_t> bytes = DataFile_WritePackage(p);
  size_t optn = FindChunk(bytes, "OPTN");
  SetU32(bytes, optn + 8, 1);  // only word 0 is read; the rest is skipped
  // The constant count now sits where word 1 was: 0, no constants.
  GamePackage loaded;
  std::string error;
  ASSERT_TRUE(Load(bytes, loaded, error)) << error;
  EXPECT_TRUE(loaded.options.fullscreen);
  EXPECT_TRUE(loaded.options.show_errors);
}

TEST(DataFilePackage, EveryTruncationIsALoadError) {
  std::vector<uint8_t> bytes = Written();
  for (size_t len = 0; len < bytes.size(); len++) {
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + len);
    if (len >= 8) SetU32(cut, 4, (uint32_t)len - 8);  // a consistent header, so the chunks are walked
    GamePackage out;
    std::string error;
    EXPECT_FALSE(Load(cut, out, error)) << "length " << len;
  }
}

TEST(DataFilePackage, FlippedBytesNeverCrash) {
  std::vector<uint8_t> bytes = Written();
  for (size_t i = 8; i < bytes.size(); i++) {
    for (uint8_t mask : {0x80, 0xFF}) {
      std::vector<uint8_t> bad = bytes;
      bad[i] ^= mask;
      GamePackage out;
      std::string error;
      if (!Load(bad, out, error)) {
        EXPECT_FALSE(error.empty());
      }
    }
  }
}

TEST(DataFilePackage, BrokenFilesAreNamedInTheError) {
  std::vector<uint8_t> bytes = Written();
  EXPECT_NE(LoadError({'F', 'O', 'R'}).find("no FORM header"), std::string::npos);

  std::vector<uint8_t> sized = bytes;
  SetU32(sized, 4, (uint32_t)bytes.size());
  EXPECT_NE(LoadError(sized).find("the FORM header gives"), std::string::npos);

  std::vector<uint8_t> unknown = bytes;
  AppendChunk(unknown, "ZZZZ", {1, 2, 3});
  AppendChunk(unknown, "\x01QQQ", {});
  EXPECT_EQ(LoadError(unknown), "unknown chunk 'ZZZZ'");

  std::vector<uint8_t> twice = bytes;
  AppendChunk(twice, "GEN8", {});
  EXPECT_NE(LoadError(twice).find("chunk 'GEN8'"), std::string::npos);

  std::vector<uint8_t> oversized = bytes;
  SetU32(oversized, FindChunk(bytes, "SPRT") + 4, 0x7FFFFFFF);
  EXPECT_NE(LoadError(oversized).find("chunk 'SPRT'"), std::string::npos);

  std::vector<uint8_t> counted = bytes;
  SetU32(counted, FindChunk(bytes, "ROOM") + 8, 0x40000000);
  EXPECT_NE(LoadError(counted).find("ROOM: count 1073741824"), std::string::npos);

  std::vector<uint8_t> text = bytes;
  size_t gen = FindChunk(bytes, "GEN8");
  SetU32(text, gen + 8 + 4, (uint32_t)bytes.size() + 10);
  EXPECT_NE(LoadError(text).find("GEN8: game name: text offset"), std::string::npos);

  std::vector<uint8_t> noGeneral = bytes;
  std::memcpy(&noGeneral[gen], "HELP", 4);
  EXPECT_EQ(LoadError(noGeneral), "no general chunk (GEN7, GENL or GEN8)");
}

// Extension constants and code name their package, file and function by
// position; a position naming nothing is refused.
TEST(DataFilePackage, ExtensionSourcesMustNameTheirPlace) {
  std::vector<uint8_t> good = Written();
  size_t at = FindChunk(good, "EXTS");
  ASSERT_NE(at, std::string::npos);
  uint32_t record = 0;
  std::memcpy(&record, &good[at + 12], 4);  // the first record's offset
  auto patched = [&](size_t field, uint32_t value) {
    std::vector<uint8_t> bytes = good;
    SetU32(bytes, record + field, value);
    return LoadError(bytes);
  };
  EXPECT_NE(patched(0, 0).find("package 0 names no extension package"), std::string::npos);
  EXPECT_NE(patched(0, 7).find("EXTS: record 0: package 7"), std::string::npos);
  EXPECT_NE(patched(4, 1).find("file 1 names no file"), std::string::npos);
  // After two constants (8 bytes each) and the code count: the function.
  EXPECT_NE(patched(8 + 4 + 16 + 4, 2).find("function 2 names none of the 2 functions"), std::string::npos);
  EXPECT_NE(patched(8, 1000).find("constant count 1000"), std::string::npos);
}

TEST(DataFilePackage, BadIndicesAreLoadErrors) {
  auto broken = [](auto change) {
    GamePackage p;
    FillPackage(p);
    change(p);
    return LoadError(p);
  };
  EXPECT_NE(broken([](GamePackage& p) { p.tpag[0].texture_id = 1; }).find("TPAG: entry 0: texture page 1"),
            std::string::npos);
  EXPECT_NE(broken([](GamePackage& p) { p.sprites[1].frames[1] = 2; }).find("SPRT: sprite 1"), std::string::npos);
  EXPECT_NE(broken([](GamePackage& p) { p.objects[1].parent = 2; }).find("OBJT: object 1: parent"),
            std::string::npos);
  EXPECT_NE(broken([](GamePackage& p) { p.rooms[0].instances[0].object = -1; }).find("instance object -1"),
            std::string::npos);
  EXPECT_NE(broken([](GamePackage& p) { p.general.room_order.push_back(2); }).find("room order"),
            std::string::npos);
  EXPECT_NE(broken([](GamePackage& p) { p.sounds[1].audio = 2; }).find("SOND: sound 1: audio index 2"),
            std::string::npos);
  EXPECT_NE(broken([](GamePackage& p) { p.extensions[1].files[0].functions[0].id = -1; })
                .find("negative function id"),
            std::string::npos);
  EXPECT_NE(broken([](GamePackage& p) { p.sprites[1].masks.push_back(PackageMask(18)); }).find("mask count 3"),
            std::string::npos);
  EXPECT_NE(broken([](GamePackage& p) { p.tpag[0].width = -1; }).find("negative field"), std::string::npos);
}

TEST(DataFilePackage, LoadingAMissingFileSaysWhy) {
  GamePackage out;
  std::string error;
  testing::internal::CaptureStdout();
  EXPECT_FALSE(DataFile_LoadPackage("/nonexistent/game.win", out, error));
  std::string log = testing::internal::GetCapturedStdout();
  EXPECT_NE(error.find("/nonexistent/game.win"), std::string::npos);
  EXPECT_NE(log.find("Failed to load the game: cannot read /nonexistent/game.win"), std::string::npos);
}

}  // namespace
