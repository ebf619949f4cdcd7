// The script and time line built-ins: queries, running a script by index,
// deleting time lines and clearing their moments.
#include <algorithm>
#include <string>

#include "Base/Console.h"
#include "Code/Code_Error.h"
#include "Code/Code_Main.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Resource.h"
#include "Script/Script_Main.h"
#include "TimeLine/TimeLine_Main.h"

namespace {
constexpr int MAX_SCRIPT_ARGUMENTS = MAX_ARGUMENTS - 1;  // the script index takes one

void F_ScriptGetText(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  const char* text = Script_Exists(RValue_RoundInt(arg[0])) ? Script_GetText(RValue_RoundInt(arg[0])) : nullptr;
  RValue_SetString(&Result, text ? text : "");
}

// Runs the script with the caller's self and other and at most 15
// arguments (argument_count is theirs for the call); a run-time error in it
// is reported, not fatal, and the caller goes on.
void F_ScriptExecute(RValue& Result, CInstance* self, CInstance* other, int argc, const RValue* arg) {
  int index = argc > 0 ? RValue_RoundInt(arg[0]) : -1;
  if (!Script_Exists(index)) {
    Error_Show_Action("Trying to execute non-existing script.", false);
    return;
  }
  int count = std::clamp(argc - 1, 0, MAX_SCRIPT_ARGUMENTS);
  if (!Script_Execute(index, self, other, count, arg + 1, &Result) && Code_ErrorPending()) {
    std::string text = Code_ErrorText;  // the report may run code that changes it
    Code_ErrorClear();
    Error_Show_Action(text.c_str(), false);
  }
}

void F_TimelineDelete(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (!TimeLine_Exists(RValue_RoundInt(arg[0]))) {
    Error_Show_Action("Trying to delete non-existing timeline.", false);
    return;
  }
  Give(Result, TimeLine_Delete(RValue_RoundInt(arg[0])) ? 1 : 0);
}
void F_TimelineAdd(RValue& Result, CInstance*, CInstance*, int, const RValue*) { Give(Result, TimeLine_Add()); }
void F_TimelineMomentClear(RValue&, CInstance*, CInstance*, int, const RValue* arg) {
  if (CTimeLine* t = TimeLine_Data(RValue_RoundInt(arg[0]))) t->ClearMoment(RValue_RoundInt(arg[1]));
}
void F_TimelineMomentAdd(RValue&, CInstance*, CInstance*, int, const RValue*) {
  Console_Printf("timeline_moment_add :: deprecated function\n");
}
}  // namespace

void Function_Resource_Script_Init() {
  Function_Add("script_exists", Resource_Exists<Script_Exists>, 1);
  Function_Add("script_get_name", Resource_Name<Script_GetName>, 1);
  Function_Add("script_name", Resource_Name<Script_GetName>, 1);
  Function_Add("script_get_text", F_ScriptGetText, 1);
  Function_Add("script_execute", F_ScriptExecute, -1);

  Function_Add("timeline_exists", Resource_Exists<TimeLine_Exists>, 1);
  Function_Add("timeline_get_name", Resource_Name<TimeLine_Name>, 1);
  Function_Add("timeline_name", Resource_Name<TimeLine_Name>, 1);
  Function_Add("timeline_add", F_TimelineAdd, 0);
  Function_Add("timeline_delete", F_TimelineDelete, 1);
  Function_Add("timeline_moment_clear", F_TimelineMomentClear, 2);
  Function_Add("timeline_moment_add", F_TimelineMomentAdd, 3);
}
