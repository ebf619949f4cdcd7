#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../http/HTTP_TestServer.h"
#include "Background/Background_Main.h"
#include "Base/Console.h"
#include "Code/Code_Error.h"
#include "Font/Font_Main.h"
#include "Font/Font_Raster.h"
#include "Function/Function_Data_Structures.h"
#include "Function/Function_Resource.h"
#include "Function_Call.h"
#include "Graphics/Graphics_Image.h"
#include "Graphics/Graphics_ImageStb.h"
#include "Graphics_TestDevice.h"
#include "IO/HTTP_Main.h"
#include "Support/Support_Data_Structures_Map.h"
#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Path/Path_Main.h"
#include "Room/Room_Main.h"
#include "StartUp/StartUp_Main.h"
#include "TimeLine/TimeLine_Main.h"
#include "Sprite/Sprite_Main.h"

namespace {
std::string g_Log;

class ResourceBuiltins : public ::testing::Test {
 protected:
  void SetUp() override {
    Math_EnsureRegistered();
    Error_Reset();
    g_Log.clear();
    g_ConsoleListener = [](const char* line) { g_Log += line; };
  }
  void TearDown() override {
    g_ConsoleListener = nullptr;
    Object_FreeAll();  // deleted objects are kept until then
    Room_FreeAll();
  }
};

struct Failing {
  const char* name;
  std::vector<TestArg> args;
  const char* message;
};

double CallVector(const char* name, const std::vector<TestArg>& args) {
  // Call takes an initializer list; spell the few lengths used here.
  switch (args.size()) {
    case 1: return CallReal(name, {args[0]});
    case 2: return CallReal(name, {args[0], args[1]});
    case 3: return CallReal(name, {args[0], args[1], args[2]});
    case 4: return CallReal(name, {args[0], args[1], args[2], args[3]});
    case 5: return CallReal(name, {args[0], args[1], args[2], args[3], args[4]});
    case 8:
      return CallReal(name, {args[0], args[1], args[2], args[3], args[4], args[5], args[6], args[7]});
    case 7: return CallReal(name, {args[0], args[1], args[2], args[3], args[4], args[5], args[6]});
    case 9:
      return CallReal(name, {args[0], args[1], args[2], args[3], args[4], args[5], args[6], args[7], args[8]});
  }
  ADD_FAILURE() << name << ": no call of " << args.size() << " arguments";
  return 0;
}
}  // namespace

