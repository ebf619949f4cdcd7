// Motion planning for one instance: straight and potential-field steps
// towards a goal, and whole plans of such steps written into a path.
#pragma once

class CInstance;

// Most points a planned path takes; a longer plan fails.
constexpr int MOTION_PLAN_MAX_POINTS = 10000;

struct MotionPlanSettings {
  float maxrot = 30;   // most degrees the direction turns in one step
  float rotstep = 10;  // degrees between the directions tried
  float ahead = 3;     // steps ahead that must be free too
  bool onspot = true;  // turn on the spot when no direction is free
};

const MotionPlanSettings& MotionPlan_Settings();
// Values below 1 are stored as 1.
void MotionPlan_SetPotentialSettings(float maxrot, float rotstep, float ahead, bool onspot);

// The obstacles at a spot: with target -3 the solid (or, with checkall, any)
// instances; otherwise the instances of the target.
bool MotionPlan_Free(CInstance* inst, float x, float y, int target, bool checkall);

// One straight step of stepsize towards the goal (onto it when within
// reach), taken when the spot is free. True when the goal was within reach.
bool MotionPlan_LinearStep(CInstance* inst, float xgoal, float ygoal, float stepsize, int target, bool checkall);
// One potential-field step: the direction nearest the goal's that turns at
// most maxrot and has free spots one and `ahead` steps away. True when the
// goal was within reach.
bool MotionPlan_PotentialStep(CInstance* inst, float xgoal, float ygoal, float stepsize, int target, bool checkall);

// Plans of steps from the instance's position, written into the path as an
// open straight path; the instance ends where it started. True when the
// goal was reached. A linear plan stops where it is blocked (the path keeps
// the way up to there); a potential plan may walk at most factor times the
// straight distance. A plan longer than its limit fails with an empty path.
// False for a missing path or a stepsize of 0 or less.
bool MotionPlan_LinearPath(CInstance* inst, int path, float xgoal, float ygoal, float stepsize, int target,
                           bool checkall);
bool MotionPlan_PotentialPath(CInstance* inst, int path, float xgoal, float ygoal, float stepsize, float factor,
                              int target, bool checkall);
