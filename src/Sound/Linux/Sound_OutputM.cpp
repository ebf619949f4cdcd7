#include "Sound/Sound_Output.h"

#include <AL/al.h>
#include <AL/alut.h>

#include <algorithm>
#include <climits>
#include <type_traits>
#include <vector>

#include "Base/Console.h"
#include "Sound/Linux/Sound_OutputM.h"
#include "Sound/Sound_Image.h"

static_assert(std::is_same_v<ALuint, uint32_t>, "buffer and source names pass as uint32_t");
static_assert(SOUND_LOAD_OK == ALUT_ERROR_NO_ERROR && SOUND_LOAD_UNSUPPORTED == ALUT_ERROR_UNSUPPORTED_FILE_TYPE &&
              SOUND_LOAD_CORRUPT == ALUT_ERROR_CORRUPT_OR_TRUNCATED_DATA);

namespace {
ALCdevice* g_Device = nullptr;
ALCcontext* g_Context = nullptr;
}  // namespace

ALCdevice* SoundOutput_Device() { return g_Device; }

bool SoundOutput_Open(int sources) {
  if (g_Device) return false;
  const ALCint attributes[] = {ALC_MONO_SOURCES, sources, 0};
  ALCdevice* device = alcOpenDevice(nullptr);
  ALCcontext* context = device ? alcCreateContext(device, attributes) : nullptr;
  if (!context) {
    if (device) alcCloseDevice(device);
    return false;
  }
  g_Device = device;
  g_Context = context;
  alcMakeContextCurrent(context);
  return true;
}

void SoundOutput_StartLoader() {
  alGetError();  // freealut reads the error state after its own calls
  alutInitWithoutContext(nullptr, nullptr);
}

void SoundOutput_Close() {
  if (!g_Device) return;
  alGetError();
  alutExit();
  alutGetError();
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(g_Context);
  alcCloseDevice(g_Device);
  g_Context = nullptr;
  g_Device = nullptr;
}

int SoundOutput_TakeError() { return int(alGetError()); }

void SoundOutput_ReportErrors() {
  ALenum al = alGetError();
  if (al != AL_NO_ERROR) Console_Printf("AL Error : %08x(%d)\n", unsigned(al), int(al));
  ALenum alut = alutGetError();
  if (alut != ALUT_ERROR_NO_ERROR) Console_Printf("ALUT Error : %s\n", alutGetErrorString(alut));
}

uint32_t SoundOutput_CreateBuffer(const void* bytes, int64_t length, int& error) {
  // The rebuilt image is a little longer than the data it keeps, and must fit an ALsizei.
  size_t n = length > 0 ? size_t(std::min<int64_t>(length, INT32_MAX - 64)) : 0;
  std::vector<uint8_t> image;
  if (!SoundImage_Check(static_cast<const uint8_t*>(bytes), n, image, error)) return 0;
  alutGetError();
  ALuint buffer = alutCreateBufferFromFileImage(image.data(), ALsizei(image.size()));
  error = alutGetError();
  return error == ALUT_ERROR_NO_ERROR ? buffer : 0;
}

const char* SoundOutput_LoadErrorText(int error) { return alutGetErrorString(error); }

void SoundOutput_DeleteBuffer(uint32_t buffer) { alDeleteBuffers(1, &buffer); }

SoundBufferFormat SoundOutput_BufferFormat(uint32_t buffer) {
  SoundBufferFormat f;
  alGetBufferi(buffer, AL_SIZE, &f.bytes);
  alGetBufferi(buffer, AL_BITS, &f.bits);
  alGetBufferi(buffer, AL_CHANNELS, &f.channels);
  alGetBufferi(buffer, AL_FREQUENCY, &f.frequency);
  return f;
}

void SoundOutput_MakeSources(int count, uint32_t* sources) { alGenSources(count, sources); }
void SoundOutput_DeleteSources(int count, const uint32_t* sources) { alDeleteSources(count, sources); }
void SoundOutput_StopSources(int count, const uint32_t* sources) { alSourceStopv(count, sources); }

void SoundOutput_Play(uint32_t source) { alSourcePlay(source); }
void SoundOutput_Pause(uint32_t source) { alSourcePause(source); }
void SoundOutput_Stop(uint32_t source) { alSourceStop(source); }

SoundSourceState SoundOutput_State(uint32_t source) {
  ALint state = AL_INITIAL;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  switch (state) {
    case AL_PLAYING: return SoundSourceState::Playing;
    case AL_PAUSED: return SoundSourceState::Paused;
    case AL_STOPPED: return SoundSourceState::Stopped;
    default: return SoundSourceState::Initial;
  }
}

void SoundOutput_SetBuffer(uint32_t source, uint32_t buffer) { alSourcei(source, AL_BUFFER, ALint(buffer)); }
void SoundOutput_SetGain(uint32_t source, float gain) { alSourcef(source, AL_GAIN, gain); }
void SoundOutput_SetPitch(uint32_t source, float pitch) { alSourcef(source, AL_PITCH, pitch); }
void SoundOutput_SetLooping(uint32_t source, bool loop) { alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE); }

void SoundOutput_SetRelative(uint32_t source, bool relative) {
  alSourcei(source, AL_SOURCE_RELATIVE, relative ? AL_TRUE : AL_FALSE);
}

void SoundOutput_SetPosition(uint32_t source, const float* xyz) { alSourcefv(source, AL_POSITION, xyz); }
void SoundOutput_SetVelocity(uint32_t source, const float* xyz) { alSourcefv(source, AL_VELOCITY, xyz); }

void SoundOutput_SetFalloff(uint32_t source, float reference, float maximum, float factor) {
  alSourcef(source, AL_MAX_DISTANCE, maximum);
  alSourcef(source, AL_REFERENCE_DISTANCE, reference);
  alSourcef(source, AL_ROLLOFF_FACTOR, factor);
}

void SoundOutput_SetListenerPosition(const float* xyz) { alListener3f(AL_POSITION, xyz[0], xyz[1], xyz[2]); }
void SoundOutput_SetListenerVelocity(const float* xyz) { alListener3f(AL_VELOCITY, xyz[0], xyz[1], xyz[2]); }
void SoundOutput_SetListenerOrientation(const float* atUp) { alListenerfv(AL_ORIENTATION, atUp); }
void SoundOutput_SetListenerGain(float gain) { alListenerf(AL_GAIN, gain); }

void SoundOutput_SetFalloffModel(SoundFalloff model) {
  static const ALenum kModels[] = {AL_NONE,
                                   AL_INVERSE_DISTANCE,
                                   AL_INVERSE_DISTANCE_CLAMPED,
                                   AL_LINEAR_DISTANCE,
                                   AL_LINEAR_DISTANCE_CLAMPED,
                                   AL_EXPONENT_DISTANCE,
                                   AL_EXPONENT_DISTANCE_CLAMPED};
  alDistanceModel(kModels[int(model)]);
}
