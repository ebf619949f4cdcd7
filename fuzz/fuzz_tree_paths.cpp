// Builds a random program from the fuzz bytes with a small grammar, runs it
// once with the interpreter's faster nodes and once with only its general
// nodes, and stops when the two runs differ in their result, their error or
// what they logged. The grammar keeps to the shapes the faster nodes are
// made for (locals, arguments, self's and built-in variables against constants,
// stores of operators, indexed locals, also at a local OP a constant, texts
// joined and compared, script and built-in calls, loops, switches) with
// values that leave their usual path (texts where reals are expected,
// indices out of range, division by zero, unknown variables). Every program
// ends: loops are not nested and run at most three times, and the few +
// operators bound a text's length.
// Map lookups and stores with keys joined in the call go to one map, which
// is emptied before each run and written out at the end.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Code/Code_Error.h"
#include "Code/Code_Main.h"
#include "Code/Code_Tree.h"
#include "Code/Code_BuiltinTable.h"
#include "Object/Instance_Class.h"
#include "Option/Option_Main.h"
#include "Script/Script_Main.h"
#include "Support/Support_Data_Structures_Map.h"
#include "Support/Support_Data_Structures_Table.h"
#include "Variable/Variable_BuiltIn.h"
#include "Variable/Variable_Main.h"

void Function_String_Init();
void Function_Data_Structures_Init();

namespace {
std::string g_log;
int g_map = -1;  // the programs' map

std::string Show(const RValue& v) {
  if (v.kind == VALUE_STRING) return std::string("\"") + RValue_Text(v) + "\"";
  char text[64];
  std::snprintf(text, sizeof text, "%.17g", v.val);
  return text;
}

void F_FuzzLog(RValue&, CInstance*, CInstance*, int argc, const RValue* arg) {
  for (int k = 0; k < argc; ++k) g_log += (k ? "," : "") + Show(arg[k]);
  g_log += ";";
}

// A built-in variable of self holding any value, texts too, at indices
// 0 .. 3 (others read as 0 and are not kept).
RValue g_any[4];
bool GV_FuzzAny(CInstance*, int index, RValue* value) {
  if (index >= 0 && index < 4) RValue_Copy(value, &g_any[index]);
  return true;
}
bool SV_FuzzAny(CInstance*, int index, RValue* value) {
  if (index >= 0 && index < 4) RValue_Copy(&g_any[index], value);
  return true;
}

// Reads choices from the fuzz bytes; past the end every choice is 0.
class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  unsigned Pick(unsigned n) { return m_at < m_size ? m_data[m_at++] % n : 0; }

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_at = 0;
};

class Grammar {
 public:
  explicit Grammar(Bytes& bytes) : in(bytes) {}

  // A script body on argument0..2: a few statements and a return. Half of
  // them start with a guard (if (argument0 < 2) return argument0;) and
  // declare no local, so that calls may answer them.
  std::string Script() {
    inScript = true;
    pluses = 6;  // no + in the script: calls in a loop would multiply a text's length
    std::string text = "var t; t = 0;\n";
    guarded = in.Pick(2);
    if (guarded) {
      static const char* kOps[] = {"<", "<=", ">", ">=", "==", "!="};
      static const char* kTested[] = {"argument0", "argument1", "argument2", "argument5"};
      static const char* kReturned[] = {"argument0", "argument1", "argument2", "argument5", "1", "-0.5", "\"a\""};
      static const char* kLimits[] = {"0", "1", "2", "-1", "0.5", "3"};
      text = std::string("if (") + kTested[in.Pick(4)] + " " + kOps[in.Pick(6)] + " " + kLimits[in.Pick(6)] +
             ") return " + kReturned[in.Pick(7)] + ";\n";
    }
    for (unsigned n = in.Pick(3); n > 0; --n) text += Statement(0);
    text += "return " + Expression(2) + ";\n";
    inScript = false;
    guarded = false;
    pluses = 0;
    return text;
  }

