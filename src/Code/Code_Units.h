// The game world's use of the script engine: compiling the code of events,
// rooms and instances, and running it.
#pragma once

class CCode;
class CInstance;

// Compiles a program text under its unit name into a unit that lives until
// Run_FreeCodes. A failure is reported ("COMPILATION ERROR in code action",
// fatal; for room and instance creation code "COMPILATION ERROR in room
// script", not fatal) and gives null.
CCode* Run_CompileCode(const char* text, const char* unit_name, bool room_code);
// Runs a unit with that self and other; run-time errors go to the error report.
void Run_ExecuteCode(CCode* code, CInstance* self, CInstance* other);
// Frees every unit made by Run_CompileCode.
void Run_FreeCodes();
