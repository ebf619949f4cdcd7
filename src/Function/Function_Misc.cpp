#include <string>

#include "Base/Console.h"
#include "Base/Text_Real.h"
#include "Code/Function_Main.h"
#include "Function/Function_Date.h"

// show_debug_message(text): the text (a real as `string` writes it) and a line end.
void F_ShowDebugMessage(RValue& Result, CInstance* self, CInstance* other, int argc, RValue* arg) {
  std::string line = RValue_IsString(arg[0]) ? std::string(RValue_Text(arg[0])) : Real_ToText(arg[0].val);
  line += '\n';
  g_Console.Print(line.c_str());
}

void Function_Misc_Init() {
  Function_Add("show_debug_message", F_ShowDebugMessage, 1);
  Function_Date_Init();
}
