// The keyboard, mouse and input-queue built-ins over the input state.
#include <chrono>
#include <thread>

#include "Base/Convert.h"
#include "Function/Function_Args.h"
#include "Function/Function_Interaction.h"
#include "IO/IO_Main.h"
#include "IO/IO_Query.h"
#include "Run/Run_Main.h"
#include "Run/Run_Screen.h"

#define HANDLER(name) void name(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg)

namespace {
void Pump() { Run_ProcessMessages(); }

// Waits, pumping every 50 ms, until the check is true or the window closes.
template <class Check>
void WaitFor(Check done) {
  Pump();
  while (!done() && Run_Running == 1) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    Pump();
  }
}
}  // namespace

// ---------------------------------------------------------------- keyboard

HANDLER(F_KeyboardKeyPress) { IO_Inject_Key(RValue_RoundInt(arg[0]), true); }
HANDLER(F_KeyboardKeyRelease) { IO_Inject_Key(RValue_RoundInt(arg[0]), false); }
HANDLER(F_KeyboardCheck) { Give(Result, Keyboard_CheckState(RValue_RoundInt(arg[0]), IO_HELD)); }
HANDLER(F_KeyboardCheckPressed) { Give(Result, Keyboard_CheckState(RValue_RoundInt(arg[0]), IO_PRESSED)); }
HANDLER(F_KeyboardCheckReleased) { Give(Result, Keyboard_CheckState(RValue_RoundInt(arg[0]), IO_RELEASED)); }
HANDLER(F_KeyboardCheckDirect) { Give(Result, IO_Key_CheckDirect(RValue_RoundInt(arg[0])) ? 1 : 0); }

HANDLER(F_KeyboardClear) {
  Pump();
  IO_Key_Clear(RValue_RoundInt(arg[0]));
}

HANDLER(F_KeyboardWait) {
  IO_SetLastKey(0);
  WaitFor([] { return IO_GetLastKey() != 0; });
}

// ------------------------------------------------------------------- mouse

HANDLER(F_MouseCheckButton) { Give(Result, Mouse_CheckButton(RValue_RoundInt(arg[0]), 0)); }
HANDLER(F_MouseCheckButtonPressed) { Give(Result, Mouse_CheckButtonPressed(RValue_RoundInt(arg[0]), 0)); }
HANDLER(F_MouseCheckButtonReleased) { Give(Result, Mouse_CheckButtonReleased(RValue_RoundInt(arg[0]), 0)); }
HANDLER(F_MouseWheelUp) { Give(Result, IO_Mouse_WheelUp(0)); }
HANDLER(F_MouseWheelDown) { Give(Result, IO_Mouse_WheelDown(0)); }

HANDLER(F_MouseClear) {
  Pump();
  IO_Mouse_Clear(RValue_RoundInt(arg[0]), 0);
}

HANDLER(F_MouseWait) {
  IO_Mouse_ForgetLastButton(0);
  WaitFor([] { return IO_Mouse_GetLastButton(0) != 0; });
}

HANDLER(F_IOClear) {
  Pump();
  IO_Clear();
}
HANDLER(F_IOHandle) { Pump(); }
