// The path table, and instances following paths.
#pragma once

class CPath;
class CInstance;
struct GamePackage;

// Path end actions of an instance.
enum { PATH_END_STOP = 0, PATH_END_RESTART = 1, PATH_END_CONTINUE = 2, PATH_END_REVERSE = 3 };

CPath* Path_Data(int index);
bool Path_Exists(int index);
// The path's name, or "<undefined>".
const char* Path_Name(int index);
int Path_Count();
// Index of the path of that name, -1 when none.
int Path_FindByName(const char* name);
// Appends an empty path named "__newpath"; returns its index.
int Path_Add();
// Appends a copy named "__newpath"; -1 for a missing path.
int Path_Duplicate(int index);
// Frees the path and leaves its slot empty; false for a bad index.
bool Path_Delete(int index);
// Copies path src into path dst: 1 on success, 0 or less on failure (a
// missing path, or a path onto itself).
int Path_Assign(int dst, int src);
void Path_FreeAll();
// Replaces the table with the package's paths.
void Path_LoadAll(const GamePackage& pkg);

// Starts a path on the instance (the instance's SetPath): with a path of
// positive length, stores speed, position (0, or 1 for a negative speed),
// scale, orientation and end action; when absolute, first moves the instance
// onto the path's point at that position. The path is then placed so that
// the instance stands on that point. A missing or empty path leaves the
// instance with path index -1 and nothing else changed.
void Path_StartInstance(CInstance* inst, int path, float speed, float scale, float orientation, bool absolute,
                        int endaction);
// Where the instance's path puts it at a position along the path.
void Path_InstancePoint(const CInstance* inst, double pos, float* x, float* y);
// One step along the instance's path: the position advances by the path
// speed (times the speed of the path there, in percent) over the scaled
// length, the end action applies at either end, and the instance moves onto
// its new point. True when an end was reached this step: the caller then
// performs the end-of-path event. Call it for every active instance after
// its motion in the step.
bool Path_StepInstance(CInstance* inst);
