// Drawing a room: colour, backgrounds, then tiles and instances from the
// highest depth to the lowest, then foregrounds; once for each visible view.
#include <algorithm>
#include <vector>

#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Render.h"
#include "Run/Run_Main.h"

int g_ViewCurrent = 0;

namespace {
void DrawInstance(CInstance* inst) {
  CObject* obj = Object_Find(inst->object_index);
  if (obj && obj->FindEvent(EV_DRAW, 0, nullptr)) Event_Perform(inst, inst, EV_DRAW, 0);
  else RoomRender_Instance(inst);
}
}  // namespace

void CRoom::Draw() {
  std::vector<CInstance*> insts;
  for (CInstance* inst : active)
    if (inst->visible && !inst->marked) insts.push_back(inst);
  std::stable_sort(insts.begin(), insts.end(), [](CInstance* a, CInstance* b) { return a->depth > b->depth; });
  std::vector<const RoomTile*> layer;
  for (const RoomTile& t : tiles)
    if (t.visible) layer.push_back(&t);
  std::stable_sort(layer.begin(), layer.end(), [](const RoomTile* a, const RoomTile* b) { return a->depth > b->depth; });

  auto drawThrough = [&](const RoomView* view) {
    RoomRender_SetView(view, width, height);
    if (show_colour) RoomRender_Clear(colour);
    for (const RoomBackground& bg : backgrounds)
      if (bg.visible && !bg.foreground) RoomRender_Background(bg, width, height);
    size_t t = 0;
    for (CInstance* inst : insts) {
      while (t < layer.size() && layer[t]->depth >= inst->depth) RoomRender_Tile(*layer[t++]);
      if (g_PendingTransition != TRANSITION_NONE) return;
      if (!inst->marked) DrawInstance(inst);
    }
    while (t < layer.size()) RoomRender_Tile(*layer[t++]);
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
