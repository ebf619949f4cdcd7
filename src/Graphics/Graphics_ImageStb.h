// Decoding what the image decoder's plain calls cannot do safely.
#pragma once
#include <vector>

// Every frame of a GIF as RGBA rows, one w*h*4 block a frame, each frame drawn
// over the ones before as the file's disposal methods say. False (and no
// frames) when the data is no GIF or its first frame will not decode.
bool Image_DecodeGifFrames(const unsigned char* bytes, int len, std::vector<unsigned char>& rgba, int* w, int* h,
                           int* count);
