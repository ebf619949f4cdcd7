// Audio_*: the audio system (the audio_* built-ins: voices, emitters, the
// listener); Sound_* is the classic sound list (CSound).
// The newer audio system, which takes the package's sounds while the game's
// new-audio option is on: every play takes a source of a fixed pool (a free
// one, else the one whose voice has the lowest priority below the new one's)
// and is a voice that scripts hold by a handle. Sounds play flat, at a
// place with their own falloff, or on an emitter that moves; one listener
// stands for the player. Music goes to the MCI player of the sound output.
//
// With the option off, with "-noaudio" or without a sound device, every
// operation answers at once with its failure value (plays -1), except the
// listener setters, the falloff model, the music and Audio_SoundExists.
#pragma once
#include <vector>

#include "DataFile/DataFile_Package.h"

class SoundHardware;

// Values from this up name a voice by its handle; below, a sound by index.
constexpr int AUDIO_FIRST_HANDLE = 200000;

// The package readers: the sound entries, then their file images.
bool Audio_Load(const std::vector<PackageSound>& sounds);
bool Audio_WAVs(const std::vector<PackageBytes>& audio);
// Game preparation: the listener, the source pool and the distance model;
// then the buffers of the sounds that are not streamed.
void Audio_Init(SoundHardware* output);
// Every frame: the listener, and the emitters' voices moved with them.
void Audio_UpdateEmitters();
// The end: sources and buffers deleted, every record freed.
void Audio_Free();

// Sounds.
bool Audio_SoundExists(int index);
// -1 no such sound, 0 played from a buffer, 1 streamed (kind above 0).
int Audio_SoundIsStreamed(int index);
// Seconds, -1 when there is no buffer to measure.
float Audio_SoundLength(int value);

// Plays; each answers the voice's handle, or -1.
int Audio_PlaySimple(int sound, float priority, int loop);
int Audio_PlaySoundAt(int sound, float x, float y, float z, float reference, float maximum, float factor, int loop,
                      float priority);
int Audio_PlaySound(int emitter, int sound, int loop, float priority);

// One voice by handle, or every voice of a sound by index.
void Audio_StopSound(int value);
void Audio_PauseSound(int value);
void Audio_ResumeSound(int value);
void Audio_StopAll();
void Audio_PauseAll();
void Audio_ResumeAll();
bool Audio_IsPlaying(int value);

void Audio_SetChannelCount(int count);
void Audio_SetMasterGain(float gain);
// 0 none, 1 inverse distance, 2 clamped, 3 linear, 4 clamped, 5 exponent, 6 clamped.
void Audio_SetFalloffModel(int model);

void Audio_ListenerPosition(float x, float y, float z);
void Audio_ListenerVelocity(float x, float y, float z);
void Audio_ListenerOrientation(float atX, float atY, float atZ, float upX, float upY, float upZ);

// An emitter's index, or -1.
int Audio_EmitterCreate();
void Audio_EmitterFree(int emitter);
bool Audio_EmitterExists(int emitter);
void Audio_EmitterPosition(int emitter, float x, float y, float z);
void Audio_EmitterVelocity(int emitter, float x, float y, float z);
void Audio_EmitterGain(int emitter, float gain);
void Audio_EmitterPitch(int emitter, float pitch);
void Audio_EmitterFalloff(int emitter, float reference, float maximum, float factor);

void Audio_PlayMusic(int sound, bool loop);
void Audio_StopMusic();
