#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "Base/File_Folders.h"
#include "Code/Code_Error.h"
#include "Code/Code_Main.h"
#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Event.h"
#include "Object/Object_Main.h"
#include "Option/Option_Main.h"
#include "Code/Code_Units.h"
#include "Variable/Variable_BuiltIn.h"
#include "Misc_Call.h"
#include "Test_TempFolder.h"

namespace {

// The language's variables and every built-in, once per test program.
void EngineReady() {
  InitCWLFunctions();
  if (Variable_BuiltIn_Find("argument0") < 0) Code_Init();
  Error_SetOccurred(false);
}

std::string LastError() { return Error_Occurred() ? Error_Last() : ""; }

MiscResult Execute(std::vector<RValue> args, CInstance* self = nullptr) {
  EngineReady();
  return Misc_Call("execute_string", std::move(args), self, self);
}

}  // namespace

TEST(MiscExecute, StringRunsWithItsArgumentsAndReturnsItsValue) {
  EXPECT_EQ(Execute({Misc_Text("return argument0 + argument1"), Misc_Real(2), Misc_Real(3)}).real(), 5);
  MiscResult text = Execute({Misc_Text("return argument0 + \"!\""), Misc_Text("hi")});
  EXPECT_EQ(text.v.kind, VALUE_STRING);
  EXPECT_EQ(text.text(), "hi!");
  EXPECT_EQ(Execute({Misc_Text("var x; x = 1")}).real(), 0);  // returns nothing

  // Fifteen arguments fill argument0 to argument14; argument15 is 0.
  std::vector<RValue> args{Misc_Text("return argument14 * 100 + argument15 + argument0")};
  for (int i = 1; i <= 15; ++i) args.push_back(Misc_Real(i));
  EXPECT_EQ(Execute(std::move(args)).real(), 1501);

  // Nested runs each see their own arguments.
  EXPECT_EQ(Execute({Misc_Text("return execute_string(\"return argument0 * 2\", argument0 + 1) + argument0"),
                     Misc_Real(4)})
                .real(),
            14);
  EXPECT_EQ(LastError(), "");
}

TEST(MiscExecute, CallerArgumentsComeBackAfterRunsAndFailures) {
  EngineReady();
  RValue mine[2] = {Misc_Real(7), Misc_Text("mine")};
  CodeArgumentSave outer;
  Code_Arguments_Save(&outer);
  Code_Arguments_Set(2, mine);

  EXPECT_EQ(Execute({Misc_Text("return argument1"), Misc_Real(1)}).real(), 0);
  EXPECT_EQ(Code_Argument(0)->val, 7);
  EXPECT_STREQ(RValue_Text(*Code_Argument(1)), "mine");

  // A compilation error is reported, not fatal; the game goes on.
  MiscResult bad = Execute({Misc_Text("return (1 +"), Misc_Real(9)});
  EXPECT_EQ(bad.v.kind, VALUE_REAL);
  EXPECT_EQ(bad.real(), 0);
  EXPECT_EQ(LastError().rfind("COMPILATION ERROR in string to be executed\n", 0), 0u) << LastError();
  EXPECT_EQ(Code_Argument(0)->val, 7);
  EXPECT_STREQ(RValue_Text(*Code_Argument(1)), "mine");
  EXPECT_EQ(Execute({Misc_Text("return 3")}).real(), 3);

  Code_Arguments_Restore(&outer);
  for (RValue& v : mine) RValue_Free(&v);
}

TEST(MiscExecute, FileRunsWhollyWithAnyLineEnds) {
  CTestFolder folder("execfile");
  std::string dir = folder.Path() + "/";
  {
    std::ofstream out(dir + "long.txt", std::ios::binary);
    out << "var total;\r\ntotal = argument0;\r\n";
    for (int i = 0; i < 1000; ++i) out << "total += 1;\r\n";  // well past 5119 bytes
    out << "return total";
  }
  File_SetGameDirectory(dir.c_str());
  EngineReady();
  EXPECT_EQ(Misc_Call("execute_file", {Misc_Text("long.txt"), Misc_Real(5)}).real(), 1005);
  EXPECT_EQ(LastError(), "");
  EXPECT_EQ(Misc_Call("execute_file", {Misc_Text("missing.txt")}).real(), 0);
  EXPECT_EQ(LastError(), "Trying to execute non-existing file.");
  {
    std::ofstream(dir + "broken.txt") << "if (";
  }
  Error_SetOccurred(false);
  Misc_Call("execute_file", {Misc_Text("broken.txt")});
  EXPECT_EQ(LastError().rfind("COMPILATION ERROR in file to be executed\n", 0), 0u) << LastError();
  File_SetGameDirectory("");
}

