// Extension packages as a game meets them: names found in package order,
// per-id tables where the last binding wins, native and code functions
// called with the caller's arguments left as they were, and the start and
// end functions run or reported.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Base/Console.h"
#include "Base/File_Folders.h"
#include "Base/Random_Main.h"
#include "Code/Code_Constant.h"
#include "Code/Code_Error.h"
#include "Code/Code_Main.h"
#include "Code/Code_BuiltinTable.h"
#include "DataFile/DataFile_Package.h"
#include "Extension/Extension_Main.h"
#include "Function/Function_Init.h"
#include "Option/Option_Main.h"
#include "Run/Run_Hooks.h"
#include "Script/Script_Main.h"
#include "Variable/Variable_BuiltIn.h"

namespace {

PackageExtensionFunction Fn(const char* name, int id, const char* external, std::vector<int32_t> args,
                            int returns = 2) {
  PackageExtensionFunction fn;
  fn.name = name, fn.id = id, fn.external_name = external, fn.return_kind = returns, fn.call_kind = 12;
  fn.argument_kinds = args;
  fn.argument_count = (int32_t)args.size();
  return fn;
}

PackageExtensionFunction Code(const char* name, int id, const char* code) {
  PackageExtensionFunction fn = Fn(name, id, "", {});
  fn.argument_count = -1;
  fn.code = code;
  return fn;
}

PackageExtensionFile File(int kind, std::vector<PackageExtensionFunction> functions, const char* init = "",
                          const char* final = "") {
  PackageExtensionFile f;
  f.exists = true, f.kind = kind, f.initialize = init, f.finalize = final;
  f.file_name = kind == 1 ? std::filesystem::path(TESTDLL_PATH).filename().string() : "code.gml";
  f.functions = std::move(functions);
  return f;
}

PackageExtension Package(const char* name, std::vector<PackageExtensionFile> files, const char* folder = "ext") {
  PackageExtension e;
  e.exists = true, e.name = name, e.folder = folder;
  e.files = std::move(files);
  return e;
}

class Extensions : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCWLFunctions();
    if (Variable_BuiltIn_Find("argument0") < 0) Code_Init();
    Error_Reset();
    Script_Clear();
    File_SetGameDirectory(std::filesystem::path(TESTDLL_PATH).parent_path().c_str());
    g_ConsoleListener = [](const char* line) { Log() += line; };
    Log().clear();
  }
  void TearDown() override {
    g_ConsoleListener = nullptr;
    Extension_LoadFromChunk(GamePackage());
    Extension_Prepare();
    File_SetGameDirectory("");
    Script_Clear();
    Error_Reset();
  }
  static std::string& Log() {
    static std::string log;
    return log;
  }
  bool Prepare(std::vector<PackageExtension> packages) {
    GamePackage pkg;
    pkg.extensions = std::move(packages);
    Extension_LoadFromChunk(pkg);
    return Extension_Prepare();
  }
  static RValue Call(int id, std::vector<RValue> args, bool* ok = nullptr) {
    RValue result = {VALUE_REAL, nullptr, 0.0};
    bool done = Extension_Call(id, nullptr, nullptr, (int)args.size(), args.data(), &result);
    if (ok) *ok = done;
    for (RValue& a : args) RValue_Free(&a);
    return result;
  }
  static RValue Real(double d) { return {VALUE_REAL, nullptr, d}; }
  static RValue Text(const char* s) {
    RValue v = {VALUE_REAL, nullptr, 0.0};
    RValue_SetString(&v, s);
    return v;
  }
  static std::string Shown(RValue v) {
    std::string out = v.kind == VALUE_STRING ? RValue_Text(v) : std::to_string(v.val);
    RValue_Free(&v);
    return out;
  }
};

