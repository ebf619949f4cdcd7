#include "Run/Run_SaveGame.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "Base/Console.h"
#include "Graphics_API/Window_Main.h"
#include "Object/Instance_Class.h"
#include "Object/Instance_Main.h"
#include "Object/Instance_Vars.h"
#include "Object/Object_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Run/Run_Physics.h"
#include "Run/Run_Hooks.h"
#include "Run/Run_Main.h"
#include "Platform/MemoryManager.h"
#include "Support/Support_File.h"
#include "Support/Support_Stream.h"
#include "Variable/Variable_List.h"
#include "Variable/Variable_Main.h"

uint32_t g_GameId = 0;

namespace {
constexpr int32_t END_MARK = 0x45564153;  // "SAVE"
// The smallest number of bytes one instance or tile takes, to bound counts
// read.
constexpr int64_t MIN_INSTANCE_BYTES = 16;
constexpr int64_t MIN_TILE_BYTES = 16;

// Field by field in a fixed order; one list serves writing and reading.
template <class Io>
void InstanceFields(Io& io, CInstance* i) {
  io.b(i->solid), io.b(i->visible), io.b(i->persistent), io.b(i->deactivated), io.b(i->create_performed);
  for (float* f : {&i->x, &i->y, &i->xprevious, &i->yprevious, &i->xstart, &i->ystart, &i->direction, &i->speed,
                   &i->hspeed, &i->vspeed, &i->friction, &i->gravity, &i->gravity_direction, &i->depth,
                   &i->image_index, &i->image_speed, &i->image_xscale, &i->image_yscale, &i->image_angle,
                   &i->image_alpha, &i->path_position, &i->path_positionprevious, &i->path_speed, &i->path_scale,
                   &i->path_orientation, &i->path_xstart, &i->path_ystart, &i->timeline_position,
                   &i->timeline_speed})
    io.f(*f);
  for (int* n : {&i->sprite_index, &i->mask_index, &i->path_index, &i->path_endaction, &i->timeline_index})
    io.i(*n);
  int blend = static_cast<int>(i->image_blend);
  io.i(blend);
  i->image_blend = static_cast<uint32_t>(blend);
  for (int& a : i->alarm) io.i(a);
  io.b(i->timeline_running), io.b(i->timeline_loop);
}

template <class Io>
void RoomFields(Io& io, CRoom* r) {
  for (int* n : {&r->width, &r->height, &r->speed}) io.i(*n);
  int colour = static_cast<int>(r->colour);
  io.i(colour);
  r->colour = static_cast<uint32_t>(colour);
  io.b(r->persistent), io.b(r->show_colour), io.b(r->views_enabled);
  for (RoomBackground& bg : r->backgrounds) {
    io.b(bg.visible), io.b(bg.foreground), io.b(bg.htiled), io.b(bg.vtiled), io.b(bg.stretch);
    io.i(bg.index);
    for (float* f : {&bg.x, &bg.y, &bg.hspeed, &bg.vspeed, &bg.xscale, &bg.yscale, &bg.alpha}) io.f(*f);
    int blend = static_cast<int>(bg.blend);
    io.i(blend);
    bg.blend = static_cast<uint32_t>(blend);
  }
  for (RoomView& v : r->views) {
    io.b(v.visible);
    for (float* f : {&v.xview, &v.yview, &v.wview, &v.hview, &v.angle}) io.f(*f);
    for (int* n : {&v.xport, &v.yport, &v.wport, &v.hport, &v.hborder, &v.vborder, &v.hspeed, &v.vspeed, &v.object})
      io.i(*n);
  }
  io.text(r->caption);
  int count = static_cast<int>(r->tiles.size());
  io.i(count);
  if (!io.Counted(count, MIN_TILE_BYTES)) return;
  r->tiles.resize(static_cast<size_t>(count));
  for (RoomTile& t : r->tiles) {
    for (int* n : {&t.background, &t.left, &t.top, &t.width, &t.height, &t.id}) io.i(*n);
    for (float* f : {&t.x, &t.y, &t.depth, &t.xscale, &t.yscale, &t.alpha}) io.f(*f);
    int blend = static_cast<int>(t.blend);
    io.i(blend);
    t.blend = static_cast<uint32_t>(blend);
    io.b(t.visible);
  }
}

struct Writer {
  CStream& s;
  void b(bool& v) { s.WriteBoolean(v); }
  void i(int& v) { s.WriteInteger(v); }
  void f(float& v) { s.WriteReal(v); }
  void text(char*& v) { s.WriteString(v); }
  bool Counted(int, int64_t) { return true; }
};

struct Reader {
  CStream& s;
  bool ok = true;
  void b(bool& v) { v = s.ReadBoolean(); }
  void i(int& v) { v = s.ReadInteger(); }
  void f(float& v) { v = static_cast<float>(s.ReadReal()); }
  void text(char*& v) {
    MEM_FREE(v);
    v = s.ReadString();
  }
  // Whether a count read can be that many records of at least that size.
  bool Counted(int count, int64_t bytes) {
    ok = ok && count >= 0 && count <= (s.GetSize() - s.GetPosition()) / bytes;
    return ok;
  }
};


struct LoadedRoom {
  int index = -1;
  bool visited = false;
  std::unique_ptr<CRoom> fields;
  std::vector<std::unique_ptr<CInstance>> instances;
};
}  // namespace

