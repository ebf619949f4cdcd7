// Reads a package file image (docs/package-format.md) into the records of
// DataFile_Package.h. Every field is read through a bounds-checked view; the
// first bad offset, size, count, text or index stops the load with a message
// that names the chunk, the record and the field.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <new>
#include <set>

#include "Base/Console.h"
#include "DataFile/DataFile_Package.h"
#include "DataFile/DataFile_View.h"
#include "Support/Support_File.h"

namespace {

// Thrown inside the reader only; the load functions turn it into an error.
struct LoadError {
  std::string text;
};

[[noreturn]] void Fail(const std::string& text) { throw LoadError{text}; }

std::string Num(uint64_t v) { return std::to_string(v); }

// Walks the fields of one record from a starting offset. `where` names the
// record in messages ("SPRT: sprite 2").
class CCursor {
 public:
  // Fields are read from `fields`; texts are looked up in `file`, the whole
  // package.
  CCursor(const CPackageView& fields, const CPackageView& file, uint32_t pos, std::string where)
      : m_view(fields), m_file(file), m_pos(pos), m_where(std::move(where)) {}

  uint32_t Pos() const { return m_pos; }
  const std::string& Where() const { return m_where; }

  uint32_t U32(const char* field) { return Read<uint32_t>(field); }
  int32_t I32(const char* field) { return Read<int32_t>(field); }
  int16_t I16(const char* field) { return Read<int16_t>(field); }
  float F32(const char* field) { return Read<float>(field); }
  bool Flag(const char* field) { return Read<uint32_t>(field) != 0; }

  // A text field: the offset of a zero-terminated text. With `zeroIsEmpty`
  // an offset of 0 means no text.
  std::string Text(const char* field, bool zeroIsEmpty = false) {
    uint32_t offset = U32(field);
    std::string text;
    if (offset == 0 && zeroIsEmpty) return text;
    if (!m_file.Text(offset, text))
      Fail(m_where + ": " + field + ": text offset " + Num(offset) +
           " is outside the file or its text has no terminator");
    return text;
  }

  // A count of items of `itemSize` bytes that follow it; they must fit.
  uint32_t Count(const char* field, uint32_t itemSize) {
    uint32_t at = m_pos;
    uint32_t n = U32(field);
    if (!m_view.Contains(m_pos, (uint64_t)n * itemSize))
      Fail(m_where + ": " + field + " " + Num(n) + " at offset " + Num(at) +
           " runs past the end of the " + Limit());
    return n;
  }

  PackageBytes Bytes(const char* field, uint64_t length) {
    PackageBytes out;
    if (length > UINT32_MAX || !m_view.Bytes(m_pos, (uint32_t)length, out))
      Fail(m_where + ": " + field + " of " + Num(length) + " bytes at offset " + Num(m_pos) +
           " runs past the end of the " + Limit());
    m_pos += (uint32_t)length;
    return out;
  }

  // A counted blob: u32 length, then the bytes.
  PackageBytes Blob(const char* field) {
    uint32_t length = U32(field);
    return Bytes(field, length);
  }

 private:
  const char* Limit() const { return &m_view == &m_file ? "file" : "chunk"; }

  template <class T>
  T Read(const char* field) {
    PackageBytes raw;
    if (!m_view.Bytes(m_pos, sizeof(T), raw))
      Fail(m_where + ": " + field + " at offset " + Num(m_pos) + " lies outside the " + Limit());
    T v;
    std::memcpy(&v, raw.data(), sizeof(T));
    m_pos += sizeof(T);
    return v;
  }

  const CPackageView& m_view;
  const CPackageView& m_file;
  uint32_t m_pos;
  std::string m_where;
};

std::string TagText(const uint8_t* tag) {
  std::string out;
  for (int i = 0; i < 4; i++) {
    char c = (char)tag[i];
    if (c >= 32 && c < 127) {
      out += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", tag[i]);
      out += hex;
    }
  }
  return out;
}

void CheckIndex(int32_t index, size_t count, bool noneAllowed, const std::string& what) {
  if (noneAllowed && index == -1) return;
  if (index < 0 || (size_t)index >= count)
    Fail(what + " " + std::to_string(index) + " names none of the " + Num(count) + " entries");
}

class CPackageReader {
 public:
  explicit CPackageReader(GamePackage& out) : m_out(out), m_view(out.buffer) {}

