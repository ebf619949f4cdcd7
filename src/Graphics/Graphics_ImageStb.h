// Decoding what the image decoder's plain calls cannot do safely.
#pragma once
#include <cstdint>
#include <vector>

// The largest image read: a side no longer than the largest texture's, and
// no more pixels than that, all frames together. Both the check of a file's
// header before decoding and the decoder itself hold to it: a file of a few
// bytes may announce gigabytes.
constexpr int IMAGE_MAX_SIDE = 8192;
constexpr int64_t IMAGE_MAX_PIXELS = int64_t(IMAGE_MAX_SIDE) * IMAGE_MAX_SIDE;

// Every frame of a GIF as RGBA rows, one w*h*4 block a frame, each frame drawn
// over the ones before as the file's disposal methods say. False (and no
// frames) when the data is no GIF, its first frame will not decode or the
// frames together hold more than max_pixels.
bool Image_DecodeGifFrames(const unsigned char* bytes, int len, std::vector<unsigned char>& rgba, int* w, int* h,
                           int* count, int64_t max_pixels = IMAGE_MAX_PIXELS);
