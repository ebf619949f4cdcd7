// A room: its size, speed, colour, backgrounds, views, tiles and instances.
#pragma once
#include <cstdint>
#include <vector>

class CInstance;
class CCode;
class CPhysicsWorld;

constexpr int ROOM_BACKGROUNDS = 8;
constexpr int ROOM_VIEWS = 8;

struct RoomBackground {
  bool visible = false;
  bool foreground = false;
  int index = -1;
  float x = 0, y = 0;
  bool htiled = true, vtiled = true;
  float hspeed = 0, vspeed = 0;
  float xscale = 1, yscale = 1;
  bool stretch = false;
  uint32_t blend = 0xFFFFFF;
  float alpha = 1;
};

struct RoomView {
  bool visible = false;
  float xview = 0, yview = 0, wview = 640, hview = 480;
  int xport = 0, yport = 0, wport = 640, hport = 480;
  float angle = 0;
  int hborder = 32, vborder = 32;
  int hspeed = -1, vspeed = -1;
  int object = -1;
};

// One tile; the fields in this order make up the tile record.
struct RoomTile {
  float x = 0, y = 0;
  int background = -1;
  int left = 0, top = 0, width = 0, height = 0;
  float depth = 0;
  int id = 0;
  float xscale = 1, yscale = 1;
  uint32_t blend = 0xFFFFFF;
  float alpha = 1;
  bool visible = true;
};

// The physics world a room makes when it starts (before its instances).
struct RoomPhysicsDef {
  bool enabled = false;
  float gravity_x = 0, gravity_y = 10;
  float scale = 0.1f;  // metres per pixel
};

// An instance the room makes when it starts, with its creation code.
struct RoomInstanceDef {
  float x = 0, y = 0;
  int object = -1;
  int id = 0;
  CCode* code = nullptr;  // creation code (code units live for the whole run)
};

class CRoom {
 public:
  char* name = nullptr;     // owned
  char* caption = nullptr;  // owned
  int width = 640, height = 480;
  int speed = 30;
  bool persistent = false;
  uint32_t colour = 0;
  bool show_colour = true;
  bool views_enabled = false;
  RoomBackground backgrounds[ROOM_BACKGROUNDS];
  RoomView views[ROOM_VIEWS];
  std::vector<RoomTile> tiles;
  std::vector<RoomInstanceDef> instance_defs;
  char* code_text = nullptr;  // creation code source, owned
  CCode* code = nullptr;      // its compiled form
  RoomPhysicsDef physics_def;
  CPhysicsWorld* physics = nullptr;  // the running world, owned

  // Instances in the room; a persistent room keeps them between visits.
  std::vector<CInstance*> active;
  std::vector<CInstance*> deactivated;
  bool visited = false;  // a persistent room has kept its instances

  CRoom() = default;
  ~CRoom();
  CRoom(const CRoom&) = delete;
  CRoom& operator=(const CRoom&) = delete;

  // Copies the definition (not the instances) of another room; the copied
  // instance definitions get new instance ids.
  void AssignDefinition(const CRoom* src);
  // Becomes a running room as the resource defines it: name, settings,
  // backgrounds, views, tiles and instance definitions (ids kept).
  void StartFrom(const CRoom* resource);

  void SetCaption(const char* text);
  void SetCode(const char* text);

  // Makes an instance of the object at (x, y) on the active list; the caller
  // runs its create event.
  CInstance* AddInstance(float x, float y, int object);
  // Makes a copy of an instance, every field but its new id, on the list
  // its deactivated flag says; the caller runs its create event.
  CInstance* AddCopy(const CInstance* source);
  // Puts a made instance on the active or deactivated list by its flag.
  void Join(CInstance* inst);
  // Appends an instance definition with a new instance id; returns the id.
  int AddInstanceDef(float x, float y, int object);
  // Moves instances between the active and deactivated lists by their flags.
  void ApplyActivation();
  // Deletes the marked instances of both lists.
  void DeleteMarked();
  // Frees every instance of the room, then its physics world.
  void ClearInstances();
  // Takes an instance off both lists (it is not freed).
  void RemoveInstance(CInstance* inst);

  // Tiles.
  int AddTileDef(int background, int left, int top, int w, int h, float x, float y, float depth,
                 float xscale = 1, float yscale = 1, uint32_t blend = 0xFFFFFF);
  int AddTile(const RoomTile& tile);
  void ClearTiles() { tiles.clear(); }
  int FindTileById(int id) const;
  void DeleteTile(int index);
  int FindTileAt(float x, float y, bool foreground) const;
  void DeleteTileAt(float x, float y, bool foreground);
  int FindTileInLayer(float depth, float x, float y) const;
  void HideTileLayer(float depth);
  void ShowTileLayer(float depth);
  void DeleteTileLayer(float depth);
  void ShiftTileLayer(float depth, float dx, float dy);
  void DeleteTileLayerAt(float depth, float x, float y);
  void SetTileLayerDepth(float depth, float newDepth);

  // Moves each visible view that follows an object so that the object's
  // first instance stays inside the view's borders (at most the view's
  // speeds per step, -1 unlimited), and inside the room.
  void UpdateViews();
  // Draws the room through its views.
  void Draw();

 private:
  void CopyDefinition(const CRoom* src);
};

// The view being drawn (0 when views are off).
extern int g_ViewCurrent;

// Tile ids come from one counter for the whole game that only grows, so a
// deleted tile's id stays unused. Ids read from the game are reserved.
int Tile_NextId();
void Tile_ReserveId(int id);

// Whether a room point lies on a tile.
bool Tile_Contains(const RoomTile& t, float x, float y);
