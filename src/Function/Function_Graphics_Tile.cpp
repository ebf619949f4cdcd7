// Tile built-ins: the tiles of the current room, by id and by depth layer.
#include "Background/Background_Main.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Graphics.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"

namespace {
// The tile a rounded id argument names; null (after the report) when the
// current room has none of that id.
RoomTile* TileArg(const RValue& v) {
  int index = g_RunRoom ? g_RunRoom->FindTileById(RValue_RoundInt(v)) : -1;
  if (index < 0) {
    Error_Show_Action("Tile does not exist.", false);
    return nullptr;
  }
  return &g_RunRoom->tiles[static_cast<size_t>(index)];
}

// Layer depths come as reals; the room compares them with its tiles' depths.
float Depth(const RValue& v) { return static_cast<float>(RValue_Real(v)); }

void F_TileAdd(RValue& result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&result, -1);
  int back = RValue_RoundInt(arg[0]);
  if (!Background_Exists(back)) {
    Error_Show_Action("Background does not exist.", false);
    return;
  }
  if (!g_RunRoom) return;
  int id = g_RunRoom->AddTileDef(back, RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]), RValue_RoundInt(arg[3]),
                                 RValue_RoundInt(arg[4]), RValue_Single(arg[5]), RValue_Single(arg[6]),
                                 RValue_Single(arg[7]));
  RValue_SetReal(&result, id);
}

void F_TileDelete(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (g_RunRoom) g_RunRoom->DeleteTile(g_RunRoom->FindTileById(RValue_RoundInt(arg[0])));
}

void F_TileExists(RValue& result, CInstance*, CInstance*, int, const RValue* arg) {
  bool found = g_RunRoom && g_RunRoom->FindTileById(RValue_RoundInt(arg[0])) >= 0;
  RValue_SetReal(&result, found ? 1 : 0);
}

void F_TileFind(RValue& result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&result, -1);
  if (!g_RunRoom) return;
  int index = g_RunRoom->FindTileAt(static_cast<float>(RValue_RoundInt(arg[0])),
                                    static_cast<float>(RValue_RoundInt(arg[1])), RValue_IsTrue(arg[2]));
  if (index >= 0) RValue_SetReal(&result, g_RunRoom->tiles[static_cast<size_t>(index)].id);
}

void F_TileDeleteAt(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (g_RunRoom)
    g_RunRoom->DeleteTileAt(static_cast<float>(RValue_RoundInt(arg[0])), static_cast<float>(RValue_RoundInt(arg[1])),
                            RValue_IsTrue(arg[2]));
}

void F_TileLayerFind(RValue& result, CInstance*, CInstance*, int, const RValue* arg) {
  RValue_SetReal(&result, -1);
  if (!g_RunRoom) return;
  int index = g_RunRoom->FindTileInLayer(Depth(arg[0]), RValue_Single(arg[1]), Depth(arg[2]));
  if (index >= 0) RValue_SetReal(&result, g_RunRoom->tiles[static_cast<size_t>(index)].id);
}

void F_TileLayerHide(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (g_RunRoom) g_RunRoom->HideTileLayer(Depth(arg[0]));
}

void F_TileLayerShow(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (g_RunRoom) g_RunRoom->ShowTileLayer(Depth(arg[0]));
}

void F_TileLayerDelete(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (g_RunRoom) g_RunRoom->DeleteTileLayer(Depth(arg[0]));
}

void F_TileLayerShift(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (g_RunRoom) g_RunRoom->ShiftTileLayer(Depth(arg[0]), RValue_Single(arg[1]), Depth(arg[2]));
}

void F_TileLayerDeleteAt(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (g_RunRoom) g_RunRoom->DeleteTileLayerAt(Depth(arg[0]), RValue_Single(arg[1]), Depth(arg[2]));
}

void F_TileLayerDepth(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (g_RunRoom) g_RunRoom->SetTileLayerDepth(Depth(arg[0]), RValue_Single(arg[1]));
}

// The getters: one field of the tile, 0 (after the report) without one.
#define TILE_GETTER(NAME, EXPR)                                         \
  void NAME(RValue& result, CInstance*, CInstance*, int, const RValue* arg) { \
    if (const RoomTile* t = TileArg(arg[0])) RValue_SetReal(&result, EXPR); \
  }
