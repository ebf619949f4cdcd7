// Sound_*: part of the classic sound list (CSound, the sound_* built-ins);
// Audio_* is the newer audio system.
// The Wave layer: the table of playback slots under the classic sounds, and
// the choice between a slot and the MCI music by the file name played.
#pragma once
#include <cstdint>
#include <span>
#include <string>

class CStream;
class SoundHardware;
struct SoundHardwareSound;

struct WaveSlot {
  bool in_use = false;
  bool released = false;  // its sound let it go: freed once it stops
  int kind = 0;           // the sound's kind, multimedia (3) kept as background (1)
  SoundHardwareSound* sound = nullptr;
};

// The sound output, from Sound_Prepare to the end of the program; null before.
extern SoundHardware* g_SoundHardware;

// True for a file name the MCI player takes: ending ".mp3", ".mid" or ".midi",
// exactly in lower case.
bool Wave_IsMusic(const char* name);

// Plays a music file by name, else the slot's sound.
void Wave_Play(const char* name, int slot, bool loop);
void Wave_Stop(const char* name, int slot);
bool Wave_IsPlaying(const char* name, int slot);
void Wave_StopAll();
// Fades a slot's sound, or the music for a background slot, to a volume.
void Wave_SetVolume(int slot, double volume, int milliseconds);

// A slot in use: the first free one, else a new one at the end.
int Wave_NewSlot(int kind);
// A slot with a sound from a file image; background and multimedia slots
// get none (they are played as music by name). No image: no sound.
int Wave_Create(const uint8_t* bytes, int64_t length, int kind);
// A slot with a sound from the stream's bytes, whatever the kind.
int Wave_CreateFromStream(CStream& stream, int kind);
// The slot's sound is no longer wanted: the slot is freed with its sound once
// the sound has stopped, and taken again by a later Wave_NewSlot.
void Wave_Release(int slot);

// One frame: frees released slots that went quiet, steps the fades.
void Wave_Tick();
// Frees every slot's sound and empties the table.
void Wave_Clear();
// The number of slots, used or not.
int Wave_SlotCount();
