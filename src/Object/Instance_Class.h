// The instance record: one instance of an object in the running game.
#pragma once
#include <cstdint>

class CVariableList;
class CPhysicsObject;
class CSprite;

constexpr int ALARM_COUNT = 12;
constexpr int INSTANCE_ID_FIRST = 100000;

// Change counters that let the step keep its lists between steps. The first
// moves whenever an instance joins or leaves a room's lists, is destroyed,
// or takes another instance's fields; the second whenever an alarm is set.
extern uint64_t g_InstanceListVersion;
extern uint64_t g_InstanceAlarmVersion;

class CInstance {
 public:
  int id = 0;
  int object_index = -1;
  bool marked = false;        // destroyed, waiting to be deleted after the events (SetMarked)
  bool deactivated = false;   // moved to the room's other list by CRoom::ApplyActivation
  bool solid = false;
  bool visible = true;
  bool persistent = false;
  bool create_performed = false;  // its create event has run
  bool mouse_over = false;        // the mouse was over it in the last step
  uint64_t creation_serial = 0;   // the event pass during which it joined

  float x = 0, y = 0;
  float xprevious = 0, yprevious = 0;
  float xstart = 0, ystart = 0;
  float direction = 0, speed = 0, hspeed = 0, vspeed = 0;
  float friction = 0, gravity = 0, gravity_direction = 270;
  float depth = 0;

  int sprite_index = -1;
  int mask_index = -1;
  float image_index = 0, image_speed = 1;
  float image_xscale = 1, image_yscale = 1, image_angle = 0;
  uint32_t image_blend = 0xFFFFFF;
  float image_alpha = 1;

  // The integer bounding box, recomputed when dirty.
  int bbox_left = 0, bbox_top = 0, bbox_right = 0, bbox_bottom = 0;
  bool bbox_dirty = true;

  // Broad-phase bookkeeping (Instance_Grid): the cells it is filed under
  // (left, top, right, bottom; none when right < left), its place in the
  // grid's update queue (-1 none) and the mark of the last query that met it.
  bool grid_joined = false;
  int grid_cells[4] = {0, 0, -1, -1};
  int grid_queue = -1;
  uint64_t grid_stamp = 0;

  int alarm[ALARM_COUNT];

  int path_index = -1;
  float path_position = 0, path_positionprevious = 0, path_speed = 0;
  float path_scale = 1, path_orientation = 0;
  int path_endaction = 0;
  float path_xstart = 0, path_ystart = 0;

  int timeline_index = -1;
  float timeline_position = 0, timeline_speed = 1;
  bool timeline_running = false, timeline_loop = false;

  CPhysicsObject* physics = nullptr;
  CVariableList* vars = nullptr;  // the instance's own variables, owned

  // Makes an instance bound to the object, with the object's defaults. With
  // join false it stays out of the object's instance lists (a temporary).
  CInstance(float x, float y, int id, int object_index, bool join = true);
  ~CInstance();
  CInstance(const CInstance&) = delete;
  CInstance& operator=(const CInstance&) = delete;

  // Copies every field and (deeply) the variables of another instance; the
  // id stays. The instance moves to the source's object lists.
  void Assign(const CInstance* source);
  // Leaves (or rejoins) the object's lists and the id table while the
  // instance waits in a persistent room that is not the current one.
  void Detach();
  void Attach();
  // Takes the object's sprite, mask, depth and flags and joins its lists.
  void SetObject(int object_index);

  int GetAlarm(int n) const { return n >= 0 && n < ALARM_COUNT ? alarm[n] : -1; }
  void SetAlarm(int n, int value) {
    if (n < 0 || n >= ALARM_COUNT) return;
    alarm[n] = value;
    g_InstanceAlarmVersion++;
  }
  void SetMarked() {
    marked = true;
    g_InstanceListVersion++;
  }

  void SetPosition(float nx, float ny);
  void SetImageXScale(float s);
  void SetImageYScale(float s);
  void SetImageAngle(float a);
  void SetSpriteIndex(int sprite);
  void SetMaskIndex(int mask);
  void ComputeBoundingBox();
  // The box, recomputed first when dirty.
  void GetBoundingBox(int* l, int* t, int* r, int* b) {
    if (bbox_dirty) ComputeBoundingBox();
    *l = bbox_left, *t = bbox_top, *r = bbox_right, *b = bbox_bottom;
  }
  // True when the instance has a sprite or a mask to give it a shape.
  bool HasShape() const;

  // Motion: each keeps (direction, speed) and (hspeed, vspeed) in step.
  void SetDirection(float degrees);
  void SetSpeed(float s);
  void SetHSpeed(float h);
  void SetVSpeed(float v);
  void AddMotion(float degrees, float s);
  // One step of motion: friction, gravity, then the move.
  void Move();

  // Collision tests; none of them finds a marked instance.
  bool Collision_Point(float px, float py, bool precise);
  bool Collision_Rectangle(float x1, float y1, float x2, float y2, bool precise);
  bool Collision_Ellipse(float x1, float y1, float x2, float y2, bool precise);
  bool Collision_Line(float x1, float y1, float x2, float y2, bool precise);
  bool Collision_Instance(CInstance* other, bool precise);

 private:
  // The box must be computed again (and the instance filed anew).
  void BoxChanged();
  void ComputeSpeedFromComponents();
  void ComputeComponentsFromSpeed();
  // Whether the mask has a set pixel at the room point.
  bool MaskAt(float px, float py);
  // The sprite that gives the shape: the mask, else the sprite (or null).
  const CSprite* CollisionSprite() const;
};
