// Reads a project file (docs/project-format.md) into package records: names
// become indices, images are decoded and packed onto texture pages, code and
// data files are read in. Every problem stops the build with a message that
// names the project file, the place in it and what was expected.
#include "gamepack/Gamepack_Project.h"
#include "IO/IO_KeyNames.h"
#include "Object/Object_EventNames.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

#include "Base/UTF8_Main.h"
#include "Font/Font_Raster.h"
#include "Physics/Physics_Check.h"
#include "Support/Support_File.h"
#include "gamepack/Gamepack_Image.h"
#include "gamepack/Gamepack_Json.h"

namespace {

// Resource name to index, one map per kind.
struct Names {
  std::map<std::string, int32_t> sprites, backgrounds, fonts, sounds, paths, scripts, timelines, objects, rooms;
};

class CProject : public CSpecOwner {
 public:
  CProject(const std::string& path, ProjectBuild& out) : m_path(path), m_out(out), m_pkg(out.pkg) {
    m_dir = std::filesystem::path(path).parent_path();
  }

  void Build();

  const std::string& Path() const override { return m_path; }
  // Keeps where a code text came from, for the code check; returns the text.
  const std::string& NoteCode(const std::string& where, const std::string& file, std::string text) override {
    m_out.code.push_back({where, file, std::move(text)});
    return m_out.code.back().text;
  }
  // Reads a file named relative to the project; its bytes are kept.
  PackageBytes ReadFile(const std::string& name, const std::string& where) {
    std::string path = Resolve(name);
    std::vector<uint8_t> bytes;
    if (!File_ReadWhole(path, bytes)) Fail(where, "cannot read file " + Quoted(path));
    m_out.storage.push_back(std::move(bytes));
    return m_out.storage.back();
  }
  std::string ReadText(const std::string& name, const std::string& where) override {
    PackageBytes bytes = ReadFile(name, where);
    size_t mark = UTF8_MarkLength(bytes.data(), bytes.size());
    std::string text((const char*)bytes.data() + mark, bytes.size() - mark);
    m_out.storage.pop_back();
    return text;
  }

 private:
  std::string Resolve(std::string name) const {
    std::replace(name.begin(), name.end(), '\\', '/');
    return (m_dir / name).string();
  }

  void CollectNames(CSpec& root);
  int32_t Image(json_object* v, bool transparent, const std::string& where);
  void General(CSpec& root);
  void GameVersion(CSpec& root);
  void Options(CSpec& root);
  void Scripts(CSpec& root);
  void Sprites(CSpec& root);
  void Backgrounds(CSpec& root);
  void Fonts(CSpec& root);
  void RasterFont(PackageFont& f);
  void Sounds(CSpec& root);
  void Paths(CSpec& root);
  void TimeLines(CSpec& root);
  void Objects(CSpec& root);
  void ObjectPhysics(CSpec& spec, PackageObject& o);
  void Rooms(CSpec& root);
  void RoomPhysics(CSpec& spec, PackageRoom& r);
  void IncludedFiles(CSpec& root);
  void Extensions(CSpec& root);
  PackageEvent Event(const std::string& key, const std::string& where);

  // Runs `read` on each element of a resource array as a CSpec.
  template <class Read>
  void Each(CSpec& root, const char* key, Read read) {
    auto items = root.Array(key);
    for (size_t i = 0; i < items.size(); i++) {
      CSpec spec(*this, items[i], ElementWhere(key, i, items[i]));
      read(spec, i);
      spec.Done();
    }
  }
  std::string ElementWhere(const char* key, size_t i, json_object* item) const {
    std::string where = std::string(key) + "[" + std::to_string(i) + "]";
    json_object* name = nullptr;
    if (json_object_is_type(item, json_type_object) && json_object_object_get_ex(item, "name", &name) &&
        json_object_is_type(name, json_type_string))
      where += " (" + Quoted(json_object_get_string(name)) + ")";
    return where;
  }

