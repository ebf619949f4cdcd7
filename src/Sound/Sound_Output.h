// The sound output both sound systems play through (the classic list's
// Sound_Hardware and the audio system's voices): the device, buffers made
// from sound file images, sources and the listener. Linux/Sound_OutputM.cpp
// holds it, over OpenAL and freealut.
//
// Buffers and sources are names the output gives (0 is no buffer). Calls
// leave their errors pending until SoundOutput_TakeError or
// SoundOutput_ReportErrors collects them, so a caller decides which calls
// one check covers.
#pragma once
#include <cstdint>

// Room for sources in the context: four for every classic sound and the
// audio system's pool.
constexpr int SOUND_OUTPUT_SOURCES = 4096;

// The loader's error codes (freealut's own numbers, for its messages).
enum SoundLoadError {
  SOUND_LOAD_OK = 0,
  SOUND_LOAD_UNSUPPORTED = 0x20F,  // not a file type the loader reads
  SOUND_LOAD_CORRUPT = 0x211,      // corrupt or truncated data
};

enum class SoundSourceState { Initial, Playing, Paused, Stopped };

// How a source's gain falls with its distance from the listener, in the
// order games number the models.
enum class SoundFalloff { None, Inverse, InverseClamped, Linear, LinearClamped, Exponent, ExponentClamped };

// Opens the default device with a current context of room for a number of
// sources; false, with nothing left open, without a device. The program has
// one output, which the classic list's SoundHardware opens: false while it
// is open already.
bool SoundOutput_Open(int sources);
// Starts the file loader on the open context.
void SoundOutput_StartLoader();
// Stops the loader and closes the context and the device.
void SoundOutput_Close();

// The pending output error (0: none), cleared.
int SoundOutput_TakeError();
// Logs the pending output and loader errors, clearing them.
void SoundOutput_ReportErrors();

// A buffer from a WAV or AU file image (checked by SoundImage_Check first),
// or 0 with the loader's error code; output errors stay pending.
uint32_t SoundOutput_CreateBuffer(const void* bytes, int64_t length, int& error);
// The text of a loader error code.
const char* SoundOutput_LoadErrorText(int error);
void SoundOutput_DeleteBuffer(uint32_t buffer);

struct SoundBufferFormat {
  int bytes = 0, bits = 0, channels = 0, frequency = 0;
};
SoundBufferFormat SoundOutput_BufferFormat(uint32_t buffer);

// Sources in groups: all made (errors pending when not), stopped or deleted.
void SoundOutput_MakeSources(int count, uint32_t* sources);
void SoundOutput_DeleteSources(int count, const uint32_t* sources);
void SoundOutput_StopSources(int count, const uint32_t* sources);

void SoundOutput_Play(uint32_t source);
void SoundOutput_Pause(uint32_t source);
void SoundOutput_Stop(uint32_t source);
SoundSourceState SoundOutput_State(uint32_t source);

// A source's settings; 0 as the buffer takes the source's away.
void SoundOutput_SetBuffer(uint32_t source, uint32_t buffer);
void SoundOutput_SetGain(uint32_t source, float gain);
void SoundOutput_SetPitch(uint32_t source, float pitch);
void SoundOutput_SetLooping(uint32_t source, bool loop);
// Relative: placed from the listener rather than in the world.
void SoundOutput_SetRelative(uint32_t source, bool relative);
void SoundOutput_SetPosition(uint32_t source, const float* xyz);
void SoundOutput_SetVelocity(uint32_t source, const float* xyz);
// The distances of the falloff: full gain up to the reference, none falling
// past the maximum, and the factor the fall is scaled by.
void SoundOutput_SetFalloff(uint32_t source, float reference, float maximum, float factor);

void SoundOutput_SetListenerPosition(const float* xyz);
void SoundOutput_SetListenerVelocity(const float* xyz);
// Where the listener faces and which way is up: {at x, y, z, up x, y, z}.
void SoundOutput_SetListenerOrientation(const float* atUp);
// A factor on every source's gain.
void SoundOutput_SetListenerGain(float gain);
void SoundOutput_SetFalloffModel(SoundFalloff model);
