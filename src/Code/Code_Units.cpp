#include "Code/Code_Units.h"

#include <string>
#include <vector>

#include "Base/RValue.h"
#include "Code/Code_Error.h"
#include "Code/Code_Main.h"

namespace {
std::vector<CCode*> g_codes;
}

CCode* Code_CompileUnit(const char* text, const char* unit_name, bool room_code) {
  auto* code = new CCode(text, false);
  if (!code->Compile(unit_name)) {
    std::string message = std::string(room_code ? "COMPILATION ERROR in room script\n" : "COMPILATION ERROR in code action\n") +
                          Code_ErrorText;
    Error_Show(message.c_str(), !room_code);
    delete code;
    return nullptr;
  }
  g_codes.push_back(code);
  return code;
}

void Code_ExecuteUnit(CCode* code, CInstance* self, CInstance* other) {
  if (!code) return;
  RValue result = {VALUE_REAL, nullptr, 0.0};
  Code_ExecuteOrReport(self, other, code, &result);
  RValue_Free(&result);
}

void Code_FreeUnits() {
  for (CCode* code : g_codes) delete code;
  g_codes.clear();
}
