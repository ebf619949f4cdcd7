#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "Base/Console.h"
#include "Code/Code_Error.h"
#include "Kivo/Kivo_Platform.h"
#include "Graphics_API/Window_Main.h"
#include "Misc_Call.h"
#include "Test_TempFolder.h"

namespace {

// The last error reported since the start of the check ("" when none).
struct ErrorWatch {
  ErrorWatch() { Error_SetOccurred(false); }
  std::string last() const { return Error_Occurred() ? Error_Last() : ""; }
};

// Collects what goes to the debug console.
struct ConsoleWatch {
  static std::string& text() {
    static std::string t;
    return t;
  }
  ConsoleWatch() {
    text().clear();
    g_ConsoleListener = [](const char* line) { text() += line; };
  }
  ~ConsoleWatch() { g_ConsoleListener = nullptr; }
};

}  // namespace

TEST(MiscExternal, DefinesCallsAndFreesThroughTheBuiltIns) {
  ErrorWatch errors;
  double half = Misc_Call("external_define", {Misc_Text(TESTDLL_PATH), Misc_Text("td_half"), Misc_Real(0),
                                              Misc_Real(0), Misc_Real(1), Misc_Real(0)})
                    .real();
  ASSERT_GE(half, 0);
  EXPECT_EQ(Misc_Call("external_call", {Misc_Real(half), Misc_Real(9)}).real(), 4.5);
  EXPECT_EQ(Misc_Call("external_call1", {Misc_Real(half), Misc_Real(3)}).real(), 1.5);

  double rsrs = Misc_Call("external_define4", {Misc_Text(TESTDLL_PATH), Misc_Text("td_rsrs"), Misc_Real(0),
                                               Misc_Real(1), Misc_Real(0), Misc_Real(1), Misc_Real(1)})
                    .real();
  MiscResult text =
      Misc_Call("external_call4", {Misc_Real(rsrs), Misc_Real(2), Misc_Text("x"), Misc_Real(3), Misc_Real(4)});
  EXPECT_EQ(text.v.kind, VALUE_STRING);
  EXPECT_EQ(text.text(), "2|x|3|");

  double sum5 = Misc_Call("external_define5", {Misc_Text(TESTDLL_PATH), Misc_Text("td_sum5"), Misc_Real(0)}).real();
  EXPECT_EQ(Misc_Call("external_call5", {Misc_Real(sum5), Misc_Real(1), Misc_Real(0), Misc_Real(0), Misc_Real(0),
                                         Misc_Real(2)})
                .real(),
            11);
  double zero = Misc_Call("external_define0", {Misc_Text(TESTDLL_PATH), Misc_Text("td_answer"), Misc_Real(0)}).real();
  EXPECT_EQ(Misc_Call("external_call0", {Misc_Real(zero)}).real(), 42);
  EXPECT_EQ(Misc_Call("external_call").real(), 0);
  EXPECT_EQ(errors.last(), "");

  Misc_Call("external_free", {Misc_Text(TESTDLL_PATH)});
  EXPECT_EQ(Misc_Call("external_call0", {Misc_Real(zero)}).real(), 0);
  EXPECT_EQ(Misc_Call("external_call1", {Misc_Real(half), Misc_Real(3)}).real(), 0);
}

TEST(MiscExternal, ReportsBadDefinitions) {
  // The result and the error report of one define call.
  auto define = [](const char* name, std::vector<RValue> args) {
    ErrorWatch errors;
    double id = Misc_Call(name, std::move(args)).real();
    return std::pair(id, errors.last());
  };
  const auto dll = [] { return Misc_Text(TESTDLL_PATH); };
  EXPECT_EQ(define("external_define", {dll(), Misc_Text("td_half"), Misc_Real(0), Misc_Real(0), Misc_Real(1)}),
            std::pair(0.0, std::string("Wrong number of arguments to external_define()")));
  std::vector<RValue> args{dll(), Misc_Text("td_sum5"), Misc_Real(0), Misc_Real(0), Misc_Real(5)};
  for (int i = 0; i < 5; ++i) args.push_back(Misc_Real(i == 3));
  EXPECT_EQ(define("external_define", std::move(args)),
            std::pair(0.0, std::string("DLL functions with more than 4 arguments cannot have string arguments")));
  const std::pair refused(-1.0, std::string("Error defining an external function."));
  EXPECT_EQ(define("external_define",
                   {Misc_Text("missing_library.dll"), Misc_Text("f"), Misc_Real(0), Misc_Real(0), Misc_Real(0)}),
            refused);
  EXPECT_EQ(define("external_define1", {dll(), Misc_Text("no_such"), Misc_Real(0), Misc_Real(0)}), refused);
}

