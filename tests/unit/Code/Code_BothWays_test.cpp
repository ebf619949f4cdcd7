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
  // The program's value (or error) and log, with the nodes of that way.
  std::string Outcome(const char* text, bool general) {
    Tree_SetGeneralNodes(general);
    Script_Clear();
    for (auto& s : kScripts) Script_Add(s[0], s[1]);
    EXPECT_TRUE(Script_PrepareAll()) << Code_ErrorText;
    codetest::g_log.clear();
    delete self.vars;
    self.vars = nullptr;
    Variable_Globals().Clear();
    std::vector<bool> hadMap;
    for (auto& slot : g_DS_Maps.slots) hadMap.push_back(slot.object != nullptr);
    std::string shown = Run(text) + " | " + codetest::g_log;
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
