#include "Room/Room_Main.h"

#include <vector>

#include "Platform/Platform_ResourceTable.h"
#include "Room/Room_Class.h"

int g_RoomIndex = -1;
CRoom* g_RunRoom = nullptr;

namespace {
CResourceTable<CRoom, ResourceNaming::InItem> g_rooms;
std::vector<CRoom*> g_running;  // by room index, null when none
std::vector<int> g_order;

int OrderPosition(int room) {
  for (size_t i = 0; i < g_order.size(); i++)
    if (g_order[i] == room) return static_cast<int>(i);
  return -1;
}
}  // namespace

CRoom* Room_Data(int index) { return g_rooms.Get(index); }
bool Room_Exists(int index) { return Room_Data(index) != nullptr; }
const char* Room_Name(int index) { return g_rooms.Name(index); }
int Room_Count() { return g_rooms.Count(); }
int Room_FindByName(const char* name) { return g_rooms.FindByName(name); }

CRoom* Room_Running(int index) {
  return index >= 0 && index < static_cast<int>(g_running.size()) ? g_running[index] : nullptr;
}

CRoom* Room_Restart(int index) {
  CRoom* resource = Room_Data(index);
  if (!resource) return nullptr;
  Room_Discard(index);
  if (g_running.size() < size_t(g_rooms.Count())) g_running.resize(size_t(g_rooms.Count()), nullptr);
  auto* room = new CRoom;
  room->StartFrom(resource);
  g_running[index] = room;
  return room;
}

void Room_Discard(int index) {
  CRoom* room = Room_Running(index);
  if (!room) return;
  if (room == g_RunRoom) g_RunRoom = nullptr;
  g_running[index] = nullptr;
  delete room;
}

void Room_DiscardAll() {
  for (size_t i = 0; i < g_running.size(); i++) Room_Discard(static_cast<int>(i));
  g_running.clear();
}

int Room_Add(const char* name) {
  int index = name ? g_rooms.Append(new CRoom, name) : g_rooms.Create("__newroom");
  // A room made at run time joins the end of the order.
  g_order.push_back(index);
  return index;
}

int Room_Duplicate(int index) {
  CRoom* src = Room_Data(index);
  if (!src) return -1;
  int n = Room_Add(nullptr);
  g_rooms.Get(n)->AssignDefinition(src);
  return n;
}

int Room_Assign(int dst, int src) {
  CRoom* d = Room_Data(dst);
  CRoom* s = Room_Data(src);
  if (!d || !s) return 0;
  d->AssignDefinition(s);
  return 1;
}

void Room_FreeAll() {
  Room_DiscardAll();
  g_rooms.FreeAll();
  g_order.clear();
  g_RunRoom = nullptr;
  g_RoomIndex = -1;
}

void Room_SetOrder(const int* rooms, int count) { g_order.assign(rooms, rooms + count); }

int Room_First() { return g_order.empty() ? -1 : g_order.front(); }
int Room_Last() { return g_order.empty() ? -1 : g_order.back(); }

int Room_Previous(int room) {
  if (g_order.size() < 2) return -1;
  int at = OrderPosition(room);
  return at <= 0 ? -1 : g_order[at - 1];
}

int Room_Next(int room) {
  if (g_order.size() < 2) return -1;
  int at = OrderPosition(room);
  return at < 0 || at + 1 >= static_cast<int>(g_order.size()) ? -1 : g_order[at + 1];
}
