// The interpreter's faster nodes against its general nodes: each program is
// compiled and run both ways (scripts included) and must give the same
// value, error and logged output. The values are those that leave a fast
// path: texts in slots read in place, indices that are no whole number in
// range, unknown variables, division by zero, results that are texts.
#include <vector>

#include "Code_TestSupport.h"
#include "Code/Code_Error.h"
#include "Code/Code_Tree.h"
#include "Support/Support_Data_Structures_Table.h"

using codetest::CodeTest;

void Function_String_Init();
void Function_Data_Structures_Init();

namespace {
const char* const kScripts[][2] = {
    {"sub1", "return argument0 - 1;"},
    {"low", "if (argument0 < 2) return argument0; return argument1 * 2;"},
    {"join", "return argument0 + argument1;"},
    {"pick", "var t; t = argument[argument1]; return t;"},
    {"more", "argument5 = argument0; argument[7] = \"t\"; return argument_count + argument5;"},
    {"peek", "return argument5 + argument7 + argument_count;"},
    {"mad", "return argument0 - argument1 * argument2;"},
    {"dam", "var t; t = argument2; return argument0 * t - argument1;"},
    {"cat", "return argument0 + argument1 + argument2;"},
    {"down", "if (argument0 <= 0) return 0;\nreturn down(argument0 - 1) + 1;"},
    {"letter", "var w; w[0] = \"a\"; w[1] = \"b\"; w[2] = \"c\"; return w[argument0 mod 3] + w[argument0 - 1];"},
    {"edge", "if (argument1 >= 3) return argument0; return -1;"},
    {"past", "if (argument4 == 0) return argument3; return 5;"},
    {"fact", "if (argument0 <= 1) return 1; return argument0 * fact(argument0 - 1);"},
    {"apart", "if (argument0 != 0.5) return argument2;\nreturn argument0 + argument1;"},
    {"guarded", "var t; if (argument0 < 2) return argument0; t = 4; return t;"},
    {"twice", "return argument1 * (argument0 + argument1);"},
    {"high", "return argument0 - argument1 * argument3;"},
    {"loud", "return argument0 + argument1 * argument2;\ntest_log(\"never\");"},
    {"deep", "if (argument0 <= 0) return mad(argument1, 2, 3);\nreturn deep(argument0 - 1, argument1);"},
};

// A built-in variable that holds any value, texts too.
RValue g_anyValue{VALUE_REAL, nullptr, 0.0};
bool GV_TestAny(CInstance*, int, RValue* value) {
  RValue_Copy(value, &g_anyValue);
  return true;
}
bool SV_TestAny(CInstance*, int, RValue* value) {
  RValue_Copy(&g_anyValue, value);
  return true;
}

class CodeBothWays : public CodeTest {
 protected:
  static void SetUpTestSuite() {
    CodeTest::SetUpTestSuite();
    if (Function_FindBuiltIn("string") < 0) Function_String_Init();
    if (Function_FindBuiltIn("ds_map_create") < 0) Function_Data_Structures_Init();
    if (Variable_BuiltIn_Find("test_any") < 0) Variable_BuiltIn_Add("test_any", GV_TestAny, SV_TestAny, true);
  }
  // The way the other tests run (the environment may ask for the general nodes).
  void SetUp() override {
    CodeTest::SetUp();
    m_general = Tree_GeneralNodes();
  }
  void TearDown() override {
    Tree_SetGeneralNodes(m_general);
    CodeTest::TearDown();
  }
  // The program's value (or error), log and blocks kept, with the nodes of
  // that way.
  std::string Outcome(const char* text, bool general) {
    Tree_SetGeneralNodes(general);
    Script_Clear();
    for (auto& s : kScripts) Script_Add(s[0], s[1]);
    EXPECT_TRUE(Script_PrepareAll()) << Code_ErrorText;
    codetest::g_log.clear();
    delete self.vars;
    self.vars = nullptr;
    Variable_Globals().Clear();
    RValue_Free(&g_anyValue);
    std::vector<bool> hadMap;
    for (auto& slot : g_DS_Maps.slots) hadMap.push_back(slot.object != nullptr);
    // Blocks left live (texts of self's and global variables) count too: a
    // fast path must free what the general one frees.
    int64_t live = MemoryManager::LiveBlocks();
    std::string shown = Run(text) + " | " + codetest::g_log;
    shown += " | " + std::to_string(MemoryManager::LiveBlocks() - live) + " blocks kept";
    // The maps the program made go, so that both ways (and later tests)
    // find the same free indices, and so does the error it reported.
    for (size_t i = 0; i < g_DS_Maps.slots.size(); ++i)
      if (i >= hadMap.size() || !hadMap[i]) DS_Map_Destroy(static_cast<int>(i));
    Error_SetOccurred(false);
    Tree_SetGeneralNodes(m_general);
    return shown;
  }
  // Runs each program both ways: the outcomes must agree.
  void Agree(std::initializer_list<const char*> programs) {
    for (const char* text : programs) EXPECT_EQ(Outcome(text, false), Outcome(text, true)) << text;
  }
  // Runs each body both ways in a loop of two runs, the second with the local
  // a, first a real, turned into the text "t" (b = 2, z = -0, the value x).
  void AgreeTwice(std::initializer_list<const char*> bodies) {
    for (const char* body : bodies) {
      std::string program = "var a, b, i, n, x, z; a = 1; b = 2; i = 0; z = -1; z = z * 0; n = 0;\n"
                            "while (n < 2) { " + std::string(body) + " a = \"t\"; n += 1; }\nreturn x;";
      Agree({program.c_str()});
    }
  }
  bool m_general = false;
};

TEST_F(CodeBothWays, OperatorsOnSlotsAndConstants) {
  Agree({
      "var a, b; a = \"x\"; b = 2; return a + b;",
      "var a, b; a = \"x\"; b = \"y\"; return a + b + a;",
      "var a; a = 7; return a div 0;",
      "var a, b; a = 7; b = 0; return a mod b;",
      "var a; a = -3; return (a << 2) + (a >> 1) + (a | 8) + (a & 6) + (a ^ 5);",
      "var a; a = \"k\"; return a < 2;",
      "var a; a = 1; return a == \"1\";",
      "var s; s = \"door\"; return (s == \"door\") + (s != \"doors\") * 10;",
      "var s; s = 3; return s == \"3\";",
      "hp = \"full\"; return hp > 100;",
      "return nothing_here * 2;",
  });
}

// A plain local times a constant on the left of another operator, computed
// in place: texts, marked reals, unknown names and errors on either side.
TEST_F(CodeBothWays, ScaledLocalOnTheLeft) {
  Agree({
      "var x, i, c; x = 0; c = 0; i = 0; while (i < 50) { x = x * 0.5 + i; if (x > 10) c += 1; i += 1; } return x + c;",
      "var x, i; x = \"t\"; i = 1; x = x * 0.5 + i; return x;",
      "var x, i; x = 3; i = \"t\"; x = x * 0.5 + i; return x;",
      "var x, i; x = 3; i = \"t\"; return x * 2 == i;",
      "var x; x = 3; return x * 2 - argument0;",
      "var x, y; x = 3; y = 4; return (x * 2 < y) + (x * 2 / y) + (x * -1 mod y);",
      "var x, y; x = 3; y = 0; return x * 2 / y;",
      "var x; x = 3; return x * 2 div (x - 3);",
      "var x; x = 3; return x * 2 + nothing_here;",
      "var x; x = 2; return x * 3 + string(x);",
      "var x, s; x = 2; s = \"a\"; return x * 3 + s;",
      "var x; x = true; return x * 2 + x;",
      "var x, t; x = 5; t = x * 2 + low(x, 1); return t;",
      "hp = 2; var x; x = 4; hp = x * 1.5 + hp; return hp;",
  });
}

// A stepped loop (while (i < k) { ...; n += 1; }) whose local turns into a
// text before its condition is tested again, on lines of their own: the
// error names the loop's line, as it does after a loop nested in it, or in
// a for loop's step after it.
TEST_F(CodeBothWays, SteppedLoopErrorsNameTheLoopsLine) {
  Agree({
      "var i, n; i = 0; n = 0;\nwhile (i < 3) {\n  i += 1;\n  if (n == 1) i = \"t\";\n  n += 1;\n}\nreturn n;",
      "var i, j, n; i = 0; n = 0;\nwhile (i < 2) {\n  j = 0;\n  while (j < 2)\n  {\n    j += 1;\n    n += 1;\n  }\n"
      "  if (n == 4) i = \"t\";\n  i += 1;\n}\nreturn n;",
      "var i, j, n; n = 0;\nfor (i = 0; i < 3; i += \"t\") {\n  j = 0;\n  while (j < 2)\n  {\n    j += 1;\n    n += 1;\n  }\n}\n"
      "return n;",
  });
}

// x = a OP b into a plain local, both sides slots read in place: -0, NaN
// and infinities, sides or x turning text or marked in the middle of a
// loop, argument slots, division by zero and the line of an error.
TEST_F(CodeBothWays, LocalStoresOfOperatorsOnSlots) {
  Agree({
      "var x, i, z; z = 0; z *= -1; x = z; i = z; x = x * 0.5 + i; return x;",
      "var x, i, z; z = 0; z *= -1; x = z; i = 0; x = x * 0.5 + i; i = z; x = x - i; return x;",
      "var x, i, c; x = 10000000000; x *= x; x *= x; x *= x; x *= x; x *= x; c = 0; i = 0; "
      "while (i < 3) { x = x * 0.5 + i; if (x > 1000 && x != 5) c += 1; i += 1; } return string(x) + string(c);",
      "var x, i, c; x = 10000000000; x *= x; x *= x; x *= x; x *= x; x *= x; x = x * -1; i = 0; i = x + x; "
      "x = x * 0.5 + i; c = 0; if (x > 1000 && x != 5) c += 1; return string(x) + string(c);",
      "var x, i, c, n; n = 10000000000; n *= n; n *= n; n *= n; n *= n; n *= n; n -= n; x = 0; c = 0; i = 0; "
      "while (i < 4) { x = x * 0.5 + i; if (i == 1) x = n; if (x > 1000 && x != 5) c += 1; i += 1; } return string(x) + string(c);",
      "var x, i, c; x = 0; c = 0; i = 0; while (i < 4) { x = x * 0.5 + i; if (i == 1) x = \"t\"; i += 1; } return x;",
      "var x, i, c; x = 0; c = 0; i = 0; while (i < 4) { x = x * 0.5 + i; if (x > 1000 && x != 5) c += 1; if (i == 2) c = \"t\"; i += 1; } return c;",
      "var x, i, j; x = 0; i = 0; j = 0; while (i < 4) { x = x * 0.5 + j; if (i == 1) j = \"t\"; i += 1; } return x;",
      "var x, y, i; x = 1; y = 0; i = 0; while (i < 4) { y = x * 0.5 + i; if (i == 1) y = \"t\"; i += 1; } return y;",
      "var x, i; x = true; i = 2; x = x * 0.5 + i; return x;",
      "var x, i; x = 3; i = true; x = x * 0.5 + i; i = x - i; return x + i;",
      "var x, y, i; x = 3; y = 4; i = 1; while (i < 4) { x = x * y; y = y - x; x = y / i + x; i += 1; } return x;",
      "var x, y; x = 3; y = 0; x = x / y; return x;",
      "var x, y;\nx = 3; y = 0;\nx = x * 2 / y;\nreturn x;",
      "var x; x = 1; x = argument0 * 0.5 + argument1; x = argument1 - x; x = x * 2 + argument3; return x;",
      "var x; x = 1; x = low(2, 1) * 0.5; x = x * 3 + argument0; return x;",
  });
}

TEST_F(CodeBothWays, ConditionsAndLoops) {
  Agree({
      "var i, n; n = 0; for (i = 0; i < 5; i += 1) { if (i == 3) continue; n += i; } return n;",
      "var i, n; i = \"a\"; n = 0; while (i < 3) n += 1; return n;",
      "var i; i = 0; while (i < 4) { i += 1; if (i >= 2 && i != 3) break; } return i;",
      "var a, b; a = 2; b = \"s\"; if (a > 1 || b > 1) return 1; if (a > 9 && b < 1) return 2; return 3;",
      "var a; a = 5; if (a > 1 && a > 2 && a > 3 && a > 4 && a < 5) return 1; return 0;",
      "hp = 5; if (hp > 4) return hp; return 0;",
      "var n, x; n = 0; x = 3; if (x > 1 && x != 5) n += 1; if (x > 1) n++; if (x < 1) n--; if (x == 3) n -= 2; return n;",
      "var n, x; n = \"s\"; x = 3; if (x > 1 && x != 5) n += 1; return n;",
      "var n, x; n = \"s\"; x = 3; if (x > 1) n++; return n;",
      "if (hp > 4) return 1; return 0;",
      "var a, b, n; a = 1; b = \"s\"; n = 0; if (a > 0 && b < 3) n += 1; if (a < 0 && b < 3) n += 2; return n;",
      "var a, b, n; a = \"s\"; b = 1; n = 0; if (a > 0 || b < 3) n += 1; else n -= 1; return n;",
      "var a, b; a = 1; b = \"s\"; if (a > 0 || b < 3) return 5; return 6;",
      "var a, b; a = 5; b = 2; if (a >= 5 && b <= 2) return a; else return b;",
      "var a, b, n; a = 0; b = 0; n = 0; while (a < 6) { if (a == 2 || b != 0) n += a; else n -= 1; a += 1; b = a mod 2; } return n;",
      "var a, n; a = 1; n = 0; if (a > 0 && nothing_here < 3) n += 1; return n;",
      "var u; u = 0; do { u += 1; } until (u >= 3); return u;",
      "var n; n = 0; repeat (\"3\") n += 1; return n;",
      "var s, n; s = \"a\"; n = 0; repeat (3) { s += \"b\"; n++; } return s + string(n);",
  });
}

// while (local OP constant) { one to three statements; a local stepped }:
// the flows out of the body, a text reaching the step or the condition,
// a body moving the counter itself, and the line an error names.
TEST_F(CodeBothWays, SteppedLoops) {
  Agree({
      "var i, n; i = 0; n = 0; while (i < 10) { if (i == 3) { i += 2; continue; } n += i; i += 1; } return n * 100 + i;",
      "var i, n; i = 0; n = 0; while (i < 10) { n += i; if (n > 6) break; i += 1; } return n * 100 + i;",
      "var i, n; i = 0; n = 0; while (i < 10) { n += i; if (i == 4) exit; i += 1; } return n;",
      "var i, n; i = 0; n = 0; while (i < 10) { n += i; if (i == 4) return n * 10; i += 1; } return n;",
      "var i, n; i = 0; n = 0; while (i < 5) { n += i;\n if (i == 2) i = \"t\";\n i += 1; } return n;",
      "var i, n; i = 0; n = 0; while (i < 5) { n += i;\n if (i == 2) n = \"t\";\n i += 1; } return n;",
      "var i, j, n; i = 0; j = 0; n = 0; while (i < 5) { n += 1; j = \"t\"; j += 1; i += 1; } return n;",
      "var i, n, m; i = 0; n = 0; m = 0; while (i < 6) { n += i; m -= i; n *= 2; i += 2; } return n + m;",
      "var i, j, n; i = 10; n = 0; while (i >= 0) { j = 0; while (j != 3) { n += i * j; j += 1; } i -= 3; } return n;",
      "var i, n; i = 0; n = 0; while (i < 3) { n += nothing_here;\n i += 1; } return n;",
      "var i, n; i = 0.5; n = 0; while (i <= 3) { n += i; i += 1; } return n;",
      "var i, n; i = 0; n = 0; while (i < 4) { n += i; i -= -1.5; } return n;",
      // the condition decided by its node after some rounds, an error after the loop
      "var i, j;\ni = 0; j = 0;\nwhile (i < 5) {\n j += 1;\n if (j == 2) i = \"t\"; else if (j > 5) i = 9;\n j += 1;\n}\nreturn j;",
      "var i, j;\ni = 0; j = 0;\nwhile (i < 5) {\n j += 1;\n if (j == 2) i = \"t\"; else if (j > 5) i = 9;\n j += 1;\n}\nreturn j + nothing_here;",
      "var i, j;\ni = 0; j = 0;\nwhile (i != 5) {\n j += 1;\n if (j == 3) i = true;\n i += 1;\n}\nreturn j;",
      // The condition meets a text after a body whose statements set other
      // lines: its error names the loop's line.
      "var i, n; i = 0; n = 0;\n while (i < 5) {\n if (n == 2) i = \"t\";\n n += 1; }\n return n;",
      "var w, i, n, m; w[0] = \"a\"; w[1] = \"b\"; i = 0; n = 0; m = 0;\n while (i < 5) {\n switch (w[n mod 2]) {\n"
      " case \"a\": m += 1;\n break;\n case \"b\": i = \"t\";\n break; }\n n += 1; }\n return m;",
  });
}

TEST_F(CodeBothWays, StoresIntoLocalsSelfAndArrays) {
  Agree({
      "var x, a, b; a = 2; b = 3; x = \"old\"; x = a * b; return x;",
      "var x, a; a = \"t\"; x = 1; x = a + 1; return x;",
      "var x, a; a = \"t\"; x = 1; x -= a; return x;",
      "var a, i, j; i = 1; j = 2; a[i, j] = i + j; return a[1, 2];",
      "var a, i; i = -1; a[i] = 3; return a[0];",
      "var a, i; i = 2.5; a[i] = 3; return a[3];",
      "var a, i; i = \"s\"; a[i] = 3; return 0;",
      "var a, i; i = 31999; a[i] = 1; i += 1; a[i] = 2; return 0;",
      "var a, x; a[0] = \"t\"; x = 1; x += a[0]; return x;",
      "hp = 3; hp += 4; hp -= 1; hp++; return hp;",
      "hp = \"a\"; hp += \"b\"; hp += 1; return hp;",
      "hp -= 1; return hp;",
      "var i; i = \"s\"; i++; return i;",
      "global.g = 1; global.g += 2; return global.g;",
  });
}

// Elements of an indexed local read and stored in place (indices that are
// plain locals, values that are reals read in place): every way out of the
// fast path, with unknown elements as errors and as the real 0.
TEST_F(CodeBothWays, ElementsReadAndStoredInPlace) {
  for (bool zero : {false, true}) {
    g_GameOptions.unknown_variables_zero = zero;
    Agree({
        // grids filled and summed in order, rows of different lengths
        "var a, i, j, s; for (i = 0; i < 5; i += 1) for (j = 0; j < 9 - i; j += 1) a[i, j] = i * j; "
        "s = 0; for (i = 0; i < 5; i += 1) for (j = 0; j < 9 - i; j += 1) s += a[i, j]; return s;",
        "var a, i, j, s; i = 1; for (j = 0; j < 6; j += 1) a[i, j] = i + j; s = 0; i = 0; j = 3; s += a[i, j]; return s;",
        "var a, i, j, s; i = 3; j = 2; a[i, j] = 1; s = 0; i = 2; s += a[i, j]; return s;",
        "var a, i, j, s; i = 0; j = 0; a[i, j] = i - j; a[i, j] -= 4; s = 0; s -= a[i, j]; return s + a;",
        "var a, j, s; j = 0; a[j] = 5; s = a[j]; j = 7; a[j] = s * 2; s += a[j]; j = 4; s += a[j]; return s;",
        // a gap in a row, and a row made after a longer one
        "var a, i, j, s; i = 0; j = 9; a[i, j] = 1; j = 3; s = a[i, j]; a[i, j] = j; s += a[i, j]; return s;",
        "var a, i, j, s; i = 0; for (j = 0; j < 40; j += 1) a[i, j] = j; i = 1; j = 0; a[i, j] = 1; j = 6; a[i, j] = 2; "
        "s = a[1, 6] + a[1, 0]; j = 5; s += a[i, j]; return s;",
        // texts on either side, and an element going from real to text and back
        "var a, i, j, s; i = 1; j = 2; a[i, j] = \"t\"; s = 1; s += a[i, j]; return s;",
        "var a, i, j, s; i = 1; j = 2; a[i, j] = \"t\"; s = \"u\"; s += a[i, j]; return s;",
        "var a, i, j, s; i = 1; j = 2; a[i, j] = 3; s = \"u\"; s += a[i, j]; return s;",
        "var a, i, j, s; i = 1; j = 2; a[i, j] = 3; s = \"u\"; s = a[i, j]; return s;",
        "var a, i, j, k; i = 1; j = 2; k = \"t\"; a[i, j] = 3; a[i, j] = k; a[i, j] = i + j; k = a[i, j]; "
        "a[i, j] = \"v\"; a[i, j] = 7; return k + a[i, j];",
        "var a, i, j; i = 1; j = 2; a[i, j] = \"t\"; a[i, j] += 1; return a[i, j];",
        "var a, i, j; i = 1; j = 2; a[i, j] = \"t\"; a[i, j] -= 1; return a[i, j];",
        "var a, i, j, k; i = 1; j = 2; k = \"t\"; a[i, j] = i + k; return a[i, j];",
        "var a, i, j, s; s = 0; for (j = 0; j < 6; j += 1) { a[0, j] = j; if (j == 3) a[0, j] = \"x\"; } "
        "i = 0; for (j = 0; j < 6; j += 1) s += a[i, j]; return s;",
        // elements never stored
        "var a, i, j; i = 2; j = 2; a[i, j] += 1; return a[i, j];",
        "var a, i, j; i = 0; j = 2; a[i, j] = 1; j = 5; a[i, j] -= 1; return a[i, j];",
        "var a, i, j, s; i = 4; j = 1; s = 1; s += a[i, j]; return s;",
        "var a, i, j, s; a = 3; i = 0; j = 0; s = 1; s += a[i, j]; return s;",
        // indices that are no whole number in range
        "var a, i, j; i = -1; j = 0; a[i, j] = 1; return 0;",
        "var a, i, j; i = 0; j = -0.4; a[i, j] = 1; return a[0, 0];",
        "var a, i, j, s; i = 1.5; j = 2.5; a[i, j] = 4; s = 0; s += a[i, j]; return s + a[2, 2];",
        "var a, i, j; i = 0; j = 1; a[i, j] = 2; j = -0.0001; a[i, j] = 3; return a[0, 0] + a[0, 1];",
        "var a, i, j, s; i = 0; j = 0; a[i, j] = 1; j = -0; s = 5; s += a[i, j]; return s;",
        "var a, i, j; i = 0; j = 32000; a[i, j] = 1; return 0;",
        "var a, i, j; i = 31999.4; j = 0; a[i, j] = 1; return a[31999, 0];",
        "var a, i, j, s; i = 0; j = 0; a[i, j] = 1; j = 31999.5; s = 0; s += a[i, j]; return s;",
        "var a, i, j, x; x = 10000000000; x *= x; x *= x; x *= x; x *= x; x *= x; i = 0; j = x - x; a[i, j] = 1; return 0;",
        "var a, i, j, x; x = 10000000000; x *= x; x *= x; x *= x; x *= x; x *= x; i = 0; j = x; a[i, j] = 1; return 0;",
        "var a, i, j, s; i = 0; j = 0; a[i, j] = 1; j = 10000000000; j *= j; j *= j; j *= j; j *= j; j *= j; j -= j; "
        "s = 0; s += a[i, j]; return s;",
        "var a, i, j, s; i = \"0\"; j = 0; a[i, j] = 1; return 0;",
        "var a, i, j, s; i = 0; j = 0; a[i, j] = 1; i = \"0\"; s = 0; s += a[i, j]; return s;",
        "var a, i, j, s; i = 0; for (j = 2; j > -3; j -= 1) a[i, j] = j; return a[0, 2];",
        // values: constants, locals, argument slots, operators, division by zero
        "var a, i, j, x; i = 2; j = 3; x = 1.5; a[i, j] = x; a[i, j] += x; a[i, j] -= 0.25; a[j, i] = 7; "
        "a[j, i] += 2; return a[i, j] * 10 + a[j, i];",
        "var a, i, j; i = 2; j = 3; a[i, j] = argument0 * j; a[j, i] = i - argument1; return a[2, 3] + a[3, 2];",
        "var a, i, j; i = 2; j = 0; a[i, j] = i / j; return 0;",
        "var a, i, j; i = 2; j = 0; a[j, j] = 1; a[i, j] = j - i; a[i, j] = i * j; return a[i, j];",
        // the stored-into local is the array or an index
        "var a, i, j; i = 1; j = 2; a[i, j] = 4; a = a[i, j]; return a + a[1, 2];",
        "var a, i, j; i = 1; j = 2; a[i, j] = 4; i += a[i, j]; j = a[1, j]; return i * 10 + j;",
        "var a, i; a[0] = 1; a[1] = 0; i = 1; i = a[i]; i = a[i]; return i;",
        // the error's line
        "var a, i, j, s;\ni = 1; j = 2; a[i, j] = \"t\";\ns = 1;\ns += a[i, j];\nreturn s;",
        "var a, i, j;\ni = 1; j = 2;\na[i, j] += 1;\nreturn 0;",
    });
  }
}

TEST_F(CodeBothWays, CallsOfScriptsAndBuiltIns) {
  Agree({
      "var a, x; a = 5; x = 1; x += sub1(a); x -= low(a, 3); return x;",
      "var a, x; a = \"t\"; x = 1; x = sub1(a); return x;",
      "var x; x = 1; x += join(\"a\", \"b\"); return x;",
      "return low(1, 9) + low(\"s\", 1);",
      "return pick(1, 2, 3) + pick(1, 0, \"t\");",
      "return pick(1, 20);",
      "var i, s; i = 4; s = \"n\"; test_log(i, s, \"k\" + string(i), string(2.5) + \"k\", s + \".png\"); return 0;",
      "var s, i; s = \"door\"; i = 2; return (string_char_at(s, i) == \"o\") + (string_char_at(i, s) == \"\");",
      "var i; i = 1; return test_pair(i, i++) + test_pair(++i, i);",
  });
}

// Calls whose callee sets slots beyond its arguments, fails inside, or
// recurses to the depth limit.
TEST_F(CodeBothWays, CallFramesAtTheirEdges) {
  Agree({
      "return more(1) + more(2, 3) + peek() + peek(4);",
      "var x; x = 1; x += more(\"a\", 1); return x;",
      "var x; x = more(1); x -= peek(more(2)); return x;",
      "var i, s; i = 0; s = 0; while (i < 5) { s += down(i); i += 1; } return s + peek();",
      "return down(\"x\");",
  });
}

// Returns of an operator on slots and an operator of two more slots.
TEST_F(CodeBothWays, ReturnsOfTwoOperatorsOnSlots) {
  Agree({
      "return mad(10, 2, 3) + dam(2, 1, 5) * 100 + cat(1, 2, 3) * 10000;",
      "return mad(\"a\", 2, 3);",
      "return mad(1, \"b\", 3);",
      "return dam(2, 1, \"c\");",
      "return cat(\"a\", \"b\", \"c\") + cat(\"d\", 0, 1);",
      "var z; z = -1; z = z * 0; return mad(z, 0, 5);",
      "var z; z = -1; z = z * 0; return dam(z, 0, 5) + 0 * cat(z, z, z);",
      "var i, s; i = 0; s = 0; while (i < 4) { s += mad(i, i, 2); if (i == 2) s = \"t\" + string(i); i += 1; } return s;",
  });
}

// Scripts that start with a guard (if (argument0 < 2) return argument0;),
// which a call answers itself, from its second run on, when the test holds
// and the arguments hold no text: tested and returned slots apart or past
// the arguments, real constants returned, texts and failing operations
// among the arguments.
TEST_F(CodeBothWays, CallsAnsweredByTheCalleesGuard) {
  AgreeTwice({
      "x = edge(b, 3) + edge(b - 1, 4) * 10 + edge(b, 2) * 100;",
      "x = edge(a, 3);",
      "x = edge(7, a);",
      "x = edge(a - 1, 5);",
      "x = edge(1, 5, a * 2);",
      "x = edge(1, 5, a);",
      "x = past() + past(1, 2, 3) * 10 + past(1, 2, 3, 4, 0) * 100 + past(1, 2, 3, a, 0) * 1000;",
      "x = 1; x += fact(5); x -= fact(b - 2); x += fact(a);",
      "x = apart(b * 0.25, 2, b + 10) + apart(a, 2, 1);",
      "x = apart(0.5, 2, a) + apart(1, 2, a);",
      "x = string(edge(z, 3)) + string(apart(z, 0, z)) + string(fact(z));",
      "x = guarded(1) + guarded(b) + guarded(a);",
      "x = edge(i++, 3) + i + edge(++i, 3, i);",
  });
}

// Scripts that only return an operator on argument slots and an operator of
// two more (return argument0 + argument1 * argument2), whose value a call
// computes itself, from its second run on, when its arguments hold no text:
// the same slot read twice, a slot past the arguments, more arguments than
// the value reads, texts and other kinds among the arguments, -0, a value
// changing kind within the loop.
TEST_F(CodeBothWays, CallsAnsweredByTheCalleesValue) {
  AgreeTwice({
      "x = mad(b, 2, 3) + cat(b, b - 1, 0.5) * 10 + twice(b, 3) * 100 + loud(1, 2, 3);",
      "x = mad(a, 2, 3);",
      "x = mad(1, a, 3);",
      "x = cat(2, 3, a);",
      "x = cat(a, a, a);",
      "x = twice(b, a) + twice(a, b);",
      "x = high(b, 3, 4) + high(b, 3, 4, 5) * 10 + high(b, 3, 4, a);",
      "x = mad(z, 0, 5) + dam(z, 0, 5);",
      "x = string(mad(z, 0, 5)) + string(mad(0, z, 5)) + string(cat(z, z, z)) + string(twice(z, z));",
      "x = mad(i, i + 1, i * 2); i += 1;",
      "x = mad(true, 2, 3) + mad(b, true, b);",
      "x = 1; x += mad(b, 2, 3); x -= cat(b, 1, a);",
      "x = mad(b, 2, 3) * cat(a, 1, 2);",
      "x = loud(b, b, b) + loud(b, a, 2);",
      "x = mad(b, nothing_here, 3);",
  });
}

TEST_F(CodeBothWays, RecursionToTheDepthLimit) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "a sanitizer's frames use up the native stack before the depth limit";
#endif
  Agree({"\nreturn down(9998) + peek();", "return down(9999);", "return fact(9999) > 0;", "return fact(10000);",
         "return deep(2, 1) + deep(9996, 1);", "return deep(2, 1) + deep(9997, 1);", "return deep(2, 1) + deep(9998, 1);",
         "return deep(2, 1) + deep(9997, \"t\");"});
}

