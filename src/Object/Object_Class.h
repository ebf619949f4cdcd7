// The object resource: flags, sprite, parent and its event table.
#pragma once
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "Object/Object_Event.h"

class CInstance;

enum : uint32_t {
  OBJECT_SOLID = 1,
  OBJECT_VISIBLE = 2,
  OBJECT_PERSISTENT = 4,
};

// The body an instance of the object gets in a room with a physics world;
// sizes and points in room pixels about the instance.
struct ObjectPhysics {
  bool enabled = false;
  int shape = 0;  // 0 circle, 1 box, 2 polygon
  float radius = 0, width = 0, height = 0;
  std::vector<std::pair<float, float>> points;
  float density = 0.5f, restitution = 0.1f, friction = 0.2f;
  float linear_damping = 0.1f, angular_damping = 0.1f;
  int collision_group = 0;
  bool sensor = false, awake = true, kinematic = false;
};

class CObject {
 public:
  char* name = nullptr;  // memory-manager text, owned
  int index = -1;
  uint32_t flags = OBJECT_VISIBLE;
  int sprite_index = -1;
  int mask_index = -1;
  int depth = 0;
  int parent_index = -1;
  CObject* parent = nullptr;  // kept in step with parent_index by Object_LinkParents
  ObjectPhysics physics;

  // Own event handlers by type, then number.
  std::map<int, CEvent*> events[EV_TYPE_COUNT];

  // The object's own instances, and those of itself and every descendant
  // (each in the order they joined).
  std::vector<CInstance*> instances;
  std::vector<CInstance*> instances_recursive;

  CObject() = default;
  ~CObject();
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;

  CEvent* GetOwnEvent(int type, int number) const;
  // The handler of this object or of its nearest ancestor, and which object
  // defines it (-1 when none).
  CEvent* FindEvent(int type, int number, int* owner) const;
  // True when the index is on the parent chain (not the object itself).
  bool HasAncestor(int index) const;
  // Sets an own handler (replacing and freeing an old one).
  void SetEvent(int type, int number, CEvent* ev);
  // Removes an own handler and hands it to the caller (none when absent).
  CEvent* TakeEvent(int type, int number);

  // Joins an instance to the lists of this object and of every ancestor.
  void AddInstance(CInstance* inst);
  void RemoveInstance(CInstance* inst);
};
