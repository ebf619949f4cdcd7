// Code execution, events, variables by name, native calls, the debug console
// and a few services of the system.
#include <cstdio>
#include <string>

#include "Base/Console.h"
#include "Base/Convert.h"
#include "Base/Text_Real.h"
#include "Code/Code_Constant.h"
#include "Code/Code_Context.h"
#include "Code/Code_Error.h"
#include "Code/Code_Main.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Date.h"
#include "Function/Function_MiscM.h"
#include "Graphics_API/Clipboard_Main.h"
#include "IO/LoadSave_Main.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Platform/MemoryManager.h"
#include "Support/Support_DLL.h"
#include "Variable/Variable_Main.h"

namespace {

// ------------------------------------------------------------------ events

// event_perform(type, number): self's own event (or its ancestors').
void F_EventPerform(RValue& Result, CInstance* self, CInstance* other, int, const RValue* arg) {
  Event_Perform(self, other, RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]));
}

// event_user(n): user event n, other event 10 + n.
void F_EventUser(RValue& Result, CInstance* self, CInstance* other, int, const RValue* arg) {
  Event_Perform(self, other, EV_OTHER, EV_OTHER_USER0 + RValue_RoundInt(arg[0]));
}

// event_perform_object(object, type, number): that object's event on self.
void F_EventPerformObject(RValue& Result, CInstance* self, CInstance* other, int, const RValue* arg) {
  Event_PerformObject(self, other, RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]));
}

// event_inherited(): the running event as the parent of the object that
// defines it has it.
void F_EventInherited(RValue& Result, CInstance* self, CInstance* other, int, const RValue*) {
  const CodeEventContext& running = g_CodeEventContext;
  CObject* obj = Object_Find(running.object_index);
  if (!obj || !Object_Exists(obj->parent_index)) return;
  Event_PerformObject(self, other, obj->parent_index, running.event_type, running.event_number);
}

// ---------------------------------------------------------- code execution

// Counters naming the units of execute_string and execute_file.
int g_ExecuteCount = 0;
int g_ExecuteFileCount = 0;

// Compiles and runs program text with the caller's self and other. The
// arguments after the first go into the argument slots (the rest become the
// real 0) for the run; the slots are put back afterwards, also after a
// compilation error.
void Misc_Execute(RValue& Result, CInstance* self, CInstance* other, int argc, const RValue* arg, const char* text,
                  const char* unit_format, int* counter, const char* error_prefix) {
  CodeArgumentSave saved;
  Code_Arguments_Save(&saved);
  Code_Arguments_Set(argc - 1, arg + 1);
  CCode code(text, false);
  char name[64];
  snprintf(name, sizeof name, unit_format, (*counter)++);
  if (code.Compile(name)) {
    Code_ExecuteOrReport(self, other, &code, &Result);
  } else {
    std::string message = error_prefix + Code_ErrorText;
    Error_Show(message.c_str(), false);
  }
  Code_Arguments_Restore(&saved);
}

// execute_string(code, arguments ...)
void F_ExecuteString(RValue& Result, CInstance* self, CInstance* other, int argc, const RValue* arg) {
  if (argc < 1) return;
  Misc_Execute(Result, self, other, argc, arg, RValue_Text(arg[0]), "Execute.%d", &g_ExecuteCount,
               "COMPILATION ERROR in string to be executed\n");
}

// The whole code file (from the save folder, else the game's folder), its
// line ends made plain line feeds; false when there is no such file.
bool Misc_ReadCodeFile(const char* name, std::string* text) {
  int64_t length = 0;
  uint8_t* data = LoadSave_ReadSaveFile(name, &length);
  if (!data) data = LoadSave_ReadBundleFile(name, &length);
  if (!data) return false;
  text->clear();
  for (int64_t i = 0; i < length; ++i)
    if (data[i] != '\r' || (i + 1 < length && data[i + 1] != '\n')) *text += (char)data[i];
  *text += '\n';
  MEM_FREE(data);
  return true;
}

// execute_file(file name, arguments ...)
void F_ExecuteFile(RValue& Result, CInstance* self, CInstance* other, int argc, const RValue* arg) {
  if (argc < 1) return;
  std::string text;
  if (!Misc_ReadCodeFile(RValue_Text(arg[0]), &text)) {
    Error_Show_Action("Trying to execute non-existing file.", false);
    return;
  }
  Misc_Execute(Result, self, other, argc, arg, text.c_str(), "ExecuteFile.%d", &g_ExecuteFileCount,
               "COMPILATION ERROR in file to be executed\n");
}

// -------------------------------------------------------- variables by name

const RValue Misc_Zero{VALUE_REAL, nullptr, 0.0};

// The element index of (row, column); false after reporting an index of
// 32000 or more. A negative row or column gives -1, which names no element.
bool Misc_ElementIndex(const RValue& row, const RValue& column, int* index) {
  int r = RValue_RoundInt(row), c = RValue_RoundInt(column);
  if (r >= ARRAY_DIMENSION || c >= ARRAY_DIMENSION) {
    Error_Show_Action("Array index >= 32000", false);
    return false;
  }
  *index = r < 0 || c < 0 ? -1 : r * ARRAY_DIMENSION + c;
  return true;
}