TEST(MiscVariables, GlobalsByNameWithArraysAndTheIndexLimit) {
  EngineReady();
  Misc_Call("variable_global_set", {Misc_Text("misc_score"), Misc_Real(5)});
  EXPECT_EQ(Misc_Call("variable_global_get", {Misc_Text("misc_score")}).real(), 5);
  EXPECT_EQ(Misc_Call("variable_global_exists", {Misc_Text("misc_score")}).real(), 1);
  EXPECT_EQ(Execute({Misc_Text("return global.misc_score")}).real(), 5);

  Misc_Call("variable_global_array_set", {Misc_Text("misc_arr"), Misc_Real(31999), Misc_Text("last")});
  EXPECT_EQ(Misc_Call("variable_global_array_get", {Misc_Text("misc_arr"), Misc_Real(31999)}).text(), "last");
  Misc_Call("variable_global_array2_set", {Misc_Text("misc_grid"), Misc_Real(2), Misc_Real(3), Misc_Real(23)});
  EXPECT_EQ(Misc_Call("variable_global_array2_get", {Misc_Text("misc_grid"), Misc_Real(2), Misc_Real(3)}).real(), 23);
  EXPECT_EQ(Execute({Misc_Text("return global.misc_grid[2, 3]")}).real(), 23);
  EXPECT_EQ(LastError(), "");

  EXPECT_EQ(Misc_Call("variable_global_array_get", {Misc_Text("misc_arr"), Misc_Real(32000)}).real(), 0);
  EXPECT_EQ(LastError(), "Array index >= 32000");
  Error_SetOccurred(false);
  Misc_Call("variable_global_array2_set", {Misc_Text("misc_grid"), Misc_Real(32000), Misc_Real(0), Misc_Real(1)});
  EXPECT_EQ(LastError(), "Array index >= 32000");
  Error_SetOccurred(false);
  Misc_Call("variable_global_array2_get", {Misc_Text("misc_grid"), Misc_Real(0), Misc_Real(32000)});
  EXPECT_EQ(LastError(), "Array index >= 32000");

  // Negative indices name no element, in any row.
  Misc_Call("variable_global_array2_set", {Misc_Text("misc_grid"), Misc_Real(1), Misc_Real(-1), Misc_Real(9)});
  Misc_Call("variable_global_array_set", {Misc_Text("misc_grid"), Misc_Real(-5), Misc_Real(9)});
  EXPECT_EQ(Misc_Call("variable_global_array_get", {Misc_Text("misc_grid"), Misc_Real(31999)}).real(), 0);
  EXPECT_EQ(Misc_Call("variable_global_array2_get", {Misc_Text("misc_grid"), Misc_Real(-1e12), Misc_Real(0)}).real(), 0);
  EXPECT_EQ(LastError(), "Array index >= 32000");  // only the earlier report

  // A name never set does not exist, whether unknown variables are errors
  // or read as 0; a name set does.
  bool saved = g_GameOptions.unknown_variables_zero;
  for (bool zero : {false, true}) {
    g_GameOptions.unknown_variables_zero = zero;
    EXPECT_EQ(Misc_Call("variable_global_exists", {Misc_Text("misc_never_a")}).real(), 0) << zero;
    EXPECT_EQ(Misc_Call("variable_global_exists", {Misc_Text("misc_grid")}).real(), 1) << zero;
  }
  g_GameOptions.unknown_variables_zero = saved;
}

TEST(MiscVariables, LocalsByNameBelongToSelf) {
  EngineReady();
  CInstance a(0, 0, 100001, -1, false), b(0, 0, 100002, -1, false);
  Misc_Call("variable_local_set", {Misc_Text("misc_hp"), Misc_Real(3)}, &a, &a);
  Misc_Call("variable_local_array_set", {Misc_Text("misc_items"), Misc_Real(4), Misc_Text("key")}, &a, &a);
  EXPECT_EQ(Misc_Call("variable_local_get", {Misc_Text("misc_hp")}, &a, &a).real(), 3);
  EXPECT_EQ(Misc_Call("variable_local_array_get", {Misc_Text("misc_items"), Misc_Real(4)}, &a, &a).text(), "key");
  EXPECT_EQ(Execute({Misc_Text("return misc_hp * 10")}, &a).real(), 30);
  bool saved = g_GameOptions.unknown_variables_zero;
  for (bool zero : {false, true}) {
    g_GameOptions.unknown_variables_zero = zero;
    EXPECT_EQ(Misc_Call("variable_local_exists", {Misc_Text("misc_hp")}, &a, &a).real(), 1) << zero;
    EXPECT_EQ(Misc_Call("variable_local_exists", {Misc_Text("misc_hp")}, &b, &b).real(), 0) << zero;
  }
  g_GameOptions.unknown_variables_zero = saved;
  // Element 4 of row 0 is stored; an element beyond the stored ones is not.
  EXPECT_EQ(Misc_Call("variable_local_exists", {Misc_Text("misc_items")}, &a, &a).real(), 1);
}

