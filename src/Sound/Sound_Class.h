// Sound_*: the classic sound list (CSound, the sound_* built-ins); Audio_*
// is the newer audio system.
// One sound resource of the classic sound system.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "DataFile/DataFile_Package.h"

class CStream;

enum : int {
  SOUND_KIND_NONE = -1,
  SOUND_KIND_NORMAL = 0,
  SOUND_KIND_BACKGROUND = 1,
  SOUND_KIND_3D = 2,
  SOUND_KIND_MULTIMEDIA = 3,
};

class CSound {
 public:
  CSound();
  ~CSound();
  CSound(const CSound&) = delete;
  CSound& operator=(const CSound&) = delete;

  // Back to no sound; a slot it had is released.
  void Reset();
  // From a package entry (its blob comes later, from the AUDO list).
  void LoadFromChunk(const PackageSound& entry);
  // From a file; false when it does not exist. Prepared at once when preloaded.
  bool LoadFromFile(const char* file, int kind, bool preload);
  // Makes its playback slot; a sound that holds one keeps it.
  void Prepare();
  // The playback slot, prepared on first use; -1 when it has no sound to play.
  int GetSlot();
  // Lets the slot go; returns the slot it had.
  int Discard();
  // The name the Wave layer plays it by: the file name, with the folder it
  // was loaded from for a sound added from a file. None for no file name.
  const char* PlayName() const { return m_PlayName.empty() ? nullptr : m_PlayName.c_str(); }

  int kind = SOUND_KIND_NONE;
  std::string extension;   // ".wav", ...
  std::string file_name;   // no folder
  std::unique_ptr<CStream> data;
  bool preload = true;
  int effects = 0;         // kept only
  double volume = 1.0;
  double pan = 0.0;        // kept only
  int slot = -1;
  std::optional<PackageBytes> blob;  // the file image in the package
  int blob_index = 0;

 private:
  std::string m_PlayName;
};
