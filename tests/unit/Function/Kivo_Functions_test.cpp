// The platform-service built-ins as scripts call them.
#include <gtest/gtest.h>

#include <net/if.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "Base/Base64.h"
#include "Graphics_API/Window_Main.h"
#include "Base/Console.h"
#include "Base/File_Folders.h"
#include "Code/Code_Error.h"
#include "Kivo/Kivo_System.h"
#include "Function_Call.h"
#include "Graphics_API/Graphics_Device.h"
#include "IO/IO_Main.h"
#include "Test_TempFolder.h"

namespace fs = std::filesystem;

namespace {
// Counts the reports of one error text from the start of the check.
struct ErrorCount {
  static std::string& text() {
    static std::string t;
    return t;
  }
  ErrorCount() {
    text().clear();
    Error_SetOccurred(false);
    g_ConsoleListener = [](const char* line) { text() += line; };
  }
  ~ErrorCount() { g_ConsoleListener = nullptr; }
  int of(const std::string& message) const {
    int n = 0;
    for (size_t at = text().find(message); at != std::string::npos; at = text().find(message, at + 1)) n++;
    return n;
  }
};

class KivoFiles : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    char pattern[] = "/tmp/kivofilesXXXXXX";
    dir = mkdtemp(pattern);
    fs::create_directories(dir / "save");
    fs::create_directories(dir / "game");
    File_SetSaveDirectory((dir / "save").c_str());
    File_SetGameDirectory((dir / "game").c_str());
  }
  void TearDown() override {
    File_SetSaveDirectory(nullptr);
    File_SetGameDirectory(nullptr);
    fs::remove_all(dir);
  }
  void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
};

void DeleteAllVirtualKeys() {
  for (int i = 0; i < IO_VIRTUAL_KEYS; i++) IO_VirtualKey_Delete(i);
}
}  // namespace

