// Finding an instance by its place in the target's list.
#pragma once

class CInstance;

// The n-th (from 0) instance of the target; an instance id only for n 0.
CInstance* Run_InstanceFind(int target, int n);
