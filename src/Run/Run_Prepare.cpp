#include "Run/Run_Prepare.h"

#include <string>
#include <unordered_set>

#include "Base/Console.h"
#include "Base/RValue.h"
#include "Base/ShowMessage.h"
#include "Code/Code_Constant.h"
#include "Code/Code_Main.h"
#include "DataFile/DataFile_Main.h"
#include "DataFile/DataFile_Package.h"
#include "Motion/Motion_Grid.h"
#include "Object/Instance_Class.h"
#include "Object/Instance_Main.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Path/Path_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "Code/Code_Units.h"
#include "Run/Run_Hooks.h"
#include "Run/Run_Resources.h"
#include "Run/Run_SaveGame.h"
#include "Script/Script_Main.h"
#include "TimeLine/TimeLine_Main.h"

namespace {
const char* const EVENT_NAMES[EV_TYPE_COUNT] = {"Create", "Destroy",  "Alarm", "Step",     "Collision", "Keyboard",
                                                "Mouse",  "Other",    "Draw",  "KeyPress", "KeyRelease"};

bool Fail(const char* message) {
  ShowMessage(message);
  return false;
}

void ShowProgress(const char* text, int percent) { Console_Printf("%s (%d%%)\n", text, percent); }

// Compiles an event's source under its unit name; false when it does not
// compile (an empty text needs no code).
bool CompileEvent(CEvent* ev, const std::string& unit) {
  if (!ev->source || !*ev->source) return true;
  ev->code = Code_CompileUnit(ev->source, unit.c_str(), false);
  return ev->code != nullptr;
}

bool CompileObjects() {
  for (int i = 0; i < Object_Count(); i++) {
    CObject* o = Object_Find(i);
    if (!o) continue;
    for (int type = 0; type < EV_TYPE_COUNT; type++)
      for (auto& [number, ev] : o->events[type])
        if (!CompileEvent(ev, std::string("Object.") + o->name + "." + EVENT_NAMES[type] + "." + std::to_string(number)))
          return false;
  }
  return true;
}

bool CompileTimeLines() {
  for (int i = 0; i < TimeLine_Count(); i++) {
    CTimeLine* t = TimeLine_Data(i);
    if (!t) continue;
    for (TimeLineMoment& m : t->moments)
      if (!CompileEvent(m.event, std::string("Timeline.") + t->name + "." + std::to_string(m.step))) return false;
  }
  return true;
}

// Room and instance creation code: a failure is reported and the room goes
// on without that code.
void CompileRooms(const GamePackage& pkg) {
  for (size_t i = 0; i < pkg.rooms.size(); i++) {
    const PackageRoom& pr = pkg.rooms[i];
    CRoom* r = Room_Data(static_cast<int>(i));
    if (!pr.exists || !r) continue;
    if (!pr.code.empty()) r->SetCode(pr.code.c_str());
    for (size_t k = 0; k < pr.instances.size() && k < r->instance_defs.size(); k++)
      if (!pr.instances[k].code.empty())
        r->instance_defs[k].code = Code_CompileUnit(pr.instances[k].code.c_str(), "instance creation code", true);
  }
}

bool LoadObjects(const GamePackage& pkg) {
  for (size_t i = 0; i < pkg.objects.size(); i++) {
    const PackageObject& po = pkg.objects[i];
    int index = Object_Add(po.exists ? po.name.c_str() : nullptr);
    if (!po.exists) {
      Object_Delete(index);
      continue;
    }
    CObject* o = Object_Find(index);
    o->sprite_index = po.sprite, o->mask_index = po.mask;
    o->parent_index = po.parent, o->depth = po.depth;
    o->flags = (po.solid ? OBJECT_SOLID : 0u) | (po.visible ? OBJECT_VISIBLE : 0u) | (po.persistent ? OBJECT_PERSISTENT : 0u);
    const PackageObjectPhysics& pp = po.physics;
    o->physics = {pp.enabled, pp.shape, pp.radius, pp.width, pp.height, pp.points, pp.density, pp.restitution,
                  pp.friction, pp.linear_damping, pp.angular_damping, pp.collision_group, pp.sensor, pp.awake,
                  pp.kinematic};
    for (const PackageEvent& pe : po.events) {
      if (pe.type < 0 || pe.type >= EV_TYPE_COUNT) {
        Console_Printf("Object %s has an event of unknown type %d\n", po.name.c_str(), pe.type);
        return false;
      }
      auto* ev = new CEvent;
      ev->source = String_Duplicate(pe.code.c_str());
      o->SetEvent(pe.type, pe.number, ev);
    }
  }
  Object_LinkParents();
  return true;
}

bool LoadTimeLines(const GamePackage& pkg) {
  for (const PackageTimeLine& pt : pkg.timelines) {
    int index = TimeLine_Create(pt.name.c_str());
    if (!pt.exists) {
      TimeLine_Delete(index);
      continue;
    }
    CTimeLine* t = TimeLine_Data(index);
    for (const PackageMoment& m : pt.moments) {
      CEvent* ev = t->AddMoment(m.step);
      ev->source = String_Duplicate(m.code.c_str());
    }
  }
  return true;
}

// Instance ids are unique across the game: a definition whose id is not an
// instance id, or repeats one, takes a new id above all the others.
void GiveRepeatedIdsAnew() {
  std::unordered_set<int> seen;
  for (int i = 0; i < Room_Count(); i++) {
    CRoom* r = Room_Data(i);
    if (!r) continue;
    for (RoomInstanceDef& def : r->instance_defs)
      if (def.id < INSTANCE_ID_FIRST || !seen.insert(def.id).second) def.id = Instance_NextId();
  }
}

bool LoadRooms(const GamePackage& pkg) {
  for (size_t i = 0; i < pkg.rooms.size(); i++) {
    const PackageRoom& pr = pkg.rooms[i];
    int index = Room_Add(pr.exists ? pr.name.c_str() : nullptr);
    CRoom* r = Room_Data(index);
    if (!pr.exists) continue;
    r->SetCaption(pr.caption.c_str());
    r->width = pr.width, r->height = pr.height, r->speed = pr.speed;
    r->persistent = pr.persistent, r->colour = pr.colour, r->show_colour = pr.show_colour;
    r->views_enabled = pr.views_enabled;
    r->physics_def = {pr.physics.enabled, pr.physics.gravity_x, pr.physics.gravity_y, pr.physics.scale};
    for (int b = 0; b < ROOM_BACKGROUNDS; b++) {
      const PackageRoomBackground& pb = pr.backgrounds[b];
      RoomBackground& bg = r->backgrounds[b];
      bg.visible = pb.visible, bg.foreground = pb.foreground, bg.index = pb.index;
      bg.x = pb.x, bg.y = pb.y, bg.htiled = pb.htiled, bg.vtiled = pb.vtiled;
      bg.hspeed = pb.hspeed, bg.vspeed = pb.vspeed, bg.xscale = pb.xscale, bg.yscale = pb.yscale;
      bg.stretch = pb.stretch, bg.alpha = pb.alpha;
    }
    for (int v = 0; v < ROOM_VIEWS; v++) {
      const PackageRoomView& pv = pr.views[v];
      RoomView& view = r->views[v];
      view.visible = pv.visible;
      view.xview = static_cast<float>(pv.xview), view.yview = static_cast<float>(pv.yview);
      view.wview = static_cast<float>(pv.wview), view.hview = static_cast<float>(pv.hview);
      view.xport = pv.xport, view.yport = pv.yport, view.wport = pv.wport, view.hport = pv.hport;
      view.angle = pv.angle, view.hborder = pv.hborder, view.vborder = pv.vborder;
      view.hspeed = pv.hspeed, view.vspeed = pv.vspeed, view.object = pv.object;
    }
    for (const PackageRoomInstance& pi : pr.instances) {
      if (!Object_Exists(pi.object)) {
        Console_Printf("Room %s places an instance of a missing object %d\n", pr.name.c_str(), pi.object);
        return false;
      }
      RoomInstanceDef def;
      def.x = pi.x, def.y = pi.y, def.object = pi.object, def.id = pi.id;
      Instance_ReserveId(def.id);
      r->instance_defs.push_back(def);
    }
    for (const PackageRoomTile& pt : pr.tiles) {
      RoomTile t;
      t.x = pt.x, t.y = pt.y, t.background = pt.background, t.left = pt.left, t.top = pt.top;
      t.width = pt.width, t.height = pt.height, t.depth = pt.depth, t.id = pt.id;
      t.xscale = pt.xscale, t.yscale = pt.yscale, t.blend = pt.blend, t.alpha = pt.alpha, t.visible = pt.visible;
      Tile_ReserveId(t.id);
      r->tiles.push_back(t);
    }
  }
  for (int room : pkg.general.room_order) {
    if (!Room_Exists(room)) {
      Console_Printf("The room order names a missing room %d\n", room);
      return false;
    }
  }
  Room_SetOrder(pkg.general.room_order.data(), static_cast<int>(pkg.general.room_order.size()));
  GiveRepeatedIdsAnew();
  return true;
}
}  // namespace

