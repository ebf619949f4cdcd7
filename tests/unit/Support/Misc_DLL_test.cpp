#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "Base/File_Folders.h"
#include "Support/Support_DLL.h"
#include "Test_TempFolder.h"

namespace {

const int R = DLL_TYPE_REAL, S = DLL_TYPE_STRING;

RValue Real(double d) { return RValue{VALUE_REAL, nullptr, d}; }
RValue Text(const char* t) { return RValue{VALUE_STRING, const_cast<char*>(t), 0}; }

struct Call {
  RValue result{};
  ~Call() { RValue_Free(&result); }
  const RValue& operator()(int handle, std::initializer_list<RValue> args) {
    DLL_Call(handle, (int)args.size(), args.begin(), &result);
    return result;
  }
};

double Calls() {
  static int h = DLL_Define(TESTDLL_PATH, "td_calls", DLL_CDECL, 0, nullptr, R);
  Call c;
  return c(h, {}).val;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(MiscDLL, CallsIntoTheSystemLibraries) {
  int kinds[2] = {R, R};
  int hcos = DLL_Define("libm.so.6", "cos", DLL_CDECL, 1, kinds, R);
  int hpow = DLL_Define("libm.so.6", "pow", DLL_STDCALL, 2, kinds, R);
  int skind = S;
  int hgetenv = DLL_Define("libc.so.6", "getenv", DLL_CDECL, 1, &skind, S);
  ASSERT_GE(hcos, 0);
  ASSERT_EQ(hpow, hcos + 1);
  ASSERT_EQ(hgetenv, hpow + 1);
  Call c;
  EXPECT_DOUBLE_EQ(c(hcos, {Real(0)}).val, 1.0);
  EXPECT_DOUBLE_EQ(c(hpow, {Real(2), Real(10)}).val, 1024.0);
  setenv("RUNNER_DLL_TEST", "found", 1);
  const RValue& v = c(hgetenv, {Text("RUNNER_DLL_TEST")});
  ASSERT_EQ(v.kind, VALUE_STRING);
  EXPECT_STREQ(v.str, "found");
  // Unset: a null pointer gives a string value without text.
  const RValue& none = c(hgetenv, {Text("RUNNER_DLL_TEST_UNSET")});
  EXPECT_EQ(none.kind, VALUE_STRING);
  EXPECT_EQ(none.str, nullptr);
}

TEST(MiscDLL, PassesEveryArgumentMixAndCopiesTextResults) {
  int none[1] = {R};
  int one_real[1] = {R}, one_text[1] = {S};
  int rsrs[4] = {R, S, R, S}, srsr[4] = {S, R, S, R};
  int reals[16];
  for (int& k : reals) k = R;
  int h0 = DLL_Define(TESTDLL_PATH, "td_answer", DLL_CDECL, 0, none, R);
  int h1 = DLL_Define(TESTDLL_PATH, "td_half", DLL_CDECL, 1, one_real, R);
  int h2 = DLL_Define(TESTDLL_PATH, "td_upper", DLL_CDECL, 1, one_text, S);
  int h3 = DLL_Define(TESTDLL_PATH, "td_rsrs", DLL_CDECL, 4, rsrs, S);
  int h4 = DLL_Define(TESTDLL_PATH, "td_srsr", DLL_STDCALL, 4, srsr, R);
  int h5 = DLL_Define(TESTDLL_PATH, "td_sum5", DLL_CDECL, 5, reals, R);
  int h16 = DLL_Define(TESTDLL_PATH, "td_sum16", DLL_STDCALL, 16, reals, R);
  for (int h : {h0, h1, h2, h3, h4, h5, h16}) ASSERT_GE(h, 0);

  Call c;
  EXPECT_EQ(c(h0, {}).val, 42.0);
  EXPECT_EQ(c(h1, {Real(5)}).val, 2.5);
  RValue upper{};
  DLL_Call(h2, 1, std::initializer_list<RValue>{Text("abc")}.begin(), &upper);
  EXPECT_STREQ(upper.str, "ABC");
  // The result is a copy: the library's buffer changes on the next call.
  EXPECT_STREQ(c(h2, {Text("xyz")}).str, "XYZ");
  EXPECT_STREQ(upper.str, "ABC");
  RValue_Free(&upper);

  EXPECT_STREQ(c(h3, {Real(1.5), Text("a"), Real(-2), Text("bc")}).str, "1.5|a|-2|bc");
  // A real where a text is expected passes the empty text, never null.
  EXPECT_STREQ(c(h3, {Real(1), Real(7), Real(2), Real(8)}).str, "1||2|");
  // A string where a real is expected passes the string value's real field.
  RValue odd = Text("zz");
  odd.val = 3;
  EXPECT_STREQ(c(h3, {odd, Text("q"), Real(0), Text("")}).str, "3|q|0|");
  EXPECT_EQ(c(h4, {Text("abcd"), Real(3), Text("xy"), Real(7)}).val, 4000 + 300 + 20 + 7);

  EXPECT_EQ(c(h5, {Real(1), Real(1), Real(1), Real(1), Real(1)}).val, 15.0);
  std::vector<RValue> sixteen;
  for (int i = 0; i < 16; ++i) sixteen.push_back(Real(1));
  DLL_Call(h16, 16, sixteen.data(), &c.result);
  EXPECT_EQ(c.result.val, 136.0);
}

TEST(MiscDLL, RefusesBadDefinitionsAndMismatchedCalls) {
  int kinds[17] = {};
  EXPECT_EQ(DLL_Define(TESTDLL_PATH, "td_sum16", DLL_CDECL, 17, kinds, R), -1);
  kinds[2] = S;
  EXPECT_EQ(DLL_Define(TESTDLL_PATH, "td_sum5", DLL_CDECL, 5, kinds, R), -1);
  EXPECT_EQ(DLL_Define("/nonexistent/library.so", "f", DLL_CDECL, 0, kinds, R), -1);
  EXPECT_EQ(DLL_Define("no_such_library.dll", "f", DLL_CDECL, 0, kinds, R), -1);
  EXPECT_EQ(DLL_Define("", "getenv", DLL_CDECL, 1, kinds, S), -1);
  EXPECT_EQ(DLL_Define(nullptr, "getenv", DLL_CDECL, 1, kinds, S), -1);
  EXPECT_EQ(DLL_Define(TESTDLL_PATH, "td_no_such_function", DLL_CDECL, 0, kinds, R), -1);

  int h = DLL_Define(TESTDLL_PATH, "td_half", DLL_CDECL, 1, kinds, R);
  ASSERT_GE(h, 0);
  double before = Calls();
  Call c;
  c.result = Real(9);
  EXPECT_EQ(c(h, {Real(1), Real(2)}).val, 0.0);  // wrong count
  EXPECT_EQ(c(h + 1000, {Real(1)}).val, 0.0);    // never defined
  EXPECT_EQ(c(-1, {}).val, 0.0);
  g_DLL_NoCalls = true;
  EXPECT_EQ(c(h, {Real(4)}).val, 0.0);
  g_DLL_NoCalls = false;
  EXPECT_EQ(Calls(), before);
  EXPECT_EQ(c(h, {Real(4)}).val, 2.0);
}

TEST(MiscDLL, FreeingUnbindsEveryFunctionOfTheLibraryUntilDefinedAgain) {
  // A private copy under a ".so" name, defined under its ".dll" name.
  CTestFolder folder("dlltest");
  std::string dir = folder.Path();
  std::string so = dir + "/copy.so", dll = dir + "/copy.dll";
  std::filesystem::copy_file(TESTDLL_PATH, so, std::filesystem::copy_options::overwrite_existing);
  int kinds[1] = {R};
  int a = DLL_Define(dll.c_str(), "td_half", DLL_CDECL, 1, kinds, R);
  int b = DLL_Define(dll.c_str(), "td_answer", DLL_CDECL, 0, kinds, R);
  ASSERT_GE(a, 0);
  ASSERT_EQ(b, a + 1);
  Call c;
  EXPECT_EQ(c(b, {}).val, 42.0);
  EXPECT_EQ(c(b, {}).val, 42.0);
  DLL_Free("/some/other/path.dll");
  EXPECT_EQ(c(a, {Real(8)}).val, 4.0);
  DLL_Free(dll.c_str());
  EXPECT_EQ(c(a, {Real(8)}).val, 0.0);
  EXPECT_EQ(c(b, {}).val, 0.0);
  DLL_Free(dll.c_str());  // nothing left to free
  int again = DLL_Define(dll.c_str(), "td_answer", DLL_CDECL, 0, kinds, R);
  ASSERT_EQ(again, b + 1);
  // A fresh load: its own call counter starts over, the old handles stay unbound.
  int calls = DLL_Define(dll.c_str(), "td_calls", DLL_CDECL, 0, kinds, R);
  EXPECT_EQ(c(calls, {}).val, 0.0);
  EXPECT_EQ(c(again, {}).val, 42.0);
  EXPECT_EQ(c(calls, {}).val, 1.0);
  EXPECT_EQ(c(b, {}).val, 0.0);
  DLL_Free(dll.c_str());
}

TEST(MiscDLL, FindsALibraryOfTheGameFolderByItsWindowsName) {
  CTestFolder folder("dllgame");
  std::string dir = folder.Path();
  std::filesystem::create_directories(dir + "/sub");
  std::filesystem::copy_file(TESTDLL_PATH, dir + "/sub/gamelib.so", std::filesystem::copy_options::overwrite_existing);
  File_SetGameDirectory(dir.c_str());
  int h = DLL_Define("sub\\gamelib.dll", "td_answer", DLL_CDECL, 0, nullptr, R);
  int missing = DLL_Define("sub\\otherlib.dll", "td_answer", DLL_CDECL, 0, nullptr, R);
  File_SetGameDirectory("");
  ASSERT_GE(h, 0);
  EXPECT_EQ(missing, -1);
  Call c;
  EXPECT_EQ(c(h, {}).val, 42.0);
  // Freed by the name the script gave, resolved the same way.
  File_SetGameDirectory(dir.c_str());
  DLL_Free("sub/gamelib.dll");
  File_SetGameDirectory("");
  EXPECT_EQ(c(h, {}).val, 0.0);
}

namespace {

// The processes this test program has started that are now zombies.
int Zombies() {
  int count = 0;
  std::string task = "/proc/self/task";
  DIR* d = opendir(task.c_str());
  while (dirent* e = d ? readdir(d) : nullptr) {
    if (e->d_name[0] == '.') continue;
    std::ifstream children(task + "/" + e->d_name + "/children");
    int pid;
    while (children >> pid) {
      std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
      size_t close = stat.rfind(')');
      if (close != std::string::npos && stat.compare(close + 2, 1, "Z") == 0) ++count;
    }
  }
  if (d) closedir(d);
  return count;
}

// Writes an executable shell script into a fresh folder; returns its path.
std::string WriteScript(const std::string& dir, const std::string& name, const std::string& body) {
  std::filesystem::create_directories(dir);
  std::string program = dir + "/" + name;
  std::ofstream(program) << "#!/bin/sh\n" << body;
  std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  return program;
}

}  // namespace

TEST(MiscExecute, RunsAProgramWholeWithItsParametersSplitAndWaits) {
  // A name with spaces, as programs and folders may have.
  CTestFolder folder("exec test dir ");
  std::string dir = folder.Path();
  std::string program =
      WriteScript(dir, "print args.sh", "sleep 0.2\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > out.txt\nexit 3\n");
  std::remove((dir + "/out.txt").c_str());
  ASSERT_TRUE(Execute_Program(program.c_str(), R"(one "two three" a\"b c\\\"d e\\f "" "x""y")", dir.c_str(), true));
  EXPECT_EQ(ReadFile(dir + "/out.txt"), R"([one][two three][a"b][c\"d][e\\f][][x"y])");

  // Not waiting: back at once; the ended child is reaped by a later start.
  std::remove((dir + "/out.txt").c_str());
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(Execute_Program(program.c_str(), "late", dir.c_str(), false));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
  EXPECT_FALSE(std::filesystem::exists(dir + "/out.txt"));
  // It writes after its own 0.2 s; a loaded machine may take longer.
  for (int i = 0; i < 100 && ReadFile(dir + "/out.txt").empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(ReadFile(dir + "/out.txt"), "[late]");
  ASSERT_TRUE(Execute_Program("true", nullptr, nullptr, true));
  EXPECT_EQ(Zombies(), 0);

  EXPECT_FALSE(Execute_Program(nullptr, "", dir.c_str(), true));
  EXPECT_FALSE(Execute_Program((dir + "/missing program").c_str(), "", dir.c_str(), true));
}

TEST(MiscExecute, ShellRunsAnExecutableWithItsParameters) {
  CTestFolder folder("shelltest");
  std::string dir = folder.Path();
  std::string program = WriteScript(dir, "run.sh", "echo \"$1\" > shell.txt\n");
  ASSERT_TRUE(Execute_Shell(program.c_str(), "\"hello there\"", dir.c_str()));
  for (int i = 0; i < 100 && ReadFile(dir + "/shell.txt").empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(ReadFile(dir + "/shell.txt"), "hello there\n");
  EXPECT_FALSE(Execute_Shell("", nullptr, dir.c_str()));
}
