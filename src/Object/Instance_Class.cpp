#include "Object/Instance_Class.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "Base/Convert.h"
#include "Object/Instance_Grid.h"
#include "Object/Instance_Main.h"
#include "Object/Instance_Vars.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Physics/Physics_Object.h"
#include "Sprite/Sprite_Main.h"
#include "Variable/Variable_List.h"

uint64_t g_InstanceListVersion = 0;
uint64_t g_InstanceAlarmVersion = 0;

CInstance::CInstance(float nx, float ny, int nid, int obj, bool join)
    : id(nid), x(nx), y(ny), xprevious(nx), yprevious(ny), xstart(nx), ystart(ny) {
  std::fill(std::begin(alarm), std::end(alarm), -1);
  if (CObject* o = Object_Find(obj)) {
    object_index = obj;
    sprite_index = o->sprite_index;
    mask_index = o->mask_index;
    depth = static_cast<float>(o->depth);
    solid = (o->flags & OBJECT_SOLID) != 0;
    visible = (o->flags & OBJECT_VISIBLE) != 0;
    persistent = (o->flags & OBJECT_PERSISTENT) != 0;
    if (join) o->AddInstance(this);
  } else {
    object_index = obj;
  }
  if (join) {
    Instance_Register(this);
    Grid_Join(this);
  }
}

CInstance::~CInstance() {
  Grid_Leave(this);
  if (CObject* o = Object_Find(object_index)) o->RemoveInstance(this);
  Instance_Unregister(this);
  delete physics;
  delete vars;
}

void CInstance::Detach() {
  if (CObject* o = Object_Find(object_index)) o->RemoveInstance(this);
  Instance_Unregister(this);
  Grid_Leave(this);
}

void CInstance::Attach() {
  if (CObject* o = Object_Find(object_index)) o->AddInstance(this);
  Instance_Register(this);
  Grid_Join(this);
}

void CInstance::BoxChanged() {
  bbox_dirty = true;
  if (grid_joined) Grid_Queue(this);
}

void CInstance::SetObject(int obj) {
  if (CObject* old = Object_Find(object_index)) old->RemoveInstance(this);
  object_index = obj;
  if (CObject* o = Object_Find(obj)) {
    sprite_index = o->sprite_index;
    mask_index = o->mask_index;
    depth = static_cast<float>(o->depth);
    solid = (o->flags & OBJECT_SOLID) != 0;
    visible = (o->flags & OBJECT_VISIBLE) != 0;
    persistent = (o->flags & OBJECT_PERSISTENT) != 0;
    o->AddInstance(this);
    Grid_Join(this);  // an instance on an object's list is always filed
  }
  BoxChanged();
}

void CInstance::Assign(const CInstance* s) {
  if (s == this) return;
  if (object_index != s->object_index) {
    if (CObject* old = Object_Find(object_index)) old->RemoveInstance(this);
    if (CObject* o = Object_Find(s->object_index)) {
      o->AddInstance(this);
      Grid_Join(this);
    }
  }
  object_index = s->object_index;
  marked = s->marked;
  deactivated = s->deactivated;
  solid = s->solid;
  visible = s->visible;
  persistent = s->persistent;
  create_performed = s->create_performed;
  creation_serial = s->creation_serial;
  x = s->x, y = s->y, xprevious = s->xprevious, yprevious = s->yprevious;
  xstart = s->xstart, ystart = s->ystart;
  direction = s->direction, speed = s->speed, hspeed = s->hspeed, vspeed = s->vspeed;
  friction = s->friction, gravity = s->gravity, gravity_direction = s->gravity_direction;
  depth = s->depth;
  sprite_index = s->sprite_index, mask_index = s->mask_index;
  image_index = s->image_index, image_speed = s->image_speed;
  image_xscale = s->image_xscale, image_yscale = s->image_yscale, image_angle = s->image_angle;
  image_blend = s->image_blend, image_alpha = s->image_alpha;
  std::copy(std::begin(s->alarm), std::end(s->alarm), std::begin(alarm));
  g_InstanceListVersion++;
  g_InstanceAlarmVersion++;
  path_index = s->path_index, path_position = s->path_position;
  path_positionprevious = s->path_positionprevious, path_speed = s->path_speed;
  path_scale = s->path_scale, path_orientation = s->path_orientation;
  path_endaction = s->path_endaction, path_xstart = s->path_xstart, path_ystart = s->path_ystart;
  timeline_index = s->timeline_index, timeline_position = s->timeline_position;
  timeline_speed = s->timeline_speed, timeline_running = s->timeline_running;
  timeline_loop = s->timeline_loop;
  // The physics body belongs to the source alone.
  if (s->vars && !vars) vars = new CVariableList;
  if (vars) VarList_CopyInto(vars, s->vars);
  BoxChanged();
}

void CInstance::SetPosition(float nx, float ny) {
  if (nx != x || ny != y) BoxChanged();
  x = nx;
  y = ny;
}

void CInstance::SetImageXScale(float s) {
  if (s != image_xscale) BoxChanged();
  image_xscale = s;
}

void CInstance::SetImageYScale(float s) {
  if (s != image_yscale) BoxChanged();
  image_yscale = s;
}