  void Read();

 private:
  using ChunkReader = void (CPackageReader::*)(CCursor&);

  // Reads a list chunk: count, record offsets (0 an empty slot unless
  // `emptyAllowed` is false), then each record through `record`.
  template <class T, class Record>
  void List(CCursor& c, std::vector<T>& out, const char* what, bool emptyAllowed, Record record) {
    uint32_t n = c.Count("count", 4);
    out.clear();
    out.resize(n);
    for (uint32_t i = 0; i < n; i++) {
      uint32_t offset = c.U32("record offset");
      std::string where = c.Where() + ": " + what + " " + Num(i);
      if (offset == 0) {
        if (!emptyAllowed) Fail(where + ": record offset is 0");
        continue;
      }
      CCursor r(m_view, m_view, offset, where);
      record(r, out[i]);
    }
  }

  void General(CCursor& c);
  void Options(CCursor& c);
  void Strings(CCursor& c);
  void Textures(CCursor& c);
  void TexturePages(CCursor& c);
  void Sprites(CCursor& c);
  void Backgrounds(CCursor& c);
  void Fonts(CCursor& c);
  void Paths(CCursor& c);
  void Scripts(CCursor& c);
  void TimeLines(CCursor& c);
  void Objects(CCursor& c);
  void ObjectPhysics(CCursor& r, PackageObjectPhysics& p);
  void Rooms(CCursor& c);
  void RoomPhysics(CCursor& r, PackageRoomPhysics& p);
  void IncludedFiles(CCursor& c);
  void Sounds(CCursor& c);
  void Audio(CCursor& c);
  void Extensions(CCursor& c);
  void ExtensionSources(CCursor& c);
  void ApplyExtensionSources();
  void CheckReferences();

  // An EXTS record until it is placed.
  struct ExtensionSource {
    std::string where;
    uint32_t package = 0, file = 0;
    std::vector<std::pair<std::string, std::string>> constants;
    std::vector<std::pair<uint32_t, std::string>> codes;
  };

