// Finding an instance by place in its list, and the one nearest to a point
// at any distance.
#pragma once

class CInstance;

// The instance of -3 or an object whose (x, y) lies nearest to the point,
// however far away; on equal distances the first in list order. An
// instance id or any other value finds nothing.
CInstance* Run_NearestInstance(float x, float y, int target);
// The n-th (from 0) instance of the target; an instance id only for n 0.
CInstance* Run_InstanceFind(int target, int n);
