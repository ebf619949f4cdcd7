// The built-in particle images, drawn by this code: 64 by 64 white images
// whose alpha makes the shape, kept side by side on one texture so that
// particles of every shape share a batch.
#pragma once
#include <cstdint>

#include "Graphics/Graphics_TPage.h"

constexpr int PARTICLE_SHAPE_SIZE = 64;

// The alpha (0..255) of one shape's image at (x, y), rows top to bottom;
// 0 for a shape that does not exist.
uint8_t Particle_ShapeAlpha(int shape, int x, int y);

// Makes the texture of the shapes (again when the device lost it) and
// releases it; the texture belongs to this module alone.
void Particle_CreateTextures();
void Particle_FreeTextures();
// The entry of a shape's image (made on first use); null for a shape that
// does not exist or when no texture can be made.
const TPageEntry* Particle_ShapeEntry(int shape);
