// The mplay_ built-ins answer as a machine with no connection: fixed values of
// fixed kinds, whatever was called before and whatever the arguments hold.
#include <cmath>
#include <limits>

#include "Code/Code_Main.h"
#include "Function_Call.h"

namespace {

struct Expect {
  const char* name;
  int argc;
};

// Every name with its argument count.
const Expect kNames[] = {
    {"mplay_init_ipx", 0},        {"mplay_init_tcpip", 1},         {"mplay_init_modem", 2},
    {"mplay_init_serial", 5},     {"mplay_connect_status", 0},     {"mplay_end", 0},
    {"mplay_session_mode", 1},    {"mplay_session_create", 3},     {"mplay_session_find", 0},
    {"mplay_session_name", 1},    {"mplay_session_join", 2},       {"mplay_session_status", 0},
    {"mplay_session_end", 0},     {"mplay_player_find", 0},        {"mplay_player_name", 1},
    {"mplay_player_id", 1},       {"mplay_data_write", 2},         {"mplay_data_read", 1},
    {"mplay_data_mode", 1},       {"mplay_message_send", 3},       {"mplay_message_send_guaranteed", 3},
    {"mplay_message_receive", 1}, {"mplay_message_id", 0},         {"mplay_message_value", 0},
    {"mplay_message_player", 0},  {"mplay_message_name", 0},       {"mplay_message_count", 1},
    {"mplay_message_clear", 1},   {"mplay_ipaddress", 0},
};

TEST(DPlayBuiltins, EveryNameIsRegisteredWithItsArgumentCount) {
  Math_EnsureRegistered();
  for (const Expect& e : kNames) {
    int id = Function_FindBuiltIn(e.name);
    ASSERT_GE(id, 0) << e.name;
    EXPECT_EQ(Function_ArgCount(id), e.argc) << e.name;
  }
  // Another count does not compile.
  CCode wrong("mplay_session_name()", false);
  EXPECT_FALSE(wrong.Compile("mplay.wrong"));
}

TEST(DPlayBuiltins, ConnectionsAndSessionsFail) {
  EXPECT_EQ(CallReal("mplay_init_ipx", {}), 0);
  EXPECT_EQ(CallReal("mplay_init_tcpip", {"127.0.0.1"}), 0);
  EXPECT_EQ(CallReal("mplay_init_modem", {"ATZ", "555"}), 0);
  EXPECT_EQ(CallReal("mplay_init_serial", {1, 9600, 0, 0, 4}), 0);
  EXPECT_EQ(CallReal("mplay_connect_status", {}), 0);
  EXPECT_EQ(CallReal("mplay_session_create", {"game", 4, "me"}), 0);
  EXPECT_EQ(CallReal("mplay_session_find", {}), 0);
  EXPECT_EQ(CallReal("mplay_session_join", {0, "me"}), 0);
  EXPECT_EQ(CallReal("mplay_session_status", {}), 0);
  EXPECT_EQ(CallReal("mplay_player_find", {}), 0);
  EXPECT_EQ(CallReal("mplay_player_id", {0}), 0);
}

TEST(DPlayBuiltins, TextAnswersAreStrings) {
  // No text is the empty string, not the real 0.
  EXPECT_EQ(CallText("mplay_session_name", {0}), "");
  EXPECT_EQ(CallText("mplay_player_name", {0}), "");
  EXPECT_EQ(CallText("mplay_ipaddress", {}), "");
  // "(unknown)" before any message was asked for, a fresh block every call.
  TestResult a = Call("mplay_message_name", {});
  TestResult b = Call("mplay_message_name", {});
  EXPECT_EQ(a.kind, VALUE_STRING);
  EXPECT_TRUE(a.hasBlock && b.hasBlock);
  EXPECT_EQ(a.text, "(unknown)");
  EXPECT_EQ(b.text, "(unknown)");
}

TEST(DPlayBuiltins, NoneSetLeavesTheCallersRealZero) {
  for (const char* name : {"mplay_end", "mplay_session_end"}) {
    TestResult r = Call(name, {});
    EXPECT_EQ(r.kind, VALUE_REAL) << name;
    EXPECT_EQ(r.real, 0) << name;
  }
  EXPECT_EQ(CallReal("mplay_session_mode", {1}), 0);
  EXPECT_EQ(CallReal("mplay_data_mode", {1}), 0);
  EXPECT_EQ(CallReal("mplay_message_clear", {3}), 0);
}

// Whatever a game sends, writes or asks for, nothing is ever received: the
// current message stays empty. A transport left half-built would break this.
TEST(DPlayBuiltins, NothingArrivesAfterAnySequence) {
  for (int round = 0; round < 3; ++round) {
    Call("mplay_init_tcpip", {""});
    Call("mplay_session_mode", {round % 2});
    Call("mplay_session_create", {"s", 2, "p"});
    Call("mplay_session_join", {0, "p"});
    EXPECT_EQ(CallReal("mplay_data_write", {round, "value"}), 0);
    EXPECT_EQ(CallReal("mplay_data_write", {round, 12.5}), 0);
    EXPECT_EQ(CallReal("mplay_message_send", {"p", 7, "text"}), 0);
    EXPECT_EQ(CallReal("mplay_message_send", {1, 7, 3.0}), 0);
    EXPECT_EQ(CallReal("mplay_message_send_guaranteed", {"p", 8, 1.0}), 0);
    EXPECT_EQ(CallReal("mplay_message_send_guaranteed", {2, 8, "x"}), 0);
    EXPECT_EQ(CallReal("mplay_message_receive", {"p"}), 0);
    EXPECT_EQ(CallReal("mplay_message_receive", {0}), 0);
    EXPECT_EQ(CallReal("mplay_message_count", {0}), 0);
    EXPECT_EQ(CallReal("mplay_message_id", {}), 0);
    EXPECT_EQ(CallReal("mplay_message_player", {}), 0);
    EXPECT_EQ(CallReal("mplay_message_value", {}), 0);
    EXPECT_EQ(CallReal("mplay_data_read", {round}), 0);
    EXPECT_EQ(CallText("mplay_message_name", {}), "(unknown)");
    Call("mplay_session_end", {});
    Call("mplay_end", {});
  }
}

TEST(DPlayBuiltins, ArgumentsOfAnyKindGiveTheSameAnswers) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (TestArg odd : {TestArg(nan), TestArg(1e300), TestArg(-inf), TestArg("12"), TestArg(-0.5)}) {
    EXPECT_EQ(CallReal("mplay_init_tcpip", {odd}), 0);
    EXPECT_EQ(CallReal("mplay_init_serial", {odd, odd, odd, odd, odd}), 0);
    EXPECT_EQ(CallText("mplay_session_name", {odd}), "");
    EXPECT_EQ(CallReal("mplay_session_create", {odd, odd, odd}), 0);
    EXPECT_EQ(CallReal("mplay_message_send", {odd, odd, odd}), 0);
    EXPECT_EQ(CallReal("mplay_message_receive", {odd}), 0);
    EXPECT_EQ(CallReal("mplay_data_read", {odd}), 0);
    EXPECT_EQ(CallText("mplay_player_name", {odd}), "");
    Call("mplay_session_mode", {odd});
  }
}

}  // namespace
