// The runtime's one random generator, shared by the random built-ins and by
// every other part of the runner that draws: state := state * 214013 +
// 2531011 (mod 2^32), each draw yielding bits 16 to 30 of the state.
#pragma once
#include <cstdint>

// Seeds the generator only (the launch seeds it with 2101988); the stored
// seed that random_get_seed reads is left as it is.
void Random_Seed(uint32_t seed);
// Seeds the generator and keeps the seed as the stored seed.
void Random_SetSeed(uint32_t seed);
// The stored seed: 0 until random_set_seed or randomize set it.
uint32_t Random_GetSeed();
// Seeds from the microsecond clock; returns the 64-bit mixed value whose low
// 32 bits became the seed.
int64_t Random_Randomize();

// One draw: 0 to 32767.
uint32_t Random_Draw();
// One draw as a unit value 0 <= u < 1 (draw / 32768, exact in single precision).
float Random_Real();
// The integer part of n * min(draw, 0.9999): 0 to n - 1 for n above 0.
int Random_Int(int n);