// The id of the variable of that name (registered when new).
template <bool Global>
int Misc_VariableId(const RValue& name) {
  return Global ? Code_GlobalVariable_Find(RValue_Text(name)) : Code_Variable_Find(RValue_Text(name));
}

// Global or self's variable of that name; false when the get operation
// reports failure.
template <bool Global>
bool Misc_GetVariable(CInstance* self, const RValue& name, int index, RValue* out) {
  int id = Misc_VariableId<Global>(name);
  if (Global) return Variable_Global_GetValue(id, index, out);
  return self && Variable_GetValue(self, id, index, out);
}

template <bool Global>
void Misc_SetVariable(CInstance* self, const RValue& name, int index, const RValue& value) {
  int id = Misc_VariableId<Global>(name);
  if (Global) Variable_Global_SetValue(id, index, &value);
  else if (self) Variable_SetValue(self, id, index, &value);
}

// A name never set does not exist, so a game may test before it reads.
template <bool Global>
void F_VariableExists(RValue& Result, CInstance* self, CInstance*, int, const RValue* arg) {
  int id = Misc_VariableId<Global>(arg[0]);
  Result.val = Global ? Variable_Global_Exists(id, 0) : self && Variable_Exists(self, id, 0);
}

template <bool Global>
void F_VariableGet(RValue& Result, CInstance* self, CInstance*, int, const RValue* arg) {
  Misc_GetVariable<Global>(self, arg[0], 0, &Result);
}

template <bool Global>
void F_VariableArrayGet(RValue& Result, CInstance* self, CInstance*, int, const RValue* arg) {
  int index;
  if (Misc_ElementIndex(Misc_Zero, arg[1], &index)) Misc_GetVariable<Global>(self, arg[0], index, &Result);
}

template <bool Global>
void F_VariableArray2Get(RValue& Result, CInstance* self, CInstance*, int, const RValue* arg) {
  int index;
  if (Misc_ElementIndex(arg[1], arg[2], &index)) Misc_GetVariable<Global>(self, arg[0], index, &Result);
}

template <bool Global>
void F_VariableSet(RValue& Result, CInstance* self, CInstance*, int, const RValue* arg) {
  Misc_SetVariable<Global>(self, arg[0], 0, arg[1]);
}

template <bool Global>
void F_VariableArraySet(RValue& Result, CInstance* self, CInstance*, int, const RValue* arg) {
  int index;
  if (Misc_ElementIndex(Misc_Zero, arg[1], &index)) Misc_SetVariable<Global>(self, arg[0], index, arg[2]);
}

template <bool Global>
void F_VariableArray2Set(RValue& Result, CInstance* self, CInstance*, int, const RValue* arg) {
  int index;
  if (Misc_ElementIndex(arg[1], arg[2], &index)) Misc_SetVariable<Global>(self, arg[0], index, arg[3]);
}

// ------------------------------------------------------------ native calls

// A kind argument: string when it rounds to 1, every other value real.
int Misc_Kind(const RValue& v) { return RValue_RoundInt(v) == 1 ? DLL_TYPE_STRING : DLL_TYPE_REAL; }

void Misc_Define(RValue& Result, const RValue* arg, int convention, int argc, const int* kinds, const RValue& restype) {
  int id = DLL_Define(RValue_Text(arg[0]), RValue_Text(arg[1]), convention, argc, kinds, Misc_Kind(restype));
  if (id < 0) Error_Show_Action("Error defining an external function.", false);
  Result.val = id;
}

// external_define(dll, name, call type, result type, count, type1, ...)
void F_ExternalDefine(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (argc < 5 || argc != RValue_RoundInt(arg[4]) + 5) {
    Error_Show_Action("Wrong number of arguments to external_define()", false);
    return;
  }
  int count = argc - 5;
  if (count > DLL_MAX_ARGUMENTS) {
    Error_Show_Action("DLL functions can have at most 16 arguments", false);
    return;
  }
  int kinds[DLL_MAX_ARGUMENTS];
  for (int i = 0; i < count; ++i) {
    kinds[i] = Misc_Kind(arg[5 + i]);
    if (count > DLL_MAX_MIXED_ARGUMENTS && RValue_RoundInt(arg[5 + i]) != 0) {
      Error_Show_Action("DLL functions with more than 4 arguments cannot have string arguments", false);
      return;
    }
  }
  Misc_Define(Result, arg, RValue_RoundInt(arg[2]), count, kinds, arg[3]);
}

// external_define0 to external_define4: (dll, name, type1 ..., result type).
template <int N>
void F_ExternalDefineMixed(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  int kinds[N + 1];
  for (int i = 0; i < N; ++i) kinds[i] = Misc_Kind(arg[2 + i]);
  Misc_Define(Result, arg, DLL_CDECL, N, kinds, arg[2 + N]);
}

// external_define5 to external_define8: (dll, name, result type), all real.
template <int N>
void F_ExternalDefineReals(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  int kinds[N] = {};
  Misc_Define(Result, arg, DLL_CDECL, N, kinds, arg[2]);
}

