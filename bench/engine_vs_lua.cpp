// Runs the same programs in the script engine and in Lua 5.4 (the
// lua5.4 program, timed inside Lua with os.clock) and prints the time ratios.
// Each side takes the best of at least kRuns runs, going on until it has run
// kSeconds in all: the machine is shared and the short programs take
// milliseconds.
// Arguments (for profiling): a name prefix runs only the programs it starts,
// and "ours" leaves Lua out.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>
#include <cstring>
#include <string>

#include "Base/Text_Real.h"
#include "Code/Code_Main.h"
#include "Function/Function_Init.h"
#include "Object/Instance_Class.h"
#include "Object/Instance_Main.h"
#include "Object/Object_Main.h"
#include "StartUp/StartUp_Main.h"
#include "Script/Script_Main.h"

namespace {
struct Program {
  const char* name;
  const char* ours;
  const char* lua;
};

const Program kPrograms[] = {
    {"fib(32)", "return fib(32);",
     "local function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end\n"
     "return fib(32.0)"},
    {"arithmetic 10M",
     "var i, x, c; x = 0; c = 0; i = 0;\n"
     "while (i < 10000000) { x = x * 0.5 + i; if (x > 1000 && x != 5) c += 1; i += 1; }\n"
     "return c;",
     "local i, x, c = 0.0, 0.0, 0.0\n"
     "while i < 10000000 do x = x * 0.5 + i; if x > 1000 and x ~= 5 then c = c + 1 end; i = i + 1 end\n"
     "return c"},
    {"string 100k pieces",
     "var s, i; s = \"\"; i = 0; while (i < 100000) { s += \"x\"; i += 1; } return s;",
     "local s, i = '', 0.0\nwhile i < 100000 do s = s .. 'x'; i = i + 1 end\nreturn s"},
    {"array 1000x1000",
     "var a, i, j, s; i = 0;\n"
     "while (i < 1000) { j = 0; while (j < 1000) { a[i, j] = i + j; j += 1; } i += 1; }\n"
     "s = 0; i = 0;\n"
     "while (i < 1000) { j = 0; while (j < 1000) { s += a[i, j]; j += 1; } i += 1; }\n"
     "return s;",
     "local a, s, i = {}, 0.0, 0\n"
     "while i < 1000 do a[i] = {}; local j = 0; while j < 1000 do a[i][j] = i + j; j = j + 1 end; i = i + 1 end\n"
     "i = 0\n"
     "while i < 1000 do local j = 0; while j < 1000 do s = s + a[i][j]; j = j + 1 end; i = i + 1 end\n"
     "return s"},
    {"instance vars 5M",
     "var i; hp = 0; i = 0; while (i < 5000000) { hp += 3; if (hp > 100) hp -= 100; i += 1; } return hp;",
     "local self, i = {hp = 0.0}, 0.0\n"
     "while i < 5000000 do self.hp = self.hp + 3; if self.hp > 100 then self.hp = self.hp - 100 end; i = i + 1 end\n"
     "return self.hp"},
    {"1M script calls",
     "var i, s; i = 0; s = 0; while (i < 1000000) { s += mul_add(i, 2, 3); i += 1; } return s;",
     "local function mul_add(a, b, c) return a + b * c end\n"
     "local i, s = 0.0, 0.0\nwhile i < 1000000 do s = s + mul_add(i, 2.0, 3.0); i = i + 1 end\nreturn s"},
    {"with 1000 x 1000",
     "var i; with (thing) n = 0; i = 0; while (i < 1000) { with (thing) n += 1; i += 1; } return thing.n;",
     "local things = {}\nfor k = 1, 1000 do things[k] = {n = 0.0} end\n"
     "local i = 0.0\nwhile i < 1000 do for _, t in ipairs(things) do t.n = t.n + 1 end; i = i + 1 end\n"
     "return things[1].n"},
    {"ds_map 200k",
     "var m, i, s; m = ds_map_create(); i = 0;\n"
     "while (i < 100000) { ds_map_replace(m, \"k\" + string(i mod 1000), i); i += 1; }\n"
     "s = 0; i = 0;\n"
     "while (i < 100000) { s += ds_map_find_value(m, \"k\" + string(i mod 1000)); i += 1; }\n"
     "ds_map_destroy(m); return s;",
     "local m, s = {}, 0.0\nfor i = 0, 99999 do m['k' .. (i % 1000)] = i + 0.0 end\n"
     "for i = 0, 99999 do s = s + m['k' .. (i % 1000)] end\nreturn s"},
    {"string_char_at 100k",
     "var s, i, n, r; s = string_repeat(\"abcdefghij\", 100); n = 0; r = 0;\n"
     "while (r < 100) { i = 1; while (i <= 1000) { if (string_char_at(s, i) == \"e\") n += 1; i += 1; } r += 1; }\n"
     "return n;",
     "local s, n = string.rep('abcdefghij', 100), 0.0\n"
     "for r = 1, 100 do local i = 1.0; while i <= 1000 do if s:sub(i, i) == 'e' then n = n + 1 end; i = i + 1 end end\n"
     "return n"},
    {"switch strings 1M",
     "var w, i, n; w[0] = \"apple\"; w[1] = \"pear\"; w[2] = \"plum\"; w[3] = \"fig\"; n = 0; i = 0;\n"
     "while (i < 1000000) { switch (w[i mod 4]) { case \"apple\": n += 1; break; case \"pear\": n += 2; break;\n"
     "case \"plum\": n += 3; break; default: n += 4; } i += 1; }\n"
     "return n;",
     "local w, n, i = {[0] = 'apple', 'pear', 'plum', 'fig'}, 0.0, 0\n"
     "while i < 1000000 do local v = w[i % 4]\n"
     "if v == 'apple' then n = n + 1 elseif v == 'pear' then n = n + 2 elseif v == 'plum' then n = n + 3 else n = n + 4 end\n"
     "i = i + 1 end\nreturn n"},
};

constexpr int kRuns = 5;
constexpr double kSeconds = 0.5;

double Seconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Runs one program in the engine; the time in seconds, negative on failure.
double RunOurs(const Program& p, std::string* shown) {
  CCode code(p.ours, false);
  if (!code.Compile("Bench")) {
    *shown = Code_ErrorText;
    return -1;
  }
  CInstance self{0, 0, 190001, -1};
  RValue result{};
  double t = 1e9, total = 0;
  bool ok = true;
  for (int run = 0; (run < kRuns || total < kSeconds) && ok; ++run) {
    double start = Seconds();
    ok = Code_Evaluate(&self, &self, &code, &result);
    t = std::min(t, Seconds() - start);
    total += Seconds() - start;
  }
  *shown = !ok ? Code_ErrorText
           : result.kind == VALUE_STRING ? "string of " + std::to_string(std::string(result.str).size())
                                         : Real_ToText(result.val);
  RValue_Free(&result);
  return ok ? t : -1;
}

// Runs one program in lua5.4; the time in seconds, negative on failure.
double RunLua(const Program& p, std::string* shown) {
  std::string path = "/tmp/engine_vs_lua_" + std::to_string(getpid()) + ".lua";
  FILE* f = std::fopen(path.c_str(), "w");
  if (!f) return -1;
  std::fprintf(f,
               "local function run()\n%s\nend\n"
               "local t, r, total, runs = 1e9, nil, 0, 0\n"
               "while runs < %d or total < %g do\n"
               "  local s = os.clock(); r = run(); local d = os.clock() - s\n"
               "  t = math.min(t, d); total = total + d; runs = runs + 1\n"
               "end\n"
               "if type(r) == 'string' then r = 'string of ' .. #r elseif r == math.floor(r) then r = string.format('%%d', r) end\n"
               "print(t, r)\n",
               p.lua, kRuns, kSeconds);
  std::fclose(f);
  std::string command = "lua5.4 " + path;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  char line[256] = {};
  bool got = std::fgets(line, sizeof line, pipe) != nullptr;
  pclose(pipe);
  std::remove(path.c_str());
  if (!got) return -1;
  char* rest = nullptr;
  double t = std::strtod(line, &rest);
  *shown = rest ? std::string(rest + (*rest ? 1 : 0)) : "";
  if (!shown->empty() && shown->back() == '\n') shown->pop_back();
  return t;
}
}  // namespace