  std::string Program() {
    std::string text = "var a, b, c, s, i, w, u, arr, m;\na = 1; b = 0.5; c = -2; s = \"ab\"; arr[0] = 1; m[1, 1] = 2;\n";
    text += "hp = 3; name = \"door\"; global.g = 7; fz_any = 2;\n";
    for (unsigned n = 1 + in.Pick(8); n > 0; --n) text += Statement(0);
    text += "fz_log(a, b, c, s, hp, name, global.g, arr, m[1, 1], fz_any, fz_any[1], ds_map_write(" + Map() + "));\n";
    text += "return a;\n";
    return text;
  }

 private:
  std::string Constant() {
    static const char* kConstants[] = {"0", "1", "2", "3", "-1", "0.5", "10", "1000", "31999", "32000",
                                       "\"\"", "\"a\"", "\"door\"", "\"7\"", "true", "-0.5", "\"doors\"", "\"d\""};
    return kConstants[in.Pick(18)];
  }
  std::string Variable() {
    if (inScript) {
      static const char* kSlots[] = {"argument0", "argument1", "argument2", "t", "argument[1]", "argument_count"};
      unsigned k = in.Pick(6);
      return guarded && k == 3 ? "argument2" : kSlots[k];  // a guarded script has no local t
    }
    static const char* kNames[] = {"a", "b", "c", "s", "hp", "name", "global.g", "self.hp", "other.hp", "arr", "fz_any"};
    unsigned k = in.Pick(15);
    if (k < 11) return kNames[k];
    if (k == 11) return "arr[" + Index() + "]";
    if (k == 12) return "m[" + Index() + ", " + Index() + "]";
    if (k == 13) return "fz_any[" + Index() + "]";
    return "nothing_here";
  }
  // Plain locals and constants, and locals OP a constant (computed in place).
  std::string Index() {
    static const char* kIndices[] = {"0", "1", "a", "c", "i", "s", "2.5", "b", "i mod 4", "a mod 2", "c + 1",
                                     "b - 1", "i div 2", "a mod -3", "c mod 2.5", "i * 2"};
    return kIndices[in.Pick(16)];
  }
  std::string Assignable() {
    std::string v = Variable();
    return v == "argument_count" || v == "nothing_here" ? "t" : v;
  }
  std::string Map() const { return std::to_string(g_map); }
  // A map key joined in the call, or (rarely) any value.
  std::string Key(int depth) {
    switch (in.Pick(4)) {
      case 0: return "\"k\" + string(" + Variable() + ")";
      case 1: return "string(" + Expression(depth - 1) + ") + \"k\"";
      case 2: return "\"a_key_too_long_for_the_room_of_a_call_to_hold_it_\" + string(" + Variable() + ")";
      default: return Expression(depth - 1);
    }
  }
  std::string MapCall(int depth) {
    static const char* kLookups[] = {"ds_map_find_value", "ds_map_exists"};
    static const char* kStores[] = {"ds_map_replace", "ds_map_add"};
    std::string map = in.Pick(8) ? Map() : Variable();
    if (in.Pick(2)) return std::string(kLookups[in.Pick(2)]) + "(" + map + ", " + Key(depth) + ")";
    return std::string(kStores[in.Pick(2)]) + "(" + map + ", " + Key(depth) + ", " + Expression(depth - 1) + ")";
  }
  // A + when the budget allows, else a -.
  const char* Plus() { return pluses < 6 ? (++pluses, "+") : "-"; }