TEST_F(CodeBothWays, BuiltInVariablesOfSelf) {
  Agree({
      "test_var = 2; test_var += 3; test_var -= 0.5; test_var *= 4; test_var /= 2; test_var++; return test_var;",
      "test_var = 1; test_var[1] = 5; test_var[1] += 2; test_var[1] *= 3; return test_var[1] + test_var;",
      "test_var = 3; if (test_var > 2 && test_var < 4) return test_var * 2; return 0;",
      "test_var = 1; test_var += \"x\"; return test_var;",
      "test_var = 2; test_var /= 0; return test_var;",
      "test_any = \"ab\"; test_any += \"c\"; return test_any + \"!\";",
      "test_any = \"ab\"; test_any += 1; return test_any;",
      "test_any = \"ab\"; test_any *= 2; return 0;",
      "test_any = \"ab\"; test_any -= 1; return 0;",
      "test_any = \"ab\"; return test_any < 1;",
      "test_any = 4; test_any -= 1.5; test_any |= 8; return test_any;",
      "var a; a = \"t\"; test_any = 1; test_any += a; return test_any;",
      "return test_readonly + argument_count;",
  });
}

TEST_F(CodeBothWays, SwitchesAndReturns) {
  Agree({
      "var s, n; s = \"ab\"; n = 0; switch (s) { case \"a\": n = 1; break; case \"ab\": n = 2; case \"ac\": n += 10; } return n;",
      "var n, i; i = 0; n = 2; switch (n) { case 1: i += 1; break; case 2: i += 5; break; default: i = 9; } return i;",
      "var n, i; i = \"t\"; n = 2; switch (n) { case 2: i += 1; break; } return i;",
      "var n; n = \"2\"; switch (n) { case 2: return 1; case \"2\": return 2; } return 3;",
      "var a, b; a = \"x\"; b = 1; return a * b;",
      "var a; a = \"t\"; return a;",
  });
}

