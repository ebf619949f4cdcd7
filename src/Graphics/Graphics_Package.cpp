// Building the graphics resources from a loaded package: texture pages,
// their entries, sprites, backgrounds and fonts.
#include <algorithm>
#include <vector>

#include "Background/Background_Main.h"
#include "Base/Console.h"
#include "DataFile/DataFile_Package.h"
#include "Font/Font_Main.h"
#include "Graphics/Graphics_Image.h"
#include "Graphics/Graphics_Main.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Sprite/Sprite_Main.h"

namespace {

// Texture page entries with their page turned into a texture id (-1 when
// the page could not be made), and the page textures of every package loaded.
std::vector<TPageEntry> g_Entries;
std::vector<int> g_Pages;

void FreePages() {
  for (int id : g_Pages) GR_Texture_Free(id);
  g_Pages.clear();
  g_Entries.clear();
}
const bool g_OwnsTextures = GR_Texture_AddOwner(FreePages);

TPageEntry Entry(int index) {
  if (index < 0 || size_t(index) >= g_Entries.size()) {
    TPageEntry none;
    return none;
  }
  return g_Entries[size_t(index)];
}

void LoadPages(const GamePackage& pkg) {
  std::vector<int> textures;
  for (size_t i = 0; i < pkg.textures.size(); i++) {
    int id = GR_Texture_CreateFromImage(pkg.textures[i].png.data(), pkg.textures[i].png.size());
    if (id < 0) g_Console.Output("Texture page %d could not be made\n", int(i));
    else g_Pages.push_back(id);
    textures.push_back(id);
  }
  g_Entries.clear();
  for (const TexturePageEntry& t : pkg.tpag) {
    TPageEntry e;
    e.x = t.x;
    e.y = t.y;
    e.width = t.width;
    e.height = t.height;
    e.xoffset = t.x_offset;
    e.yoffset = t.y_offset;
    e.drawWidth = t.drawn_width;
    e.drawHeight = t.drawn_height;
    e.frameWidth = t.frame_width;
    e.frameHeight = t.frame_height;
    e.texture = t.texture_id >= 0 && size_t(t.texture_id) < textures.size() ? int16_t(textures[size_t(t.texture_id)]) : -1;
    g_Entries.push_back(e);
  }
}

CSprite* MakeSprite(const PackageSprite& ps) {
  CSprite* s = new CSprite();
  s->bboxMode = ps.bbox_mode;
  s->bboxLeft = ps.bbox_left;
  s->bboxTop = ps.bbox_top;
  s->bboxRight = ps.bbox_right;
  s->bboxBottom = ps.bbox_bottom;
  s->width = std::max(ps.width, 0);
  s->height = std::max(ps.height, 0);
  s->xorig = ps.x_origin;
  s->yorig = ps.y_origin;
  s->precise = ps.precise;
  s->transparent = ps.transparent;
  s->smooth = ps.smooth;
  s->preload = ps.preload;
  for (int32_t f : ps.frames) s->frames.push_back(Entry(f));
  s->numb = int(s->frames.size());
  size_t maskSize = size_t(s->width) * size_t(s->height);
  bool masksFit = std::all_of(ps.masks.begin(), ps.masks.end(), [&](const PackageMask& m) { return m.size() == maskSize; });
  if (masksFit) s->masks.assign(ps.masks.begin(), ps.masks.end());
  else g_Console.Output("Sprite %s has masks of the wrong size; its box is used instead\n", ps.name.c_str());
  return s;
}

CBackground* MakeBackground(const PackageBackground& pb) {
  CBackground* b = new CBackground();
  b->width = pb.width;
  b->height = pb.height;
  b->transparent = pb.transparent;
  b->smooth = pb.smooth;
  b->preload = pb.preload;
  b->tpe = Entry(pb.tpag);
  return b;
}

CFontCW* MakeFont(const PackageFont& pf) {
  CFontCW* f = new CFontCW();
  f->name = pf.font_name;
  f->size = pf.size;
  f->bold = pf.bold;
  f->italic = pf.italic;
  f->first = pf.first;
  f->last = pf.last;
  f->tpe = Entry(pf.tpag);
  for (const PackageGlyph& g : pf.glyphs) {
    if (g.code < 0 || g.code > 0xFFFF) continue;
    FontGlyph fg;
    fg.code = uint16_t(g.code);
    fg.x = int16_t(g.x);
    fg.y = int16_t(g.y);
    fg.w = int16_t(g.width);
    fg.h = int16_t(g.height);
    fg.shift = int16_t(g.shift);
    fg.offset = int16_t(g.offset);
    f->glyphs.push_back(fg);
  }
  std::sort(f->glyphs.begin(), f->glyphs.end(), [](const FontGlyph& a, const FontGlyph& b) { return a.code < b.code; });
  return f;
}

}  // namespace

void Graphics_LoadPackage(const GamePackage& pkg) {
  LoadPages(pkg);
  for (const PackageSprite& ps : pkg.sprites) Sprite_Append(ps.exists ? MakeSprite(ps) : nullptr, ps.name.c_str());
  for (const PackageBackground& pb : pkg.backgrounds)
    Background_Append(pb.exists ? MakeBackground(pb) : nullptr, pb.name.c_str());
  for (const PackageFont& pf : pkg.fonts) Font_Append(pf.exists ? MakeFont(pf) : nullptr, pf.name.c_str());
}