// Each failure is a non-fatal script error with its own text, after which
// the result is the real 0 and nothing changed.
TEST_F(ResourceBuiltins, EveryFailureReportsItsMessageOnce) {
  const int none = 99999;
  int sprite = Sprite_Create(), back = Background_Create(), font = Font_Append(new CFontCW(), "f");
  int path = Path_Add(), a = Object_Add(), b = Object_Add();
  Object_SetParent(b, a);
  const std::vector<Failing> cases = {
      {"sprite_collision_mask", {none, 0, 0, 0, 0, 0, 0, 0, 0}, "Trying to save non-existing sprite bitmap."},
      {"sprite_save", {none, 0, "x.png"}, "Trying to save non-existing sprite bitmap."},
      {"sprite_save", {sprite, 0, ""}, "Trying to save sprite bitmap to empty image file name."},
      {"sprite_save_strip", {sprite, ""}, "Trying to save sprite bitmap to empty image file name."},
      {"sprite_add_from_screen", {none, 0, 0, 1, 1, 0, 0}, "Trying to add to non-existing sprite."},
      {"sprite_add_from_surface", {none, 0, 0, 0, 1, 1, 0, 0}, "Trying to add to non-existing sprite."},
      {"sprite_replace", {none, "a.png", 1, 0, 0, 0, 0}, "Trying to replace non-existing sprite."},
      {"sprite_delete", {none}, "Trying to delete non-existing sprite."},
      {"sprite_duplicate", {none}, "Trying to duplicate non-existing sprite."},
      {"sprite_assign", {sprite, none}, "Error assigning a sprite."},
      {"sprite_merge", {none, sprite}, "Trying to merge to non-existing sprite."},
      {"sprite_merge", {sprite, none}, "Trying to merge from non-existing sprite."},
      {"background_replace", {none, "a.png", 0, 0}, "Trying to replace non-existing background."},
      {"background_delete", {none}, "Trying to delete non-existing background."},
      {"background_duplicate", {none}, "Trying to duplicate non-existing background."},
      {"background_assign", {back, none}, "Error assigning a background."},
      {"background_save", {none, "x.png"}, "Trying to save non-existing background bitmap."},
      {"background_save", {back, ""}, "Trying to save background bitmap to empty image file name."},
      {"sound_replace", {none, "a.wav", 0, 1}, "Trying to replace non-existing sound."},
      {"sound_delete", {none}, "Trying to delete non-existing sound."},
      {"font_add_sprite", {none, 32, 1, 0}, "Trying to create font from non-existing sprite."},
      {"font_add_sprite_ext", {none, "ab", 1, 0}, "Trying to create font from non-existing sprite."},
      {"font_replace", {none, "Sans", 12, 0, 0, 32, 127}, "Trying to replace non-existing font."},
      {"font_replace_sprite", {none, sprite, 32, 1, 0}, "Trying to replace non-existing font."},
      {"font_replace_sprite", {font, none, 32, 1, 0}, "Trying to replace font from non-existing sprite."},
      {"font_replace_sprite_ext", {font, none, "ab", 1, 0}, "Trying to replace font from non-existing sprite."},
      {"font_delete", {none}, "Trying to delete non-existing font."},
      {"path_duplicate", {none}, "Trying to duplicate non-existing path."},
      {"path_assign", {path, path}, "Error assigning a path."},
      {"path_append", {none, path}, "Appending to non-existing path."},
      {"path_append", {path, none}, "Appending a non-existing path."},
      {"path_delete", {none}, "Trying to delete non-existing path."},
      {"script_execute", {none}, "Trying to execute non-existing script."},
      {"timeline_delete", {none}, "Trying to delete non-existing timeline."},
      {"object_delete", {none}, "Trying to delete non-existing object."},
      {"object_set_parent", {a, none}, "Setting a non-existing parent."},
      {"object_set_parent", {a, b}, "Creating a cycle in the parent relation."},
      {"room_duplicate", {none}, "Trying to duplicate non-existing room."},
      {"room_assign", {none, none}, "Error assigning a room."},
  };
  int sprites = Sprite_Count(), paths = Path_Count(), objects = Object_Count();
  for (const Failing& c : cases) {
    Error_SetOccurred(false);
    EXPECT_EQ(CallVector(c.name, c.args), 0) << c.name;
    EXPECT_TRUE(Error_Occurred()) << c.name;
    EXPECT_STREQ(Error_Last(), c.message) << c.name;
  }
  EXPECT_EQ(Sprite_Count(), sprites);
  EXPECT_EQ(Path_Count(), paths);
  EXPECT_EQ(Object_Count(), objects);
  EXPECT_EQ(Object_Find(a)->parent_index, -1);

  // The tile built-ins: -1 after the report, 0 for the extended form.
  int room = Room_Add();
  EXPECT_EQ(CallReal("room_tile_add", {room, none, 0, 0, 1, 1, 0, 0, 0}), -1);
  EXPECT_STREQ(Error_Last(), "Background does not exist.");
  EXPECT_EQ(CallReal("room_tile_add_ext", {room, none, 0, 0, 1, 1, 0, 0, 0, 1, 1, 1}), 0);
  Error_SetOccurred(false);
  EXPECT_EQ(CallReal("room_tile_add", {none, back, 0, 0, 1, 1, 0, 0, 0}), -1);
  EXPECT_FALSE(Error_Occurred());  // a missing room is silent

  // The debug console's notices.
  g_Log.clear();
  EXPECT_EQ(CallReal("sprite_save", {sprite, 0, "x.png"}), 0);
  EXPECT_EQ(CallReal("sprite_add_sprite", {0}), -1);
  EXPECT_EQ(CallReal("background_replace_background", {0, 0}), -1);
  CallReal("timeline_moment_add", {0, 0, "x"});
  CallReal("object_event_add", {a, 0, 0, "x"});
  EXPECT_EQ(g_Log,
            "sprite_save() failed - no bitmap data available\n"
            "unsupported function\nunsupported function\n"
            "timeline_moment_add :: deprecated function\n"
            "object_event_add :: deprecated function\n");
  Sprite_Delete(sprite);
  Background_Delete(back);
  Font_Delete(font);
  Path_Delete(path);
}

