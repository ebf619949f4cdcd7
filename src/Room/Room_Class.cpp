#include "Room/Room_Class.h"

#include <algorithm>
#include <cstring>

#include "Base/RValue.h"
#include "Object/Instance_Class.h"
#include "Object/Instance_Main.h"
#include "Physics/Physics_Object.h"
#include "Physics/Physics_World.h"
#include "Platform/MemoryManager.h"
#include "Code/Code_Units.h"

CRoom::~CRoom() {
  ClearInstances();
  MEM_FREE(name);
  MEM_FREE(caption);
  MEM_FREE(code_text);
}

// Replaces an owned text with a copy, reusing the block when large enough.
static void SetText(char*& field, const char* text) {
  if (!text) {
    MEM_FREE(field);
    field = nullptr;
    return;
  }
  size_t n = std::strlen(text) + 1;
  if (!field || MemoryManager::GetSize(field) < n) {
    MEM_FREE(field);
    field = static_cast<char*>(MEM_ALLOC(n));
  }
  std::memcpy(field, text, n);
}

void CRoom::SetCaption(const char* text) { SetText(caption, text); }
void CRoom::SetCode(const char* text) {
  SetText(code_text, text);
  code = text ? Code_CompileUnit(text, "room script", true) : nullptr;
}

void CRoom::CopyDefinition(const CRoom* s) {
  SetCaption(s->caption);
  SetText(code_text, s->code_text);
  code = s->code;
  width = s->width, height = s->height, speed = s->speed;
  persistent = s->persistent, colour = s->colour, show_colour = s->show_colour;
  views_enabled = s->views_enabled;
  std::copy(std::begin(s->backgrounds), std::end(s->backgrounds), std::begin(backgrounds));
  std::copy(std::begin(s->views), std::end(s->views), std::begin(views));
  tiles = s->tiles;
  physics_def = s->physics_def;
  instance_defs = s->instance_defs;
}

void CRoom::AssignDefinition(const CRoom* s) {
  if (s == this) return;
  CopyDefinition(s);
  // The copies get instance ids of their own.
  for (auto& def : instance_defs) def.id = Instance_NextId();
}

void CRoom::StartFrom(const CRoom* resource) {
  if (resource == this) return;
  SetText(name, resource->name);
  CopyDefinition(resource);
}

CInstance* CRoom::AddInstance(float x, float y, int object) {
  auto* inst = new CInstance(x, y, Instance_NextId(), object);
  Join(inst);
  return inst;
}

CInstance* CRoom::AddCopy(const CInstance* source) {
  auto* inst = new CInstance(source->x, source->y, Instance_NextId(), source->object_index);
  inst->Assign(source);
  Join(inst);
  return inst;
}

void CRoom::Join(CInstance* inst) {
  (inst->deactivated ? deactivated : active).push_back(inst);
  g_InstanceListVersion++;
}

int CRoom::AddInstanceDef(float x, float y, int object) {
  RoomInstanceDef d;
  d.x = x, d.y = y, d.object = object, d.id = Instance_NextId();
  instance_defs.push_back(d);
  return d.id;
}

void CRoom::ApplyActivation() {
  std::vector<CInstance*> stay, moved;
  for (CInstance* inst : active) (inst->deactivated ? moved : stay).push_back(inst);
  std::vector<CInstance*> back, keep;
  for (CInstance* inst : deactivated) (inst->deactivated ? keep : back).push_back(inst);
  stay.insert(stay.end(), back.begin(), back.end());
  keep.insert(keep.end(), moved.begin(), moved.end());
  active.swap(stay);
  deactivated.swap(keep);
  g_InstanceListVersion++;
  // A deactivated instance's body takes no part in the world.
  for (CInstance* inst : moved)
    if (inst->physics) inst->physics->SetEnabled(false);
  for (CInstance* inst : back)
    if (inst->physics) inst->physics->SetEnabled(true);
}

static void DeleteMarkedOf(std::vector<CInstance*>& list) {
  auto first = std::find_if(list.begin(), list.end(), [](CInstance* i) { return i->marked; });
  if (first == list.end()) return;
  std::vector<CInstance*> dead;
  auto it = std::stable_partition(first, list.end(), [](CInstance* i) { return !i->marked; });
  dead.assign(it, list.end());
  list.erase(it, list.end());
  for (CInstance* inst : dead) delete inst;
}

void CRoom::DeleteMarked() {
  // Destroying an instance moved the version already.
  DeleteMarkedOf(active);
  DeleteMarkedOf(deactivated);
}

void CRoom::ClearInstances() {
  std::vector<CInstance*> all;
  all.swap(active);
  g_InstanceListVersion++;
  all.insert(all.end(), deactivated.begin(), deactivated.end());
  deactivated.clear();
  for (CInstance* inst : all) delete inst;
  delete physics;
  physics = nullptr;
}

void CRoom::RemoveInstance(CInstance* inst) {
  active.erase(std::remove(active.begin(), active.end(), inst), active.end());
  g_InstanceListVersion++;
  deactivated.erase(std::remove(deactivated.begin(), deactivated.end(), inst), deactivated.end());
}
