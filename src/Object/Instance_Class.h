// The instance record. The game world fills in the rest of it.
#pragma once
#include <cstdint>

class CVariableList;

class CInstance {
 public:
  int id = 0;
  int object_index = -1;
  bool marked = false;        // destroyed, waiting to be deleted after the events
  bool deactivated = false;
  CVariableList* vars = nullptr;  // the instance's own variables
};