TEST_F(Extensions, WithoutPackagesEveryLookupFails) {
  ASSERT_TRUE(Prepare({}));
  EXPECT_EQ(Extension_FindFunction("td_half"), -1);
  EXPECT_EQ(Extension_FunctionArgCount(0), -100);
  EXPECT_EQ(Extension_FunctionName(0), "");
  bool ok = true;
  Call(1, {}, &ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(Function_Find("td_half"), -1);
}

TEST_F(Extensions, NamesGoToTheFirstAndTablesToTheLastBinding) {
  // Two functions share id 3; an empty package entry and an empty file lie
  // between them.
  ASSERT_TRUE(Prepare({Package("A", {File(1, {Fn("half", 3, "td_half", {2})}), PackageExtensionFile()}),
                       PackageExtension(),
                       Package("B", {File(1, {Fn("answer", 3, "td_answer", {}), Fn("upper", 5, "td_upper", {1}, 1)})})}));
  EXPECT_EQ(Extension_FindFunction("half"), 3);
  EXPECT_EQ(Extension_FindFunction("answer"), 3);
  EXPECT_EQ(Extension_FunctionArgCount(3), 1);  // "half", the first with id 3
  EXPECT_EQ(Extension_FunctionName(3), "half");
  // The table holds "answer", bound last: it takes no argument.
  EXPECT_EQ(Shown(Call(3, {})), std::to_string(42.0));
  EXPECT_EQ(Shown(Call(5, {Text("abc")})), "ABC");
  // Ids with no function, and ids past the largest.
  EXPECT_EQ(Shown(Call(4, {})), std::to_string(0.0));
  bool ok = true;
  Call(6, {}, &ok);
  EXPECT_FALSE(ok);
  RValue r = Real(7);
  EXPECT_FALSE(Extension_CallDLL(6, 0, nullptr, &r));
  EXPECT_EQ(r.val, 7);
  // The compiler finds them as function ids from 500000.
  EXPECT_EQ(Function_Find("upper"), 500005);
}

TEST_F(Extensions, ADuplicateNameFindsTheFirstFunctionOfIt) {
  // "twin" in two files of one package and in a later package, each with an
  // id of its own; package A starts with "twin" from its second file.
  ASSERT_TRUE(Prepare({Package("A", {File(2, {Code("twin", 0, "show_debug_message(\"first\"); return 1;")}),
                                     File(2, {Code("twin", 1, "show_debug_message(\"second\"); return 2;")}, "twin")}),
                       Package("B", {File(2, {Code("twin", 2, "return 3;")})})}));
  EXPECT_EQ(Extension_FindFunction("twin"), 0);
  EXPECT_EQ(Function_Find("twin"), 500000);
  EXPECT_TRUE(Extension_Initialize());
  EXPECT_EQ(Log(), "first\n");
  // Each keeps its own id for calls.
  EXPECT_EQ(Shown(Call(1, {})), std::to_string(2.0));
  EXPECT_EQ(Shown(Call(2, {})), std::to_string(3.0));
}

TEST_F(Extensions, MissingLibrariesAndExportsGiveZero) {
  PackageExtensionFile missing = File(1, {Fn("gone", 0, "td_half", {2})});
  missing.file_name = "no_such_library.dll";
  ASSERT_TRUE(Prepare({Package("P", {missing, File(1, {Fn("nothere", 1, "td_not_exported", {})})})}));
  EXPECT_EQ(Shown(Call(0, {Real(8)})), std::to_string(0.0));
  EXPECT_EQ(Shown(Call(1, {})), std::to_string(0.0));
}

TEST_F(Extensions, APlatformServicePackageIsDropped) {
  PackageExtensionFile file = File(1, {Fn("dropped_fn", 0, "td_answer", {})}, "td_answer");
  file.constants = {{"DROPPED_CONST", "5"}};
  PackageExtensionFile kept = File(2, {});
  kept.constants = {{"KEPT_CONST", "7"}};
  ASSERT_TRUE(Prepare({Package("K", {file}, "KivoGames"), Package("Kept", {kept})}));
  EXPECT_EQ(Extension_FindFunction("dropped_fn"), -1);
  EXPECT_EQ(Constant_Find("DROPPED_CONST"), nullptr);
  ASSERT_NE(Constant_Find("KEPT_CONST"), nullptr);
  EXPECT_EQ(Constant_Find("KEPT_CONST")->val, 7);
  EXPECT_TRUE(Extension_Initialize());  // the dropped package's initialization does not run
}

TEST_F(Extensions, EachPackageShiftsTheRandomSequenceByOneDraw) {
  GamePackage pkg;
  pkg.extensions = {Package("A", {}), PackageExtension(), Package("B", {})};
  Random_Seed(2101988);
  Extension_LoadFromChunk(pkg);
  int after = Random_Int(1000000);
  Random_Seed(2101988);
  Random_Int(999);
  Random_Int(999);
  EXPECT_EQ(Random_Int(1000000), after);
  // The folder drawn first is replaced by the package's own.
  EXPECT_EQ(Extension_Packages()[0]->folder, "ext");
}

TEST_F(Extensions, CodeFunctionsLeaveTheCallersArgumentsAsTheyWere) {
  ASSERT_TRUE(Prepare({Package("P", {File(2, {Code("probe", 0, "return string(argument0) + \"|\" + string(argument1);"),
                                              Code("fails", 1, "return 1 + no_such_variable_here;")})})}));
  EXPECT_TRUE(Extension_IsCWL(0));
  EXPECT_NE(Extension_GetCode(0), nullptr);
  CodeArgumentSave save;
  Code_Arguments_Save(&save);
  RValue outer[2] = {Text("a"), Text("b")};
  Code_Arguments_Set(2, outer);
  // The unused slot reads 0 inside the call.
  EXPECT_EQ(Shown(Call(0, {Text("x")})), "x|0") << Code_ErrorText;
  EXPECT_STREQ(RValue_Text(*Code_Argument(1)), "b");
  bool ok = true;
  Call(1, {Real(1)}, &ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(Code_ErrorText.rfind("In extension function fails: \n", 0), 0u) << Code_ErrorText;
  EXPECT_STREQ(RValue_Text(*Code_Argument(0)), "a");
  Code_Arguments_Restore(&save);
  for (RValue& v : outer) RValue_Free(&v);
  // A machine that runs native functions only refuses code.
  RValue r = Real(3);
  EXPECT_FALSE(Extension_CallDLL(0, 0, nullptr, &r));
}

TEST_F(Extensions, CodeThatDoesNotCompileStopsTheGame) {
  EXPECT_FALSE(Prepare({Package("Broken", {File(2, {Code("bad", 0, "x = ;")})})}));
  EXPECT_EQ(std::string(Error_Last()).rfind("COMPILATION ERROR in extension package Broken\n", 0), 0u) << Error_Last();
  EXPECT_TRUE(Error_Aborted());
}

TEST_F(Extensions, ExtensionCodeCanCallTheGamesScripts) {
  Script_Add("scr_twice", "return argument0 * 2;");
  ASSERT_TRUE(Prepare({Package("P", {File(2, {Code("four", 0, "return scr_twice(2);")})})}));
  ASSERT_TRUE(Script_PrepareAll());
  EXPECT_EQ(Shown(Call(0, {})), std::to_string(4.0));
}

TEST_F(Extensions, StartAndEndFunctionsRunInOrderOrStopTheGame) {
  // A script of the name wins over the package's function; a code file's own
  // function runs too.
  Script_Add("ext_start", "show_debug_message(\"script start\");");
  ASSERT_TRUE(Prepare({Package("A", {File(1, {Fn("ext_start", 0, "td_answer", {})}, "ext_start")}),
                       Package("B", {File(2, {Code("b_init", 1, "show_debug_message(\"code start\");"),
                                              Code("b_end", 2, "show_debug_message(\"code end\");")},
                                           "b_init", "b_end")})}));
  ASSERT_TRUE(Script_PrepareAll());
  EXPECT_TRUE(Extension_Initialize());
  EXPECT_TRUE(Extension_Finalize());
  EXPECT_EQ(Log(), "script start\ncode start\ncode end\n");

  // Without a start, nothing ends.
  Log().clear();
  EXPECT_TRUE(Extension_Finalize());
  EXPECT_EQ(Log(), "");

  // A name found nowhere is fatal.
  ASSERT_TRUE(Prepare({Package("C", {File(1, {}, "", "nowhere")})}));
  EXPECT_TRUE(Extension_Finalize());  // not started: not looked for
  EXPECT_TRUE(Extension_Initialize());
  EXPECT_FALSE(Extension_Finalize());
  EXPECT_STREQ(Error_Last(), "Could not locate finalization function nowhere");
}

TEST_F(Extensions, AFailingStartFunctionIsFatalWithItsText) {
  ASSERT_TRUE(Prepare({Package("A", {File(2, {Code("boom", 0, "return 1 + no_such_variable_here;")}, "boom")})}));
  EXPECT_FALSE(Extension_Initialize());
  EXPECT_NE(std::string(Error_Last()).find("In extension function boom"), std::string::npos) << Error_Last();
  EXPECT_TRUE(Error_Aborted());
}

}  // namespace