TEST_F(ResourceBuiltins, NewerPackagesRegisterTheirOwnArgumentCounts) {
  const struct {
    const char* name;
    int args;
  } counts[] = {{"sprite_add", 6},         {"sprite_create_from_screen", 8}, {"sprite_add_from_screen", 7},
                {"sprite_replace", 7},     {"sprite_save_strip", 2},         {"background_add", 3},
                {"background_create_color", 3}, {"script_execute", -1},      {"room_set_view", 16}};
  for (const auto& c : counts) {
    const RFunction* f = Function_Get(Function_FindBuiltIn(c.name));
    ASSERT_NE(f, nullptr) << c.name;
    EXPECT_EQ(f->argnumb, c.args) << c.name;
  }
  EXPECT_LT(Function_FindBuiltIn("sprite_add_alpha"), 0);
  EXPECT_LT(Function_FindBuiltIn("background_replace_alpha"), 0);
  EXPECT_EQ(Function_Get(Function_FindBuiltIn("sprite_name"))->routine,
            Function_Get(Function_FindBuiltIn("sprite_get_name"))->routine);
}

// Reparenting moves the instances of the object and of its descendants
// between the ancestors' lists; deleting a parent leaves its children none.
TEST_F(ResourceBuiltins, ParentsCarryTheirDescendantsInstances) {
  int a = Object_Add(), b = Object_Add(), c = Object_Add();
  CallReal("object_set_parent", {c, b});
  CInstance* inst = new CInstance(0, 0, 4000001, c);
  auto has = [&](int object) {
    const auto& list = Object_Find(object)->instances_recursive;
    return std::find(list.begin(), list.end(), inst) != list.end();
  };
  EXPECT_TRUE(has(b));
  EXPECT_FALSE(has(a));
  CallReal("object_set_parent", {b, a});
  EXPECT_TRUE(has(a));
  EXPECT_EQ(CallReal("object_is_ancestor", {c, a}), 1);
  EXPECT_EQ(CallReal("object_is_ancestor", {c, c}), 0);
  CallReal("object_set_parent", {b, -1});
  EXPECT_FALSE(has(a));
  EXPECT_EQ(CallReal("object_get_parent", {b}), -1);
  CallReal("object_set_parent", {b, a});
  EXPECT_EQ(CallReal("object_delete", {b}), 1);
  EXPECT_EQ(Object_Find(c)->parent_index, -1);
  EXPECT_EQ(Object_Find(c)->parent, nullptr);
  EXPECT_FALSE(has(a));
  delete inst;
  Object_Delete(a);
  Object_Delete(c);
}

