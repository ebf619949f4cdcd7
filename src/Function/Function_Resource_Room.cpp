// The room built-ins: queries, the setters of a room as defined (a later
// start of the room sees them), adding and copying rooms, and their instance
// definitions and tiles. Setters do nothing, silently, for a missing room.
#include "Background/Background_Main.h"
#include "Code/Code_Error.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Resource.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"

namespace {
constexpr uint32_t BLEND_ALL = 0xFFFFFFFFu;  // the blend value -1

CRoom* Find(const RValue& v) { return Room_Data(RValue_RoundInt(v)); }
float F(const RValue& v) { return RValue_Single(v); }

template <int CRoom::*Field>
void F_RoomSetSize(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CRoom* r = Find(arg[0])) r->*Field = RValue_RoundInt(arg[1]);
}
template <bool CRoom::*Field>
void F_RoomSetFlag(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CRoom* r = Find(arg[0])) r->*Field = RValue_IsTrue(arg[1]);
}
void F_RoomSetCaption(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CRoom* r = Find(arg[0])) r->SetCaption(RValue_Text(arg[1]));
}
void F_RoomSetCode(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CRoom* r = Find(arg[0])) r->SetCode(RValue_IsString(arg[1]) ? RValue_Text(arg[1]) : nullptr);
}
void F_RoomSetBackgroundColor(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CRoom* r = Find(arg[0])) {
    r->colour = uint32_t(RValue_RoundInt(arg[1]));
    r->show_colour = RValue_IsTrue(arg[2]);
  }
}

void F_RoomSetBackground(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  CRoom* r = Find(arg[0]);
  int slot = RValue_RoundInt(arg[1]);
  if (!r || slot < 0 || slot >= ROOM_BACKGROUNDS) return;
  RoomBackground& b = r->backgrounds[slot];
  b.visible = RValue_IsTrue(arg[2]);
  b.foreground = RValue_IsTrue(arg[3]);
  b.index = RValue_RoundInt(arg[4]);
  b.x = F(arg[5]);
  b.y = F(arg[6]);
  b.htiled = RValue_IsTrue(arg[7]);
  b.vtiled = RValue_IsTrue(arg[8]);
  b.hspeed = F(arg[9]);
  b.vspeed = F(arg[10]);
  b.alpha = F(arg[11]);
  b.xscale = b.yscale = 1;
}

// The view's angle is kept.
void F_RoomSetView(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  CRoom* r = Find(arg[0]);
  int view = RValue_RoundInt(arg[1]);
  if (!r || view < 0 || view >= ROOM_VIEWS) return;
  RoomView& v = r->views[view];
  v.visible = RValue_IsTrue(arg[2]);
  v.xview = float(RValue_RoundInt(arg[3]));
  v.yview = float(RValue_RoundInt(arg[4]));
  v.wview = float(RValue_RoundInt(arg[5]));
  v.hview = float(RValue_RoundInt(arg[6]));
  v.xport = RValue_RoundInt(arg[7]);
  v.yport = RValue_RoundInt(arg[8]);
  v.wport = RValue_RoundInt(arg[9]);
  v.hport = RValue_RoundInt(arg[10]);
  v.hborder = RValue_RoundInt(arg[11]);
  v.vborder = RValue_RoundInt(arg[12]);
  v.hspeed = RValue_RoundInt(arg[13]);
  v.vspeed = RValue_RoundInt(arg[14]);
  v.object = RValue_RoundInt(arg[15]);
}

void F_RoomAdd(RValue& Result, CInstance*, CInstance*, int, const RValue*) { Give(Result, Room_Add()); }
void F_RoomDuplicate(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (!Find(arg[0])) {
    Error_Show_Action("Trying to duplicate non-existing room.", false);
    return;
  }
  Give(Result, Room_Duplicate(RValue_RoundInt(arg[0])));
}
void F_RoomAssign(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (Room_Assign(RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1])) <= 0) Error_Show_Action("Error assigning a room.", false);
}

