// Emitters: places that voices play from, moved every frame.
#include <cmath>

#include "Base/Console.h"
#include "Sound/Audio_Main.h"
#include "Sound/Audio_State.h"

namespace {
// The emitter at an index while the system plays, or none.
AudioEmitter* Emitter(int index) {
  if (!Audio_Active() || index < 0 || index >= int(g_Audio.emitters.size())) return nullptr;
  return g_Audio.emitters[size_t(index)].get();
}
}  // namespace

AudioVoice* Audio_RefVoice(const AudioVoiceRef& ref) {
  if (ref.voice < 0 || ref.voice >= int(g_Audio.voices.size())) return nullptr;
  AudioVoice* v = g_Audio.voices[size_t(ref.voice)].get();
  return v->active && v->handle == ref.handle ? v : nullptr;
}

int Audio_EmitterCreate() {
  if (!Audio_Active()) return -1;
  auto& list = g_Audio.emitters;
  for (size_t i = 0; i < list.size(); i++) {
    if (!list[i]) list[i] = std::make_unique<AudioEmitter>();
    else if (list[i]->active) continue;
    // A freed emitter comes back with the settings it had.
    list[i]->active = true;
    return int(i);
  }
  size_t at = list.size();
  list.resize(at + 8);
  list[at] = std::make_unique<AudioEmitter>();
  list[at]->active = true;
  return int(at);
}

void Audio_EmitterFree(int emitter) {
  if (AudioEmitter* e = Emitter(emitter)) e->active = false;  // its voices play on
}

bool Audio_EmitterExists(int emitter) { return Emitter(emitter) != nullptr; }

void Audio_EmitterPosition(int emitter, float x, float y, float z) {
  if (AudioEmitter* e = Emitter(emitter)) e->position[0] = x, e->position[1] = y, e->position[2] = z;
}

void Audio_EmitterVelocity(int emitter, float x, float y, float z) {
  if (AudioEmitter* e = Emitter(emitter)) e->velocity[0] = x, e->velocity[1] = y, e->velocity[2] = z;
}

void Audio_EmitterGain(int emitter, float gain) {
  AudioEmitter* e = Emitter(emitter);
  if (e && gain >= 0 && std::isfinite(gain)) e->gain = gain;
}

void Audio_EmitterPitch(int emitter, float pitch) {
  AudioEmitter* e = Emitter(emitter);
  if (e && pitch >= 0 && std::isfinite(pitch)) e->pitch = pitch;
}

void Audio_EmitterFalloff(int emitter, float reference, float maximum, float factor) {
  AudioEmitter* e = Emitter(emitter);
  if (!e) return;
  e->reference = reference;
  e->maximum = maximum;
  e->factor = factor;
  Audio_EmitterSources(
      *e,
      [&](uint32_t source) { SoundOutput_SetFalloff(source, reference, maximum, factor); },
      [](AudioVoice&) {});
}
