// Drawing a room: colour, backgrounds, then tiles and instances from the
// highest depth to the lowest with the particle systems among them, then
// foregrounds; once for each visible view. Effects lie just below and just
// above the tiles and instances.
#include <algorithm>
#include <limits>
#include <vector>

#include "Code/Code_Context.h"
#include "Code/Code_World.h"
#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Particle/Particle_Effect.h"
#include "Particle/Particle_System.h"
#include "Room/Room_Class.h"
#include "Room/Room_Render.h"

int g_ViewCurrent = 0;

namespace {
void DrawInstance(CInstance* inst) {
  CObject* obj = Object_Find(inst->object_index);
  if (obj && obj->FindEvent(EV_DRAW, 0, nullptr)) Event_Perform(inst, inst, EV_DRAW, 0);
  else RoomRender_Instance(inst);
}
}  // namespace

// Moves a view edge towards a wanted position by at most speed (-1: any).
static float Follow(float from, float to, int speed) {
  if (speed < 0) return to;
  float step = std::clamp(to - from, static_cast<float>(-speed), static_cast<float>(speed));
  return from + step;
}

void CRoom::UpdateViews() {
  if (!views_enabled) return;
  for (RoomView& v : views) {
    if (!v.visible || v.object < 0) continue;
    std::vector<CInstance*> found;
    Code_CollectTargets(v.object, nullptr, nullptr, found);
    if (found.empty()) continue;
    CInstance* inst = found.front();
    float x = v.xview, y = v.yview;
    float hb = std::min(static_cast<float>(v.hborder), v.wview / 2), vb = std::min(static_cast<float>(v.vborder), v.hview / 2);
    if (inst->x - hb < x) x = inst->x - hb;
    if (inst->x + hb > x + v.wview) x = inst->x + hb - v.wview;
    if (inst->y - vb < y) y = inst->y - vb;
    if (inst->y + vb > y + v.hview) y = inst->y + vb - v.hview;
    // Within the room, when the room is larger than the view.
    x = std::max(0.0f, std::min(x, width - v.wview));
    y = std::max(0.0f, std::min(y, height - v.hview));
    v.xview = Follow(v.xview, x, v.hspeed);
    v.yview = Follow(v.yview, y, v.vspeed);
  }
}

void CRoom::Draw() {
  std::vector<CInstance*> insts;
  for (CInstance* inst : active)
    if (inst->visible && !inst->marked) insts.push_back(inst);
  std::stable_sort(insts.begin(), insts.end(), [](CInstance* a, CInstance* b) { return a->depth > b->depth; });
  std::vector<const RoomTile*> layer;
  for (const RoomTile& t : tiles)
    if (t.visible) layer.push_back(&t);
  std::stable_sort(layer.begin(), layer.end(), [](const RoomTile* a, const RoomTile* b) { return a->depth > b->depth; });
  // Particle systems drawn automatically, among the tiles and instances by
  // depth (after the tiles of their depth, before its instances).
  std::vector<CParticleSystem*> systems;
  for (int i = 0; i < ParticleSystem_TableSize(); i++)
    if (CParticleSystem* ps = ParticleSystem_Get(i); ps && ps->autoDraw) systems.push_back(ps);
  std::stable_sort(systems.begin(), systems.end(),
                   [](const CParticleSystem* a, const CParticleSystem* b) { return a->depth > b->depth; });

  auto drawThrough = [&](const RoomView* view) {
    RoomRender_SetView(view, width, height);
    if (show_colour) RoomRender_Clear(colour);
    for (const RoomBackground& bg : backgrounds)
      if (bg.visible && !bg.foreground) RoomRender_Background(bg, width, height);
    Effect_Draw(true);
    size_t t = 0, s = 0;
    // Everything deeper than the depth, or as deep for tiles and systems.
    auto drawDownTo = [&](float depth) {
      while (true) {
        bool tile = t < layer.size() && layer[t]->depth >= depth;
        bool system = s < systems.size() && systems[s]->depth >= depth;
        if (tile && (!system || layer[t]->depth >= systems[s]->depth)) RoomRender_Tile(*layer[t++]);
        else if (system) systems[s++]->Draw();
        else break;
      }
    };
    for (CInstance* inst : insts) {
      drawDownTo(inst->depth);
      if (g_PendingTransition != TRANSITION_NONE) return;
      if (!inst->marked) DrawInstance(inst);
    }
    drawDownTo(-std::numeric_limits<float>::infinity());
    while (t < layer.size()) RoomRender_Tile(*layer[t++]);
    while (s < systems.size()) systems[s++]->Draw();
    Effect_Draw(false);
    for (const RoomBackground& bg : backgrounds)
      if (bg.visible && bg.foreground) RoomRender_Background(bg, width, height);
  };

  bool any = false;
  if (views_enabled) {
    for (int v = 0; v < ROOM_VIEWS; v++) {
      if (!views[v].visible) continue;
      any = true;
      g_ViewCurrent = v;
      drawThrough(&views[v]);
    }
  }
  g_ViewCurrent = 0;
  if (!any) drawThrough(nullptr);
}
