#include "Motion/Motion_Plan.h"

#include <cmath>
#include <vector>

#include "Object/Instance_Class.h"
#include "Path/Path_Class.h"
#include "Path/Path_Main.h"
#include "Run/Run_Instance.h"
#include "Run/Run_Services.h"

namespace {
MotionPlanSettings g_settings;

double DirectionTo(float x1, float y1, float x2, float y2) {
  return std::atan2(-(static_cast<double>(y2) - y1), static_cast<double>(x2) - x1) * 180.0 / M_PI;
}

// The smallest angle between two directions, 0 to 180.
double AngleBetween(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180 ? 360 - d : d;
}

void Along(const CInstance* inst, double direction, double distance, float* x, float* y) {
  double a = direction * M_PI / 180.0;
  *x = static_cast<float>(inst->x + distance * std::cos(a));
  *y = static_cast<float>(inst->y - distance * std::sin(a));
}

// Moves onto the spot facing it when it is free.
void StepOnto(CInstance* inst, float x, float y, int target, bool checkall) {
  if (!MotionPlan_Free(inst, x, y, target, checkall)) return;
  if (x != inst->x || y != inst->y) inst->SetDirection(static_cast<float>(DirectionTo(inst->x, inst->y, x, y)));
  inst->SetPosition(x, y);
}

// The instance's position and motion, put back after planning.
struct SavedMotion {
  explicit SavedMotion(CInstance* i)
      : inst(i), x(i->x), y(i->y), direction(i->direction), speed(i->speed), hspeed(i->hspeed), vspeed(i->vspeed) {}
  ~SavedMotion() {
    inst->SetPosition(x, y);
    inst->direction = direction, inst->speed = speed, inst->hspeed = hspeed, inst->vspeed = vspeed;
  }
  CInstance* inst;
  float x, y, direction, speed, hspeed, vspeed;
};

// Repeats the step from the instance's position, adding a point at every
// spot reached, until the goal or a limit: false (empty path) past
// max_steps or the point limit, false (the way so far) when stopped.
template <class Step>
bool Plan(CInstance* inst, CPath* path, double max_steps, bool stop_when_stuck, Step&& step) {
  SavedMotion saved(inst);
  std::vector<PathPoint> points{{inst->x, inst->y, 100}};
  bool reached = false, overflow = false;
  for (double n = 0;; n++) {
    if (n >= max_steps || points.size() >= static_cast<size_t>(MOTION_PLAN_MAX_POINTS)) {
      overflow = true;
      break;
    }
    float x = inst->x, y = inst->y;
    reached = step();
    bool moved = inst->x != x || inst->y != y;
    if (moved) points.push_back({inst->x, inst->y, 100});
    if (reached || (stop_when_stuck && !moved)) break;
  }
  path->SetKind(PATH_STRAIGHT);
  path->SetClosed(false);
  if (overflow) points.clear();
  path->SetPoints(std::move(points));
  return reached;
}
}  // namespace

const MotionPlanSettings& MotionPlan_Settings() { return g_settings; }

void MotionPlan_SetPotentialSettings(float maxrot, float rotstep, float ahead, bool onspot) {
  g_settings.maxrot = maxrot < 1 ? 1 : maxrot;
  g_settings.rotstep = rotstep < 1 ? 1 : rotstep;
  g_settings.ahead = ahead < 1 ? 1 : ahead;
  g_settings.onspot = onspot;
}

bool MotionPlan_Free(CInstance* inst, float x, float y, int target, bool checkall) {
  if (target == TARGET_ALL) return checkall ? Run_PlaceEmpty(inst, x, y) : Run_PlaceFree(inst, x, y);
  return Run_PlaceMeeting(inst, x, y, target) == nullptr;
}

bool MotionPlan_LinearStep(CInstance* inst, float xgoal, float ygoal, float stepsize, int target, bool checkall) {
  double dist = std::hypot(static_cast<double>(xgoal) - inst->x, static_cast<double>(ygoal) - inst->y);
  bool within = dist <= stepsize;
  float x = xgoal, y = ygoal;
  if (!within) Along(inst, DirectionTo(inst->x, inst->y, xgoal, ygoal), stepsize, &x, &y);
  StepOnto(inst, x, y, target, checkall);
  return within;
}

bool MotionPlan_PotentialStep(CInstance* inst, float xgoal, float ygoal, float stepsize, int target, bool checkall) {
  double dist = std::hypot(static_cast<double>(xgoal) - inst->x, static_cast<double>(ygoal) - inst->y);
  if (dist <= stepsize) {
    StepOnto(inst, xgoal, ygoal, target, checkall);
    return true;
  }
  double goal = DirectionTo(inst->x, inst->y, xgoal, ygoal);
  const MotionPlanSettings& s = g_settings;
  for (double offset = 0; offset < 180; offset += s.rotstep) {
    for (double side : {1.0, -1.0}) {
      if (offset == 0 && side < 0) continue;
      double d = goal + side * offset;
      if (AngleBetween(d, inst->direction) > s.maxrot) continue;
      float ax, ay, x, y;
      Along(inst, d, static_cast<double>(s.ahead) * stepsize, &ax, &ay);
      Along(inst, d, stepsize, &x, &y);
      if (!MotionPlan_Free(inst, ax, ay, target, checkall) || !MotionPlan_Free(inst, x, y, target, checkall)) continue;
      inst->SetDirection(static_cast<float>(d));
      inst->SetPosition(x, y);
      return false;
    }
  }
  if (s.onspot) inst->SetDirection(inst->direction + s.maxrot);
  return false;
}

bool MotionPlan_LinearPath(CInstance* inst, int path, float xgoal, float ygoal, float stepsize, int target,
                           bool checkall) {
  CPath* p = Path_Data(path);
  if (!p || !(stepsize > 0)) return false;
  return Plan(inst, p, INFINITY, true, [&] { return MotionPlan_LinearStep(inst, xgoal, ygoal, stepsize, target, checkall); });
}

bool MotionPlan_PotentialPath(CInstance* inst, int path, float xgoal, float ygoal, float stepsize, float factor,
                              int target, bool checkall) {
  CPath* p = Path_Data(path);
  if (!p || !(stepsize > 0)) return false;
  double dist = std::hypot(static_cast<double>(xgoal) - inst->x, static_cast<double>(ygoal) - inst->y);
  double max_steps = std::ceil(factor * dist / stepsize) + 1;
  if (!(max_steps >= 1)) max_steps = 1;
  return Plan(inst, p, max_steps, false,
              [&] { return MotionPlan_PotentialStep(inst, xgoal, ygoal, stepsize, target, checkall); });
}