// A switch whose labels are all constants compares the value where it is
// stored, a text only with the text labels: reals against texts, empty
// texts, texts one byte longer or shorter than a label, duplicate labels,
// default before the cases, a value changing kind within a loop, a case
// stepping a local that holds a text, labels longer than eight bytes and
// labels whose bytes are past 127.
TEST_F(CodeBothWays, SwitchOnConstantLabels) {
  // The value as a plain local, and as an array read at a computed index.
  const char* kLabels =
      " { case \"apple\": n += 1; break; case \"pear\": n += 2; break; case \"plum\": n += 3; break;"
      " case \"pea\": n += 5; break; case \"\": n += 6; break; case 1: n += 7; break; case \"pear\": n += 8; break;"
      " case \"é\": n += 9; break; case \"watermelon\": n += 10; break; case \"waterme1on\": n += 11; break;"
      " case \"wa\": n += 12; break; default: n += 4; }";
  std::vector<std::string> programs;
  for (const char* v : {"\"apple\"", "\"pear\"", "\"plum\"", "\"pea\"", "\"pe\"", "\"p\"", "\"pears\"", "\"apples\"", "\"appl\"",
                        "\"\"", "\"fig\"", "1", "\"1\"", "0", "-1", "\"é\"", "\"éa\"", "\"Apple\"",
                        "\"watermelon\"", "\"waterme1on\"", "\"watermelons\"", "\"watermelo\"", "\"watermel\"", "\"wa\"",
                        "\"w\"", "\"wat\"", "\"xatermelon\"", "\"watermelom\"", "\"wbtermelon\"", "\"aqple\"", "\"pxar\"",
                        "\"plux\""}) {
    programs.push_back(std::string("var v, n; n = 0; v = ") + v + "; switch (v)" + kLabels + " return n;");
    programs.push_back(std::string("var w, i, n; n = 0; i = 5; w[1] = ") + v + "; switch (w[i mod 4])" + kLabels + " return n;");
  }
  for (const std::string& p : programs) Agree({p.c_str()});
  Agree({
      // Default first, falling into the case below it; a real label among texts.
      "var v, n; n = 0; v = \"x\"; switch (v) { default: n += 1; case \"a\": n += 10; break; case 2: n += 100; } return n;",
      "var v, n; n = 0; v = 2; switch (v) { default: n += 1; case \"a\": n += 10; break; case 2: n += 100; } return n;",
      "var v, n; n = 0; v = \"2\"; switch (v) { case \"a\": n += 10; break; case 2: n += 100; break; case \"2\": n += 7; } return n;",
      // No label matches and there is no default.
      "var v, n; n = 0; v = \"z\"; switch (v) { case \"a\": n = 1; break; case \"b\": n = 2; } return n;",
      // A case that ends the body without a break, and one that falls through.
      "var v, n; n = 0; v = \"b\"; switch (v) { case \"a\": n += 1; break; case \"b\": n += 2; } return n;",
      "var v, n; n = 0; v = \"a\"; switch (v) { case \"a\": n += 1; case \"b\": n += 2; break; case \"c\": n += 4; } return n;",
      // The stepped local holds a text: the case's statement tells the error.
      "var v, n; n = \"s\"; v = \"a\"; switch (v) { case \"a\": n += 1; break; } return n;",
      "var v, n; n = \"s\"; v = \"a\"; switch (v) {\n case \"a\":\n n -= 1;\n break; } return n;",
      // The value's kind changes within a loop; the array holds reals and texts.
      "var w, i, n; w[0] = \"apple\"; w[1] = 1; w[2] = \"pear\"; w[3] = \"1\"; w[4] = \"\"; n = 0;"
      " for (i = 0; i < 25; i += 1) switch (w[i mod 5]) { case \"apple\": n += 1; break; case 1: n += 10; break;"
      " case \"1\": n += 100; break; case \"pear\": n += 1000; break; default: n += 10000; } return n;",
      // A label that is no constant makes every label evaluated in order.
      "var v, n, k; n = 0; k = \"b\"; v = \"b\"; switch (v) { case \"a\": n = 1; break; case k: n = 2; break; case \"b\": n = 3; } return n;",
      // The value is read where it is stored while the body changes it.
      "var w, n; w[1] = \"a\"; n = 0; switch (w[1]) { case \"a\": w[1] = \"b\"; n = 1; case \"b\": n += 2; } return string(n) + w[1];",
      "var v, n; v = \"a\"; n = 0; switch (v) { case \"a\": v = 5; n += 1; case \"b\": n += 2; break; case 5: n += 4; } return n;",
      // The value is a call's text, or an error.
      "var n; n = 0; switch (string(12)) { case \"12\": n = 1; break; case 12: n = 2; } return n;",
      "var n; n = 0; switch (nothing_here) { case \"a\": n = 1; } return n;",
      "var w, n; n = 0; switch (w[3]) { case \"a\": n = 1; } return n;",
      // The same read at a computed index: the element changed by the case,
      // not stored, at an index that is a text or negative, a step of a text.
      "var w, i, n; w[1] = \"a\"; i = 1; n = 0; switch (w[i mod 2]) { case \"a\": w[1] = \"b\"; n = 1; case \"b\": n += 2; } return string(n) + w[1];",
      "var w, i, n; w[0] = \"a\"; i = 3; n = 0; switch (w[i mod 4]) { case \"a\": n = 1; } return n;",
      "var w, i, n; w[0] = \"a\"; i = \"s\"; n = 0;\n switch (w[i mod 4]) { case \"a\": n = 1; } return n;",
      "var w, i, n; w[0] = \"a\"; i = -1; n = 0;\n switch (w[i + 1]) { case \"a\": n = 1; } return n;",
      "var w, i, n; w[0] = \"a\"; i = -2; n = 0;\n switch (w[i + 1]) { case \"a\": n = 1; } return n;",
      "var w, i, n; w[0] = \"a\"; i = 0; n = \"s\"; switch (w[i mod 4]) {\n case \"a\":\n n += 1;\n break; } return n;",
      "var w, i, n; w[0] = \"a\"; w[1] = 2; n = 0; for (i = 0; i < 4; i += 1) switch (w[i mod 2]) { case \"a\": n += 1; break; case 2: n += 10; break; case \"b\": n += 100; } return n;",
      "var w, i, n; w[0] = \"a\"; w[1] = \"b\"; n = 0; for (i = 0; i < 4; i += 1) switch (w[i mod 2]) { default: n += 1; case \"a\": n += 10; break; } return n;",
      // What runs after a case that steps and breaks names its own line.
      "var w, n; w[0] = 5; w[1] = \"a\"; w[2] = \"x\"; n = 0;\n while (n < w[n]) {\n switch (w[n + 2]) {\n"
      " case \"x\": n += 1;\n break; } }\n return n;",
      "var w, n; w[0] = 5; w[1] = \"a\"; w[2] = \"x\";\n for (n = 0; n < w[n]; n += 0) {\n switch (w[n + 2]) {\n"
      " case \"x\": n += 1;\n break; } }\n return n;",
      "var w, i, n; w[0] = \"x\"; i = 0; n = 0;\n switch (w[i mod 2]) {\n case \"x\": n += 1;\n break; }\n n += w[0];\n return n;",
  });
}

