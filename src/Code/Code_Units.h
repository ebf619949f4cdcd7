// The registry of compiled units: the code of events, rooms and instances,
// compiled once and freed together when the game ends, and running it.
#pragma once

class CCode;
class CInstance;

// Compiles a program text under its unit name into a unit that lives until
// Code_FreeUnits. A failure is reported ("COMPILATION ERROR in code action",
// fatal; for room and instance creation code "COMPILATION ERROR in room
// script", not fatal) and gives null.
CCode* Code_CompileUnit(const char* text, const char* unit_name, bool room_code);
// Runs a unit with that self and other; run-time errors go to the error report.
void Code_ExecuteUnit(CCode* code, CInstance* self, CInstance* other);
// Frees every unit made by Code_CompileUnit.
void Code_FreeUnits();