// external_call(id, arguments ...) and its fixed-count forms.
void F_ExternalCall(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (argc < 1) return;
  DLL_Call(RValue_RoundInt(arg[0]), argc - 1, arg + 1, &Result);
}

void F_ExternalFree(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) { DLL_Free(RValue_Text(arg[0])); }

// ------------------------------------------------- console, window, system

// show_debug_message(text): the text (a real as `string` writes it) and a line end.
void F_ShowDebugMessage(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  std::string line = RValue_IsString(arg[0]) ? std::string(RValue_Text(arg[0])) : Real_ToText(arg[0].val);
  line += '\n';
  g_Console.Print(line.c_str());
}

void F_WindowHandle(RValue& Result, CInstance*, CInstance*, int, const RValue*) { Result.val = (double)MiscM_WindowHandle(); }

void F_SetProgramPriority(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  MiscM_SetPriority(RValue_RoundInt(arg[0]));
}

void F_SetApplicationTitle(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  if (RValue_IsString(arg[0])) MiscM_SetCaption(RValue_Text(arg[0]));
}

void F_ClipboardHasText(RValue& Result, CInstance*, CInstance*, int, const RValue*) { Result.val = Clipboard_HasText(); }

void F_ClipboardGetText(RValue& Result, CInstance*, CInstance*, int, const RValue*) {
  RValue_SetString(&Result, Clipboard_GetText().c_str());
}

void F_ClipboardSetText(RValue& Result, CInstance*, CInstance*, int, const RValue* arg) {
  Clipboard_SetText(RValue_Text(arg[0]));
}

}  // namespace

void Function_Misc_Init() {
  Function_Add("event_perform", F_EventPerform, 2);
  Function_Add("event_user", F_EventUser, 1);
  Function_Add("event_perform_object", F_EventPerformObject, 3);
  Function_Add("event_inherited", F_EventInherited, 0);

  Function_Add("execute_string", F_ExecuteString, -1);
  Function_Add("execute_file", F_ExecuteFile, -1);

  Function_Add("variable_global_exists", F_VariableExists<true>, 1);
  Function_Add("variable_local_exists", F_VariableExists<false>, 1);
  Function_Add("variable_global_get", F_VariableGet<true>, 1);
  Function_Add("variable_local_get", F_VariableGet<false>, 1);
  Function_Add("variable_global_array_get", F_VariableArrayGet<true>, 2);
  Function_Add("variable_local_array_get", F_VariableArrayGet<false>, 2);
  Function_Add("variable_global_array2_get", F_VariableArray2Get<true>, 3);
  Function_Add("variable_local_array2_get", F_VariableArray2Get<false>, 3);
  Function_Add("variable_global_set", F_VariableSet<true>, 2);
  Function_Add("variable_local_set", F_VariableSet<false>, 2);
  Function_Add("variable_global_array_set", F_VariableArraySet<true>, 3);
  Function_Add("variable_local_array_set", F_VariableArraySet<false>, 3);
  Function_Add("variable_global_array2_set", F_VariableArray2Set<true>, 4);
  Function_Add("variable_local_array2_set", F_VariableArray2Set<false>, 4);

  Constant_AddReal("ty_real", DLL_TYPE_REAL);
  Constant_AddReal("ty_string", DLL_TYPE_STRING);
  Constant_AddReal("dll_cdecl", DLL_CDECL);
  Constant_AddReal("dll_stdcall", DLL_STDCALL);
  Function_Add("external_define", F_ExternalDefine, -1);
  Function_Add("external_define0", F_ExternalDefineMixed<0>, 3);
  Function_Add("external_define1", F_ExternalDefineMixed<1>, 4);
  Function_Add("external_define2", F_ExternalDefineMixed<2>, 5);
  Function_Add("external_define3", F_ExternalDefineMixed<3>, 6);
  Function_Add("external_define4", F_ExternalDefineMixed<4>, 7);
  Function_Add("external_define5", F_ExternalDefineReals<5>, 3);
  Function_Add("external_define6", F_ExternalDefineReals<6>, 3);
  Function_Add("external_define7", F_ExternalDefineReals<7>, 3);
  Function_Add("external_define8", F_ExternalDefineReals<8>, 3);
  Function_Add("external_call", F_ExternalCall, -1);
  for (int n = 0; n <= 8; ++n) Function_Add(("external_call" + std::to_string(n)).c_str(), F_ExternalCall, n + 1);
  Function_Add("external_free", F_ExternalFree, 1);

  Function_Add("show_debug_message", F_ShowDebugMessage, 1);
  Function_Add("window_handle", F_WindowHandle, 0);
  Function_Add("set_program_priority", F_SetProgramPriority, 1);
  Function_Add("set_application_title", F_SetApplicationTitle, 1);
  Function_Add("clipboard_has_text", F_ClipboardHasText, 0);
  Function_Add("clipboard_get_text", F_ClipboardGetText, 0);
  Function_Add("clipboard_set_text", F_ClipboardSetText, 1);
  Function_Date_Init();
}