// An array read at a plain local or argument OP a constant (w[i mod 4],
// w[i + 1]), computed in place: negative, fractional, huge and text
// indices, results out of range, elements not stored, moduli that are
// negative or no whole number, and the errors' lines.
TEST_F(CodeBothWays, ArrayReadAtComputedIndex) {
  // A real near the largest: times 10 it is infinite, and mod gives NaN.
  const std::string kHuge = "1" + std::string(307, '0');
  const std::string kFill = "var w, i, n; w[0] = 10; w[1] = 11; w[2] = \"two\"; w[3] = 13; w[4] = 14; w[5] = 15;";
  std::vector<std::string> programs;
  const std::vector<std::string> indices = {"0", "3", "7", "-1", "-4", "-0", "-5", "2.5", "5.5", "-2.5", "0.25",
                                            "1000000000", "10000000001", "2147483647", "2147483648", "4294967298",
                                            kHuge + " * 10", "-" + kHuge + " * 10", "\"s\"", "true"};
  for (const std::string& i : indices)
    for (const char* read : {"w[i mod 4]", "w[i mod -4]", "w[i mod 2.5]", "w[i mod 1]", "w[i mod 40000]", "w[i div 2]",
                             "w[i + 1]", "w[i - 1]", "w[i * 2]", "w[i / 2]", "w[i * 40000]", "w[i + 0.5]"})
      programs.push_back(kFill + " i = " + i + ";\n n = " + read + ";\n return n;");
  for (const std::string& p : programs) Agree({p.c_str()});
  Agree({
      // The index local changes kind within a loop.
      "var w, i, n, k; w[0] = 1; w[1] = 2; w[2] = 3; n = 0; k = 0;"
      " while (k < 9) { if (k == 4) i = \"s\"; else i = k; if (k != 4) n += w[i mod 3]; k += 1; } return n;",
      "var w, i, n; w[0] = 1; w[1] = 2; n = 0; for (i = 0; i < 6; i += 0.5) n += w[i mod 2]; return n;",
      // An element past the stored ones, with and without a text there.
      "var w, i; w[0] = 1; w[1] = 2; i = 5; return w[i mod 4];",
      "var w, i; w[0] = \"a\"; i = 4; return w[i mod 4] + w[i - 4] + w[i div 8];",
      // An argument slot on the left.
      "return letter(5) + letter(1) + letter(7.5);",
      "return letter(\"t\");",
      "return letter(-2);",
      // The read as a switch's value and as an operand.
      "var w, i, n; w[0] = \"a\"; w[1] = \"b\"; n = 0; for (i = -2; i < 4; i += 1) switch (w[(i + 2) mod 2]) { case \"a\": n += 1; break; case \"b\": n += 10; } return n;",
      "var w, i, n; w[0] = \"a\"; w[1] = \"b\"; n = 0; for (i = 3; i > -3; i -= 1) switch (w[i mod 2]) { case \"a\": n += 1; break; case \"b\": n += 10; } return n;",
  });
}

