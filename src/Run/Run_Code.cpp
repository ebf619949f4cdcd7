#include "Run/Run_Code.h"

// Until the script engine runs code, a unit is run through this hook.
void (*g_RunCodeHook)(CCode* code, CInstance* self, CInstance* other) = nullptr;

CCode* Run_CompileCode(const char*, const char*, bool) { return nullptr; }

void Run_ExecuteCode(CCode* code, CInstance* self, CInstance* other) {
  if (code && g_RunCodeHook) g_RunCodeHook(code, self, other);
}

void Run_FreeCodes() {}