  std::string m_path;
  std::filesystem::path m_dir;
  ProjectBuild& m_out;
  GamePackage& m_pkg;
  Names m_names;
  std::vector<PackImage> m_images;
  std::vector<std::string> m_labels;
  int32_t m_nextInstance = 100000, m_nextTile = 10000000;
};

// A resource kind's names, in order, with duplicates refused.
void CollectKind(CProject& project, CSpec& root, const char* key, std::map<std::string, int32_t>& names) {
  json_object* list = root.Typed(key, json_type_array, "an array");
  if (!list) return;
  for (size_t i = 0; i < json_object_array_length(list); i++) {
    json_object* item = json_object_array_get_idx(list, i);
    std::string where = std::string(key) + "[" + std::to_string(i) + "]";
    json_object* name = nullptr;
    if (!json_object_is_type(item, json_type_object)) project.Fail(where, "expected an object, got " + Shown(item));
    if (!json_object_object_get_ex(item, "name", &name) || !json_object_is_type(name, json_type_string) ||
        !*json_object_get_string(name))
      project.Fail(where, "key \"name\": expected the resource's name (a string that is not empty)");
    if (!names.emplace(json_object_get_string(name), (int32_t)i).second)
      project.Fail(where, "a second resource of this kind is named " + Quoted(json_object_get_string(name)));
  }
}

void CProject::CollectNames(CSpec& root) {
  CollectKind(*this, root, "sprites", m_names.sprites);
  CollectKind(*this, root, "backgrounds", m_names.backgrounds);
  CollectKind(*this, root, "fonts", m_names.fonts);
  CollectKind(*this, root, "sounds", m_names.sounds);
  CollectKind(*this, root, "paths", m_names.paths);
  CollectKind(*this, root, "timelines", m_names.timelines);
  CollectKind(*this, root, "objects", m_names.objects);
  CollectKind(*this, root, "rooms", m_names.rooms);
  if (json_object* scripts = root.Typed("scripts", json_type_object, "an object of name: code")) {
    int32_t i = 0;
    for (const std::string& name : Keys(scripts)) {
      if (name.empty()) Fail("scripts", "a script needs a name that is not empty");
      m_names.scripts.emplace(name, i++);
    }
  }
}

// An image: a file name, {"file": name} or {"width", "height", "colour"}.
// Returns its index among the images to pack (also its TPAG index).
int32_t CProject::Image(json_object* v, bool transparent, const std::string& where) {
  PackImage image;
  std::string error;
  bool ok;
  const char* expected = "expected an image file name, {\"file\": name} or {\"width\", \"height\", \"colour\"}";
  if (json_object_is_type(v, json_type_string)) {
    ok = DataFile_DecodeImage(Resolve(json_object_get_string(v)), transparent, image, error);
  } else if (!json_object_is_type(v, json_type_object)) {
    Fail(where, std::string(expected) + ", got " + Shown(v));
  } else {
    CSpec spec(*this, v, where);
    if (spec.Has("file")) {
      ok = DataFile_DecodeImage(Resolve(spec.String("file")), transparent, image, error);
    } else {
      if (!spec.Has("width") || !spec.Has("height") || !spec.Has("colour")) Fail(where, expected);
      ok = DataFile_SolidImage(spec.Int("width", 0), spec.Int("height", 0), spec.String("colour"), transparent,
                               image, error);
    }
    spec.Done();
  }
  if (!ok) Fail(where, error);
  m_images.push_back(std::move(image));
  m_labels.push_back(m_path + ": " + where);
  return (int32_t)m_images.size() - 1;
}

void CProject::General(CSpec& root) {
  PackageGeneral& g = m_pkg.general;
  g.version = (uint32_t)root.Int("package_version", 800);
  if (g.version != 700 && g.version != 800)
    Fail("the project: key \"package_version\"", "expected 700 (the older header) or 800");
  g.name = root.String("name", std::filesystem::path(m_path).stem().string());
  g.caption = root.String("caption", g.name);
  g.game_id = (uint32_t)root.Int("game_id", 0);
  g.debug = root.Bool("debug", false);
  GameVersion(root);
  for (int32_t i = 0; i < (int32_t)m_pkg.rooms.size(); i++) g.room_order.push_back(i);
  int32_t w = 640, h = 480;
  if (!m_pkg.rooms.empty()) w = m_pkg.rooms[0].width, h = m_pkg.rooms[0].height;
  g.window_width = root.Int("window_width", w);
  g.window_height = root.Int("window_height", h);
  g.last_instance_id = m_nextInstance;
  g.last_tile_id = m_nextTile;
}

// "version": [major, minor, release, build], all 0 when absent.
void CProject::GameVersion(CSpec& root) {
  PackageGeneral& g = m_pkg.general;
  uint32_t* parts[] = {&g.major, &g.minor, &g.release, &g.build};
  std::vector<json_object*> numbers = root.Array("version");
  if (!numbers.empty() && numbers.size() != 4) Fail("the project: key \"version\"", "expected four whole numbers");
  for (size_t i = 0; i < 4; i++) {
    *parts[i] = 0;
    if (numbers.empty()) continue;
    json_object* v = numbers[i];
    if (!json_object_is_type(v, json_type_int) || json_object_get_int64(v) < 0 || json_object_get_int64(v) > INT32_MAX)
      Fail("the project: key \"version\"", "expected four whole numbers from 0, got " + Shown(v));
    *parts[i] = uint32_t(json_object_get_int64(v));
  }
}

void CProject::Options(CSpec& root) {
  PackageOptions& o = m_pkg.options;
  if (json_object* v = root.Get("options")) {
    CSpec spec(*this, v, "options");
    const std::pair<const char*, bool*> flags[] = {
        {"fullscreen", &o.fullscreen}, {"interpolate", &o.interpolate}, {"new_audio", &o.new_audio},
        {"borderless", &o.borderless}, {"show_cursor", &o.show_cursor}, {"sizeable", &o.sizeable},
        {"stay_on_top", &o.stay_on_top}, {"vsync", &o.vsync}, {"freeze_when_inactive", &o.freeze_when_inactive},
        {"show_errors", &o.show_errors}, {"write_errors", &o.write_errors}, {"errors_fatal", &o.errors_fatal},
        {"unknown_variables_zero", &o.unknown_variables_zero}};
    for (auto& [key, flag] : flags) *flag = spec.Bool(key, *flag);
    o.scale = spec.Int("scale", o.scale);
    o.window_colour = spec.Colour("window_colour", o.window_colour);
    spec.Done();
  }
  o.constants = root.Constants("constants");
}

void CProject::Scripts(CSpec& root) {
  json_object* scripts = root.Get("scripts");
  if (!scripts) return;
  json_object_object_foreach(scripts, name, code) {
    // Wrap the one entry so that CSpec::Code reads it like any other key.
    JsonPtr holder(json_object_new_object(), json_object_put);
    json_object_object_add(holder.get(), name, json_object_get(code));
    CSpec spec(*this, holder.get(), "scripts");
    m_pkg.scripts.push_back({true, name, spec.Code(name)});
  }
}

void CProject::Sprites(CSpec& root) {
  m_pkg.sprites.resize(m_names.sprites.size());
  Each(root, "sprites", [&](CSpec& spec, size_t i) {
    PackageSprite& s = m_pkg.sprites[i];
    s.exists = true;
    s.name = spec.String("name");
    s.transparent = spec.Bool("transparent", false);
    auto frames = spec.Array("frames");
    if (frames.empty()) spec.Fail("frames", "expected at least one image");
    std::vector<const PackImage*> images;
    std::vector<int32_t> indices;
    for (size_t f = 0; f < frames.size(); f++)
      indices.push_back(Image(frames[f], s.transparent, spec.Where("frames") + "[" + std::to_string(f) + "]"));
    for (int32_t index : indices) images.push_back(&m_images[index]);
    s.width = images[0]->width;
    s.height = images[0]->height;
    for (size_t f = 1; f < images.size(); f++)
      if (images[f]->width != s.width || images[f]->height != s.height)
        spec.Fail("frames", "frame " + std::to_string(f) + " is " + std::to_string(images[f]->width) + "x" +
                                std::to_string(images[f]->height) + " but frame 0 is " + std::to_string(s.width) +
                                "x" + std::to_string(s.height));
    s.frames = indices;
    s.x_origin = spec.Int("xorigin", 0);
    s.y_origin = spec.Int("yorigin", 0);
    s.precise = spec.Bool("precise", false);
    s.smooth = spec.Bool("smooth", false);
    s.preload = spec.Bool("preload", true);
    s.bbox_mode = spec.Int("bbox_mode", 0);
    int32_t box[4] = {0, 0, s.width - 1, s.height - 1};
    if (s.bbox_mode == 0) {
      DataFile_AutoBox(images, box);
    } else if (s.bbox_mode == 2) {
      const char* keys[] = {"bbox_left", "bbox_top", "bbox_right", "bbox_bottom"};
      for (int k = 0; k < 4; k++) box[k] = spec.Int(keys[k], box[k]);
    } else if (s.bbox_mode != 1) {
      spec.Fail("bbox_mode", "expected 0 (automatic), 1 (full image) or 2 (manual)");
    }
    s.bbox_left = box[0], s.bbox_top = box[1], s.bbox_right = box[2], s.bbox_bottom = box[3];
    bool separate = spec.Bool("separate_masks", true);
    if (s.precise && separate) {
      for (const PackImage* image : images) s.masks.push_back(DataFile_MaskOf(*image));
    } else if (s.precise) {
      s.masks.push_back(DataFile_SharedMask(images));
    }
  });
}

void CProject::Backgrounds(CSpec& root) {
  m_pkg.backgrounds.resize(m_names.backgrounds.size());
  Each(root, "backgrounds", [&](CSpec& spec, size_t i) {
    PackageBackground& b = m_pkg.backgrounds[i];
    b.exists = true;
    b.name = spec.String("name");
    b.transparent = spec.Bool("transparent", false);
    b.smooth = spec.Bool("smooth", false);
    b.preload = spec.Bool("preload", true);
    json_object* image = spec.Get("image");
    if (!image) spec.Fail("image", "a background needs an image");
    b.tpag = Image(image, b.transparent, spec.Where("image"));
    b.width = m_images[b.tpag].width;
    b.height = m_images[b.tpag].height;
  });
}

void CProject::Fonts(CSpec& root) {
  m_pkg.fonts.resize(m_names.fonts.size());
  Each(root, "fonts", [&](CSpec& spec, size_t i) {
    PackageFont& f = m_pkg.fonts[i];
    f.exists = true;
    f.name = spec.String("name");
    f.font_name = spec.String("font", "");
    f.size = spec.Int("size", 12);
    f.bold = spec.Bool("bold", false);
    f.italic = spec.Bool("italic", false);
    f.first = spec.Int("first", 32);
    f.last = spec.Int("last", 127);
    if (f.first < 0 || f.last < f.first || f.last > 65535)
      spec.Fail("last", "the character range " + std::to_string(f.first) + " to " + std::to_string(f.last) +
                            " is empty or outside 0 to 65535");
    json_object* image = spec.Get("image");
    if (!image) {
      RasterFont(f);
      return;
    }
    // A strip of equally wide glyphs, first to last.
    f.tpag = Image(image, spec.Bool("transparent", false), spec.Where("image"));
    const PackImage& strip = m_images[f.tpag];
    int32_t count = f.last - f.first + 1;
    if (strip.width % count != 0)
      spec.Fail("image", "the strip is " + std::to_string(strip.width) + " pixels wide, not a multiple of its " +
                             std::to_string(count) + " glyphs");
    int32_t w = strip.width / count;
    for (int32_t c = 0; c < count; c++) f.glyphs.push_back({f.first + c, c * w, 0, w, strip.height, w, 0});
  });
}

// The typeface's glyphs, drawn now and packed as the font's image; a font
// no face can be found for keeps no glyphs.
void CProject::RasterFont(PackageFont& f) {
  FontRaster raster;
  if (!Font_Rasterise(f.font_name.c_str(), f.size, f.bold, f.italic, f.first, f.last, raster) ||
      raster.glyphs.empty())
    return;
  PackImage sheet;
  sheet.width = raster.sheet.width;
  sheet.height = raster.sheet.height;
  sheet.rgba.reserve(raster.sheet.pixels.size() * 4);
  for (uint32_t argb : raster.sheet.pixels) {
    uint8_t px[4] = {uint8_t(argb >> 16), uint8_t(argb >> 8), uint8_t(argb), uint8_t(argb >> 24)};
    sheet.rgba.insert(sheet.rgba.end(), px, px + 4);
  }
  m_images.push_back(std::move(sheet));
  m_labels.push_back(m_path + ": font " + f.name + " (" + raster.file + ")");
  f.tpag = (int32_t)m_images.size() - 1;
  for (const FontGlyph& g : raster.glyphs) f.glyphs.push_back({g.code, g.x, g.y, g.w, g.h, g.shift, g.offset});
}

void CProject::Sounds(CSpec& root) {
  m_pkg.sounds.resize(m_names.sounds.size());
  Each(root, "sounds", [&](CSpec& spec, size_t i) {
    PackageSound& s = m_pkg.sounds[i];
    s.exists = true;
    s.name = spec.String("name");
    std::string file = spec.String("file");
    if (file.empty()) spec.Fail("file", "a sound needs its sound file");
    std::replace(file.begin(), file.end(), '\\', '/');
    s.file_name = std::filesystem::path(file).filename().string();
    s.extension = std::filesystem::path(file).extension().string();
    s.kind = spec.Int("kind", 0);
    if (s.kind < 0 || s.kind > 3) spec.Fail("kind", "expected 0 (normal), 1 (background), 2 (3D) or 3 (multimedia)");
    s.effects = (uint32_t)spec.Int("effects", 0);
    s.volume = (float)spec.Real("volume", 1);
    s.pan = (float)spec.Real("pan", 0);
    s.preload = spec.Bool("preload", true);
    s.audio = (uint32_t)m_pkg.audio.size();
    m_pkg.audio.push_back(ReadFile(file, spec.Where("file")));
  });
}

void CProject::Paths(CSpec& root) {
  m_pkg.paths.resize(m_names.paths.size());
  Each(root, "paths", [&](CSpec& spec, size_t i) {
    PackagePath& p = m_pkg.paths[i];
    p.exists = true;
    p.name = spec.String("name");
    p.kind = spec.Int("kind", 0);
    if (p.kind != 0 && p.kind != 1) spec.Fail("kind", "expected 0 (straight) or 1 (smooth)");
    p.closed = spec.Bool("closed", true);
    p.precision = spec.Int("precision", 4);
    auto points = spec.Array("points");
    for (size_t n = 0; n < points.size(); n++) {
      json_object* pt = points[n];
      size_t len = json_object_is_type(pt, json_type_array) ? json_object_array_length(pt) : 0;
      bool numbers = len == 2 || len == 3;
      for (size_t k = 0; k < len && numbers; k++) {
        json_object* v = json_object_array_get_idx(pt, k);
        numbers = json_object_is_type(v, json_type_int) || json_object_is_type(v, json_type_double);
      }
      if (!numbers) spec.Fail("points", "point " + std::to_string(n) + ": expected [x, y] or [x, y, speed], got " + Shown(pt));
      PackagePathPoint point;
      point.x = (float)json_object_get_double(json_object_array_get_idx(pt, 0));
      point.y = (float)json_object_get_double(json_object_array_get_idx(pt, 1));
      if (len == 3) point.speed = (float)json_object_get_double(json_object_array_get_idx(pt, 2));
      p.points.push_back(point);
    }
  });
}

void CProject::TimeLines(CSpec& root) {
  m_pkg.timelines.resize(m_names.timelines.size());
  Each(root, "timelines", [&](CSpec& spec, size_t i) {
    PackageTimeLine& t = m_pkg.timelines[i];
    t.exists = true;
    t.name = spec.String("name");
    json_object* moments = spec.Typed("moments", json_type_object, "an object of step: code");
    if (!moments) return;
    CSpec list(*this, moments, spec.Where("moments"));
    for (const std::string& step : Keys(moments)) {
      char* end = nullptr;
      long n = std::strtol(step.c_str(), &end, 10);
      if (step.empty() || *end || n < 0 || n > INT32_MAX)
        list.Fail(step.c_str(), "expected a step number (0 or more) as the key");
      t.moments.push_back({(int32_t)n, list.Code(step.c_str())});
    }
    std::stable_sort(t.moments.begin(), t.moments.end(),
                     [](const PackageMoment& a, const PackageMoment& b) { return a.step < b.step; });
    for (size_t n = 1; n < t.moments.size(); n++)
      if (t.moments[n].step == t.moments[n - 1].step)
        spec.Fail("moments", "two keys name step " + std::to_string(t.moments[n].step));
  });
}

// A virtual-key code: a number, a letter or digit, or a vk_ name.
int32_t KeyCode(const std::string& text) {
  if (int code = IO_KeyFromName(text.c_str()); code >= 0) return code;
  if (text.size() == 1 && std::isalnum((unsigned char)text[0])) return std::toupper((unsigned char)text[0]);
  char* end = nullptr;
  long n = std::strtol(text.c_str(), &end, 10);
  if (!text.empty() && !*end && n >= 0 && n <= 255) return (int32_t)n;
  return -1;
}

PackageEvent CProject::Event(const std::string& key, const std::string& where) {
  static const std::map<std::string, std::pair<int32_t, int32_t>> plain = {
      {"create", {0, 0}}, {"destroy", {1, 0}}, {"step", {3, 0}}, {"step_begin", {3, 1}},
      {"step_end", {3, 2}}, {"draw", {8, 0}}};
  static const std::map<std::string, int32_t> numbered = {{"alarm", 2}, {"collision", 4}, {"keyboard", 5},
                                                           {"mouse", 6}, {"other", 7},     {"keypress", 9},
                                                           {"keyrelease", 10}};
  const std::string expected =
      "expected create, destroy, alarm:N, step, step_begin, step_end, collision:OBJECT, keyboard:KEY, "
      "keypress:KEY, keyrelease:KEY, mouse:N, other:N or draw";
  if (auto it = plain.find(key); it != plain.end()) return {it->second.first, it->second.second, ""};
  size_t colon = key.find(':');
  auto it = numbered.find(key.substr(0, colon));
  if (colon == std::string::npos || it == numbered.end()) Fail(where, "unknown event " + Quoted(key) + ": " + expected);
  std::string arg = key.substr(colon + 1);
  int32_t type = it->second, number = -1;
  if (type == 4) {
    auto obj = m_names.objects.find(arg);
    if (obj == m_names.objects.end()) Fail(where, "event " + Quoted(key) + ": no object named " + Quoted(arg));
    number = obj->second;
  } else if (type == 5 || type == 9 || type == 10) {
    number = KeyCode(arg);
    if (number < 0) Fail(where, "event " + Quoted(key) + ": expected a key code 0 to 255, a letter, a digit or a vk_ name");
  } else if ((number = Event_NumberFromName(type, arg.c_str())) < 0) {
    char* end = nullptr;
    long n = std::strtol(arg.c_str(), &end, 10);
    long limit = type == 2 ? 11 : 255;
    if (arg.empty() || *end || n < 0 || n > limit)
      Fail(where, "event " + Quoted(key) + ": expected a number from 0 to " + std::to_string(limit) +
                      (type == 2 ? "" : type == 6 ? " or the ev_ name of a mouse event" : " or the ev_ name of an other event"));
    number = (int32_t)n;
  }
  return {type, number, ""};
}

void CProject::Objects(CSpec& root) {
  m_pkg.objects.resize(m_names.objects.size());
  Each(root, "objects", [&](CSpec& spec, size_t i) {
    PackageObject& o = m_pkg.objects[i];
    o.exists = true;
    o.name = spec.String("name");
    o.sprite = spec.Ref("sprite", m_names.sprites, "sprite");
    o.mask = spec.Ref("mask", m_names.sprites, "sprite");
    o.parent = spec.Ref("parent", m_names.objects, "object");
    o.depth = spec.Int("depth", 0);
    o.solid = spec.Bool("solid", false);
    o.visible = spec.Bool("visible", true);
    o.persistent = spec.Bool("persistent", false);
    ObjectPhysics(spec, o);
    json_object* events = spec.Typed("events", json_type_object, "an object of event: code");
    if (!events) return;
    CSpec list(*this, events, spec.Where("events"));
    for (const std::string& key : Keys(events)) {
      PackageEvent e = Event(key, list.Where());
      e.code = list.Code(key.c_str());
      for (const PackageEvent& other : o.events)
        if (other.type == e.type && other.number == e.number)
          list.Fail(key.c_str(), "names the same event as another key");
      o.events.push_back(e);
    }
    std::stable_sort(o.events.begin(), o.events.end(), [](const PackageEvent& a, const PackageEvent& b) {
      return a.type != b.type ? a.type < b.type : a.number < b.number;
    });
  });
  // A parent chain that comes back to where it started would never end.
  for (size_t i = 0; i < m_pkg.objects.size(); i++) {
    int32_t at = m_pkg.objects[i].parent;
    for (size_t steps = 0; at >= 0; steps++, at = m_pkg.objects[at].parent)
      if (at == (int32_t)i || steps > m_pkg.objects.size())
        Fail("objects[" + std::to_string(i) + "] (" + Quoted(m_pkg.objects[i].name) + ")",
             "key \"parent\": the parent chain comes back to this object");
  }
}

// "physics": the body an instance gets in a room with a world. Sizes default
// to the sprite's.
void CProject::ObjectPhysics(CSpec& spec, PackageObject& o) {
  if (!spec.Typed("physics", json_type_object, "an object")) return;
  CSpec ph(*this, spec.Get("physics"), spec.Where("physics"));
  PackageObjectPhysics& p = o.physics;
  p.enabled = true;
  const PackageSprite* sprite = o.sprite >= 0 ? &m_pkg.sprites[o.sprite] : nullptr;
  std::string shape = ph.String("shape", "circle");
  static const std::map<std::string, int32_t> shapes = {{"circle", 0}, {"box", 1}, {"polygon", 2}};
  auto it = shapes.find(shape);
  if (it == shapes.end()) ph.Fail("shape", "expected \"circle\", \"box\" or \"polygon\", got " + Quoted(shape));
  p.shape = it->second;
  p.radius = (float)ph.Real("radius", sprite ? sprite->width / 2.0 : 0);
  p.width = (float)ph.Real("width", sprite ? sprite->width : 0);
  p.height = (float)ph.Real("height", sprite ? sprite->height : 0);
  std::vector<b2Vec2> points;
  for (json_object* pt : ph.Array("points")) {
    if (!json_object_is_type(pt, json_type_array) || json_object_array_length(pt) != 2)
      ph.Fail("points", "expected [x, y] pairs, got " + Shown(pt));
    double xy[2];
    for (size_t k = 0; k < 2; k++) {
      json_object* v = json_object_array_get_idx(pt, k);
      if (!json_object_is_type(v, json_type_int) && !json_object_is_type(v, json_type_double))
        ph.Fail("points", "expected [x, y] pairs, got " + Shown(pt));
      xy[k] = json_object_get_double(v);
    }
    p.points.emplace_back((float)xy[0], (float)xy[1]);
    points.emplace_back((float)xy[0], (float)xy[1]);
  }
  p.density = (float)ph.Real("density", p.density);
  p.restitution = (float)ph.Real("restitution", p.restitution);
  p.friction = (float)ph.Real("friction", p.friction);
  p.linear_damping = (float)ph.Real("linear_damping", p.linear_damping);
  p.angular_damping = (float)ph.Real("angular_damping", p.angular_damping);
  p.collision_group = ph.Int("collision_group", 0);
  p.sensor = ph.Bool("sensor", false);
  p.awake = ph.Bool("awake", true);
  p.kinematic = ph.Bool("kinematic", false);
  ph.Done();
  if (p.shape == 0 && !(p.radius > 0)) ph.Fail("radius", "a circle needs a radius above 0 (or a sprite)");
  if (p.shape == 1 && !(p.width > 0 && p.height > 0)) ph.Fail("width", "a box needs a width and height above 0 (or a sprite)");
  if (p.shape == 2 && (points.size() < 3 || points.size() > 8 || !Physics_ConvexClockwise(points)))
    ph.Fail("points", "expected 3 to 8 points of a convex polygon, clockwise on the screen");
  if (p.shape != 2 && !points.empty()) ph.Fail("points", "only a polygon has points");
  if (p.density < 0) ph.Fail("density", "cannot be negative");
  if (p.linear_damping < 0) ph.Fail("linear_damping", "cannot be negative");
  if (p.angular_damping < 0) ph.Fail("angular_damping", "cannot be negative");
  if (p.collision_group < -32768 || p.collision_group > 32767)
    ph.Fail("collision_group", "expected a whole number from -32768 to 32767");
}

// "physics": the room has a world, made before its instances.
void CProject::RoomPhysics(CSpec& spec, PackageRoom& r) {
  if (!spec.Typed("physics", json_type_object, "an object")) return;
  CSpec ph(*this, spec.Get("physics"), spec.Where("physics"));
  r.physics.enabled = true;
  r.physics.gravity_x = (float)ph.Real("gravity_x", 0);
  r.physics.gravity_y = (float)ph.Real("gravity_y", 10);
  r.physics.scale = (float)ph.Real("scale", 0.1);
  ph.Done();
  if (!(r.physics.scale > 0) || !std::isfinite(r.physics.scale)) ph.Fail("scale", "expected a number above 0");
}

void CProject::Rooms(CSpec& root) {
  m_pkg.rooms.resize(m_names.rooms.size());
  Each(root, "rooms", [&](CSpec& spec, size_t i) {
    PackageRoom& r = m_pkg.rooms[i];
    r.exists = true;
    r.name = spec.String("name");
    r.caption = spec.String("caption", "");
    r.width = spec.Int("width", 640);
    r.height = spec.Int("height", 480);
    r.speed = spec.Int("speed", 30);
    if (r.width < 1 || r.height < 1) spec.Fail("width", "the room size must be at least 1x1");
    if (r.speed < 1) spec.Fail("speed", "expected a speed of at least 1 step per second");
    r.persistent = spec.Bool("persistent", false);
    r.colour = spec.Colour("colour", r.colour);
    r.show_colour = spec.Bool("show_colour", true);
    r.code = spec.Code("code");
    RoomPhysics(spec, r);

    auto backgrounds = spec.Array("backgrounds");
    if (backgrounds.size() > 8) spec.Fail("backgrounds", "a room has at most 8 backgrounds");
    for (size_t n = 0; n < backgrounds.size(); n++) {
      CSpec b(*this, backgrounds[n], spec.Where("backgrounds") + "[" + std::to_string(n) + "]");
      PackageRoomBackground& slot = r.backgrounds[n];
      slot.index = b.Ref("background", m_names.backgrounds, "background");
      slot.visible = b.Bool("visible", slot.index >= 0);
      slot.foreground = b.Bool("foreground", false);
      slot.x = (float)b.Real("x", 0);
      slot.y = (float)b.Real("y", 0);
      slot.htiled = b.Bool("htiled", true);
      slot.vtiled = b.Bool("vtiled", true);
      slot.hspeed = (float)b.Real("hspeed", 0);
      slot.vspeed = (float)b.Real("vspeed", 0);
      slot.xscale = (float)b.Real("xscale", 1);
      slot.yscale = (float)b.Real("yscale", 1);
      slot.stretch = b.Bool("stretch", false);
      slot.alpha = (float)b.Real("alpha", 1);
      b.Done();
    }

    auto views = spec.Array("views");
    if (views.size() > 8) spec.Fail("views", "a room has at most 8 views");
    r.views_enabled = spec.Bool("views_enabled", !views.empty());
    for (size_t n = 0; n < views.size(); n++) {
      CSpec v(*this, views[n], spec.Where("views") + "[" + std::to_string(n) + "]");
      PackageRoomView& view = r.views[n];
      view.visible = v.Bool("visible", true);
      view.xview = v.Int("xview", 0);
      view.yview = v.Int("yview", 0);
      view.wview = v.Int("wview", r.width);
      view.hview = v.Int("hview", r.height);
      view.xport = v.Int("xport", 0);
      view.yport = v.Int("yport", 0);
      view.wport = v.Int("wport", view.wview);
      view.hport = v.Int("hport", view.hview);
      view.angle = (float)v.Real("angle", 0);
      view.hborder = v.Int("hborder", 32);
      view.vborder = v.Int("vborder", 32);
      view.hspeed = v.Int("hspeed", -1);
      view.vspeed = v.Int("vspeed", -1);
      view.object = v.Ref("object", m_names.objects, "object");
      v.Done();
    }

    auto instances = spec.Array("instances");
    for (size_t n = 0; n < instances.size(); n++) {
      CSpec in(*this, instances[n], spec.Where("instances") + "[" + std::to_string(n) + "]");
      PackageRoomInstance inst;
      if (!in.Has("object")) in.Fail("object", "an instance needs its object");
      inst.object = in.Ref("object", m_names.objects, "object");
      inst.x = (float)in.Real("x", 0);
      inst.y = (float)in.Real("y", 0);
      inst.code = in.Code("code");
      inst.id = ++m_nextInstance;
      in.Done();
      r.instances.push_back(inst);
    }

    auto tiles = spec.Array("tiles");
    for (size_t n = 0; n < tiles.size(); n++) {
      CSpec t(*this, tiles[n], spec.Where("tiles") + "[" + std::to_string(n) + "]");
      PackageRoomTile tile;
      if (!t.Has("background")) t.Fail("background", "a tile needs its background");
      tile.background = t.Ref("background", m_names.backgrounds, "background");
      // The background's image is read later; its size is looked up by name.
      const PackageBackground* bg = tile.background < (int32_t)m_pkg.backgrounds.size()
                                        ? &m_pkg.backgrounds[tile.background] : nullptr;
      tile.x = (float)t.Real("x", 0);
      tile.y = (float)t.Real("y", 0);
      tile.left = t.Int("left", 0);
      tile.top = t.Int("top", 0);
      tile.width = t.Int("width", bg ? bg->width - tile.left : 0);
      tile.height = t.Int("height", bg ? bg->height - tile.top : 0);
      tile.depth = (float)t.Real("depth", 0);
      tile.xscale = (float)t.Real("xscale", 1);
      tile.yscale = (float)t.Real("yscale", 1);
      tile.blend = t.Colour("blend", 0xFFFFFF);
      tile.alpha = (float)t.Real("alpha", 1);
      tile.visible = t.Bool("visible", true);
      tile.id = ++m_nextTile;
      t.Done();
      r.tiles.push_back(tile);
    }
  });
}

void CProject::IncludedFiles(CSpec& root) {
  Each(root, "included_files", [&](CSpec& spec, size_t) {
    PackageIncludedFile f;
    std::string file = spec.String("file");
    if (file.empty()) spec.Fail("file", "an included file needs its file");
    std::replace(file.begin(), file.end(), '\\', '/');
    f.name = spec.String("name", std::filesystem::path(file).filename().string());
    static const std::map<std::string, int32_t> modes = {{"none", 0}, {"temp", 1}, {"game", 2}, {"folder", 3}};
    json_object* mode = spec.Get("export");
    if (mode && json_object_is_type(mode, json_type_string)) {
      auto it = modes.find(json_object_get_string(mode));
      if (it == modes.end()) spec.Fail("export", "expected \"none\", \"temp\", \"game\" or \"folder\"");
      f.export_mode = it->second;
    } else if (mode) {
      f.export_mode = spec.Int("export", 0);
      if (f.export_mode < 0 || f.export_mode > 3) spec.Fail("export", "expected 0 to 3");
    }
    f.export_folder = spec.String("folder", "");
    if (f.export_mode == 3 && f.export_folder.empty()) spec.Fail("folder", "export \"folder\" needs a folder");
    f.overwrite = spec.Bool("overwrite", false);
    f.free_after_export = spec.Bool("free", true);
    f.remove_at_end = spec.Bool("remove", true);
    f.data = ReadFile(file, spec.Where("file"));
    m_pkg.included_files.push_back(f);
  });
}

// A word given as one of a few names or as its number.
int32_t Choice(CSpec& spec, const char* key, const std::map<std::string, int32_t>& names, int32_t def) {
  json_object* v = spec.Get(key);
  if (!v || !json_object_is_type(v, json_type_string)) return spec.Int(key, def);
  auto it = names.find(json_object_get_string(v));
  if (it != names.end()) return it->second;
  std::string expected = "expected a number or one of";
  for (auto& [name, value] : names) expected.append(" \"").append(name).append("\"");
  spec.Fail(key, expected);
}

// Extension packages; function ids are given in order from 0.
void CProject::Extensions(CSpec& root) {
  static const std::map<std::string, int32_t> kinds = {{"dll", 1}, {"code", 2}};
  static const std::map<std::string, int32_t> calls = {{"cdecl", 12}, {"stdcall", 11}};
  static const std::map<std::string, int32_t> types = {{"string", 1}, {"real", 2}};
  int32_t nextId = 0;
  Each(root, "extensions", [&](CSpec& spec, size_t) {
    PackageExtension e;
    e.exists = true;
    e.name = spec.String("name");
    e.folder = spec.String("folder", e.name);
    auto files = spec.Array("files");
    for (size_t n = 0; n < files.size(); n++) {
      CSpec fs(*this, files[n], spec.Where("files") + "[" + std::to_string(n) + "]");
      PackageExtensionFile file;
      file.exists = true;
      file.file_name = fs.String("file");
      file.kind = Choice(fs, "kind", kinds, 1);
      file.initialize = fs.String("init", "");
      file.finalize = fs.String("final", "");
      file.constants = fs.Constants("constants");
      auto functions = fs.Array("functions");
      for (size_t k = 0; k < functions.size(); k++) {
        CSpec f(*this, functions[k], fs.Where("functions") + "[" + std::to_string(k) + "]");
        PackageExtensionFunction fn;
        fn.name = f.String("name");
        fn.external_name = f.String("external", fn.name);
        fn.id = nextId++;
        fn.call_kind = Choice(f, "call", calls, 12);
        fn.return_kind = Choice(f, "returns", types, 2);
        auto args = f.Array("args");
        for (size_t a = 0; a < args.size(); a++) {
          json_object* arg = args[a];
          const char* text = json_object_is_type(arg, json_type_string) ? json_object_get_string(arg) : "";
          auto it = types.find(text);
          if (it == types.end()) f.Fail("args", "argument " + std::to_string(a) + ": expected \"real\" or \"string\"");
          fn.argument_kinds.push_back(it->second);
        }
        if (fn.argument_kinds.size() > 16) f.Fail("args", "a function takes at most 16 arguments");
        fn.argument_count = (int32_t)fn.argument_kinds.size();
        if (f.Has("code") && file.kind != 2) f.Fail("code", "only a function of a \"code\" file has code");
        fn.code = f.Code("code");
        f.Done();
        file.functions.push_back(fn);
      }
      fs.Done();
      e.files.push_back(file);
    }
    m_pkg.extensions.push_back(e);
  });
}

void CProject::Build() {
  JsonPtr root(Json_ParseProject(m_path), json_object_put);
  CSpec spec(*this, root.get(), "the project");
  CollectNames(spec);
  Options(spec);
  Scripts(spec);
  // Backgrounds before rooms, whose tiles take their size by default.
  Backgrounds(spec);
  Sprites(spec);
  Fonts(spec);
  Sounds(spec);
  Paths(spec);
  TimeLines(spec);
  Objects(spec);
  Rooms(spec);
  IncludedFiles(spec);
  Extensions(spec);
  General(spec);
  spec.Done();
  std::string error;
  if (!DataFile_PackTextures(m_images, m_labels, m_pkg, m_out.storage, error)) throw ProjectError{error};
}

}  // namespace

bool DataFile_BuildProject(const std::string& projectPath, ProjectBuild& out, std::string& error) {
  out = ProjectBuild();
  try {
    CProject(projectPath, out).Build();
    return true;
  } catch (const ProjectError& e) {
    error = e.text;
    return false;
  }
}