bool Run_SaveGame(const char* file) {
  CStream s;
  s.WriteInteger(SAVEGAME_VERSION);
  s.WriteInteger(static_cast<int32_t>(g_GameId));
  s.WriteInteger(g_RoomIndex);
  s.WriteInteger(Instance_PeekNextId());
  s.WriteInteger(g_Score);
  s.WriteInteger(g_Lives);
  s.WriteReal(g_Health);
  VarList_Write(s, &Variable_Globals());
  std::vector<int> rooms;
  for (int r = 0; r < Room_Count(); r++)
    if (Room_Running(r)) rooms.push_back(r);
  s.WriteInteger(static_cast<int32_t>(rooms.size()));
  for (int r : rooms) {
    CRoom* room = Room_Running(r);
    s.WriteInteger(r);
    s.WriteBoolean(room->visited);
    Writer w{s};
    RoomFields(w, room);
    std::vector<CInstance*> all = room->active;
    all.insert(all.end(), room->deactivated.begin(), room->deactivated.end());
    int count = 0;
    for (CInstance* inst : all) count += !inst->marked;
    s.WriteInteger(count);
    for (CInstance* inst : all) {
      if (inst->marked) continue;
      s.WriteInteger(inst->id);
      s.WriteInteger(inst->object_index);
      InstanceFields(w, inst);
      VarList_Write(s, inst->vars);
    }
  }
  s.WriteInteger(END_MARK);
  return File_WriteWhole(file, s.GetMemory(), static_cast<size_t>(s.GetPosition()));
}

bool Run_LoadGame(const char* file) {
  CStream s;
  if (!s.LoadFromFile(file, 0)) return false;
  if (s.ReadInteger() != SAVEGAME_VERSION || static_cast<uint32_t>(s.ReadInteger()) != g_GameId) return false;
  int room_index = s.ReadInteger();
  int next_id = s.ReadInteger();
  int score = s.ReadInteger(), lives = s.ReadInteger();
  double health = s.ReadReal();
  // Everything is read aside first: only a sound file replaces the game.
  CVariableList globals;
  if (!VarList_Read(s, &globals)) return false;
  int room_count = s.ReadInteger();
  if (room_count < 0 || room_count > Room_Count() || !Room_Exists(room_index)) return false;
  std::vector<LoadedRoom> loaded(room_count);
  for (LoadedRoom& lr : loaded) {
    lr.index = s.ReadInteger();
    if (!Room_Exists(lr.index)) return false;
    lr.visited = s.ReadBoolean();
    lr.fields = std::make_unique<CRoom>();
    Reader rd{s};
    RoomFields(rd, lr.fields.get());
    if (!rd.ok) return false;
    int count = s.ReadInteger();
    if (count < 0 || count > (s.GetSize() - s.GetPosition()) / MIN_INSTANCE_BYTES) return false;
    for (int k = 0; k < count; k++) {
      int id = s.ReadInteger();
      int object = s.ReadInteger();
      if (!Object_Exists(object) || id < INSTANCE_ID_FIRST) return false;
      auto inst = std::make_unique<CInstance>(0.0f, 0.0f, id, object, false);
      InstanceFields(rd, inst.get());
      inst->vars = new CVariableList;
      if (!VarList_Read(s, inst->vars)) return false;
      lr.instances.push_back(std::move(inst));
    }
  }
  if (s.ReadInteger() != END_MARK) return false;
  bool hasCurrent = false;
  for (const LoadedRoom& lr : loaded) hasCurrent = hasCurrent || lr.index == room_index;
  if (!hasCurrent) return false;

  // The file is sound: the running game gives way to it, without events.
  Run_ClearInstances();
  VarList_CopyInto(&Variable_Globals(), &globals);
  for (LoadedRoom& lr : loaded) {
    CRoom* room = Room_Restart(lr.index);
    room->width = lr.fields->width, room->height = lr.fields->height, room->speed = lr.fields->speed;
    room->colour = lr.fields->colour, room->persistent = lr.fields->persistent;
    room->show_colour = lr.fields->show_colour, room->views_enabled = lr.fields->views_enabled;
    std::copy(std::begin(lr.fields->backgrounds), std::end(lr.fields->backgrounds), std::begin(room->backgrounds));
    std::copy(std::begin(lr.fields->views), std::end(lr.fields->views), std::begin(room->views));
    room->SetCaption(lr.fields->caption);
    room->tiles.swap(lr.fields->tiles);
    for (const RoomTile& t : room->tiles) Tile_ReserveId(t.id);
    room->visited = lr.visited;
    bool current = lr.index == room_index;
    for (auto& owned : lr.instances) {
      CInstance* inst = owned.release();
      room->Join(inst);
      if (current) inst->Attach();
    }
  }
  g_RoomIndex = room_index;
  g_RunRoom = Room_Running(room_index);
  if (g_RunRoom->caption && *g_RunRoom->caption) Window_SetCaption(g_RunRoom->caption);
  Instance_SetNextId(next_id);
  Run_PhysicsAfterLoad();
  g_Score = score, g_Lives = lives, g_Health = health;
  Sound_OnLoadGame();
  return true;
}
