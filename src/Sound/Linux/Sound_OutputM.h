// The sound output's OpenAL device, for the area's other Linux halves (the
// MCI music makes its own context on it).
#pragma once
#include <AL/alc.h>

// The open device, or null.
ALCdevice* SoundOutput_Device();
