// The game world's use of the script engine: compiling the code of events,
// rooms and instances, and running it.
#pragma once

class CCode;
class CInstance;

// Compiles a program text into a unit that lives until Run_FreeCodes. A
// failure is reported as "COMPILATION ERROR in <what>" (fatal unless the
// code is room or instance creation code) and gives null.
CCode* Run_CompileCode(const char* text, const char* what, bool room_code);
// Runs a unit with that self and other; run-time errors go to the error report.
void Run_ExecuteCode(CCode* code, CInstance* self, CInstance* other);
// Frees every unit made by Run_CompileCode.
void Run_FreeCodes();
