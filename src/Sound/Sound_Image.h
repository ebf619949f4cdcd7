// Sound file images (WAV and AU) checked against their length before the
// loader reads them: the loader trusts every length a file states, so each
// chunk is measured against the bytes that are there and the image is
// rebuilt in the loader's plainest layout.
#pragma once
#include <AL/al.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// A WAV or AU image cut to what the file holds: a data chunk that claims more
// bytes than follow keeps those that do, down to whole frames. An image the
// loader could not read safely, or one without a single frame, gives false
// and a freealut error code for the message.
bool SoundImage_Check(const uint8_t* bytes, size_t length, std::vector<uint8_t>& out, ALenum& error);

// An OpenAL buffer from a file image, or 0 with the freealut error code (OpenAL
// errors are left pending for the caller).
ALuint SoundImage_CreateBuffer(const void* bytes, int64_t length, ALenum& error);
