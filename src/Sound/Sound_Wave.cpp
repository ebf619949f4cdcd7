#include "Sound/Sound_Wave.h"

#include <cstring>
#include <vector>

#include "Base/String_Helpers.h"
#include "Sound/Sound_Hardware.h"
#include "Support/Support_Stream.h"

SoundHardware* g_SoundHardware = nullptr;

namespace {
std::vector<WaveSlot> g_Slots;
// The music last sent to the MCI player: the layer's own copy, so that a
// deleted or replaced sound cannot leave it pointing at freed text.
std::string g_MusicName;
bool g_HasMusic = false;

WaveSlot* Slot(int slot) { return slot >= 0 && slot < int(g_Slots.size()) ? &g_Slots[size_t(slot)] : nullptr; }

bool IsCurrentMusic(const char* name) { return g_HasMusic && name && g_MusicName == name; }

void FreeSlot(WaveSlot& s) {
  if (g_SoundHardware) g_SoundHardware->Free(s.sound);
  s = WaveSlot{};
}

// Released slots whose sound has gone quiet become free.
void Reclaim() {
  for (WaveSlot& s : g_Slots)
    if (s.in_use && s.released && !(g_SoundHardware && g_SoundHardware->Playing(s.sound))) FreeSlot(s);
}
}  // namespace

bool Wave_IsMusic(const char* name) {
  return name && (String_EndsWith(name, ".mp3") || String_EndsWith(name, ".mid") || String_EndsWith(name, ".midi"));
}

void Wave_Play(const char* name, int slot, bool loop) {
  if (!g_SoundHardware) return;
  if (name && String_EndsWith(name, ".mp3")) {
    g_MusicName = name;
    g_HasMusic = true;
    g_SoundHardware->PlayMP3(name, loop);
  } else if (Wave_IsMusic(name)) {
    g_MusicName = name;
    g_HasMusic = true;
    g_SoundHardware->PlayMIDI(name, loop);
  } else if (WaveSlot* s = Slot(slot)) {
    g_SoundHardware->Play(s->sound, loop);
  }
}

void Wave_Stop(const char* name, int slot) {
  if (!g_SoundHardware) return;
  if (IsCurrentMusic(name)) {
    g_SoundHardware->StopMusic();
    g_HasMusic = false;
    g_MusicName.clear();
  } else if (WaveSlot* s = Slot(slot)) {
    g_SoundHardware->Stop(s->sound);
  }
}

bool Wave_IsPlaying(const char* name, int slot) {
  if (!g_SoundHardware) return false;
  if (IsCurrentMusic(name)) return g_SoundHardware->PlayingMP3();
  if (WaveSlot* s = Slot(slot)) return g_SoundHardware->Playing(s->sound);
  return false;
}

void Wave_StopAll() {
  if (!g_SoundHardware) return;
  for (WaveSlot& s : g_Slots) g_SoundHardware->Stop(s.sound);
  g_SoundHardware->StopMusic();  // the music name stays: is-playing still asks the player
}

void Wave_SetVolume(int slot, double volume, int milliseconds) {
  WaveSlot* s = Slot(slot);
  if (!s || !g_SoundHardware) return;
  if (s->kind == 1) g_SoundHardware->SetMusicVolume(float(volume), milliseconds);
  else g_SoundHardware->SetVolume(s->sound, float(volume), milliseconds);
}

int Wave_NewSlot(int kind) {
  size_t i = 0;
  while (i < g_Slots.size() && g_Slots[i].in_use) i++;
  if (i == g_Slots.size()) {
    Reclaim();
    i = 0;
    while (i < g_Slots.size() && g_Slots[i].in_use) i++;
    if (i == g_Slots.size()) g_Slots.emplace_back();
  }
  g_Slots[i] = WaveSlot{true, false, kind == 3 ? 1 : kind, nullptr};
  return int(i);
}

int Wave_Create(const uint8_t* bytes, int64_t length, int kind) {
  int slot = Wave_NewSlot(kind);
  if (g_Slots[size_t(slot)].kind != 1 && bytes && g_SoundHardware)
    g_Slots[size_t(slot)].sound = g_SoundHardware->Load(bytes, length);
  return slot;
}

int Wave_CreateFromStream(CStream& stream, int kind) {
  int slot = Wave_NewSlot(kind);
  if (g_SoundHardware) g_Slots[size_t(slot)].sound = g_SoundHardware->Load(stream.GetMemory(), stream.GetSize());
  return slot;
}

void Wave_Release(int slot) {
  if (WaveSlot* s = Slot(slot); s && s->in_use) s->released = true;
}

void Wave_Tick() {
  if (!g_SoundHardware) return;
  Reclaim();
  g_SoundHardware->Tick(g_Slots);
}

void Wave_Clear() {
  for (WaveSlot& s : g_Slots) FreeSlot(s);
  g_Slots.clear();
  g_MusicName.clear();
  g_HasMusic = false;
}

int Wave_SlotCount() { return int(g_Slots.size()); }
