// Ready-made effects: twelve kinds in three sizes, made of particles in two
// systems of their own, one drawn below the instances and one above, both
// updated every step. Their types and systems are not in the tables the
// scripts reach.
#pragma once
#include <cstdint>

enum {
  EF_EXPLOSION = 0, EF_RING, EF_ELLIPSE, EF_FIREWORK, EF_SMOKE, EF_SMOKEUP, EF_STAR, EF_SPARK, EF_FLARE,
  EF_CLOUD, EF_RAIN, EF_SNOW,
  EF_KIND_COUNT
};

// Makes an effect of the kind at (x, y) in the given colour; size 0 small,
// 1 medium, 2 large (beyond them the nearest). Rain and snow fall over the
// whole area and ignore the position. Nothing for an unknown kind.
void Effect_Create(bool below, int kind, double x, float y, int size, uint32_t colour);
// Removes every effect's particles.
void Effect_Clear();
void Effect_Update();
void Effect_Draw(bool below);
void Effect_FreeAll();
// What gives the area rain and snow cover (the room), installed at start-up;
// unset, the window.
void Effect_SetAreaSize(void (*areaSize)(float* width, float* height));