  std::string Expression(int depth) {
    unsigned k = in.Pick(depth > 0 ? 13 : 2);
    switch (k) {
      case 0: return Constant();
      case 1: return Variable();
      case 2: case 3: case 4: {
        static const char* kOps[] = {"+", "-", "*", "/", "div", "mod", "==", "!=", "<", "<=", ">", ">=",
                                     "|", "&", "^", "<<", ">>", "&&", "||", "^^"};
        std::string op = kOps[in.Pick(20)];
        if (op == "+") op = Plus();
        // Operands that are slots or constants, the shapes read in place.
        std::string left = in.Pick(2) ? Variable() : Expression(depth - 1);
        std::string right = in.Pick(2) ? Constant() : Expression(depth - 1);
        return "(" + left + " " + op + " " + right + ")";
      }
      case 5: {
        static const char* kUnary[] = {"-", "!", "~", "+"};
        return std::string(kUnary[in.Pick(4)]) + "(" + Expression(depth - 1) + ")";
      }
      case 6: return "string(" + Expression(depth - 1) + ")";
      case 7: return "string_char_at(" + Variable() + ", " + Expression(depth - 1) + ")";
      case 8: {
        std::string p = Plus();
        if (p != "+") return Constant();
        return in.Pick(2) ? "(\"k\" + string(" + Variable() + "))" : "(" + Variable() + " + \".png\")";
      }
      case 9:
        return inScript ? Variable() : "fz(" + Expression(depth - 1) + ", " + Variable() + ", " + Constant() + ")";
      case 10: return "(" + Variable() + " == " + Constant() + ")";
      case 11: return MapCall(depth);
      default: {
        std::string v = Assignable();
        return in.Pick(2) ? "(" + v + "++)" : "(--" + v + ")";
      }
    }
  }
  std::string Condition() {
    static const char* kCompare[] = {"<", "<=", ">", ">=", "==", "!="};
    std::string one = Variable() + " " + kCompare[in.Pick(6)] + " " + (in.Pick(3) ? Constant() : Variable());
    switch (in.Pick(4)) {
      case 0: return one;
      case 1: return one + " && " + Variable() + " " + kCompare[in.Pick(6)] + " " + Constant();
      case 2: return one + " || " + Variable() + " " + kCompare[in.Pick(6)] + " " + Constant();
      default: return Expression(2);
    }
  }
  std::string Body(int depth) {
    std::string text = "{ ";
    for (unsigned n = 1 + in.Pick(3); n > 0; --n) text += Statement(depth + 1);
    return text + "}";
  }
  std::string Statement(int depth) {
    unsigned k = in.Pick(depth > 1 ? 6 : 13);
    switch (k) {
      case 0: case 1: {
        static const char* kAssign[] = {" = ", " += ", " -= ", " *= ", " /= ", " |= ", " &= ", " ^= "};
        std::string op = kAssign[in.Pick(8)];
        if (op == " += " && pluses >= 6) op = " -= ";
        if (op == " += ") ++pluses;
        return Assignable() + op + Expression(2) + ";\n";
      }
      case 2: return Assignable() + (in.Pick(2) ? "++" : "--") + ";\n";
      case 3: return Assignable() + " = " + Variable() + " " + Plus() + " " + (in.Pick(2) ? Constant() : Variable()) + ";\n";
      case 4:
        if (!inScript && in.Pick(2)) return MapCall(2) + ";\n";
        return inScript ? "t = " + Expression(1) + ";\n" : "fz_log(" + Expression(2) + ");\n";
      case 5:
        if (inLoop && in.Pick(2)) return in.Pick(2) || stepLast ? "break;\n" : "continue;\n";
        return inScript ? "if (" + Condition() + ") return " + Variable() + ";\n" : "c = fz(a, " + Variable() + ", 1);\n";
      case 6: case 7: {
        std::string text = "if (" + Condition() + ") " + Body(depth);
        if (in.Pick(2)) text += " else " + Body(depth);
        return text + "\n";
      }
      case 8: return inScript ? "t += 1;\n" : Loop(depth);
      case 9: return inScript ? "t -= 1;\n" : Loop(depth);
      case 10: {
        std::string text = "switch (" + Expression(1) + ") {\n";
        for (unsigned n = 1 + in.Pick(3); n > 0; --n) {
          text += "case " + Constant() + ": " + Statement(depth + 1);
          if (in.Pick(2)) text += "break;\n";
        }
        if (in.Pick(2)) text += "default: " + Statement(depth + 1);
        return text + "}\n";
      }
      case 11: return in.Pick(4) ? "exit;\n" : "return " + Expression(1) + ";\n";
      default: return "if (" + Variable() + " < " + Constant() + ") " + Assignable() + " += 1;\n";
    }
  }
  // A loop of at most three passes; none inside it.
  std::string Loop(int depth) {
    if (inLoop) return Assignable() + " -= 1;\n";
    inLoop = true;
    std::string count = std::to_string(in.Pick(4));
    std::string text;
    switch (in.Pick(4)) {
      case 0: text = "for (i = 0; i < " + count + "; i += 1) " + Body(depth); break;
      case 1:
        // With an odd count the step comes last (a stepped loop), and no
        // continue may skip it.
        stepLast = count == "1" || count == "3";
        text = stepLast ? "w = 0; while (w < " + count + ") { " + Body(depth) + " w += 1; }"
                        : "w = 0; while (w < " + count + ") { w += 1; " + Body(depth) + " }";
        stepLast = false;
        break;
      case 2: text = "u = 0; do { u += 1; " + Body(depth) + " } until (u >= " + count + ")"; break;
      default: text = "repeat (" + count + ") " + Body(depth); break;
    }
    inLoop = false;
    return text + "\n";
  }

