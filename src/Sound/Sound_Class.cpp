#include "Sound/Sound_Class.h"

#include "Platform/MemoryManager.h"
#include "Sound/Sound_Main.h"
#include "Sound/Sound_Wave.h"
#include "Support/Support_File.h"
#include "Support/Support_Stream.h"

namespace {
std::string TakeText(char* block) {
  std::string s = block ? block : "";
  MemoryManager::Free(block);
  return s;
}

// The folder a file lies in, as an absolute path with its trailing "/".
std::string AbsoluteFolder(const char* file) {
  std::string folder = TakeText(File_ExtractDirectory(File_NativePath(file).c_str()));
  if (!folder.empty() && folder[0] == '/') return folder;
  return TakeText(File_GetCurrentDirectory()) + "/" + folder;
}
}  // namespace

CSound::CSound() { Reset(); }

CSound::~CSound() { Reset(); }

void CSound::Reset() {
  kind = SOUND_KIND_NONE;
  extension.clear();
  file_name.clear();
  m_PlayName.clear();
  volume = 1.0;
  effects = 0;
  pan = 0.0;
  preload = true;
  data.reset();
  if (slot >= 0) Wave_Release(slot);
  slot = -1;
}

void CSound::LoadFromChunk(const PackageSound& entry) {
  Reset();
  kind = entry.kind;
  extension = entry.extension;
  file_name = entry.file_name;
  m_PlayName = file_name;
  effects = int(entry.effects);
  volume = entry.volume;
  pan = entry.pan;
  preload = entry.preload;
  blob_index = int(entry.audio);
}

bool CSound::LoadFromFile(const char* file, int newKind, bool newPreload) {
  Reset();
  if (!file || !File_Exists(file)) return false;
  extension = TakeText(File_ExtractExtension(file));
  file_name = TakeText(File_ExtractFileName(File_NativePath(file).c_str()));
  // Music added from a file plays from where it was found, not from the game's folder.
  m_PlayName = file_name.empty() ? "" : AbsoluteFolder(file) + file_name;
  data = std::make_unique<CStream>();
  if (!data->LoadFromFile(file, 0)) data.reset();
  kind = newKind;
  preload = newPreload;
  if (preload) Prepare();
  return true;
}

void CSound::Prepare() {
  if (slot >= 0) return;  // loaded already: a second slot would hold a second buffer and sources for ever
  if (kind >= 0 && kind != SOUND_KIND_MULTIMEDIA) {
    if (!data && !blob) return;
    slot = blob ? Wave_Create(blob->data(), int64_t(blob->size()), kind) : Wave_CreateFromStream(*data, kind);
  } else if (kind == SOUND_KIND_MULTIMEDIA) {
    slot = Wave_Create(nullptr, 0, kind);
  }
  if (slot >= 0) {
    Sound_EffectSet(slot, effects);
    Wave_SetVolume(slot, volume, 0);
    Sound_SetPan(slot, pan);
  }
}

int CSound::GetSlot() {
  if (slot < 0) Prepare();
  return slot;
}

int CSound::Discard() {
  int had = slot;
  if (slot >= 0) Wave_Release(slot);
  slot = -1;
  return had;
}