// Clearing an event takes the object's own handler away, so that its
// parent's applies.
TEST_F(ResourceBuiltins, ClearedEventsFallBackOnTheParent) {
  int parent = Object_Add(), child = Object_Add();
  Object_Find(parent)->SetEvent(EV_STEP, 0, new CEvent());
  Object_Find(child)->SetEvent(EV_STEP, 0, new CEvent());
  CallReal("object_set_parent", {child, parent});
  int owner = -1;
  Object_Find(child)->FindEvent(EV_STEP, 0, &owner);
  EXPECT_EQ(owner, child);
  CallReal("object_event_clear", {child, EV_STEP, 0});
  Object_Find(child)->FindEvent(EV_STEP, 0, &owner);
  EXPECT_EQ(owner, parent);
  const std::vector<int>& steppers = Object_EventList(EV_STEP, 0);
  EXPECT_NE(std::find(steppers.begin(), steppers.end(), child), steppers.end());
  Object_Delete(child);
  Object_Delete(parent);
}

TEST_F(ResourceBuiltins, PathPointsOutsideTheListReadAsEmpty) {
  int p = Path_Add();
  for (int i = 0; i < 3; i++) CallReal("path_add_point", {p, 10 * i, 5, 100});
  EXPECT_EQ(CallReal("path_get_point_x", {p, 10}), 0);
  EXPECT_EQ(CallReal("path_get_point_speed", {p, 10}), 1);
  EXPECT_EQ(CallReal("path_get_point_x", {p, 2}), 20);
  EXPECT_EQ(CallReal("path_get_point_x", {99999, 0}), -1);
  EXPECT_EQ(CallText("path_get_name", {99999}), "<undefined>");
  CallReal("path_add_point", {99999, 1, 1, 1});  // silent
  EXPECT_FALSE(Error_Occurred());
  Path_Delete(p);
}

// The rasteriser: each glyph one line high on the sheet, coverage as alpha,
// advances that differ by letter and grow with weight.
TEST(FontRaster, TypefacesBecomeProportionalAntiAliasedGlyphs) {
  FontRaster regular, bold, nearest;
  ASSERT_TRUE(Font_Rasterise("DejaVu Sans", 12, false, false, 32, 127, regular));
  ASSERT_TRUE(Font_Rasterise("DejaVu Sans", 12, true, false, 32, 127, bold));
  ASSERT_TRUE(Font_Rasterise("No Such Face Anywhere", 12, false, false, 65, 70, nearest));
  EXPECT_EQ(nearest.glyphs.size(), 6u);
  auto glyph = [](const FontRaster& r, char c) {
    for (const FontGlyph& g : r.glyphs)
      if (g.code == uint16_t(c)) return g;
    ADD_FAILURE() << "no glyph " << c;
    return FontGlyph();
  };
  FontGlyph i = glyph(regular, 'i'), m = glyph(regular, 'M'), space = glyph(regular, ' ');
  EXPECT_LT(i.shift, m.shift);
  EXPECT_GT(space.shift, 0);
  EXPECT_EQ(space.w, 0);
  EXPECT_GT(glyph(bold, 'M').shift, m.shift);
  EXPECT_EQ(m.h, i.h);
  EXPECT_GE(m.h, 12);
  // Coverage: solid somewhere, partial at some edge.
  bool solid = false, partial = false;
  for (int y = m.y; y < m.y + m.h; y++)
    for (int x = m.x; x < m.x + m.w; x++) {
      uint32_t a = regular.sheet.Row(y)[x] >> 24;
      solid |= a == 255;
      partial |= a > 0 && a < 255;
      EXPECT_EQ(regular.sheet.Row(y)[x] & 0xFFFFFF, 0xFFFFFFu);
    }
  EXPECT_TRUE(solid);
  EXPECT_TRUE(partial);
  EXPECT_TRUE(std::is_sorted(regular.glyphs.begin(), regular.glyphs.end(),
                             [](const FontGlyph& x, const FontGlyph& y) { return x.code < y.code; }));
  FontRaster none;
  EXPECT_FALSE(Font_Rasterise("DejaVu Sans", 0, false, false, 32, 127, none));
  // A size whose glyphs would not fit the largest texture is refused before
  // they are all drawn.
  EXPECT_FALSE(Font_Rasterise("DejaVu Sans", 100000, false, false, 32, 127, none));
  EXPECT_FALSE(Font_Rasterise("DejaVu Sans", 3000, false, false, 32, 127, none));
  EXPECT_TRUE(Font_Rasterise("DejaVu Sans", 12, false, false, 90, 80, none));
  EXPECT_TRUE(none.glyphs.empty());
}