// The object is not checked here: a definition of a missing object is
// skipped when the room starts.
void F_RoomInstanceAdd(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  CRoom* r = Find(arg[0]);
  Give(Result, r ? r->AddInstanceDef(F(arg[1]), F(arg[2]), RValue_RoundInt(arg[3])) : -1);
}
void F_RoomInstanceClear(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CRoom* r = Find(arg[0])) r->instance_defs.clear();
}

// The tile built-ins' arguments after the room: background, left, top,
// width, height, x, y, depth, all rounded.
RoomTile TileArgs(const RValue* a) {
  RoomTile t;
  t.background = RValue_RoundInt(a[0]);
  t.left = RValue_RoundInt(a[1]);
  t.top = RValue_RoundInt(a[2]);
  t.width = RValue_RoundInt(a[3]);
  t.height = RValue_RoundInt(a[4]);
  t.x = float(RValue_RoundInt(a[5]));
  t.y = float(RValue_RoundInt(a[6]));
  t.depth = float(RValue_RoundInt(a[7]));
  t.blend = BLEND_ALL;
  t.alpha = 1;
  t.visible = true;
  return t;
}

bool BackgroundOrReport(const RValue& v) {
  if (Background_Exists(RValue_RoundInt(v))) return true;
  Error_Show_Action("Background does not exist.", false);
  return false;
}

// A visible tile of full alpha; -1 for a missing background or room.
void F_RoomTileAdd(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Give(Result, -1);
  if (!BackgroundOrReport(arg[1])) return;
  if (CRoom* r = Find(arg[0])) Give(Result, r->tiles[size_t(r->AddTile(TileArgs(arg + 1)))].id);
}

// Scale and alpha as given; 0 for a missing background or room.
void F_RoomTileAddExt(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (!BackgroundOrReport(arg[1])) return;
  CRoom* r = Find(arg[0]);
  if (!r) return;
  RoomTile t = TileArgs(arg + 1);
  t.xscale = F(arg[9]);
  t.yscale = F(arg[10]);
  t.alpha = F(arg[11]);
  Give(Result, r->tiles[size_t(r->AddTile(t))].id);
}
void F_RoomTileClear(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CRoom* r = Find(arg[0])) r->ClearTiles();
}
}  // namespace

void Function_Resource_Room_Init() {
  Function_Add("room_exists", Resource_Exists<Room_Exists>, 1);
  Function_Add("room_get_name", Resource_Name<Room_Name>, 1);
  Function_Add("room_name", Resource_Name<Room_Name>, 1);
  Function_Add("room_set_width", F_RoomSetSize<&CRoom::width>, 2);
  Function_Add("room_set_height", F_RoomSetSize<&CRoom::height>, 2);
  Function_Add("room_set_caption", F_RoomSetCaption, 2);
  Function_Add("room_set_persistent", F_RoomSetFlag<&CRoom::persistent>, 2);
  Function_Add("room_set_code", F_RoomSetCode, 2);
  Function_Add("room_set_background_color", F_RoomSetBackgroundColor, 3);
  Function_Add("room_set_background", F_RoomSetBackground, 12);
  Function_Add("room_set_view", F_RoomSetView, 16);
  Function_Add("room_set_view_enabled", F_RoomSetFlag<&CRoom::views_enabled>, 2);
  Function_Add("room_add", F_RoomAdd, 0);
  Function_Add("room_duplicate", F_RoomDuplicate, 1);
  Function_Add("room_assign", F_RoomAssign, 2);
  Function_Add("room_instance_add", F_RoomInstanceAdd, 4);
  Function_Add("room_instance_clear", F_RoomInstanceClear, 1);
  Function_Add("room_tile_add", F_RoomTileAdd, 9);
  Function_Add("room_tile_add_ext", F_RoomTileAddExt, 12);
  Function_Add("room_tile_clear", F_RoomTileClear, 1);
}
