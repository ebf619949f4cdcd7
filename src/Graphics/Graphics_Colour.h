// Colour arithmetic on script colours (BGR: red in the low byte).
#pragma once
#include <cstdint>

uint32_t Colour_FromHSV(int h, int s, int v);  // bytes
void Colour_ToHSV(uint32_t bgr, int* h, int* s, int* v);
uint32_t Colour_Merge(uint32_t c1, uint32_t c2, float amount);
// Swaps the first and third bytes: BGR to the device's RGB order and back;
// alpha and green stay.
inline uint32_t Colour_SwapRB(uint32_t c) { return (c & 0xFF00FF00u) | ((c & 0xFF) << 16) | ((c >> 16) & 0xFF); }
