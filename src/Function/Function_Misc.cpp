// Code execution, events, variables by name, native calls, the debug console
// and a few services of the system.
#include <string>

#include "Base/Console.h"
#include "Base/Convert.h"
#include "Base/Text_Real.h"
#include "Code/Code_Context.h"
#include "Code/Code_Error.h"
#include "Code/Function_Main.h"
#include "Function/Function_Date.h"
#include "Function/Linux/Function_MiscM.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Support/Support_DLL.h"

namespace {

// ------------------------------------------------------------------ events

// event_perform(type, number): self's own event (or its ancestors').
void F_EventPerform(RValue& Result, CInstance* self, CInstance* other, int, RValue* arg) {
  Event_Perform(self, other, RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]));
}

// event_user(n): user event n, other event 10 + n.
void F_EventUser(RValue& Result, CInstance* self, CInstance* other, int, RValue* arg) {
  Event_Perform(self, other, EV_OTHER, EV_OTHER_USER0 + RValue_RoundInt(arg[0]));
}

// event_perform_object(object, type, number): that object's event on self.
void F_EventPerformObject(RValue& Result, CInstance* self, CInstance* other, int, RValue* arg) {
  Event_PerformObject(self, other, RValue_RoundInt(arg[0]), RValue_RoundInt(arg[1]), RValue_RoundInt(arg[2]));
}

// event_inherited(): the running event as the parent of the object that
// defines it has it.
void F_EventInherited(RValue& Result, CInstance* self, CInstance* other, int, RValue*) {
  const CodeEventContext& running = g_CodeEventContext;
  CObject* obj = Object_Find(running.object_index);
  if (!obj || !Object_Exists(obj->parent_index)) return;
  Event_PerformObject(self, other, obj->parent_index, running.event_type, running.event_number);
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
void F_ExternalDefine(RValue& Result, CInstance*, CInstance*, int argc, RValue* arg) {
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
void F_ExternalDefineMixed(RValue& Result, CInstance*, CInstance*, int, RValue* arg) {
  int kinds[N + 1];
  for (int i = 0; i < N; ++i) kinds[i] = Misc_Kind(arg[2 + i]);
  Misc_Define(Result, arg, DLL_CDECL, N, kinds, arg[2 + N]);
}

// external_define5 to external_define8: (dll, name, result type), all real.
template <int N>
void F_ExternalDefineReals(RValue& Result, CInstance*, CInstance*, int, RValue* arg) {
  int kinds[N] = {};
  Misc_Define(Result, arg, DLL_CDECL, N, kinds, arg[2]);
}

// external_call(id, arguments ...) and its fixed-count forms.
void F_ExternalCall(RValue& Result, CInstance*, CInstance*, int argc, RValue* arg) {
  if (argc < 1) return;
  DLL_Call(RValue_RoundInt(arg[0]), argc - 1, arg + 1, &Result);
}

void F_ExternalFree(RValue& Result, CInstance*, CInstance*, int, RValue* arg) { DLL_Free(RValue_Text(arg[0])); }

// ------------------------------------------------- console, window, system

// show_debug_message(text): the text (a real as `string` writes it) and a line end.
void F_ShowDebugMessage(RValue& Result, CInstance*, CInstance*, int, RValue* arg) {
  std::string line = RValue_IsString(arg[0]) ? std::string(RValue_Text(arg[0])) : Real_ToText(arg[0].val);
  line += '\n';
  g_Console.Print(line.c_str());
}

void F_WindowHandle(RValue& Result, CInstance*, CInstance*, int, RValue*) { Result.val = (double)MiscM_WindowHandle(); }

void F_SetProgramPriority(RValue& Result, CInstance*, CInstance*, int, RValue* arg) {
  MiscM_SetPriority(RValue_RoundInt(arg[0]));
}

void F_SetApplicationTitle(RValue& Result, CInstance*, CInstance*, int, RValue* arg) {
  if (RValue_IsString(arg[0])) MiscM_SetCaption(RValue_Text(arg[0]));
}

void F_ClipboardHasText(RValue& Result, CInstance*, CInstance*, int, RValue*) { Result.val = MiscM_ClipboardHasText(); }

void F_ClipboardGetText(RValue& Result, CInstance*, CInstance*, int, RValue*) {
  RValue_SetString(&Result, MiscM_ClipboardGetText().c_str());
}

void F_ClipboardSetText(RValue& Result, CInstance*, CInstance*, int, RValue* arg) {
  MiscM_ClipboardSetText(RValue_Text(arg[0]));
}

}  // namespace

void Function_Misc_Init() {
  Function_Add("event_perform", F_EventPerform, 2);
  Function_Add("event_user", F_EventUser, 1);
  Function_Add("event_perform_object", F_EventPerformObject, 3);
  Function_Add("event_inherited", F_EventInherited, 0);

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
