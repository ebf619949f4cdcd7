// Code units and running them: compile once, run many times, re-entrantly.
#pragma once
#include <string>

#include "Base/RValue.h"

class CInstance;
struct CodeUnit;

// A code unit: a program (statements) or one expression.
class CCode {
 public:
  CCode(const char* text, bool expression);
  virtual ~CCode();
  CCode(const CCode&) = delete;
  CCode& operator=(const CCode&) = delete;

  // Compiles under the unit name ("Script.%s", "Object.%s.%s.%d", ...); false
  // with the message in Code_ErrorText when the text does not compile.
  bool Compile(const char* unitName);

  const char* Text() const { return m_text.c_str(); }
  const char* Name() const { return m_name.c_str(); }
  bool IsExpression() const { return m_expression; }
  const CodeUnit* Unit() const { return m_unit; }

 private:
  std::string m_text;
  std::string m_name;
  bool m_expression;
  CodeUnit* m_unit = nullptr;
};

// The last compile or run-time error message.
extern std::string Code_ErrorText;
// Set when running code raises a run-time error; cleared when a unit starts.
extern bool Code_RuntimeError;

// A pending run-time error of the engine that callers read after running a
// script (Script_Execute records one when the script fails).
void Code_Error(const char* text);
bool Code_ErrorPending();
void Code_ErrorClear();

// Runs a compiled unit with that self and other. The value the code returns
// (or the expression's value) goes to the result; without one the result
// stays as given. False on a run-time error: the result becomes "ERROR",
// Code_ErrorText holds the message and Code_RuntimeError is set.
bool Code_Evaluate(CInstance* self, CInstance* other, CCode* code, RValue* result);
// The same, but a run-time error is reported through Error_Show_Action.
bool Code_ExecuteOrReport(CInstance* self, CInstance* other, CCode* code, RValue* result);

// Calls function id (a built-in, 100000 + script, 500000 + extension
// function) with the given arguments, which stay the caller's (a handler may
// change them). The result is preset to the real 0. False, with the message
// in Code_ErrorText, when the call fails.
bool Code_CallFunction(int id, CInstance* self, CInstance* other, int argc, RValue* args, RValue* result);

// The 16 argument slots a running unit reads as argument0..15.
constexpr int ARGUMENT_SLOTS = 16;
const RValue* Code_Argument(int index);
// The argument count of a script call (argument_count) and how many of its
// argument slots are in use (those from `used` on are the real 0).
struct CodeArgumentCounts {
  int used;
  int count;
};
// A frame of argument slots with its counts: each script call takes one,
// other code runs in the frame of the code that started it.
struct CodeArgumentFrame {
  RValue slot[ARGUMENT_SLOTS];
  CodeArgumentCounts counts;
};
// The counts of the frame that code started from outside every unit uses
// while no slots are saved.
extern CodeArgumentCounts& g_ArgumentCounts;

// Saved argument slots. Save sets the slots (and argument_count) aside and
// gives fresh ones, all the real 0; Set copies argc values (texts duplicated)
// into slots 0.. and makes the rest the real 0; Restore frees what the slots
// hold and brings the saved ones back. Saves nest: restore in reverse order.
// The slots are those of the running unit, else those of code started from
// outside.
struct CodeArgumentSave {
  CodeArgumentFrame* frame;
  CodeArgumentFrame* top;
  int used;
  int count;
};
void Code_Arguments_Save(CodeArgumentSave* save);
void Code_Arguments_Set(int argc, const RValue* args);
void Code_Arguments_Restore(CodeArgumentSave* save);

// Units running inside one another (scripts calling scripts, code run from
// code) end in a run-time error past this depth, or sooner when the native
// stack runs short.
constexpr int CODE_MAX_DEPTH = 10000;

// Registers the language's constants (true, false, pi, self, other, all,
// noone, global) and the variables argument0..15, argument, argument_count
// and argument_relative.
void Code_Init();
