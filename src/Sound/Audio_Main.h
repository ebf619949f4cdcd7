// The newer audio system, which takes the package's sounds while the game's
// new-audio option is on.
#pragma once
#include <vector>

#include "DataFile/DataFile_Package.h"

class SoundHardware;

// The package readers: the sound entries, then their file images.
bool Audio_Load(const std::vector<PackageSound>& sounds);
bool Audio_WAVs(const std::vector<PackageBytes>& audio);
// Start of the game, with the sound output it plays music through.
void Audio_Init(SoundHardware* output);
// Every frame.
void Audio_UpdateEmitters();
