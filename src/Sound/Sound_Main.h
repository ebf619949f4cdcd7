// Sound_*: the classic sound list (CSound, the sound_* built-ins); Audio_*
// is the newer audio system.
// The classic sound system's resource list: sounds by index, each with a
// name; an index may hold no sound (an empty package entry or a deleted
// sound) and is then never reused.
#pragma once
#include <vector>

#include "DataFile/DataFile_Package.h"

class CSound;

// Reads the package's sounds into the classic list, or, with the new-audio
// option on, into the audio system (and the list stays empty).
void Sound_LoadPackage(const GamePackage& pkg);

// The package readers: the sound entries, then their file images.
bool Sound_Init(const std::vector<PackageSound>& sounds);
bool Wave_Init(const std::vector<PackageBytes>& audio);

// Deletes every sound and name.
void Sound_Clear();
bool Sound_Exists(int index);
// The sound at an index, or none.
CSound* Sound_Data(int index);
// A new memory-manager copy of the name: none for a sound without a name,
// "<undefined>" for an index without a sound.
char* Sound_GetName(int index);
// The first index whose sound has exactly this name, else -1.
int Sound_Find(const char* name);
int Sound_Count();
// A new sound from a file at the next index ("__newsound%d"); -1 when the
// file cannot be loaded (the index is taken all the same). The file is
// where LoadSave_MakeReadPath finds the name: the save folder, else the
// game's folder.
int Sound_Add(const char* file, int kind, bool preload);
// A new sound from a file in place of one; the name stays.
bool Sound_Replace(int index, const char* file, int kind, bool preload);
bool Sound_Delete(int index);

// The master volume of the sound output, a linear factor.
void Sound_SetGlobalVolume(double value);

// Settings the classic system takes and does nothing with.
void Sound_SetSearchDirectory(const char* folder);
void Sound_SetBackgroundTempo(double factor);
void Sound_SetPan(int slot, double pan);
void Sound_EffectSet(int slot, int effects);
void Sound_EffectChorus(int slot);
void Sound_EffectCompressor(int slot);
void Sound_EffectEcho(int slot);
void Sound_EffectFlanger(int slot);
void Sound_EffectGargle(int slot);
void Sound_EffectEqualizer(int slot);
void Sound_EffectReverb(int slot);
void Sound_3DSetPosition(int slot);
void Sound_3DSetVelocity(int slot);
void Sound_3DSetDistance(int slot);
void Sound_3DSetCone(int slot);