int main(int argc, char** argv) {
  const char* only = argc > 1 ? argv[1] : "";
  bool oursOnly = argc > 2 && std::strcmp(argv[2], "ours") == 0;
  StartUp_InstallHooks();
  Code_Init();
  InitCWLFunctions();
  // The instances that "with" visits.
  int thing = Object_Add("thing");
  for (int k = 0; k < 1000; k++) new CInstance(0, 0, Instance_NextId(), thing);
  Script_Add("fib", "if (argument0 < 2) return argument0; return fib(argument0 - 1) + fib(argument0 - 2);");
  Script_Add("mul_add", "return argument0 + argument1 * argument2;");
  if (!Script_PrepareAll()) return 1;

  std::printf("%-22s %10s %10s %8s   results (ours / lua)\n", "program", "ours s", "lua s", "ratio");
  for (const Program& p : kPrograms) {
    if (std::strncmp(p.name, only, std::strlen(only)) != 0) continue;
    std::string a, b;
    double ours = RunOurs(p, &a);
    double lua = oursOnly ? 0 : RunLua(p, &b);
    std::printf("%-22s %10.3f %10.3f %8.2f   %s / %s\n", p.name, ours, lua, lua > 0 ? ours / lua : 0.0, a.c_str(),
                b.c_str());
  }
  return 0;
}
