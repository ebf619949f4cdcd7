#include "Run/Run_RunnerForm.h"

bool RunnerForm_ShowVideo(const char*, bool) { return true; }
bool RunnerForm_ShowImage(const char*, int) { return true; }
bool RunnerForm_ShowText(const char*, int) { return true; }