void Run_FreeWorld() {
  Room_FreeAll();
  Object_FreeAll();
  TimeLine_FreeAll();
  Path_FreeAll();
  MotionGrid_DestroyAll();
  Code_FreeUnits();
}

bool Run_LoadWorld(const GamePackage& pkg) {
  Run_FreeWorld();
  g_GameId = pkg.general.game_id;
  Resource_SetPackageNames(pkg);
  Path_LoadAll(pkg);
  return LoadTimeLines(pkg) && LoadObjects(pkg) && LoadRooms(pkg);
}

bool PrepareGame(const GamePackage& pkg) {
  Console_Printf("PrepareGame()\n");
  ShowProgress("Preparing included files", 50);
  DataFile_Init(pkg);
  // A file that cannot be written (a read-only game folder) is logged; the
  // game starts all the same.
  DataFile_ExportAll();
  // Every resource exists (and has its name) before any code is compiled,
  // the extensions' constants and code included; the scripts compile later.
  Script_Clear();
  for (const PackageScript& ps : pkg.scripts) Script_Add(ps.exists ? ps.name.c_str() : "", ps.code.c_str());
  if (!Run_LoadWorld(pkg)) return Fail("The game package holds resources that refer to missing ones.");
  Console_Printf("Extension_Prepare() \n");
  ShowProgress("Preparing extension packages", 54);
  if (!Extension_Prepare()) return Fail("Failed to prepare extension packages.");
  ShowProgress("Preparing constants", 56);
  for (const auto& [name, value] : pkg.options.constants) {
    if (!Constant_Define(name.c_str(), value.c_str()))
      return Fail(("Failed to define the constant " + name + ":\n" + Code_ErrorText).c_str());
  }
  ShowProgress("Preparing scripts", 58);
  if (!Script_PrepareAll()) return Fail("Failed to prepare the scripts.");
  ShowProgress("Preparing time lines", 70);
  if (!CompileTimeLines()) return Fail("Failed to prepare the time lines.");
  ShowProgress("Preparing objects", 72);
  if (!CompileObjects()) return Fail("Failed to prepare the objects.");
  ShowProgress("Preparing rooms", 76);
  CompileRooms(pkg);
  ShowProgress("Preparing sounds", 80);
  Sound_Prepare();
  Sound_PrepareAll();
  Audio_CreateBuffers();
  ShowProgress("Preparing graphics", 90);
  ShowProgress("Ready", 100);
  return true;
}
