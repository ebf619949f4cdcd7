// Sound file images (WAV and AU) checked against their length before the
// loader reads them: the loader trusts every length a file states, so each
// chunk is measured against the bytes that are there and the image is
// rebuilt in the loader's plainest layout.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// A WAV or AU image cut to what the file holds: a data chunk that claims more
// bytes than follow keeps those that do, down to whole frames. An image the
// loader could not read safely, or one without a single frame, gives false
// and the loader's error code for the message (SoundLoadError).
bool SoundImage_Check(const uint8_t* bytes, size_t length, std::vector<uint8_t>& out, int& error);