namespace {

// An object with user event 0 and step event code; its parent when given.
// -1 while the game world cannot compile event code.
int MakeObject(const char* name, int parent, const char* user0, const char* step) {
  struct { int type, number; const char* text; } events[] = {{EV_OTHER, EV_OTHER_USER0, user0}, {EV_STEP, 0, step}};
  CCode* codes[2] = {};
  for (int i = 0; i < 2; ++i)
    if (events[i].text && !(codes[i] = Code_CompileUnit(events[i].text, name, false))) return -1;
  int index = Object_Add(name);
  CObject* obj = Object_Find(index);
  obj->parent_index = parent;
  for (int i = 0; i < 2; ++i) {
    if (!codes[i]) continue;
    auto* ev = new CEvent;
    ev->code = codes[i];
    obj->SetEvent(events[i].type, events[i].number, ev);
  }
  return index;
}

}  // namespace

TEST(MiscEvents, PerformedOwnInheritedAndOfAnotherObject) {
  EngineReady();
  auto log = "variable_global_set(\"misc_log\", variable_global_get(\"misc_log\") + ";
  int parent = MakeObject("misc_parent", -1, (std::string(log) + "\"P\")").c_str(),
                          (std::string(log) + "\"p\")").c_str());
  int child = MakeObject("misc_child", parent, (std::string(log) + "\"C\"); event_inherited()").c_str(), nullptr);
  int lone = MakeObject("misc_lone", -1, (std::string(log) + "\"L\"); event_inherited()").c_str(), nullptr);
  if (parent < 0 || child < 0 || lone < 0) {
    for (int index : {lone, child, parent}) Object_Delete(index);
    GTEST_SKIP() << "the game world does not compile event code yet";
  }
  Object_LinkParents();
  CInstance inst(0, 0, 100010, child, false), other(0, 0, 100011, lone, false);

  auto run = [&](CInstance* self, const char* code) {
    Misc_Call("variable_global_set", {Misc_Text("misc_log"), Misc_Text("")});
    Execute({Misc_Text(code)}, self);
    return Misc_Call("variable_global_get", {Misc_Text("misc_log")}).text();
  };
  EXPECT_EQ(run(&inst, "event_user(0)"), "CP");
  EXPECT_EQ(run(&inst, "event_perform(7, 10)"), "CP");
  EXPECT_EQ(run(&inst, "event_perform(3, 0)"), "p");  // inherited from the parent
  EXPECT_EQ(run(&inst, ("event_perform_object(" + std::to_string(parent) + ", 7, 10)").c_str()), "P");
  EXPECT_EQ(run(&other, "event_user(0)"), "L");  // no parent: event_inherited does nothing
  EXPECT_EQ(run(&inst, "event_inherited()"), "");  // outside any event
  EXPECT_EQ(LastError(), "");
  for (int index : {lone, child, parent}) Object_Delete(index);
  Code_FreeUnits();
}

// The reference shows the console lines of an error in an event's code; an
// event's code is its action number 1.
TEST(MiscEvents, ErrorReportIsTheOneTheReferenceShows) {
  EngineReady();
  std::ifstream in(std::string(DOCS_DIR) + "/scripting.md");
  // An indented block: its lines up to the first line less indented.
  std::string line, shown, blanks;
  size_t indent = std::string::npos;
  while (std::getline(in, line)) {
    size_t text = line.find_first_not_of(' ');
    if (indent == std::string::npos) {
      if (text != std::string::npos && line.compare(text, 20, "ERROR!!! :: ERROR in") == 0) indent = text;
      else continue;
    }
    if (text == std::string::npos) {
      blanks += "\n";
      continue;
    }
    if (text < indent) break;
    shown += blanks + line.substr(indent) + "\n";
    blanks.clear();
  }
  ASSERT_FALSE(shown.empty()) << "no error report in docs/scripting.md";
  int player = MakeObject("obj_player", -1, nullptr, nullptr);
  CCode* code = Code_CompileUnit("hp = 1;\nhp += speed_max;", "Object.obj_player.Step.0", false);
  if (player < 0 || !code) {
    Object_Delete(player);
    GTEST_SKIP() << "the game world does not compile event code yet";
  }
  auto* ev = new CEvent;
  ev->code = code;
  Object_Find(player)->SetEvent(EV_STEP, 0, ev);
  CInstance inst(0, 0, 100012, player, false);
  Event_PerformObject(&inst, &inst, player, EV_STEP, 0);
  EXPECT_EQ("ERROR!!! :: " + LastError() + "\n", shown);
  Object_Delete(player);
  Code_FreeUnits();
}
