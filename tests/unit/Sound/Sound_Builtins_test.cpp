#include <utility>

#include "Code/Code_BuiltinTable.h"
#include "Function_Call.h"
#include "Option/Option_Main.h"
#include "Sound/Sound_Class.h"
#include "Sound/Sound_Wave.h"
#include "Sound_Test.h"

namespace {
using SoundBuiltins = SoundTest;

TEST_F(SoundBuiltins, EveryBuiltInIsRegisteredWithItsArgumentCount) {
  InitCWLFunctions();
  const std::pair<const char*, int> table[] = {
      {"sound_play", 1}, {"sound_loop", 1}, {"sound_stop", 1}, {"sound_stop_all", 0}, {"sound_isplaying", 1},
      {"sound_volume", 2}, {"sound_fade", 3}, {"sound_pan", 2}, {"sound_background_tempo", 1},
      {"sound_global_volume", 1}, {"sound_set_search_directory", 1}, {"sound_effect_set", 2},
      {"sound_effect_chorus", 8}, {"sound_effect_compressor", 7}, {"sound_effect_echo", 6},
      {"sound_effect_flanger", 8}, {"sound_effect_gargle", 3}, {"sound_effect_equalizer", 4},
      {"sound_effect_reverb", 5}, {"sound_3d_set_sound_position", 4}, {"sound_3d_set_sound_velocity", 4},
      {"sound_3d_set_sound_distance", 3}, {"sound_3d_set_sound_cone", 7}, {"cd_init", 0}, {"cd_present", 0},
      {"cd_number", 0}, {"cd_playing", 0}, {"cd_paused", 0}, {"cd_track", 0}, {"cd_length", 0},
      {"cd_track_length", 1}, {"cd_position", 0}, {"cd_track_position", 0}, {"cd_play", 2}, {"cd_stop", 0},
      {"cd_pause", 0}, {"cd_resume", 0}, {"cd_set_position", 1}, {"cd_set_track_position", 1},
      {"cd_open_door", 0}, {"cd_close_door", 0}, {"MCI_command", 1}};
  for (const auto& [name, argc] : table) {
    const RFunction* f = Function_Get(Function_FindBuiltIn(name));
    ASSERT_NE(f, nullptr) << name;
    EXPECT_EQ(f->argnumb, argc) << name;
  }
}

TEST_F(SoundBuiltins, AMissingSoundIsAnErrorExceptForTheQuery) {
  Sound_Add(Wav("a.wav").c_str(), 0, true);
  Sound_Delete(0);
  Error_SetOccurred(false);
  Call("sound_play", {0});
  EXPECT_TRUE(Sound_ErrorReported());
  for (const char* name : {"sound_loop", "sound_stop"}) {
    Call(name, {5});
    EXPECT_TRUE(Sound_ErrorReported()) << name;
  }
  Call("sound_volume", {-1, 0.5});
  EXPECT_TRUE(Sound_ErrorReported());
  Call("sound_fade", {0, 0, 100});
  EXPECT_TRUE(Sound_ErrorReported());
  Call("sound_pan", {0, 1});
  EXPECT_TRUE(Sound_ErrorReported());
  Call("sound_effect_echo", {0, 1, 2, 3, 4, 5});
  EXPECT_TRUE(Sound_ErrorReported());
  Call("sound_3d_set_sound_cone", {0, 1, 2, 3, 4, 5, 6});
  EXPECT_TRUE(Sound_ErrorReported());
  EXPECT_EQ(CallReal("sound_isplaying", {0}), 0.0);
  EXPECT_FALSE(Sound_ErrorReported());
  Call("sound_stop_all", {});
  Call("sound_global_volume", {0.5});
  EXPECT_FALSE(Sound_ErrorReported());
}

TEST_F(SoundBuiltins, PlaysGoThroughTheSlotAndTheSoundsVolume) {
  int s = Sound_Add(Wav("a.wav", 1.0).c_str(), 0, false);
  EXPECT_EQ(CallReal("sound_isplaying", {s}), 0.0);
  EXPECT_GE(Sound_Data(s)->slot, 0);  // the query prepared it
  Call("sound_play", {s});
  EXPECT_EQ(CallReal("sound_isplaying", {s}), 1.0);
  Call("sound_volume", {double(s) + 0.4, 0.25});  // the index is rounded
  EXPECT_EQ(Sound_Data(s)->volume, 0.25);
  Call("sound_fade", {s, 1, 1000});
  EXPECT_EQ(Sound_Data(s)->volume, 0.25);  // a fade leaves the stored volume
  Call("sound_stop", {s});
  EXPECT_EQ(CallReal("sound_isplaying", {s}), 0.0);
  Call("sound_loop", {s});
  EXPECT_EQ(CallReal("sound_isplaying", {s}), 1.0);
  Call("sound_stop_all", {});
  EXPECT_EQ(CallReal("sound_isplaying", {s}), 0.0);
}

TEST_F(SoundBuiltins, WithTheNewAudioOptionTheClassicPlaysDoNothing) {
  int s = Sound_Add(Wav("a.wav", 1.0).c_str(), 0, true);
  g_GameOptions.new_audio = true;
  Error_SetOccurred(false);
  Call("sound_play", {s});
  Call("sound_loop", {99});
  Call("sound_stop", {99});
  Call("sound_stop_all", {});
  EXPECT_FALSE(Sound_ErrorReported());
  EXPECT_EQ(CallReal("sound_isplaying", {s}), 0.0);
  Call("sound_volume", {99, 1});  // the other functions still look the sound up
  EXPECT_TRUE(Sound_ErrorReported());
  g_GameOptions.new_audio = false;
}

TEST_F(SoundBuiltins, MCICommandGivesTheReplyOrTheEmptyText) {
  Wav("a.wav", 1.0);
  EXPECT_EQ(CallText("MCI_command", {("open \"" + dir + "a.wav\" alias tune").c_str()}), "");
  EXPECT_EQ(CallText("MCI_command", {"status tune length"}), "1000");
  EXPECT_EQ(CallText("MCI_command", {"status tune volume"}), "");
  EXPECT_EQ(CallText("MCI_command", {"close tune"}), "");
  EXPECT_EQ(CallText("MCI_command", {3}), "");
}
}  // namespace
