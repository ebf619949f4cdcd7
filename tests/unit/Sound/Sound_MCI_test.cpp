#include <chrono>
#include <string>
#include <thread>

#include "Sound/MCI_Main.h"
#include "Sound/Sound_Music.h"
#include "Sound_Test.h"

namespace {
std::string Send(const std::string& command, int* error = nullptr) {
  char reply[64] = "stale";
  int e = MCI_SendString(command.c_str(), reply, sizeof reply);
  if (error) *error = e;
  return reply;
}

int Error(const std::string& command) {
  int e;
  Send(command, &e);
  return e;
}

std::string Text(int error) {
  char text[256];
  MCI_GetErrorString(error, text, sizeof text);
  return text;
}

using MCITest = SoundTest;

TEST_F(MCITest, CommandsItCannotCarryOutAreErrorsWithATextForTheLog) {
  EXPECT_EQ(Error("open \"" + dir + "none.mp3\" type mpegvideo alias a"), MCI_ERR_FILE);
  EXPECT_EQ(Error("open song.mid alias a"), MCI_ERR_NO_MIDI);
  EXPECT_EQ(Error("open song.wav type sequencer alias a"), MCI_ERR_NO_MIDI);
  EXPECT_EQ(Error("open cdaudio"), MCI_ERR_NO_CD);
  EXPECT_EQ(Error("status cdaudio media present"), MCI_ERR_NO_CD);
  EXPECT_EQ(Error("status nothing mode"), MCI_ERR_NOT_OPEN);
  EXPECT_EQ(Error("fly a"), MCI_ERR_UNKNOWN_COMMAND);
  EXPECT_EQ(Error(""), MCI_ERR_UNKNOWN_COMMAND);
  EXPECT_EQ(Error("play"), MCI_ERR_MISSING_WORD);
  EXPECT_EQ(Send("status nothing mode"), "");  // the reply is cleared
  for (int e = MCI_ERR_UNKNOWN_COMMAND; e <= MCI_ERR_OUT_OF_RANGE; e++) EXPECT_NE(Text(e), "Unknown error.");
  char cut[8];
  MCI_GetErrorString(MCI_ERR_NO_CD, cut, sizeof cut);
  EXPECT_EQ(std::string(cut), "There i");
}

TEST_F(MCITest, AnOpenedFilePlaysPausesStopsAndSeeks) {
  Wav("my song.wav", 1.0);
  EXPECT_EQ(Error("OPEN \"" + dir + "my song.wav\" type mpegvideo alias Song wait"), MCI_OK);
  EXPECT_EQ(Error("open \"" + dir + "my song.wav\" alias song"), MCI_ERR_ALIAS_TAKEN);
  EXPECT_EQ(Error("set song time format milliseconds"), MCI_OK);
  EXPECT_EQ(Error("set song seek exactly on"), MCI_OK);
  EXPECT_EQ(Error("set song time format frames"), MCI_ERR_OUT_OF_RANGE);
  EXPECT_EQ(Send("status song length"), "1000");
  EXPECT_EQ(Send("status song mode"), "stopped");
  EXPECT_EQ(Error("play song"), MCI_OK);
  EXPECT_EQ(Send("status SONG mode"), "playing");
  EXPECT_EQ(Error("pause song"), MCI_OK);
  EXPECT_EQ(Send("status song mode"), "paused");
  EXPECT_EQ(Error("resume song"), MCI_OK);
  EXPECT_EQ(Send("status song mode"), "playing");
  EXPECT_EQ(Error("setaudio song volume to 500"), MCI_OK);
  EXPECT_EQ(Error("setaudio song volume to -5"), MCI_OK);
  EXPECT_EQ(Error("setaudio song volume to loud"), MCI_ERR_BAD_NUMBER);
  // A stop keeps the alias open and the place; a seek moves it.
  EXPECT_EQ(Error("seek song to 500"), MCI_OK);
  EXPECT_EQ(Send("status song mode"), "stopped");
  EXPECT_EQ(Send("status song position"), "500");
  EXPECT_EQ(Error("seek song to end"), MCI_OK);
  EXPECT_EQ(Send("status song position"), "1000");
  EXPECT_EQ(Error("seek song to start"), MCI_OK);
  EXPECT_EQ(Send("status song position"), "0");
  EXPECT_EQ(Error("seek song to -3"), MCI_ERR_BAD_NUMBER);
  EXPECT_EQ(Error("close song"), MCI_OK);
  EXPECT_EQ(Error("status song mode"), MCI_ERR_NOT_OPEN);
}

TEST_F(MCITest, PlaysToAPointEndThereAndRepeatsLoop) {
  Wav("a.wav", 1.0);
  Send("open " + dir + "a.wav alias a");
  EXPECT_EQ(Error("play a from 100 to 200"), MCI_OK);
  EXPECT_EQ(Error("play a from 300 to 200"), MCI_ERR_OUT_OF_RANGE);
  EXPECT_EQ(Error("play a from x"), MCI_ERR_BAD_NUMBER);
  EXPECT_EQ(Error("play a twice"), MCI_ERR_BAD_WORD);
  Send("play a from 100 to 200");
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  EXPECT_EQ(Send("status a mode"), "stopped");
  EXPECT_EQ(Send("status a position"), "200");
  // From the end a plain play starts again at the beginning; repeat keeps it going.
  Send("play a from 0 to 100 repeat");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(Send("status a mode"), "playing");
  Send("stop a");
  Send("open " + dir + "a.wav alias b");
  EXPECT_EQ(Error("close all"), MCI_OK);
  EXPECT_EQ(Error("status b mode"), MCI_ERR_NOT_OPEN);
}

TEST_F(MCITest, ThePlayerLogsWhatMCIRefuses) {
  testing::internal::CaptureStdout();
  MP3_Play("/nowhere/theme.mp3", false);
  MP3_SetVolume(0.5f);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out,
            "error opening mp3 file /nowhere/theme.mp3 - The file is missing or holds no sound this system can decode.\n"
            "error opening set file time format for /nowhere/theme.mp3 - No device or file is open under that name.\n"
            "error opening set file seek exactly for /nowhere/theme.mp3 - No device or file is open under that name.\n"
            "error playing file for /nowhere/theme.mp3 - No device or file is open under that name.\n"
            "error setting mp3 volume to 0.5(500) - No device or file is open under that name.\n");
  testing::internal::CaptureStdout();
  EXPECT_FALSE(MP3_IsPlaying());
  MP3_Stop();
  out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out,
            "error getting mp3 status - No device or file is open under that name.\n"
            "error stopping mp3 file seeking - No device or file is open under that name.\n"
            "error stopping mp3 - No device or file is open under that name.\n");
}

TEST_F(MCITest, NewMusicClosesTheOldAlias) {
  Wav("a.mp3", 1.0);
  MP3_Play((dir + "a.mp3").c_str(), true);
  EXPECT_EQ(Send("status MediaFile1 mode"), "playing");
  MP3_Stop();
  EXPECT_EQ(Send("status MediaFile1 mode"), "stopped");
  MP3_Play((dir + "a.mp3").c_str(), false);
  EXPECT_EQ(Error("status MediaFile1 mode"), MCI_ERR_NOT_OPEN);
  EXPECT_TRUE(MP3_IsPlaying());
}
}  // namespace