// A sprite added from an address is there at once and gets its images with
// the image-loaded event; a failed download leaves it empty with status -1.
class SpriteDownload : public GraphicsTest {};

namespace {
struct Loaded {
  int event;
  std::string filename;
  double id, status;
};
std::vector<Loaded> g_Loaded;
RValue Member(int map, const char* key) {
  RValue k{VALUE_STRING, const_cast<char*>(key), 0.0}, v{VALUE_REAL, nullptr, 0.0};
  if (CDS_MapEntry* e = DS_Map_Get(map)->FindEntry(&k)) e->GetValue(&v);
  return v;
}
void RecordLoaded(int event, int map) {
  g_Loaded.push_back({event, RValue_Text(Member(map, "filename")), Member(map, "id").val, Member(map, "status").val});
  DS_Map_Destroy(map);
}
}  // namespace

TEST_F(SpriteDownload, ImagesArriveWithTheImageLoadedEvent) {
  Math_EnsureRegistered();
  HTTP_TestServer server;
  ASSERT_GT(server.Port(), 0);
  g_Loaded.clear();
  HTTP_SetEventSender(RecordLoaded);
  Sprite_SetDownloader(Resource_StartSpriteDownload);
  std::string good = server.Url("/strip.png"), bad = server.Url("/missing");
  int s = static_cast<int>(CallReal("sprite_add", {good.c_str(), 3, 0, 0, 0, 0}));
  int t = static_cast<int>(CallReal("sprite_add", {bad.c_str(), 1, 0, 0, 0, 0}));
  EXPECT_EQ(CallReal("sprite_exists", {s}), 1);
  EXPECT_EQ(CallReal("sprite_get_number", {s}), 0);
  for (int steps = 0; steps < 6000 && g_Loaded.size() < 2; ++steps) {
    HTTP_DeliverFinished();
    usleep(5000);
  }
  ASSERT_EQ(g_Loaded.size(), 2u);
  std::sort(g_Loaded.begin(), g_Loaded.end(), [](const Loaded& x, const Loaded& y) { return x.id < y.id; });
  EXPECT_EQ(g_Loaded[0].event, EV_OTHER_IMAGE_LOADED);
  EXPECT_EQ(g_Loaded[0].filename, good);
  EXPECT_EQ(g_Loaded[0].id, s);
  EXPECT_EQ(g_Loaded[0].status, 0);
  EXPECT_EQ(CallReal("sprite_get_number", {s}), 3);
  EXPECT_EQ(CallReal("sprite_get_width", {s}), 2);
  EXPECT_EQ(g_Loaded[1].id, t);
  EXPECT_EQ(g_Loaded[1].status, -1);
  EXPECT_EQ(CallReal("sprite_get_number", {t}), 0);
  StartUp_InstallHooks();  // back to the run loop's event sender
  Sprite_Delete(s);
  Sprite_Delete(t);
}

// Resources deleted while instances use them: the instance stops following
// the path or running the time line.
TEST_F(ResourceBuiltins, DeletedPathsAndTimeLinesStopTheirInstances) {
  int path = Path_Add(), line = TimeLine_Create("tl_deleted");
  CallReal("path_add_point", {path, 0, 0, 100});
  CallReal("path_add_point", {path, 100, 0, 100});
  CInstance inst(0, 0, 4000002, -1, false);
  Path_StartInstance(&inst, path, 1, 1, 0, true, PATH_END_STOP);
  ASSERT_EQ(inst.path_index, path);
  EXPECT_FALSE(Path_StepInstance(&inst));
  EXPECT_GT(inst.x, 0);
  inst.timeline_index = line;
  inst.timeline_running = true;
  EXPECT_TRUE(Path_Delete(path));
  EXPECT_TRUE(TimeLine_Delete(line));
  float x = inst.x;
  EXPECT_FALSE(Path_StepInstance(&inst));
  EXPECT_EQ(inst.path_index, -1);
  EXPECT_EQ(inst.x, x);
  TimeLine_Step(&inst);
  EXPECT_FALSE(inst.timeline_running);
}

