// Writes the records of a GamePackage as a package file image, in the layout
// of docs/package-format.md. Texts are collected while the chunks are written
// and placed, each distinct text once, in the STRG chunk at the end; their
// offset fields are filled in then.
#include "gamepack/Gamepack_Write.h"

#include <cstring>
#include <map>

namespace {

class CPackageWriter {
 public:
  std::vector<uint8_t> Take() { return std::move(m_out); }
  uint32_t Pos() const { return (uint32_t)m_out.size(); }

  void U32(uint32_t v) { Raw(&v, 4); }
  void I32(int32_t v) { Raw(&v, 4); }
  void F32(float v) { Raw(&v, 4); }
  void I16(int16_t v) { Raw(&v, 2); }
  void Flag(bool v) { U32(v ? 1 : 0); }
  void Tag(const char* tag) { Raw(tag, 4); }
  void Bytes(PackageBytes bytes) {
    if (!bytes.empty()) Raw(bytes.data(), bytes.size());
  }
  // A counted blob: u32 length, then the bytes.
  void Blob(PackageBytes bytes) {
    U32((uint32_t)bytes.size());
    Bytes(bytes);
  }
  // A text field; its offset is filled in when the strings are written.
  void Text(const std::string& text) {
    m_textFields.emplace_back(Pos(), text);
    U32(0);
  }

  // A u32 field written now and set later.
  uint32_t Reserve() {
    uint32_t at = Pos();
    U32(0);
    return at;
  }
  void Patch(uint32_t at, uint32_t v) { std::memcpy(&m_out[at], &v, 4); }

  // A list: the count, an offset per item, then each present item's record.
  template <class T, class Exists, class Record>
  void List(const std::vector<T>& items, Exists exists, Record record) {
    U32((uint32_t)items.size());
    uint32_t table = Pos();
    for (size_t i = 0; i < items.size(); i++) U32(0);
    for (size_t i = 0; i < items.size(); i++) {
      if (!exists(items[i])) continue;
      Patch(table + 4 * (uint32_t)i, Pos());
      record(items[i]);
    }
  }

  template <class Body>
  void Chunk(const char* tag, Body body) {
    Tag(tag);
    uint32_t size = Reserve();
    body();
    Patch(size, Pos() - size - 4);
  }

  // STRG: every distinct text once; then the text fields are filled in.
  void Strings() {
    std::map<std::string, uint32_t> where;
    for (auto& field : m_textFields) where.emplace(field.second, 0);
    Chunk("STRG", [&] {
      U32((uint32_t)where.size());
      uint32_t table = Pos();
      for (size_t i = 0; i < where.size(); i++) U32(0);
      uint32_t i = 0;
      for (auto& [text, offset] : where) {
        Patch(table + 4 * i++, Pos());
        U32((uint32_t)text.size());
        offset = Pos();
        Raw(text.data(), text.size());
        Raw("", 1);
      }
    });
    for (auto& [at, text] : m_textFields) Patch(at, where[text]);
  }

 private:
  void Raw(const void* data, size_t n) {
    const uint8_t* p = (const uint8_t*)data;
    m_out.insert(m_out.end(), p, p + n);
  }