TEST(KivoDigests, StandardVectorsOfUtf8Text) {
  EXPECT_EQ(CallText("md5_string_utf8", {""}), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(CallText("md5_string_utf8", {"abc"}), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(CallText("md5_string_utf8", {"The quick brown fox jumps over the lazy dog"}),
            "9e107d9d372bb6826bd81d3542a419d6");
  EXPECT_EQ(CallText("sha1_string_utf8", {""}), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
  EXPECT_EQ(CallText("sha1_string_utf8", {"abc"}), "a9993e364706816aba3e25717850c26c9cd0d89d");
  EXPECT_EQ(CallText("sha1_string_utf8", {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"}),
            "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
  EXPECT_EQ(CallText("md5_string_utf8", {"\xc3\xa9"}), "66ddcd97cfdeabb2f6fb8a999b4bc76f");
}

TEST(KivoDigests, UnicodeFormHashesTwoBytesPerCharacter) {
  EXPECT_EQ(CallText("md5_string_unicode", {"abc"}), "ce1473cf80c6b3fda8e3dfc006adc315");
  EXPECT_EQ(CallText("sha1_string_unicode", {"abc"}), "9f04f41a848514162050e3d68c1a7abb441dc2b5");
  // U+00E9 takes two UTF-8 bytes and hashes as E9 00.
  EXPECT_EQ(CallText("md5_string_unicode", {"\xc3\xa9"}), "ed71e8ffd3d8c47c1a2e22c53cd384aa");
  EXPECT_EQ(CallText("sha1_string_unicode", {"\xc3\xa9"}), "29cb44b6fba6968e58a7088a126fedc445f76645");
  // A three-byte character is one 16-bit code.
  EXPECT_EQ(CallText("md5_string_unicode", {"\xe2\x82\xac"}), "94a4e171de16580742c4d141e6607bf7");
}

TEST(KivoDigests, AnythingButOneStringGivesEmptyText) {
  for (const char* name : {"md5_string_utf8", "md5_string_unicode", "md5_file", "sha1_string_utf8",
                           "sha1_string_unicode", "sha1_file", "base64_encode", "base64_decode"}) {
    TestResult r = Call(name, {42});
    EXPECT_EQ(r.kind, VALUE_STRING) << name;
    EXPECT_EQ(r.text, "") << name;
  }
}

TEST_F(KivoFiles, FileDigestsReadTheSaveFolderFirstThenTheGameFolder) {
  std::string big;
  for (int i = 0; i < 5000; i++) big += static_cast<char>('a' + i % 26);
  Write(dir / "save" / "big.txt", big);
  EXPECT_EQ(CallText("md5_file", {"big.txt"}), CallText("md5_string_utf8", {big.c_str()}));
  EXPECT_EQ(CallText("sha1_file", {"big.txt"}), CallText("sha1_string_utf8", {big.c_str()}));

  Write(dir / "game" / "both.txt", "game");
  EXPECT_EQ(CallText("md5_file", {"both.txt"}), CallText("md5_string_utf8", {"game"}));
  Write(dir / "save" / "both.txt", "save");
  EXPECT_EQ(CallText("md5_file", {"both.txt"}), CallText("md5_string_utf8", {"save"}));

  EXPECT_EQ(CallText("md5_file", {"missing.txt"}), "");
  EXPECT_EQ(CallText("sha1_file", {"missing.txt"}), "");
}

TEST_F(KivoFiles, FileThatCannotBeReadToItsEndHasNoDigest) {
  // Reading the process's own memory file from offset 0 fails at once.
  fs::create_symlink("/proc/self/mem", dir / "save" / "mem");
  EXPECT_EQ(CallText("md5_file", {"mem"}), "");
  EXPECT_EQ(CallText("sha1_file", {"mem"}), "");
}

TEST(KivoBase64, EncodesTailsOfZeroToThreeBytes) {
  EXPECT_EQ(CallText("base64_encode", {""}), "");
  EXPECT_EQ(CallText("base64_encode", {"a"}), "YQ==");
  EXPECT_EQ(CallText("base64_encode", {"ab"}), "YWI=");
  EXPECT_EQ(CallText("base64_encode", {"abc"}), "YWJj");
  EXPECT_EQ(CallText("base64_encode", {"abcd"}), "YWJjZA==");
  const uint8_t high[] = {0xFB, 0xFF, 0xBF};
  EXPECT_EQ(Base64_Encode(high, 3), "+/+/");
}

TEST(KivoBase64, DecodingStopsAtABlankOrPadding) {
  EXPECT_EQ(CallText("base64_decode", {"YWJj"}), "abc");
  EXPECT_EQ(CallText("base64_decode", {"YWI"}), "ab");
  EXPECT_EQ(CallText("base64_decode", {"YQ"}), "a");
  EXPECT_EQ(CallText("base64_decode", {"Y"}), "");
  EXPECT_EQ(CallText("base64_decode", {"YWJj YWJj"}), "abc");
  EXPECT_EQ(CallText("base64_decode", {"YQ==YWJj"}), "a");
  EXPECT_EQ(CallText("base64_decode", {"YW*j"}), "a");
  // The result ends at the first zero byte decoded.
  EXPECT_EQ(Base64_Decode("AGE=").size(), 2u);
  EXPECT_EQ(CallText("base64_decode", {"AGE="}), "");
  EXPECT_EQ(Base64_Decode("+/+/"), "\xFB\xFF\xBF");
  std::string text;
  for (int i = 0; i < 1000; i++) text += CallText("base64_encode", {"xyz"});
  EXPECT_EQ(Base64_Decode(text.c_str()).size(), 3000u);
}

TEST(KivoVirtualKeys, HandlesCountFromOneAndRunOut) {
  DeleteAllVirtualKeys();
  for (int i = 1; i <= IO_VIRTUAL_KEYS; i++) EXPECT_EQ(CallReal("virtual_key_add", {10, 20, 30, 40, 65}), i);
  EXPECT_EQ(CallReal("virtual_key_add", {0, 0, 1, 1, 65}), 0);
  const VirtualKey* k = IO_VirtualKey_Get(0);
  EXPECT_EQ(k->left, 10);
  EXPECT_EQ(k->right, 40);
  EXPECT_EQ(k->bottom, 60);
  EXPECT_EQ(k->key, 65);
  EXPECT_EQ(k->flags, VIRTUALKEY_USED);

  Call("virtual_key_show", {3});
  EXPECT_EQ(IO_VirtualKey_Get(2)->flags, VIRTUALKEY_USED | VIRTUALKEY_VISIBLE);
  Call("Kivo_HideVirtualKey", {3});
  EXPECT_EQ(IO_VirtualKey_Get(2)->flags, VIRTUALKEY_USED);
  Call("virtual_key_delete", {3});
  EXPECT_EQ(CallReal("Kivo_AddVirtualKey", {1.9, 2.9, 3.9, 4.9, 66}), 3);
  EXPECT_EQ(IO_VirtualKey_Get(2)->left, 1);  // truncated
  DeleteAllVirtualKeys();
}

TEST(KivoVirtualKeys, BadHandlesAndArgumentsChangeNothing) {
  DeleteAllVirtualKeys();
  ASSERT_EQ(CallReal("virtual_key_add", {0, 0, 8, 8, 32}), 1);
  for (double handle : {0.0, -1.0, 65.0, 1e12}) {
    ErrorCount errors;
    Call("virtual_key_delete", {handle});
    Call("virtual_key_show", {handle});
    EXPECT_EQ(errors.of("Illegal virtual key handle"), 2) << handle;
  }
  {
    ErrorCount errors;
    Call("virtual_key_hide", {"1"});
    EXPECT_EQ(errors.of("Illegal argument\n"), 1);
    EXPECT_EQ(CallReal("virtual_key_add", {0, "0", 8, 8, 32}), 0);
    EXPECT_EQ(errors.of("Illegal argument type"), 1);
  }
  EXPECT_EQ(IO_VirtualKey_Get(0)->flags, VIRTUALKEY_USED);
  EXPECT_EQ(IO_VirtualKey_Get(1)->flags, 0);
  DeleteAllVirtualKeys();
}

TEST(KivoAnalytics, PairsOfTextAndNumberOrOneReport) {
  struct Case {
    std::initializer_list<TestArg> args;
    int reports;
  };
  const Case cases[] = {
      {{"level"}, 0},
      {{"level", "score", 10}, 0},
      {{"level", "score", 10, "time", 2.5}, 0},
      {{"level", "score", 10, "odd"}, 0},
      {{"level", "score", "ten"}, 1},
      {{"level", 1, 2}, 1},
      {{"level", 1, 2, 3, 4}, 1},
      {{7, "score", "ten"}, 0},
  };
  for (const Case& c : cases) {
    ErrorCount errors;
    EXPECT_EQ(CallText("analytics_event_ext", c.args), "");
    EXPECT_EQ(errors.of("malformed analytics parameter must be string, number pair"), c.reports)
        << c.args.size() << " arguments";
  }
  EXPECT_EQ(CallText("analytics_event", {"start"}), "");
}

TEST(KivoLanguage, LocaleNamesGiveTheTableCodes) {
  const struct {
    const char* locale;
    const char* code;
  } cases[] = {
      {nullptr, "en"},  {"", "en"},          {"C", "en"},    {"C.UTF-8", "en"},
      {"POSIX", "en"},  {"en_GB.UTF-8", "en"}, {"de_DE", "de"}, {"fr", "fr"},
      {"sr_RS.UTF-8@latin", "hr"}, {"bs_BA", "hr"}, {"nb_NO.UTF-8", "no"}, {"nn_NO", "no"},
      {"hsb_DE", "dsb"}, {"se_NO", "smn"}, {"km_KH", "kh"}, {"ckb_IQ", "ku"},
      {"tl_PH", "fil"}, {"qu_PE", "quz"}, {"quc_GT", "qut"}, {"fa_IR", "--"},
      {"eo", "--"},     {"zh_TW.Big5", "zh"}, {"ca_ES@valencia", "ca"}, {"PT_br", "pt"},
  };
  for (const auto& c : cases) EXPECT_EQ(Platform_LanguageOfLocale(c.locale), c.code) << (c.locale ? c.locale : "none");
}

TEST(KivoLanguage, EnvironmentOrderIsAllThenMessagesThenLang) {
  const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::string saved[3];
  bool had[3];
  for (int i = 0; i < 3; i++) {
    const char* v = getenv(names[i]);
    had[i] = v != nullptr;
    if (v) saved[i] = v;
  }
  setenv("LC_ALL", "", 1);
  setenv("LC_MESSAGES", "de_DE.UTF-8", 1);
  setenv("LANG", "fr_FR.UTF-8", 1);
  EXPECT_EQ(CallText("os_get_language", {}), "de");
  setenv("LC_ALL", "it_IT", 1);
  EXPECT_EQ(CallText("os_get_language", {}), "it");
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  EXPECT_EQ(CallText("os_get_language", {}), "fr");
  unsetenv("LANG");
  EXPECT_EQ(CallText("os_get_language", {}), "en");
  for (int i = 0; i < 3; i++) {
    if (had[i]) setenv(names[i], saved[i].c_str(), 1);
    else unsetenv(names[i]);
  }
}

TEST(KivoNetwork, AnInterfaceOtherThanLoopbackUpRunningWithAnAddress) {
  const unsigned up = IFF_UP | IFF_RUNNING;
  const struct {
    PlatformInterface list[3];
    size_t count;
    bool connected;
  } cases[] = {
      {{}, 0, false},
      {{{up | IFF_LOOPBACK, AF_INET}, {up | IFF_LOOPBACK, AF_INET6}}, 2, false},
      {{{up, AF_INET}}, 1, true},
      {{{up, AF_INET6}}, 1, true},
      {{{up, AF_PACKET}}, 1, false},
      {{{up, AF_UNSPEC}}, 1, false},
      {{{IFF_UP, AF_INET}}, 1, false},
      {{{IFF_RUNNING, AF_INET}}, 1, false},
      {{{up | IFF_LOOPBACK, AF_INET}, {up, AF_PACKET}, {up, AF_INET}}, 3, true},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; i++)
    EXPECT_EQ(Platform_AnyInterfaceConnected(cases[i].list, cases[i].count), cases[i].connected) << "case " << i;
  double answer = CallReal("os_is_network_connected", {});
  EXPECT_TRUE(answer == 0 || answer == 1);
}

TEST(KivoQueries, FixedAnswersOfThisPlatform) {
  EXPECT_EQ(CallReal("Kivo_GetPlatform", {}), 6);
  EXPECT_EQ(CallReal("Kivo_GetDevice", {}), -1);
  EXPECT_EQ(CallReal("display_get_dpi_x", {}), 96);
  EXPECT_EQ(CallReal("device_mouse_raw_x", {6}), 0);
  EXPECT_EQ(CallReal("device_mouse_x", {-1}), 0);
  EXPECT_EQ(CallReal("device_mouse_y", {1000000}), 0);
  IO_Clear();
  EXPECT_EQ(CallReal("device_mouse_check_button", {0, 0}), 1);  // (device, button): button 0 is "none"
  EXPECT_EQ(CallReal("device_mouse_check_button", {0, 1}), 0);
  EXPECT_EQ(CallReal("Kivo_MouseCheckButtonPressed", {0, -1}), 0);
  IO_MousePositionX[5] = 123;
  EXPECT_EQ(CallReal("Kivo_MouseXRaw", {5}), 123);
  IO_MousePositionX[5] = 0;
  EXPECT_EQ(CallText("url_get_domain", {"x"}), "localhost");
  EXPECT_EQ(CallText("facebook_status", {}), "IDLE");
  EXPECT_EQ(CallText("quillstoneLoad", {"slot"}), "");
  EXPECT_EQ(CallReal("achievement_available", {}), 1);
  EXPECT_EQ(CallReal("achievement_is_online", {}), 0);
  {
    ErrorCount errors;
    Call("achievement_post", {1, 2});
    Call("achievement_post_score", {"best", "high"});
    EXPECT_EQ(errors.of("Illegal argument type"), 2);
  }
}

TEST(KivoQueries, GuiSizeFollowsTheWindowUntilSet) {
  Call("display_set_gui_size", {-1, -1});
  double w = CallReal("display_get_gui_width", {});
  EXPECT_EQ(w, Window_GetClientWidth());
  Call("display_set_gui_size", {800.7, 600.2});
  EXPECT_EQ(CallReal("display_get_gui_width", {}), 800);
  EXPECT_EQ(CallReal("display_get_gui_height", {}), 600);
  Call("display_set_gui_size", {-1, -1});
  EXPECT_EQ(CallReal("display_get_gui_width", {}), w);
}

// A map the call hands out (the script's to destroy).
double HandedOut(const char* name) {
  RValue result;
  CallBuiltIn(nullptr, name, {}, &result);
  return result.val;
}

TEST(KivoStore, MapsOfTheDemonstrationStore) {
  EXPECT_EQ(CallReal("iap_restore_all", {}), -1);
  Call("iap_activate", {0});
  double status = HandedOut("iap_status");
  EXPECT_EQ(CallText("ds_map_find_value", {status, "status"}), "Available");
  EXPECT_EQ(CallReal("ds_map_find_value", {status, "purchases"}), 1);
  double product = HandedOut("iap_restore_all");
  EXPECT_EQ(CallText("ds_map_find_value", {product, "id"}), "demo_full_version");
  EXPECT_EQ(CallText("ds_map_find_value", {product, "status"}), "Purchased");
  EXPECT_EQ(CallReal("iap_acquire", {"demo_coins"}), 0);
  EXPECT_EQ(CallReal("iap_is_purchased", {"demo_full_version"}), 0);
  int64_t before = MemoryManager::LiveBlocks();
  RValue ignored;
  CallBuiltIn(nullptr, "ds_map_destroy", {status}, &ignored);
  CallBuiltIn(nullptr, "ds_map_destroy", {product}, &ignored);
  EXPECT_LT(MemoryManager::LiveBlocks(), before);
}

TEST(KivoServices, Windows8NamesLogOneLine) {
  ErrorCount console;
  Call("win8_share_url", {"a", "b", "c"});
  Call("win8_secondarytile_pin", {1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_EQ(console.of("Windows8 functionality not supported on this platform\n"), 2);
  Call("pocketchange_display_shop", {});
  EXPECT_EQ(console.of("Calling to display shop"), 1);
}

TEST(KivoUrl, AddressReachesTheOpenerAsWrittenNonTextOpensNothing) {
  CTestFolder folder("kivo_opener");
  std::string dir = folder.Path();
  std::string log = dir + "/opened.txt";
  std::ofstream(dir + "/xdg-open") << "#!/bin/sh\necho \"$1\" > '" << log << ".part' && mv '" << log << ".part' '"
                                   << log << "'\n";
  fs::permissions(dir + "/xdg-open", fs::perms::owner_all);
  std::string path = getenv("PATH");
  setenv("PATH", (dir + ":" + path).c_str(), 1);
  fs::remove(log);
  {
    ErrorCount errors;
    EXPECT_EQ(CallReal("url_open", {5}), 0);
    EXPECT_EQ(errors.of("Illegal argument type"), 1);
  }
  Call("url_open_full", {"HTTPS://Example.org/Page?Q=A", "_blank", "w=1"});
  std::string seen;
  for (int i = 0; i < 200 && seen.empty(); ++i) {
    std::ifstream in(log);
    seen.assign(std::istreambuf_iterator<char>(in), {});
    if (seen.empty()) usleep(20000);
  }
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(seen, "HTTPS://Example.org/Page?Q=A\n");
}

TEST(KivoDrawing, AlphaBlendTakesATruthValue) {
  ErrorCount errors;
  Call("draw_enable_alphablend", {"yes"});
  EXPECT_EQ(errors.of("Illegal argument type: true/false expected"), 1);
  Call("draw_enable_alphablend", {0});
  EXPECT_EQ(Graphics_GetRenderState(RS_ALPHABLENDENABLE), 0u);
  Call("Kivo_EnableAlphaBlend", {0.5});
  EXPECT_EQ(Graphics_GetRenderState(RS_ALPHABLENDENABLE), 1u);
}