TEST_F(CodeBothWays, TextJoinedWithString) {
  Agree({
      "var x, r, i; r = \"\"; for (i = 0; i < 5; i += 1) { if (i == 2) x = \"s\"; else x = i * 1.5 - 2;"
      " r += \"k\" + string(x) + \",\"; test_log(\"k\" + string(x), string(x) + \"k\"); } return r;",
      "var s; s = \"ab\"; test_log(\"k\" + string(s + \"c\"), string(s + \"d\") + \"k\"); return string(-7) + \"q\";",
      "var i; i = -2147483648; test_log(\"k\" + string(i), \"k\" + string(i - 1), \"k\" + string(i * i * 4), \"k\" + string(-0.5));"
      " return 0;",
      "var i; i = 1000000; test_log(\"a_rather_long_key_prefix_to_pass_any_room_\" + string(i), string(i / 3) + \"k\"); return 0;",
      "var u; test_log(\"k\" + string(u)); return 0;",
      "var a; a[0] = 3; test_log(\"k\" + string(a[0] * 2), \"k\" + string(a[1])); return 0;",
      // string(i OP k): small whole results written in place, the rest
      // (negative, fractional, -0, past 31999, past 32 bits) as before.
      "var v, n, i, r; v[0] = 5; v[1] = 999; v[2] = 1000; v[3] = 31999; v[4] = 32000; v[5] = -1; v[6] = -1000;"
      " v[7] = 2.5; v[8] = 0 * -1; v[9] = 2147483647; v[10] = 2147483648; v[11] = 1e15; v[12] = 33; r = \"\";"
      " for (n = 0; n < 13; n += 1) { i = v[n]; r += \"k\" + string(i mod 1000) + \",\" + string(i mod -7) + \"k\""
      " + \"k\" + string(i mod 8) + \",\" + string(i + 1) + \"k\" + \"k\" + string(i - 0.5) + string(i * 2) + \"k\""
      " + \"k\" + string(i div 3) + \"|\"; } return r;",
      // Constants of up to five bytes and three digits fill a word; longer ones do not.
      "var n, i, r; r = \"\"; for (n = -2; n < 1500; n += 97) { i = n * 3;"
      " test_log(\"a_long_prefix\" + string(i * 1000000)); test_log(\"abcde\" + string(i mod 1000));"
      " test_log(\"a_long_prefix\" + string(i * 1000000)); test_log(string(i mod 1000) + \"abcde\");"
      " test_log(\"\" + string(i mod 1000),"
      " \"abcdef\" + string(i mod 1000), string(i mod 1000) + \"abcdef\", string(i + 2) + \"\"); } return 0;",
      // The local turns into a text on the second run: the operator's error.
      "var i, n, r; r = \"\"; for (n = 0; n < 3; n += 1) { if (n == 1) i = \"t\"; else i = n; r += \"k\" + string(i mod 4); }"
      " return r;",
      "var i, n, r; r = \"\"; for (n = 0; n < 3; n += 1) { if (n == 1) i = \"t\"; else i = n; r += string(i + 4) + \"k\"; }"
      " return r;",
  });
}