  std::vector<uint8_t> m_out;
  std::vector<std::pair<uint32_t, std::string>> m_textFields;
};

template <class T>
bool Exists(const T& item) { return item.exists; }
template <class T>
bool Always(const T&) { return true; }

void WriteGeneral(CPackageWriter& w, const PackageGeneral& g) {
  w.Chunk(g.version == 700 ? "GEN7" : "GEN8", [&] {
    w.Flag(g.debug);
    w.Text(g.name);
    w.Text(g.caption);
    w.U32(g.game_id);
    w.U32(g.major);
    w.U32(g.minor);
    w.U32(g.release);
    w.U32(g.build);
    w.I32(g.window_width);
    w.I32(g.window_height);
    w.I32(g.last_instance_id);
    w.I32(g.last_tile_id);
    w.U32((uint32_t)g.room_order.size());
    for (int32_t room : g.room_order) w.I32(room);
  });
}

void WriteOptions(CPackageWriter& w, const PackageOptions& o) {
  w.Chunk("OPTN", [&] {
    const uint32_t words[35] = {
        o.fullscreen, o.interpolate, o.new_audio, o.borderless, o.show_cursor,
        (uint32_t)o.scale, o.sizeable, o.stay_on_top, o.window_colour, o.change_resolution,
        (uint32_t)o.colour_depth, (uint32_t)o.resolution, (uint32_t)o.frequency, o.no_buttons, o.vsync,
        o.no_screensaver, o.key_fullscreen, o.key_help, o.key_quit, o.key_save_load,
        o.key_screenshot, o.close_as_escape, (uint32_t)o.priority, o.freeze_when_inactive,
        o.show_progress, o.show_errors, o.write_errors, o.errors_fatal, o.unknown_variables_zero};
    w.U32(35);
    for (uint32_t word : words) w.U32(word);
    w.U32((uint32_t)o.constants.size());
    for (auto& [name, value] : o.constants) {
      w.Text(name);
      w.Text(value);
    }
  });
}

void WriteExtensions(CPackageWriter& w, const std::vector<PackageExtension>& extensions) {
  w.Chunk("EXTN", [&] {
    w.List(extensions, Exists<PackageExtension>, [&](const PackageExtension& e) {
      w.Text(e.folder);
      w.Text(e.name);
      w.List(e.files, Exists<PackageExtensionFile>, [&](const PackageExtensionFile& f) {
        w.Text(f.file_name);
        w.Text(f.finalize);
        w.Text(f.initialize);
        w.I32(f.kind);
        w.List(f.functions, Always<PackageExtensionFunction>, [&](const PackageExtensionFunction& fn) {
          w.Text(fn.name);
          w.I32(fn.id);
          w.I32(fn.call_kind);
          w.I32(fn.return_kind);
          w.Text(fn.external_name);
          // K kinds follow the count; those the record does not keep are real.
          w.I32(fn.argument_count);
          for (int32_t i = 0; i < fn.argument_count; i++)
            w.I32(i < (int32_t)fn.argument_kinds.size() ? fn.argument_kinds[i] : 2);
        });
      });
    });
  });
}

// EXTS: one record per extension file that has constants or code.
void WriteExtensionSources(CPackageWriter& w, const std::vector<PackageExtension>& extensions) {
  struct Source {
    uint32_t package, file;
    const PackageExtensionFile* f;
  };
  std::vector<Source> sources;
  for (size_t p = 0; p < extensions.size(); p++)
    for (size_t n = 0; n < extensions[p].files.size(); n++) {
      const PackageExtensionFile& f = extensions[p].files[n];
      bool code = false;
      for (const PackageExtensionFunction& fn : f.functions) code = code || !fn.code.empty();
      if (extensions[p].exists && f.exists && (code || !f.constants.empty()))
        sources.push_back({(uint32_t)p, (uint32_t)n, &f});
    }
  if (sources.empty()) return;
  w.Chunk("EXTS", [&] {
    w.List(sources, Always<Source>, [&](const Source& src) {
      w.U32(src.package);
      w.U32(src.file);
      w.U32((uint32_t)src.f->constants.size());
      for (const auto& [name, value] : src.f->constants) {
        w.Text(name);
        w.Text(value);
      }
      uint32_t codes = 0;
      for (const PackageExtensionFunction& fn : src.f->functions) codes += !fn.code.empty();
      w.U32(codes);
      for (size_t k = 0; k < src.f->functions.size(); k++) {
        if (src.f->functions[k].code.empty()) continue;
        w.U32((uint32_t)k);
        w.Text(src.f->functions[k].code);
      }
    });
  });
}

void WriteSounds(CPackageWriter& w, const GamePackage& p) {
  w.Chunk("SOND", [&] {
    w.List(p.sounds, Exists<PackageSound>, [&](const PackageSound& s) {
      w.Text(s.name);
      w.I32(s.kind);
      w.Text(s.extension);
      w.Text(s.file_name);
      w.U32(s.effects);
      w.F32(s.volume);
      w.F32(s.pan);
      w.Flag(s.preload);
      w.U32(s.audio);
    });
  });
  w.Chunk("AUDO", [&] {
    w.List(p.audio, Always<PackageBytes>, [&](PackageBytes blob) { w.Blob(blob); });
  });
}

// Masks go out as rows of bits, leftmost pixel in the most significant bit.
void WriteMask(CPackageWriter& w, const PackageMask& mask, int32_t width, int32_t height) {
  int32_t stride = (width + 7) / 8;
  std::vector<uint8_t> bits((size_t)stride * height, 0);
  for (int32_t y = 0; y < height; y++)
    for (int32_t x = 0; x < width; x++)
      if (mask[(size_t)y * width + x]) bits[(size_t)y * stride + x / 8] |= (uint8_t)(0x80 >> (x % 8));
  w.Bytes(bits);
}

void WriteSprites(CPackageWriter& w, const std::vector<PackageSprite>& sprites) {
  w.Chunk("SPRT", [&] {
    w.List(sprites, Exists<PackageSprite>, [&](const PackageSprite& s) {
      w.Text(s.name);
      w.I32(s.width);
      w.I32(s.height);
      w.I32(s.x_origin);
      w.I32(s.y_origin);
      w.I32(s.bbox_mode);
      w.I32(s.bbox_left);
      w.I32(s.bbox_top);
      w.I32(s.bbox_right);
      w.I32(s.bbox_bottom);
      w.Flag(s.precise);
      w.Flag(s.transparent);
      w.Flag(s.smooth);
      w.Flag(s.preload);
      w.U32((uint32_t)s.frames.size());
      for (int32_t tpag : s.frames) w.I32(tpag);
      w.U32((uint32_t)s.masks.size());
      for (auto& mask : s.masks) WriteMask(w, mask, s.width, s.height);
    });
  });
}

void WriteBackgrounds(CPackageWriter& w, const std::vector<PackageBackground>& backgrounds) {
  w.Chunk("BGND", [&] {
    w.List(backgrounds, Exists<PackageBackground>, [&](const PackageBackground& b) {
      w.Text(b.name);
      w.I32(b.width);
      w.I32(b.height);
      w.Flag(b.transparent);
      w.Flag(b.smooth);
      w.Flag(b.preload);
      w.I32(b.tpag);
    });
  });
}

void WritePaths(CPackageWriter& w, const std::vector<PackagePath>& paths) {
  w.Chunk("PATH", [&] {
    w.List(paths, Exists<PackagePath>, [&](const PackagePath& p) {
      w.Text(p.name);
      w.I32(p.kind);
      w.Flag(p.closed);
      w.I32(p.precision);
      w.U32((uint32_t)p.points.size());
      for (auto& pt : p.points) {
        w.F32(pt.x);
        w.F32(pt.y);
        w.F32(pt.speed);
      }
    });
  });
}

void WriteScripts(CPackageWriter& w, const std::vector<PackageScript>& scripts) {
  w.Chunk("SCPT", [&] {
    w.List(scripts, Exists<PackageScript>, [&](const PackageScript& s) {
      w.Text(s.name);
      w.Text(s.code);
    });
  });
}

void WriteFonts(CPackageWriter& w, const std::vector<PackageFont>& fonts) {
  w.Chunk("FONT", [&] {
    w.List(fonts, Exists<PackageFont>, [&](const PackageFont& f) {
      w.Text(f.name);
      w.Text(f.font_name);
      w.I32(f.size);
      w.Flag(f.bold);
      w.Flag(f.italic);
      w.I32(f.first);
      w.I32(f.last);
      w.I32(f.tpag);
      w.U32((uint32_t)f.glyphs.size());
      for (auto& g : f.glyphs) {
        for (int32_t v : {g.code, g.x, g.y, g.width, g.height, g.shift, g.offset}) w.I32(v);
      }
    });
  });
}

void WriteTimeLines(CPackageWriter& w, const std::vector<PackageTimeLine>& timelines) {
  w.Chunk("TMLN", [&] {
    w.List(timelines, Exists<PackageTimeLine>, [&](const PackageTimeLine& t) {
      w.Text(t.name);
      w.U32((uint32_t)t.moments.size());
      for (auto& m : t.moments) {
        w.I32(m.step);
        w.Text(m.code);
      }
    });
  });
}

void WriteObjectPhysics(CPackageWriter& w, const PackageObjectPhysics& p) {
  w.Flag(p.enabled);
  if (!p.enabled) return;
  w.I32(p.shape);
  w.F32(p.radius);
  w.F32(p.width);
  w.F32(p.height);
  w.U32((uint32_t)p.points.size());
  for (auto& [x, y] : p.points) {
    w.F32(x);
    w.F32(y);
  }
  for (float f : {p.density, p.restitution, p.friction, p.linear_damping, p.angular_damping}) w.F32(f);
  w.I32(p.collision_group);
  w.Flag(p.sensor);
  w.Flag(p.awake);
  w.Flag(p.kinematic);
}

void WriteRoomPhysics(CPackageWriter& w, const PackageRoomPhysics& p) {
  w.Flag(p.enabled);
  w.F32(p.gravity_x);
  w.F32(p.gravity_y);
  w.F32(p.scale);
}

void WriteObjects(CPackageWriter& w, const std::vector<PackageObject>& objects) {
  w.Chunk("OBJT", [&] {
    w.List(objects, Exists<PackageObject>, [&](const PackageObject& o) {
      w.Text(o.name);
      w.I32(o.sprite);
      w.Flag(o.solid);
      w.Flag(o.visible);
      w.I32(o.depth);
      w.Flag(o.persistent);
      w.I32(o.parent);
      w.I32(o.mask);
      w.U32((uint32_t)o.events.size());
      for (auto& e : o.events) {
        w.I32(e.type);
        w.I32(e.number);
        w.Text(e.code);
      }
      WriteObjectPhysics(w, o.physics);
    });
  });
}

void WriteRoom(CPackageWriter& w, const PackageRoom& r) {
  w.Text(r.name);
  w.Text(r.caption);
  w.I32(r.width);
  w.I32(r.height);
  w.I32(r.speed);
  w.Flag(r.persistent);
  w.U32(r.colour);
  w.Flag(r.show_colour);
  w.Text(r.code);
  w.Flag(r.views_enabled);
  for (auto& b : r.backgrounds) {
    w.Flag(b.visible);
    w.Flag(b.foreground);
    w.I32(b.index);
    w.F32(b.x);
    w.F32(b.y);
    w.Flag(b.htiled);
    w.Flag(b.vtiled);
    w.F32(b.hspeed);
    w.F32(b.vspeed);
    w.F32(b.xscale);
    w.F32(b.yscale);
    w.Flag(b.stretch);
    w.F32(b.alpha);
  }
  for (auto& v : r.views) {
    w.Flag(v.visible);
    for (int32_t i : {v.xview, v.yview, v.wview, v.hview, v.xport, v.yport, v.wport, v.hport}) w.I32(i);
    w.F32(v.angle);
    for (int32_t i : {v.hborder, v.vborder, v.hspeed, v.vspeed, v.object}) w.I32(i);
  }
  w.U32((uint32_t)r.instances.size());
  for (auto& inst : r.instances) {
    w.F32(inst.x);
    w.F32(inst.y);
    w.I32(inst.object);
    w.I32(inst.id);
    w.Text(inst.code);
  }
  w.U32((uint32_t)r.tiles.size());
  for (auto& t : r.tiles) {
    w.F32(t.x);
    w.F32(t.y);
    for (int32_t i : {t.background, t.left, t.top, t.width, t.height}) w.I32(i);
    w.F32(t.depth);
    w.I32(t.id);
    w.F32(t.xscale);
    w.F32(t.yscale);
    w.U32(t.blend);
    w.F32(t.alpha);
    w.Flag(t.visible);
  }
  WriteRoomPhysics(w, r.physics);
}

void WriteIncludedFiles(CPackageWriter& w, const std::vector<PackageIncludedFile>& files) {
  w.Chunk("DAFL", [&] {
    w.List(files, Always<PackageIncludedFile>, [&](const PackageIncludedFile& f) {
      w.Text(f.name);
      w.I32(f.export_mode);
      w.Text(f.export_folder);
      w.Flag(f.overwrite);
      w.Flag(f.free_after_export);
      w.Flag(f.remove_at_end);
      w.Blob(f.data);
    });
  });
}

void WriteTextures(CPackageWriter& w, const GamePackage& p) {
  w.Chunk("TPAG", [&] {
    w.U32((uint32_t)p.tpag.size());
    for (auto& t : p.tpag) {
      for (int16_t v : {t.x, t.y, t.width, t.height, t.x_offset, t.y_offset, t.drawn_width,
                        t.drawn_height, t.frame_width, t.frame_height, t.texture_id})
        w.I16(v);
    }
  });
  w.Chunk("TXTR", [&] {
    w.List(p.textures, Always<PackageTexture>, [&](const PackageTexture& t) { w.Blob(t.png); });
  });
}

}  // namespace

std::vector<uint8_t> DataFile_WritePackage(const GamePackage& p) {
  CPackageWriter w;
  w.Tag("FORM");
  uint32_t formSize = w.Reserve();
  WriteGeneral(w, p.general);
  WriteOptions(w, p.options);
  WriteExtensions(w, p.extensions);
  WriteExtensionSources(w, p.extensions);
  WriteSounds(w, p);
  WriteSprites(w, p.sprites);
  WriteBackgrounds(w, p.backgrounds);
  WritePaths(w, p.paths);
  WriteScripts(w, p.scripts);
  WriteFonts(w, p.fonts);
  WriteTimeLines(w, p.timelines);
  WriteObjects(w, p.objects);
  w.Chunk("ROOM", [&] { w.List(p.rooms, Exists<PackageRoom>, [&](const PackageRoom& r) { WriteRoom(w, r); }); });
  WriteIncludedFiles(w, p.included_files);
  WriteTextures(w, p);
  w.Strings();
  w.Patch(formSize, w.Pos() - 8);
  return w.Take();
}
