#include "Path/Path_Main.h"

#include <cmath>

#include "DataFile/DataFile_Package.h"
#include "Object/Instance_Class.h"
#include "Path/Path_Class.h"
#include "Platform/Platform_ResourceTable.h"

namespace {
CResourceTable<CPath, ResourceNaming::InItem> g_paths;

// The path's offset from its first point, scaled and turned as the
// instance follows it (counter-clockwise on the screen).
void Transform(const CInstance* inst, double dx, double dy, double* ox, double* oy) {
  dx *= inst->path_scale, dy *= inst->path_scale;
  double a = inst->path_orientation * M_PI / 180.0, c = std::cos(a), s = std::sin(a);
  *ox = dx * c + dy * s;
  *oy = -dx * s + dy * c;
}

// The offset of a position's point from the first point, transformed.
void Offset(const CInstance* inst, const CPath* path, double pos, double* ox, double* oy) {
  PathPoint p = path->GetPosition(pos), first = path->GetPosition(0);
  Transform(inst, static_cast<double>(p.x) - first.x, static_cast<double>(p.y) - first.y, ox, oy);
}
}  // namespace

CPath* Path_Data(int index) { return g_paths.Get(index); }
bool Path_Exists(int index) { return Path_Data(index) != nullptr; }
const char* Path_Name(int index) { return g_paths.Name(index); }
int Path_Count() { return g_paths.Count(); }
int Path_FindByName(const char* name) { return g_paths.FindByName(name); }
int Path_Add() { return g_paths.Append(new CPath, "__newpath"); }

int Path_Duplicate(int index) {
  CPath* src = Path_Data(index);
  if (!src) return -1;
  int n = Path_Add();
  g_paths.Get(n)->Assign(*src);
  return n;
}

bool Path_Delete(int index) { return g_paths.Delete(index); }

int Path_Assign(int dst, int src) {
  CPath* d = Path_Data(dst);
  CPath* s = Path_Data(src);
  if (!d || !s || d == s) return 0;
  d->Assign(*s);
  return 1;
}

void Path_FreeAll() { g_paths.FreeAll(); }

void Path_LoadAll(const GamePackage& pkg) {
  Path_FreeAll();
  for (const PackagePath& pp : pkg.paths) {
    if (!pp.exists) {
      g_paths.Append(nullptr, nullptr);
      continue;
    }
    auto* p = new CPath;
    p->SetKind(pp.kind);
    p->SetClosed(pp.closed);
    p->SetPrecision(pp.precision);
    for (const PackagePathPoint& pt : pp.points) p->AddPoint(pt.x, pt.y, pt.speed);
    g_paths.Append(p, pp.name.c_str());
  }
}

void Path_InstancePoint(const CInstance* inst, double pos, float* x, float* y) {
  CPath* path = Path_Data(inst->path_index);
  if (!path) {
    *x = inst->x, *y = inst->y;
    return;
  }
  double ox, oy;
  Offset(inst, path, pos, &ox, &oy);
  *x = static_cast<float>(inst->path_xstart + ox);
  *y = static_cast<float>(inst->path_ystart + oy);
}

void Path_StartInstance(CInstance* inst, int index, float speed, float scale, float orientation, bool absolute,
                        int endaction) {
  CPath* path = Path_Data(index);
  if (!path || !(path->GetLength() > 0)) {
    inst->path_index = -1;
    return;
  }
  inst->path_index = index;
  inst->path_speed = speed;
  inst->path_position = inst->path_positionprevious = speed < 0 ? 1.0f : 0.0f;
  inst->path_scale = scale;
  inst->path_orientation = orientation;
  inst->path_endaction = endaction;
  double ox, oy;
  Offset(inst, path, inst->path_position, &ox, &oy);
  if (absolute) {
    PathPoint first = path->GetPosition(0);
    inst->path_xstart = first.x, inst->path_ystart = first.y;
    inst->SetPosition(static_cast<float>(first.x + ox), static_cast<float>(first.y + oy));
  } else {
    inst->path_xstart = static_cast<float>(inst->x - ox);
    inst->path_ystart = static_cast<float>(inst->y - oy);
  }
}

bool Path_StepInstance(CInstance* inst) {
  if (inst->path_index < 0) return false;
  CPath* path = Path_Data(inst->path_index);
  if (!path) {
    inst->path_index = -1;  // its path was deleted: the instance stops following it
    return false;
  }
  double length = path ? path->GetLength() * std::fabs(inst->path_scale) : 0;
  if (!(length > 0)) return false;
  double pos = inst->path_position;
  pos += inst->path_speed * (path->GetSpeed(pos) / 100.0) / length;
  bool forward_end = pos >= 1, backward_end = pos <= 0 && inst->path_speed < 0;
  bool ended = forward_end || backward_end, stop = false;
  if (ended) {
    // The whole path as one move, for continuing from where it ended.
    double ox, oy;
    Offset(inst, path, 1, &ox, &oy);
    double sign = forward_end ? 1 : -1;
    switch (inst->path_endaction) {
      case PATH_END_RESTART:
        pos -= sign;
        break;
      case PATH_END_CONTINUE:
        inst->path_xstart = static_cast<float>(inst->path_xstart + sign * ox);
        inst->path_ystart = static_cast<float>(inst->path_ystart + sign * oy);
        pos -= sign;
        break;
      case PATH_END_REVERSE:
        pos = forward_end ? 2 - pos : -pos;
        inst->path_speed = -inst->path_speed;
        break;
      default:  // stop at the end
        pos = forward_end ? 1 : 0;
        stop = true;
        break;
    }
    if (pos < 0) pos = 0;
    if (pos > 1) pos = 1;
  }
  inst->path_position = static_cast<float>(pos);
  float x, y;
  Path_InstancePoint(inst, pos, &x, &y);
  inst->SetPosition(x, y);
  if (stop) inst->path_index = -1;
  return ended;
}