TILE_GETTER(F_TileGetX, t->x)
TILE_GETTER(F_TileGetY, t->y)
TILE_GETTER(F_TileGetLeft, t->left)
TILE_GETTER(F_TileGetTop, t->top)
TILE_GETTER(F_TileGetWidth, t->width)
TILE_GETTER(F_TileGetHeight, t->height)
TILE_GETTER(F_TileGetDepth, t->depth)
TILE_GETTER(F_TileGetVisible, t->visible ? 1 : 0)
TILE_GETTER(F_TileGetXScale, t->xscale)
TILE_GETTER(F_TileGetYScale, t->yscale)
TILE_GETTER(F_TileGetBlend, t->blend)
TILE_GETTER(F_TileGetAlpha, t->alpha)
TILE_GETTER(F_TileGetBackground, t->background)
#undef TILE_GETTER

void F_TileSetPosition(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (RoomTile* t = TileArg(arg[0])) t->x = RValue_Single(arg[1]), t->y = RValue_Single(arg[2]);
}

void F_TileSetVisible(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (RoomTile* t = TileArg(arg[0])) t->visible = RValue_IsTrue(arg[1]);
}

void F_TileSetBackground(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (RoomTile* t = TileArg(arg[0])) t->background = Arg_SingleRound(arg[1]);
}

void F_TileSetRegion(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (RoomTile* t = TileArg(arg[0])) {
    t->left = Arg_SingleRound(arg[1]);
    t->top = Arg_SingleRound(arg[2]);
    t->width = Arg_SingleRound(arg[3]);
    t->height = Arg_SingleRound(arg[4]);
  }
}

void F_TileSetDepth(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (RoomTile* t = TileArg(arg[0])) t->depth = RValue_Single(arg[1]);
}

void F_TileSetScale(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (RoomTile* t = TileArg(arg[0])) t->xscale = RValue_Single(arg[1]), t->yscale = RValue_Single(arg[2]);
}

void F_TileSetBlend(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (RoomTile* t = TileArg(arg[0])) t->blend = Arg_Colour(arg[1]);
}

void F_TileSetAlpha(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (RoomTile* t = TileArg(arg[0])) t->alpha = RValue_Single(arg[1]);
}
}  // namespace

void Function_Graphics_Tile_Init() {
  Function_Add("tile_add", F_TileAdd, 8);
  Function_Add("tile_delete", F_TileDelete, 1);
  Function_Add("tile_exists", F_TileExists, 1);
  Function_Add("tile_find", F_TileFind, 3);
  Function_Add("tile_delete_at", F_TileDeleteAt, 3);
  Function_Add("tile_layer_find", F_TileLayerFind, 3);
  Function_Add("tile_layer_hide", F_TileLayerHide, 1);
  Function_Add("tile_layer_show", F_TileLayerShow, 1);
  Function_Add("tile_layer_delete", F_TileLayerDelete, 1);
  Function_Add("tile_layer_shift", F_TileLayerShift, 3);
  Function_Add("tile_layer_delete_at", F_TileLayerDeleteAt, 3);
  Function_Add("tile_layer_depth", F_TileLayerDepth, 2);
  Function_Add("tile_get_x", F_TileGetX, 1);
  Function_Add("tile_get_y", F_TileGetY, 1);
  Function_Add("tile_get_left", F_TileGetLeft, 1);
  Function_Add("tile_get_top", F_TileGetTop, 1);
  Function_Add("tile_get_width", F_TileGetWidth, 1);
  Function_Add("tile_get_height", F_TileGetHeight, 1);
  Function_Add("tile_get_depth", F_TileGetDepth, 1);
  Function_Add("tile_get_visible", F_TileGetVisible, 1);
  Function_Add("tile_get_xscale", F_TileGetXScale, 1);
  Function_Add("tile_get_yscale", F_TileGetYScale, 1);
  Function_Add("tile_get_blend", F_TileGetBlend, 1);
  Function_Add("tile_get_alpha", F_TileGetAlpha, 1);
  Function_Add("tile_get_background", F_TileGetBackground, 1);
  Function_Add("tile_set_position", F_TileSetPosition, 3);
  Function_Add("tile_set_visible", F_TileSetVisible, 2);
  Function_Add("tile_set_background", F_TileSetBackground, 2);
  Function_Add("tile_set_region", F_TileSetRegion, 5);
  Function_Add("tile_set_depth", F_TileSetDepth, 2);
  Function_Add("tile_set_scale", F_TileSetScale, 3);
  Function_Add("tile_set_blend", F_TileSetBlend, 2);
  Function_Add("tile_set_alpha", F_TileSetAlpha, 2);
}