// A few bytes may announce a picture of gigabytes: such images are refused
// before they are decoded, as are pictures wider than the largest texture.
TEST(ImageLimits, HugeAnnouncedPicturesAreRefusedUndecoded) {
  const uint8_t gif[] = {'G', 'I', 'F', '8', '9', 'a', 0x02, 0x49, 0x46, 0x38, 0x39, 0x61, 0x02, 0x89, 0x00, 0x89, 0x00};
  std::vector<CBitmap32> frames;
  EXPECT_FALSE(GR_Image_Decode(gif, sizeof gif, frames));
  EXPECT_TRUE(frames.empty());
  std::vector<uint32_t> row(8193, 0xFF00FF00u);
  std::vector<uint8_t> wide = GR_Image_EncodePNG(row.data(), 8193, 1);
  ASSERT_FALSE(wide.empty());
  EXPECT_FALSE(GR_Image_Decode(wide.data(), wide.size(), frames));
  std::vector<uint8_t> fits = GR_Image_EncodePNG(row.data(), 8192, 1);
  ASSERT_TRUE(GR_Image_Decode(fits.data(), fits.size(), frames));
  EXPECT_EQ(frames[0].width, 8192);
}

// What the header check cannot read the decoder still refuses before it sizes
// a buffer: a top-down BMP of 17 x 16,777,214 pixels in 60 bytes, whose
// negative compression word the header reader turns away and the decoder
// takes as none.
TEST(ImageLimits, TheDecoderItselfRefusesLongSides) {
  const uint8_t bmp[] = {0x42, 0x4d, 0x4e, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0, 0x28, 0, 0, 0, 0x11, 0,
                         0, 0, 0x02, 0, 0, 0xff, 0x01, 0, 0x18, 0, 0, 0xbf, 0xff, 0xff, 0xff, 0, 0, 0, 0, 0,
                         0x28, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0, 0xff, 0, 0xff, 0};
  std::vector<CBitmap32> frames;
  EXPECT_FALSE(GR_Image_Decode(bmp, sizeof bmp, frames));
  EXPECT_TRUE(frames.empty());
  // The same picture 2 rows tall is read: only the size was wrong.
  uint8_t small[sizeof bmp];
  std::copy(bmp, bmp + sizeof bmp, small);
  small[25] = 0xff, small[24] = 0xff, small[23] = 0xff, small[22] = 0xfe;
  ASSERT_TRUE(GR_Image_Decode(small, sizeof small, frames));
  EXPECT_EQ(frames[0].width, 17);
  EXPECT_EQ(frames[0].height, 2);
}

// The frames of a GIF count together: the decoder stops at the limit.
TEST(ImageLimits, GifFramesCountTogether) {
  const uint8_t gif[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF,
                         0x21, 0xF9, 4, 0, 10, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0,
                         0x21, 0xF9, 4, 0, 10, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x4C, 0x01, 0,
                         0x3B};
  std::vector<unsigned char> rgba;
  int w = 0, h = 0, count = 0;
  ASSERT_TRUE(Image_DecodeGifFrames(gif, sizeof gif, rgba, &w, &h, &count, 2));
  EXPECT_EQ(count, 2);
  EXPECT_EQ(rgba.size(), 8u);
  EXPECT_FALSE(Image_DecodeGifFrames(gif, sizeof gif, rgba, &w, &h, &count, 1));
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(rgba.empty());
}