TEST(MiscServices, DebugMessagesPrintTextsAndRealsAsStringWould) {
  ConsoleWatch console;
  Misc_Call("show_debug_message", {Misc_Text("hello")});
  Misc_Call("show_debug_message", {Misc_Real(3)});
  Misc_Call("show_debug_message", {Misc_Real(2.5)});
  Misc_Call("show_debug_message", {Misc_Text("%s%n")});
  EXPECT_EQ(ConsoleWatch::text(), "hello\n3\n2.50\n%s%n\n");
}

TEST(MiscServices, ClipboardKeepsTextWithoutADisplay) {
  Misc_Call("clipboard_set_text", {Misc_Text("copied text")});
  EXPECT_EQ(Misc_Call("clipboard_has_text").real(), 1);
  EXPECT_EQ(Misc_Call("clipboard_get_text").text(), "copied text");
  Misc_Call("clipboard_set_text", {Misc_Text("")});
  EXPECT_EQ(Misc_Call("clipboard_has_text").real(), 1);
  EXPECT_EQ(Misc_Call("clipboard_get_text").text(), "");
  Misc_Call("clipboard_set_text", {Misc_Real(5)});
  EXPECT_EQ(Misc_Call("clipboard_get_text").text(), "");
}

TEST(MiscServices, WindowAndClipboardOverTheVideoLayer) {
  if (!Window_Create("start", 64, 48)) GTEST_SKIP() << "no video driver";
  EXPECT_NE(Misc_Call("window_handle").real(), 0);
  Misc_Call("set_application_title", {Misc_Text("New caption")});
  Misc_Call("set_application_title", {Misc_Real(3)});  // not a text: ignored
  EXPECT_STREQ(SDL_GetWindowTitle(Window_Handle()), "New caption");
  Misc_Call("clipboard_set_text", {Misc_Text("through the system")});
  EXPECT_EQ(Misc_Call("clipboard_has_text").real(), 1);
  EXPECT_EQ(Misc_Call("clipboard_get_text").text(), "through the system");
  Misc_Call("clipboard_set_text", {Misc_Text("")});
  EXPECT_EQ(Misc_Call("clipboard_has_text").real(), 1);
  EXPECT_EQ(Misc_Call("clipboard_get_text").text(), "");
  Window_Destroy();
  EXPECT_EQ(Misc_Call("window_handle").real(), 0);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST(MiscServices, PriorityOutsideTheRangeIsNormal) {
  Misc_Call("set_program_priority", {Misc_Real(7)});
  EXPECT_EQ(getpriority(PRIO_PROCESS, 0), 0);
  Misc_Call("set_program_priority", {Misc_Real(-2)});
  EXPECT_EQ(getpriority(PRIO_PROCESS, 0), 10);
  EXPECT_EQ(Misc_Call("window_handle").real(), 0);  // no window in these tests
}

TEST(MiscServices, OpenURLKeepsTheAddressAndChecksTheSchemeInAnyCase) {
  // A stand-in opener on PATH records what it was given.
  CTestFolder folder("opener");
  std::string dir = folder.Path();
  std::string log = dir + "/opened.txt";
  std::ofstream(dir + "/xdg-open") << "#!/bin/sh\necho \"$1\" >> '" << log << "'\n";
  std::filesystem::permissions(dir + "/xdg-open", std::filesystem::perms::owner_all);
  std::string path = getenv("PATH");
  setenv("PATH", (dir + ":" + path).c_str(), 1);
  std::remove(log.c_str());

  EXPECT_EQ(Platform_OpenURL("HTTP://Example.org/Some/Page?Q=A"), 0);
  EXPECT_EQ(Platform_OpenURL("ftp://example.org/file"), 0);
  EXPECT_EQ(Platform_OpenURL("https://example.org/B"), 0);
  std::string seen;
  for (int i = 0; i < 100; ++i) {
    std::ifstream in(log);
    seen.assign(std::istreambuf_iterator<char>(in), {});
    if (std::count(seen.begin(), seen.end(), '\n') >= 2) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  setenv("PATH", path.c_str(), 1);
  // Two openers run side by side: either may log first.
  EXPECT_NE(seen.find("HTTP://Example.org/Some/Page?Q=A\n"), std::string::npos);
  EXPECT_NE(seen.find("https://example.org/B\n"), std::string::npos);
  EXPECT_EQ(seen.find("ftp"), std::string::npos);
}
