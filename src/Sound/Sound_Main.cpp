#include "Sound/Sound_Main.h"

#include <memory>
#include <string>

#include "Base/Console.h"
#include "Base/RValue.h"
#include "IO/LoadSave_Main.h"
#include "Option/Option_Main.h"
#include "Sound/Audio_Main.h"
#include "Sound/Sound_Class.h"
#include "Sound/Sound_Hardware.h"
#include "Sound/Sound_Wave.h"

namespace {
struct SoundEntry {
  std::unique_ptr<CSound> sound;
  std::unique_ptr<std::string> name;  // none: the sound has no name
};
std::vector<SoundEntry> g_Sounds;

bool InRange(int index) { return index >= 0 && index < int(g_Sounds.size()); }
}  // namespace

void Sound_LoadPackage(const GamePackage& pkg) {
  Sound_Clear();
  if (g_GameOptions.new_audio) {
    Audio_Load(pkg.sounds);
    Audio_WAVs(pkg.audio);
  } else {
    Sound_Init(pkg.sounds);
    Wave_Init(pkg.audio);
  }
}

bool Sound_Init(const std::vector<PackageSound>& sounds) {
  Console_Printf("Sound_Init()\n");
  g_Sounds.clear();
  g_Sounds.resize(sounds.size());
  for (size_t i = 0; i < sounds.size(); i++) {
    if (!sounds[i].exists) continue;
    g_Sounds[i].sound = std::make_unique<CSound>();
    g_Sounds[i].sound->LoadFromChunk(sounds[i]);
    g_Sounds[i].name = std::make_unique<std::string>(sounds[i].name);
  }
  return true;
}

bool Wave_Init(const std::vector<PackageBytes>& audio) {
  Console_Printf("Wave_Init()\n");
  for (SoundEntry& e : g_Sounds) {
    if (!e.sound) continue;
    // The package reader refuses an index beyond the list; a sound without a blob stays silent.
    if (e.sound->blob_index >= 0 && size_t(e.sound->blob_index) < audio.size())
      e.sound->blob = audio[size_t(e.sound->blob_index)];
  }
  return true;
}

void Sound_Clear() { g_Sounds.clear(); }

bool Sound_Exists(int index) { return InRange(index) && g_Sounds[size_t(index)].sound; }

CSound* Sound_Data(int index) { return Sound_Exists(index) ? g_Sounds[size_t(index)].sound.get() : nullptr; }

char* Sound_GetName(int index) {
  if (!Sound_Exists(index)) return String_Duplicate("<undefined>");
  const std::string* name = g_Sounds[size_t(index)].name.get();
  return name ? String_Duplicate(name->c_str()) : nullptr;
}

int Sound_Find(const char* name) {
  if (!name) return -1;
  for (size_t i = 0; i < g_Sounds.size(); i++)
    if (g_Sounds[i].sound && g_Sounds[i].name && *g_Sounds[i].name == name) return int(i);
  return -1;
}

int Sound_Count() { return int(g_Sounds.size()); }

int Sound_Add(const char* file, int kind, bool preload) {
  int index = int(g_Sounds.size());
  g_Sounds.emplace_back();
  g_Sounds.back().name = std::make_unique<std::string>("__newsound" + std::to_string(index));
  g_Sounds.back().sound = std::make_unique<CSound>();
  return g_Sounds.back().sound->LoadFromFile(LoadSave_MakeReadPath(file).c_str(), kind, preload) ? index : -1;
}

bool Sound_Replace(int index, const char* file, int kind, bool preload) {
  if (!InRange(index)) return false;
  g_Sounds[size_t(index)].sound = std::make_unique<CSound>();
  return g_Sounds[size_t(index)].sound->LoadFromFile(LoadSave_MakeReadPath(file).c_str(), kind, preload);
}

bool Sound_Delete(int index) {
  if (!Sound_Exists(index)) return false;
  g_Sounds[size_t(index)] = SoundEntry{};
  return true;
}

void Sound_SetGlobalVolume(double value) {
  if (g_SoundHardware) g_SoundHardware->SetMasterVolume(float(value));
}

void Sound_SetSearchDirectory(const char*) {}
void Sound_SetBackgroundTempo(double) {}
void Sound_SetPan(int, double) {}
void Sound_EffectSet(int, int) {}
void Sound_EffectChorus(int) {}
void Sound_EffectCompressor(int) {}
void Sound_EffectEcho(int) {}
void Sound_EffectFlanger(int) {}
void Sound_EffectGargle(int) {}
void Sound_EffectEqualizer(int) {}
void Sound_EffectReverb(int) {}
void Sound_3DSetPosition(int) {}
void Sound_3DSetVelocity(int) {}
void Sound_3DSetDistance(int) {}
void Sound_3DSetCone(int) {}
