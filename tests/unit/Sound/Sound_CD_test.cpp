#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Function_Call.h"
#include "Sound/MCI_Main.h"
#include "Sound/Sound_CD.h"

namespace {
// A drive with a 12-track disc: it records the commands and answers the
// queries it knows; every other query fails without a reply.
struct FakeDrive {
  std::vector<std::string> sent;
  std::map<std::string, std::string> answers;
};
FakeDrive* g_Drive = nullptr;

int DriveSend(const char* command, char* reply, size_t length) {
  g_Drive->sent.push_back(command);
  auto it = g_Drive->answers.find(command);
  if (it == g_Drive->answers.end()) return command[0] == 's' && std::strncmp(command, "status", 6) == 0 ? MCI_ERR_BAD_WORD : MCI_OK;
  std::snprintf(reply, length, "%s", it->second.c_str());
  return MCI_OK;
}

class CDTest : public testing::Test {
 protected:
  void SetUp() override {
    drive.answers = {{"status cdaudio media present", "true"},
                     {"status cdaudio number of tracks", "12"},
                     {"status cdaudio mode", "playing"},
                     {"status cdaudio position", "03:02:05:10"}};
    g_Drive = &drive;
    CD_SetSender(DriveSend);
  }
  void TearDown() override { CD_SetSender(nullptr); }
  // The commands sent since the last call, without the presence tests.
  std::vector<std::string> Sent() {
    std::vector<std::string> out;
    for (const std::string& c : drive.sent)
      if (c != "open cdaudio" && c != "status cdaudio media present" && c != "status cdaudio number of tracks")
        out.push_back(c);
    drive.sent.clear();
    return out;
  }
  FakeDrive drive;
};

using Commands = std::vector<std::string>;

TEST_F(CDTest, PlayRangesEndAtTheTrackAfterTheLast) {
  CD_Play(3, 2);
  EXPECT_EQ(Sent(), Commands({"set cdaudio time format tmsf wait"}));
  CD_Play(0, 99);
  EXPECT_EQ(Sent(), Commands({"set cdaudio time format tmsf wait", "play cdaudio from 1"}));
  CD_Play(2, 5);
  EXPECT_EQ(Sent(), Commands({"set cdaudio time format tmsf wait", "play cdaudio from 2 to 6"}));
}

TEST_F(CDTest, QueriesReadTheirReplies) {
  EXPECT_TRUE(CD_Present());
  EXPECT_EQ(CD_Number(), 12);
  EXPECT_TRUE(CD_Playing());
  EXPECT_FALSE(CD_Paused());
  drive.answers["status cdaudio mode"] = "stopped";  // a drive that reports a pause as stopped
  EXPECT_TRUE(CD_Paused());
  EXPECT_EQ(CD_Track(), 3);
  EXPECT_EQ(CD_TrackPosition(), (2 * 60 + 5) * 1000);
  drive.sent.clear();
  EXPECT_EQ(CD_TrackLength(0), 0);
  EXPECT_EQ(CD_TrackLength(13), 0);
  EXPECT_EQ(Sent(), Commands());  // no length asked for
  drive.answers["status cdaudio length track 4"] = "245000";
  EXPECT_EQ(CD_TrackLength(4), 245000);
  EXPECT_EQ(Sent(), Commands({"set cdaudio time format milliseconds wait", "status cdaudio length track 4",
                              "set cdaudio time format tmsf wait"}));
}

TEST_F(CDTest, SeeksAndPlaysFromAPosition) {
  drive.answers["status cdaudio mode"] = "paused";
  CD_SetTrackPosition(2 * 60000 + 5500);
  Commands sent = Sent();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent[sent.size() - 2], "seek cdaudio to 3:2:5");
  EXPECT_EQ(sent.back(), "set cdaudio time format tmsf");
  drive.answers["status cdaudio mode"] = "playing";
  CD_SetPosition(90000);
  sent = Sent();
  EXPECT_EQ(sent[sent.size() - 2], "play cdaudio from 90000");
}

TEST_F(CDTest, AFailedQueryNeverReadsAnOlderReply) {
  EXPECT_EQ(CD_Number(), 12);
  drive.answers.erase("status cdaudio position");  // the position query now fails
  EXPECT_EQ(CD_Track(), 0);
  EXPECT_EQ(CD_Position(), 0);
}

TEST_F(CDTest, WithoutADiscTheCommandsStopAfterThePresenceTest) {
  drive.answers["status cdaudio media present"] = "false";
  CD_Play(1, 3);
  CD_Stop();
  CD_Pause();
  CD_Resume();
  CD_SetPosition(1000);
  EXPECT_EQ(Sent(), Commands());
  EXPECT_EQ(CD_Number(), 0);
  EXPECT_EQ(CD_Length(), 0);
}

// The machine has no drive: the built-ins answer 0 and set no result for the commands.
TEST(CDBuiltins, AMachineWithoutADriveAnswersZero) {
  for (const char* query : {"cd_present", "cd_number", "cd_playing", "cd_paused", "cd_track", "cd_length", "cd_position",
                            "cd_track_position"})
    EXPECT_EQ(CallReal(query, {}), 0.0) << query;
  EXPECT_EQ(CallReal("cd_track_length", {1}), 0.0);
  for (const char* command : {"cd_init", "cd_stop", "cd_pause", "cd_resume", "cd_open_door", "cd_close_door"})
    EXPECT_EQ(CallReal(command, {}), 0.0) << command;
  EXPECT_EQ(CallReal("cd_play", {1, 3}), 0.0);
  EXPECT_EQ(CallReal("cd_set_position", {1000}), 0.0);
  EXPECT_EQ(CallText("MCI_command", {"status cdaudio mode"}), "");
}
}  // namespace
