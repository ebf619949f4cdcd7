// Time lines: moments, each a step number with an event.
#pragma once
#include <vector>

class CEvent;
class CInstance;

struct TimeLineMoment {
  int step = 0;
  CEvent* event = nullptr;  // owned
};

class CTimeLine {
 public:
  char* name = nullptr;  // owned
  std::vector<TimeLineMoment> moments;  // by step, ascending

  CTimeLine() = default;
  ~CTimeLine();
  CTimeLine(const CTimeLine&) = delete;
  CTimeLine& operator=(const CTimeLine&) = delete;

  // The event of a step, made when missing (moments stay sorted).
  CEvent* AddMoment(int step);
  void ClearMoment(int step);
  int LastStep() const { return moments.empty() ? 0 : moments.back().step; }
};

// Always -1: time lines are not made at run time.
int TimeLine_Add();
// Appends a time line read from the package; returns its index.
int TimeLine_Create(const char* name);
bool TimeLine_Exists(int index);
const char* TimeLine_Name(int index);
CTimeLine* TimeLine_Data(int index);
bool TimeLine_Delete(int index);
int TimeLine_Count();
int TimeLine_FindByName(const char* name);
void TimeLine_FreeAll();

// Advances the instance's running time line by its speed and runs the
// moments passed over.
void TimeLine_Step(CInstance* inst);