  GamePackage& m_out;
  CPackageView m_view;
  uint32_t m_version = 0;
  std::vector<ExtensionSource> m_extSources;
};

void CPackageReader::General(CCursor& c) {
  PackageGeneral& g = m_out.general;
  g.version = m_version;
  g.debug = c.Flag("debug flag");
  g.name = c.Text("game name");
  g.caption = c.Text("caption");
  g.game_id = c.U32("game id");
  g.major = c.U32("major version");
  g.minor = c.U32("minor version");
  g.release = c.U32("release number");
  g.build = c.U32("build number");
  g.window_width = c.I32("window width");
  g.window_height = c.I32("window height");
  g.last_instance_id = c.I32("last instance id");
  g.last_tile_id = c.I32("last tile id");
  uint32_t n = c.Count("room order count", 4);
  g.room_order.resize(n);
  for (auto& room : g.room_order) room = c.I32("room order entry");
}

void CPackageReader::Options(CCursor& c) {
  PackageOptions& o = m_out.options;
  uint32_t words = c.Count("option word count", 4);
  bool* flags[] = {&o.fullscreen, &o.interpolate, &o.new_audio, &o.borderless, &o.show_cursor};
  for (uint32_t i = 0; i < words; i++) {
    uint32_t v = c.U32("option word");
    bool flag = v != 0;
    switch (i) {
      case 0: case 1: case 2: case 3: case 4: *flags[i] = flag; break;
      case 5: o.scale = (int32_t)v; break;
      case 6: o.sizeable = flag; break;
      case 7: o.stay_on_top = flag; break;
      case 8: o.window_colour = v; break;
      case 9: o.change_resolution = flag; break;
      case 10: o.colour_depth = (int32_t)v; break;
      case 11: o.resolution = (int32_t)v; break;
      case 12: o.frequency = (int32_t)v; break;
      case 13: o.no_buttons = flag; break;
      case 14: o.vsync = flag; break;
      case 15: o.no_screensaver = flag; break;
      case 16: o.key_fullscreen = flag; break;
      case 17: o.key_help = flag; break;
      case 18: o.key_quit = flag; break;
      case 19: o.key_save_load = flag; break;
      case 20: o.key_screenshot = flag; break;
      case 21: o.close_as_escape = flag; break;
      case 22: o.priority = (int32_t)v; break;
      case 23: o.freeze_when_inactive = flag; break;
      case 24: o.show_progress = flag; break;
      case 25: o.show_errors = flag; break;
      case 26: o.write_errors = flag; break;
      case 27: o.errors_fatal = flag; break;
      case 28: o.unknown_variables_zero = flag; break;
      default: break;  // reserved
    }
  }
  uint32_t n = c.Count("constant count", 8);
  o.constants.resize(n);
  for (auto& [name, value] : o.constants) {
    name = c.Text("constant name");
    value = c.Text("constant value");
  }
}

void CPackageReader::Strings(CCursor& c) {
  List(c, m_out.strings, "string", false, [&](CCursor& r, std::string& s) {
    PackageBytes text = r.Blob("text");
    uint8_t zero = 1;
    if (!m_view.U8(r.Pos(), zero) || zero != 0) Fail(r.Where() + ": text has no terminator");
    s.assign((const char*)text.data(), text.size());
  });
}

void CPackageReader::Textures(CCursor& c) {
  List(c, m_out.textures, "texture page", false,
       [&](CCursor& r, PackageTexture& t) { t.png = r.Blob("image data"); });
}

void CPackageReader::TexturePages(CCursor& c) {
  uint32_t n = c.Count("entry count", 22);
  m_out.tpag.resize(n);
  for (uint32_t i = 0; i < n; i++) {
    TexturePageEntry& t = m_out.tpag[i];
    int16_t* fields[] = {&t.x, &t.y, &t.width, &t.height, &t.x_offset, &t.y_offset, &t.drawn_width,
                         &t.drawn_height, &t.frame_width, &t.frame_height, &t.texture_id};
    for (int16_t* f : fields) {
      *f = c.I16("entry field");
      if (*f < 0) Fail(c.Where() + ": entry " + Num(i) + " has a negative field");
    }
  }
}

// Masks are stored as rows of bits; the records hold one byte per pixel.
PackageMask ReadMask(CCursor& r, int32_t width, int32_t height) {
  uint64_t stride = ((uint64_t)width + 7) / 8;
  PackageBytes bits = r.Bytes("collision mask", stride * (uint64_t)height);
  PackageMask mask((size_t)width * height);
  for (int32_t y = 0; y < height; y++)
    for (int32_t x = 0; x < width; x++)
      mask[(size_t)y * width + x] = (bits[y * stride + x / 8] >> (7 - x % 8)) & 1;
  return mask;
}

void CPackageReader::Sprites(CCursor& c) {
  List(c, m_out.sprites, "sprite", true, [&](CCursor& r, PackageSprite& s) {
    s.exists = true;
    s.name = r.Text("name");
    s.width = r.I32("width");
    s.height = r.I32("height");
    if (s.width < 0 || s.height < 0) Fail(r.Where() + ": negative size");
    s.x_origin = r.I32("x origin");
    s.y_origin = r.I32("y origin");
    s.bbox_mode = r.I32("bounding box mode");
    s.bbox_left = r.I32("bounding box left");
    s.bbox_top = r.I32("bounding box top");
    s.bbox_right = r.I32("bounding box right");
    s.bbox_bottom = r.I32("bounding box bottom");
    s.precise = r.Flag("precise flag");
    s.transparent = r.Flag("transparent flag");
    s.smooth = r.Flag("smooth flag");
    s.preload = r.Flag("preload flag");
    uint32_t frames = r.Count("frame count", 4);
    s.frames.resize(frames);
    for (auto& f : s.frames) f = r.I32("frame");
    uint32_t masks = r.U32("mask count");
    if (masks > 1 && masks != frames)
      Fail(r.Where() + ": mask count " + Num(masks) + " is neither 0, 1 nor the frame count");
    for (uint32_t i = 0; i < masks; i++) s.masks.push_back(ReadMask(r, s.width, s.height));
  });
}

void CPackageReader::Backgrounds(CCursor& c) {
  List(c, m_out.backgrounds, "background", true, [&](CCursor& r, PackageBackground& b) {
    b.exists = true;
    b.name = r.Text("name");
    b.width = r.I32("width");
    b.height = r.I32("height");
    b.transparent = r.Flag("transparent flag");
    b.smooth = r.Flag("smooth flag");
    b.preload = r.Flag("preload flag");
    b.tpag = r.I32("texture page entry");
  });
}

void CPackageReader::Fonts(CCursor& c) {
  List(c, m_out.fonts, "font", true, [&](CCursor& r, PackageFont& f) {
    f.exists = true;
    f.name = r.Text("name");
    f.font_name = r.Text("typeface name");
    f.size = r.I32("size");
    f.bold = r.Flag("bold flag");
    f.italic = r.Flag("italic flag");
    f.first = r.I32("first character");
    f.last = r.I32("last character");
    f.tpag = r.I32("texture page entry");
    uint32_t n = r.Count("glyph count", 28);
    f.glyphs.resize(n);
    for (auto& g : f.glyphs) {
      for (int32_t* v : {&g.code, &g.x, &g.y, &g.width, &g.height, &g.shift, &g.offset}) *v = r.I32("glyph field");
    }
  });
}

void CPackageReader::Paths(CCursor& c) {
  List(c, m_out.paths, "path", true, [&](CCursor& r, PackagePath& p) {
    p.exists = true;
    p.name = r.Text("name");
    p.kind = r.I32("kind");
    p.closed = r.Flag("closed flag");
    p.precision = r.I32("precision");
    uint32_t n = r.Count("point count", 12);
    p.points.resize(n);
    for (auto& pt : p.points) {
      pt.x = r.F32("point x");
      pt.y = r.F32("point y");
      pt.speed = r.F32("point speed");
    }
  });
}

void CPackageReader::Scripts(CCursor& c) {
  List(c, m_out.scripts, "script", true, [&](CCursor& r, PackageScript& s) {
    s.exists = true;
    s.name = r.Text("name");
    s.code = r.Text("code");
  });
}

void CPackageReader::TimeLines(CCursor& c) {
  List(c, m_out.timelines, "time line", true, [&](CCursor& r, PackageTimeLine& t) {
    t.exists = true;
    t.name = r.Text("name");
    uint32_t n = r.Count("moment count", 8);
    t.moments.resize(n);
    for (auto& m : t.moments) {
      m.step = r.I32("moment step");
      m.code = r.Text("moment code");
    }
  });
}

void CPackageReader::Objects(CCursor& c) {
  List(c, m_out.objects, "object", true, [&](CCursor& r, PackageObject& o) {
    o.exists = true;
    o.name = r.Text("name");
    o.sprite = r.I32("sprite");
    o.solid = r.Flag("solid flag");
    o.visible = r.Flag("visible flag");
    o.depth = r.I32("depth");
    o.persistent = r.Flag("persistent flag");
    o.parent = r.I32("parent");
    o.mask = r.I32("mask");
    uint32_t n = r.Count("event count", 12);
    o.events.resize(n);
    for (auto& e : o.events) {
      e.type = r.I32("event type");
      e.number = r.I32("event number");
      e.code = r.Text("event code");
    }
    ObjectPhysics(r, o.physics);
  });
}

// The physics block after an object's events: a flag, then the fields when set.
void CPackageReader::ObjectPhysics(CCursor& r, PackageObjectPhysics& p) {
  p.enabled = r.Flag("physics flag");
  if (!p.enabled) return;
  p.shape = r.I32("physics shape");
  if (p.shape < 0 || p.shape > 2) Fail(r.Where() + ": physics shape " + std::to_string(p.shape) + " is not 0, 1 or 2");
  p.radius = r.F32("physics radius");
  p.width = r.F32("physics width");
  p.height = r.F32("physics height");
  uint32_t n = r.Count("physics point count", 8);
  if (n > 8) Fail(r.Where() + ": physics point count " + Num(n) + " is above 8");
  p.points.resize(n);
  for (auto& [x, y] : p.points) {
    x = r.F32("physics point x");
    y = r.F32("physics point y");
  }
  for (float* f : {&p.density, &p.restitution, &p.friction, &p.linear_damping, &p.angular_damping})
    *f = r.F32("physics material");
  p.collision_group = r.I32("physics collision group");
  p.sensor = r.Flag("physics sensor flag");
  p.awake = r.Flag("physics awake flag");
  p.kinematic = r.Flag("physics kinematic flag");
  bool finite = std::isfinite(p.radius) && std::isfinite(p.width) && std::isfinite(p.height);
  for (auto& [x, y] : p.points) finite = finite && std::isfinite(x) && std::isfinite(y);
  for (float f : {p.density, p.restitution, p.friction, p.linear_damping, p.angular_damping})
    finite = finite && std::isfinite(f);
  if (!finite) Fail(r.Where() + ": a physics field is not a finite number");
  if (p.density < 0 || p.linear_damping < 0 || p.angular_damping < 0)
    Fail(r.Where() + ": physics density and damping cannot be negative");
  if (p.collision_group < -32768 || p.collision_group > 32767)
    Fail(r.Where() + ": physics collision group " + std::to_string(p.collision_group) + " is outside 16 bits");
  if ((p.shape == 0 && !(p.radius > 0)) || (p.shape == 1 && !(p.width > 0 && p.height > 0)) ||
      (p.shape == 2 && n < 3))
    Fail(r.Where() + ": the physics shape has no size");
}

void CPackageReader::Rooms(CCursor& c) {
  List(c, m_out.rooms, "room", true, [&](CCursor& r, PackageRoom& room) {
    room.exists = true;
    room.name = r.Text("name");
    room.caption = r.Text("caption");
    room.width = r.I32("width");
    room.height = r.I32("height");
    room.speed = r.I32("speed");
    room.persistent = r.Flag("persistent flag");
    room.colour = r.U32("colour");
    room.show_colour = r.Flag("show colour flag");
    room.code = r.Text("creation code");
    room.views_enabled = r.Flag("views enabled flag");
    for (auto& b : room.backgrounds) {
      b.visible = r.Flag("background visible");
      b.foreground = r.Flag("background foreground");
      b.index = r.I32("background index");
      b.x = r.F32("background x");
      b.y = r.F32("background y");
      b.htiled = r.Flag("background htiled");
      b.vtiled = r.Flag("background vtiled");
      b.hspeed = r.F32("background hspeed");
      b.vspeed = r.F32("background vspeed");
      b.xscale = r.F32("background xscale");
      b.yscale = r.F32("background yscale");
      b.stretch = r.Flag("background stretch");
      b.alpha = r.F32("background alpha");
    }
    for (auto& v : room.views) {
      v.visible = r.Flag("view visible");
      for (int32_t* f : {&v.xview, &v.yview, &v.wview, &v.hview, &v.xport, &v.yport, &v.wport, &v.hport})
        *f = r.I32("view field");
      v.angle = r.F32("view angle");
      for (int32_t* f : {&v.hborder, &v.vborder, &v.hspeed, &v.vspeed, &v.object}) *f = r.I32("view field");
    }
    uint32_t n = r.Count("instance count", 20);
    room.instances.resize(n);
    for (auto& inst : room.instances) {
      inst.x = r.F32("instance x");
      inst.y = r.F32("instance y");
      inst.object = r.I32("instance object");
      inst.id = r.I32("instance id");
      inst.code = r.Text("instance creation code");
    }
    n = r.Count("tile count", 56);
    room.tiles.resize(n);
    for (auto& t : room.tiles) {
      t.x = r.F32("tile x");
      t.y = r.F32("tile y");
      for (int32_t* f : {&t.background, &t.left, &t.top, &t.width, &t.height}) *f = r.I32("tile field");
      t.depth = r.F32("tile depth");
      t.id = r.I32("tile id");
      t.xscale = r.F32("tile xscale");
      t.yscale = r.F32("tile yscale");
      t.blend = r.U32("tile blend");
      t.alpha = r.F32("tile alpha");
      t.visible = r.Flag("tile visible");
    }
    RoomPhysics(r, room.physics);
  });
}

// The physics world after a room's tiles: flag, gravity x and y, scale.
void CPackageReader::RoomPhysics(CCursor& r, PackageRoomPhysics& p) {
  p.enabled = r.Flag("physics world flag");
  p.gravity_x = r.F32("physics gravity x");
  p.gravity_y = r.F32("physics gravity y");
  p.scale = r.F32("physics scale");
  if (!std::isfinite(p.gravity_x) || !std::isfinite(p.gravity_y) || !std::isfinite(p.scale))
    Fail(r.Where() + ": a physics field is not a finite number");
  if (p.enabled && !(p.scale > 0)) Fail(r.Where() + ": the physics scale must be above 0");
}

void CPackageReader::IncludedFiles(CCursor& c) {
  List(c, m_out.included_files, "included file", false, [&](CCursor& r, PackageIncludedFile& f) {
    f.name = r.Text("name");
    f.export_mode = r.I32("export mode");
    f.export_folder = r.Text("export folder");
    f.overwrite = r.Flag("overwrite flag");
    f.free_after_export = r.Flag("free flag");
    f.remove_at_end = r.Flag("remove flag");
    f.data = r.Blob("data");
  });
}

void CPackageReader::Sounds(CCursor& c) {
  List(c, m_out.sounds, "sound", true, [&](CCursor& r, PackageSound& s) {
    s.exists = true;
    s.name = r.Text("name", true);
    s.kind = r.I32("kind");
    s.extension = r.Text("extension", true);
    s.file_name = r.Text("file name", true);
    s.effects = r.U32("effects");
    s.volume = r.F32("volume");
    s.pan = r.F32("pan");
    s.preload = r.Flag("preload flag");
    s.audio = r.U32("audio index");
  });
}

void CPackageReader::Audio(CCursor& c) {
  List(c, m_out.audio, "blob", true, [&](CCursor& r, PackageBytes& blob) { blob = r.Blob("sound data"); });
}

void CPackageReader::Extensions(CCursor& c) {
  List(c, m_out.extensions, "package", true, [&](CCursor& r, PackageExtension& e) {
    e.exists = true;
    e.folder = r.Text("folder", true);
    e.name = r.Text("name", true);
    List(r, e.files, "file", true, [&](CCursor& f, PackageExtensionFile& file) {
      file.exists = true;
      file.file_name = f.Text("file name", true);
      file.finalize = f.Text("finalization function", true);
      file.initialize = f.Text("initialization function", true);
      file.kind = f.I32("kind");
      List(f, file.functions, "function", false, [&](CCursor& fn, PackageExtensionFunction& func) {
        func.name = fn.Text("name", true);
        func.id = fn.I32("id");
        if (func.id < 0) Fail(fn.Where() + ": negative function id " + std::to_string(func.id));
        func.call_kind = fn.I32("call kind");
        func.return_kind = fn.I32("return kind");
        func.external_name = fn.Text("external name", true);
        uint32_t k = fn.Count("argument count", 4);
        func.argument_count = (int32_t)k;
        for (uint32_t i = 0; i < k; i++) {
          int32_t kind = fn.I32("argument kind");
          if (i < 16) func.argument_kinds.push_back(kind);
        }
      });
    });
  });
}

// EXTS: constants and code of extension files, placed by package, file and
// function position once every chunk is read.
void CPackageReader::ExtensionSources(CCursor& c) {
  List(c, m_extSources, "record", false, [&](CCursor& r, ExtensionSource& src) {
    src.where = r.Where();
    src.package = r.U32("package");
    src.file = r.U32("file");
    uint32_t constants = r.Count("constant count", 8);
    for (uint32_t i = 0; i < constants; i++) {
      std::string name = r.Text("constant name");
      src.constants.emplace_back(name, r.Text("constant value"));
    }
    uint32_t codes = r.Count("code count", 8);
    for (uint32_t i = 0; i < codes; i++) {
      uint32_t function = r.U32("function");
      src.codes.emplace_back(function, r.Text("code"));
    }
  });
}

void CPackageReader::ApplyExtensionSources() {
  for (ExtensionSource& src : m_extSources) {
    if (src.package >= m_out.extensions.size() || !m_out.extensions[src.package].exists)
      Fail(src.where + ": package " + Num(src.package) + " names no extension package");
    PackageExtension& e = m_out.extensions[src.package];
    if (src.file >= e.files.size() || !e.files[src.file].exists)
      Fail(src.where + ": file " + Num(src.file) + " names no file of package " + Num(src.package));
    PackageExtensionFile& file = e.files[src.file];
    for (auto& constant : src.constants) file.constants.push_back(std::move(constant));
    for (auto& [function, code] : src.codes) {
      if (function >= file.functions.size())
        Fail(src.where + ": function " + Num(function) + " names none of the " + Num(file.functions.size()) +
             " functions of its file");
      file.functions[function].code = std::move(code);
    }
  }
  m_extSources.clear();
}

// Indices that other subsystems will use to index tables must name entries.
void CPackageReader::CheckReferences() {
  const GamePackage& p = m_out;
  for (size_t i = 0; i < p.tpag.size(); i++)
    CheckIndex(p.tpag[i].texture_id, p.textures.size(), false, "TPAG: entry " + Num(i) + ": texture page");
  for (size_t i = 0; i < p.sprites.size(); i++)
    for (int32_t f : p.sprites[i].frames)
      CheckIndex(f, p.tpag.size(), false, "SPRT: sprite " + Num(i) + ": frame texture entry");
  for (size_t i = 0; i < p.backgrounds.size(); i++)
    if (p.backgrounds[i].exists)
      CheckIndex(p.backgrounds[i].tpag, p.tpag.size(), true, "BGND: background " + Num(i) + ": texture entry");
  for (size_t i = 0; i < p.fonts.size(); i++)
    if (p.fonts[i].exists) CheckIndex(p.fonts[i].tpag, p.tpag.size(), true, "FONT: font " + Num(i) + ": texture entry");
  for (size_t i = 0; i < p.objects.size(); i++) {
    const PackageObject& o = p.objects[i];
    if (!o.exists) continue;
    std::string where = "OBJT: object " + Num(i) + ": ";
    CheckIndex(o.sprite, p.sprites.size(), true, where + "sprite");
    CheckIndex(o.mask, p.sprites.size(), true, where + "mask");
    CheckIndex(o.parent, p.objects.size(), true, where + "parent");
  }
  for (size_t i = 0; i < p.rooms.size(); i++) {
    const PackageRoom& r = p.rooms[i];
    std::string where = "ROOM: room " + Num(i) + ": ";
    for (auto& b : r.backgrounds) CheckIndex(b.index, p.backgrounds.size(), true, where + "background");
    for (auto& v : r.views) CheckIndex(v.object, p.objects.size(), true, where + "view object");
    for (auto& inst : r.instances) CheckIndex(inst.object, p.objects.size(), false, where + "instance object");
    for (auto& t : r.tiles) CheckIndex(t.background, p.backgrounds.size(), false, where + "tile background");
  }
  for (int32_t room : p.general.room_order) CheckIndex(room, p.rooms.size(), false, "room order: room");
  for (size_t i = 0; i < p.sounds.size(); i++)
    if (p.sounds[i].exists && p.sounds[i].audio >= p.audio.size())
      Fail("SOND: sound " + Num(i) + ": audio index " + Num(p.sounds[i].audio) + " names none of the " +
           Num(p.audio.size()) + " AUDO entries");
}

void CPackageReader::Read() {
  const uint32_t size = m_view.Size();
  if (size < 8 || std::memcmp(m_out.buffer.data(), "FORM", 4) != 0) Fail("not a game package (no FORM header)");
  uint32_t formSize = 0;
  m_view.U32(4, formSize);
  if (formSize != size - 8)
    Fail("the FORM header gives " + Num(formSize) + " bytes but the file holds " + Num(size - 8));

  static const std::map<std::string, ChunkReader> readers = {
      {"GEN7", &CPackageReader::General},      {"GENL", &CPackageReader::General},
      {"GEN8", &CPackageReader::General},      {"OPTN", &CPackageReader::Options},
      {"STRG", &CPackageReader::Strings},      {"TXTR", &CPackageReader::Textures},
      {"TPAG", &CPackageReader::TexturePages}, {"SPRT", &CPackageReader::Sprites},
      {"BGND", &CPackageReader::Backgrounds},  {"FONT", &CPackageReader::Fonts},
      {"PATH", &CPackageReader::Paths},        {"SCPT", &CPackageReader::Scripts},
      {"TMLN", &CPackageReader::TimeLines},    {"OBJT", &CPackageReader::Objects},
      {"ROOM", &CPackageReader::Rooms},        {"DAFL", &CPackageReader::IncludedFiles},
      {"SOND", &CPackageReader::Sounds},       {"AUDO", &CPackageReader::Audio},
      {"EXTN", &CPackageReader::Extensions},   {"EXTS", &CPackageReader::ExtensionSources},
  };
  const std::map<std::string, PackageChunk*> raw = {
      {"SOND", &m_out.sond}, {"AUDO", &m_out.audo}, {"EXTN", &m_out.extn}, {"CODE", &m_out.code},
      {"VARI", &m_out.vari}, {"FUNC", &m_out.func}, {"HELP", &m_out.help}};

  std::set<std::string> seen;
  std::string unknown;
  uint32_t pos = 8;
  while (pos < size) {
    if (!m_view.Contains(pos, 8)) Fail("the chunk header at offset " + Num(pos) + " is cut short");
    std::string tag = TagText(m_out.buffer.data() + pos);
    uint32_t chunkSize = 0;
    m_view.U32(pos + 4, chunkSize);
    uint32_t payload = pos + 8;
    if (!m_view.Contains(payload, chunkSize))
      Fail("chunk '" + tag + "' at offset " + Num(pos) + ": its size " + Num(chunkSize) +
           " runs past the end of the file");
    bool general = tag == "GEN7" || tag == "GENL" || tag == "GEN8";
    if (!seen.insert(general ? "GEN" : tag).second)
      Fail("chunk '" + tag + "' at offset " + Num(pos) + " appears a second time");
    if (general) m_version = tag == "GEN7" ? 700 : 800;
    if (auto it = raw.find(tag); it != raw.end()) {
      it->second->present = true;
      it->second->offset = payload;
      m_view.Bytes(payload, chunkSize, it->second->bytes);
    }
    if (auto it = readers.find(tag); it != readers.end()) {
      // A chunk's fixed fields must lie inside the chunk; records it points
      // to may lie anywhere in the file.
      CPackageView chunkView(PackageBytes(m_out.buffer.data(), (size_t)payload + chunkSize));
      CCursor c(chunkView, m_view, payload, tag);
      (this->*(it->second))(c);
    } else if (!raw.count(tag)) {
      g_Console.Output("Unknown chunk '%s' at offset %u\n", tag.c_str(), pos);
      if (unknown.empty()) unknown = tag;
    }
    pos = payload + chunkSize;
  }
  if (!unknown.empty()) Fail("unknown chunk '" + unknown + "'");
  if (!seen.count("GEN")) Fail("no general chunk (GEN7, GENL or GEN8)");
  ApplyExtensionSources();
  CheckReferences();
}

bool Finish(bool ok, const std::string& reason, std::string& error) {
  if (ok) return true;
  error = reason;
  g_Console.Output("Failed to load the game: %s\n", reason.c_str());
  return false;
}

}  // namespace

bool DataFile_LoadPackageFromMemory(std::vector<uint8_t> bytes, GamePackage& out, std::string& error) {
  out = GamePackage();
  out.buffer = std::move(bytes);
  try {
    CPackageReader(out).Read();
    return Finish(true, "", error);
  } catch (const LoadError& e) {
    return Finish(false, e.text, error);
  } catch (const std::bad_alloc&) {
    return Finish(false, "out of memory", error);
  }
}

bool DataFile_LoadPackage(const char* path, GamePackage& out, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!File_ReadWhole(path, bytes))
    return Finish(false, std::string("cannot read ") + path + ": " + std::strerror(errno), error);
  if (bytes.size() > UINT32_MAX) return Finish(false, std::string(path) + " is too large for a game package", error);
  return DataFile_LoadPackageFromMemory(std::move(bytes), out, error);
}