void CInstance::SetImageAngle(float a) {
  if (a != image_angle) BoxChanged();
  image_angle = a;
}

void CInstance::SetSpriteIndex(int sprite) {
  if (sprite != sprite_index) BoxChanged();
  sprite_index = sprite;
}

void CInstance::SetMaskIndex(int mask) {
  if (mask != mask_index) BoxChanged();
  mask_index = mask;
}

const CSprite* CInstance::CollisionSprite() const {
  return Sprite_Data(mask_index >= 0 ? mask_index : sprite_index);
}

bool CInstance::HasShape() const { return CollisionSprite() != nullptr; }

// An edge of the box (rounded, less "inset"), held to the 32-bit range: an
// instance far outside it gets a box at the end of the range, not one that
// wraps around to cover every position.
static int BoxEdge(double v, int inset) {
  if (std::isnan(v)) return INT32_MIN;
  if (v >= 2147483648.0) return INT32_MAX;
  if (v < -2147483648.0) return INT32_MIN;
  return static_cast<int>(std::max<int64_t>(Convert_RoundInt64(v) - inset, INT32_MIN));
}

void CInstance::ComputeBoundingBox() {
  bbox_dirty = false;
  const CSprite* s = CollisionSprite();
  if (!s || s->bboxRight < s->bboxLeft || s->bboxBottom < s->bboxTop) {
    bbox_left = bbox_right = Convert_RoundInt(x);
    bbox_top = bbox_bottom = Convert_RoundInt(y);
    return;
  }
  // The box edges in sprite space (right and bottom exclusive), scaled and
  // rotated about the origin.
  double l = (s->bboxLeft - s->xorig) * static_cast<double>(image_xscale);
  double r = (s->bboxRight + 1 - s->xorig) * static_cast<double>(image_xscale);
  double t = (s->bboxTop - s->yorig) * static_cast<double>(image_yscale);
  double b = (s->bboxBottom + 1 - s->yorig) * static_cast<double>(image_yscale);
  double minx, maxx, miny, maxy;
  if (image_angle == 0) {
    minx = std::min(l, r), maxx = std::max(l, r);
    miny = std::min(t, b), maxy = std::max(t, b);
  } else {
    double a = image_angle * M_PI / 180.0, c = std::cos(a), sn = std::sin(a);
    double cx[4] = {l, r, r, l}, cy[4] = {t, t, b, b};
    minx = miny = 1e300, maxx = maxy = -1e300;
    for (int i = 0; i < 4; i++) {
      double rx = cx[i] * c + cy[i] * sn, ry = -cx[i] * sn + cy[i] * c;
      minx = std::min(minx, rx), maxx = std::max(maxx, rx);
      miny = std::min(miny, ry), maxy = std::max(maxy, ry);
    }
  }
  bbox_left = BoxEdge(x + minx, 0);
  bbox_right = BoxEdge(x + maxx, 1);
  bbox_top = BoxEdge(y + miny, 0);
  bbox_bottom = BoxEdge(y + maxy, 1);
  if (bbox_right < bbox_left) bbox_right = bbox_left;
  if (bbox_bottom < bbox_top) bbox_bottom = bbox_top;
}

static float NormaliseDegrees(double d) {
  d = std::fmod(d, 360.0);
  if (d < 0) d += 360.0;
  return static_cast<float>(d);
}

// Motion components lose tiny remainders of the trigonometry (cos 90 is not
// quite 0), so that axis-aligned motion stays exact.
static float Clean(double v) { return std::fabs(v) < 1e-5 ? 0.0f : static_cast<float>(v); }

void CInstance::ComputeComponentsFromSpeed() {
  double a = direction * M_PI / 180.0;
  hspeed = Clean(speed * std::cos(a));
  vspeed = Clean(-speed * std::sin(a));
}

void CInstance::ComputeSpeedFromComponents() {
  speed = static_cast<float>(std::sqrt(static_cast<double>(hspeed) * hspeed + static_cast<double>(vspeed) * vspeed));
  if (hspeed != 0 || vspeed != 0) direction = NormaliseDegrees(std::atan2(-vspeed, hspeed) * 180.0 / M_PI);
}

void CInstance::SetDirection(float degrees) {
  direction = NormaliseDegrees(degrees);
  ComputeComponentsFromSpeed();
}

void CInstance::SetSpeed(float s) {
  speed = s;
  ComputeComponentsFromSpeed();
}

void CInstance::SetHSpeed(float h) {
  hspeed = h;
  ComputeSpeedFromComponents();
}

void CInstance::SetVSpeed(float v) {
  vspeed = v;
  ComputeSpeedFromComponents();
}

void CInstance::AddMotion(float degrees, float s) {
  double a = degrees * M_PI / 180.0;
  hspeed = Clean(hspeed + s * std::cos(a));
  vspeed = Clean(vspeed - s * std::sin(a));
  ComputeSpeedFromComponents();
}

void CInstance::Move() {
  if (friction != 0) {
    float s = speed > 0 ? std::max(0.0f, speed - friction) : std::min(0.0f, speed + friction);
    SetSpeed(s);
  }
  if (gravity != 0) AddMotion(gravity_direction, gravity);
  if (hspeed != 0 || vspeed != 0) SetPosition(x + hspeed, y + vspeed);
}