  Bytes& in;
  bool inScript = false;
  bool guarded = false;  // the script starts with a guard and has no locals
  bool inLoop = false;
  bool stepLast = false;  // in a loop whose step ends its body
  int pluses = 0;  // + operators so far; at most 6 in a program
};

// The program's outcome with the general nodes or the faster ones.
std::string Outcome(const std::string& script, const std::string& program, bool general) {
  Tree_SetGeneralNodes(general);
  for (RValue& v : g_any) RValue_SetReal(&v, 0);
  DS_Map_Get(g_map)->Clear();
  // Blocks left live count too: a fast path must free what the general one frees.
  int64_t live = MemoryManager::LiveBlocks();
  Script_Clear();
  Script_Add("fz", script.c_str());
  g_log.clear();
  std::string outcome;
  if (!Script_PrepareAll()) {
    outcome = "script: " + Code_ErrorText;
  } else {
    CCode code(program.c_str(), false);
    if (!code.Compile("Fuzz")) {
      outcome = "compile: " + Code_ErrorText;
    } else {
      CInstance self{0, 0, 190001, -1};
      CInstance other{0, 0, 190002, -1};
      RValue result{};
      CodeArgumentSave slots;
      Code_Arguments_Save(&slots);
      bool ok = Code_Evaluate(&self, &other, &code, &result);
      Code_Arguments_Restore(&slots);
      outcome = (ok ? Show(result) : "error: " + Code_ErrorText) + " | " + g_log;
      RValue_Free(&result);
      delete self.vars;
      delete other.vars;
      self.vars = other.vars = nullptr;
    }
  }
  Variable_Globals().Clear();
  Script_Clear();
  return outcome + " | " + std::to_string(MemoryManager::LiveBlocks() - live) + " blocks kept";
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = [] {
    Code_Init();
    Function_String_Init();
    Function_Data_Structures_Init();
    g_map = DS_Map_Create();
    std::atexit([] { DS_Map_Destroy(g_map); });  // before the table itself goes
    Function_Add("fz_log", F_FuzzLog, -1);
    Variable_BuiltIn_Add("fz_any", GV_FuzzAny, SV_FuzzAny, true);
    g_GameOptions.show_errors = false;
    return true;
  }();
  (void)ready;
  Bytes bytes(data, size);
  Grammar grammar(bytes);
  std::string script = grammar.Script();
  std::string program = grammar.Program();
  std::string fast = Outcome(script, program, false);
  std::string general = Outcome(script, program, true);
  if (fast != general) {
    std::fprintf(stderr, "The faster and the general nodes differ.\nscript fz:\n%s\nprogram:\n%s\nfaster:  %s\ngeneral: %s\n",
                 script.c_str(), program.c_str(), fast.c_str(), general.c_str());
    std::abort();
  }
  return 0;
}