TEST_F(CodeBothWays, MapKeysJoinedInTheCall) {
  Agree({
      // Keys of every kind of x: whole, negative, fractional, a text; found,
      // missing, added twice.
      "var m, i, s; m = ds_map_create(); for (i = -3; i < 40; i += 1) ds_map_replace(m, \"k\" + string(i mod 7), i);"
      " s = 0; for (i = -6; i < 10; i += 1) s += ds_map_find_value(m, \"k\" + string(i));"
      " test_log(ds_map_exists(m, \"k\" + string(-3)), ds_map_exists(m, \"k\" + string(3.5)),"
      " ds_map_add(m, \"k\" + string(1), 5), ds_map_add(m, \"new\" + string(1), 5), ds_map_replace(m, string(2.5) + \"k\", 1),"
      " ds_map_find_value(m, \"2.50\" + string(\"k\")), ds_map_size(m)); ds_map_destroy(m); return s;",
      // Keys made in a word and as texts find each other; the walk is the same.
      "var m, i, s; m = ds_map_create(); for (i = 0; i < 2000; i += 7) { ds_map_replace(m, \"abcde\" + string(i mod 1000), i);"
      " ds_map_add(m, string(i mod 100) + \"z\", i); } s = string(ds_map_find_value(m, \"abcde999\")) + string(ds_map_find_value(m, \"abcde7\"))"
      " + string(ds_map_find_value(m, \"98z\")) + string(ds_map_exists(m, \"abcde\" + string(1000 mod 1001)))"
      " + string(ds_map_find_value(m, \"abcde\" + string(994 mod 1000))); return s + ds_map_write(m);",
      // Keys too long for the call's buffer.
      "var m, i, s; m = ds_map_create(); for (i = 0; i < 5; i += 1)"
      " ds_map_replace(m, \"a_rather_long_key_prefix_to_pass_the_room_of_the_call_\" + string(i * 1000000), i);"
      " s = \"\"; for (i = 0; i < 6; i += 1) s += string(ds_map_find_value(m, \"a_rather_long_key_prefix_to_pass_the_room_of_the_call_\""
      " + string(i * 1000000))) + string(ds_map_exists(m, \"a_rather_long_key_prefix_to_pass_the_room_of_the_call_\" + string(i)));"
      " test_log(ds_map_add(m, \"a_rather_long_key_prefix_to_pass_the_room_of_the_call_\" + string(\"x\"), 1)); return s;",
      // A real key and a text key of the same digits are two keys.
      "var m; m = ds_map_create(); ds_map_add(m, 1, \"real\"); ds_map_add(m, \"\" + string(1), \"text\");"
      " return ds_map_find_value(m, 1) + ds_map_find_value(m, \"\" + string(1)) + string(ds_map_size(m));",
      // x changes kind in the loop; the value is a joined text the call owns.
      "var m, i, x, r; m = ds_map_create(); r = \"\"; for (i = 0; i < 4; i += 1) { if (i == 2) x = \"s\"; else x = i;"
      " ds_map_replace(m, \"k\" + string(x), \"v\" + string(i * 2)); r += ds_map_find_value(m, \"k\" + string(x)); } return r;",
      // The map as an expression; the key's x a call of the same kind.
      "var m; m = ds_map_create(); ds_map_replace(m + 0, \"k\" + string(1), 7); ds_map_replace(m, \"k\" + string(7), 8);"
      " return ds_map_find_value(m * 1, \"k\" + string(ds_map_find_value(m, \"k\" + string(1))));",
      // Arguments in order: the key's x steps i before the value reads it.
      "var m, i; m = ds_map_create(); i = 1; ds_map_replace(m, \"k\" + string(i++), i); return ds_map_find_value(m, \"k1\");",
      // Errors: no such map, a destroyed one, an unset x, an unset value.
      "return ds_map_find_value(99, \"k\" + string(1));",
      "var m; m = ds_map_create(); ds_map_destroy(m); test_log(ds_map_replace(m, \"k\" + string(1), 2)); return 0;",
      "var m, u; m = ds_map_create(); return ds_map_exists(m, \"k\" + string(u));",
      "var m, u; m = ds_map_create(); ds_map_add(m, \"k\" + string(1), u); return 0;",
  });
}
}  // namespace
