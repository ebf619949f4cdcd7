// The particle engine as the run loop sees it.
#pragma once

// After the end step: one update of every system with automatic update, and
// of the effects.
void Particle_Step();
// Frees every type, system and effect (shutdown).
void Particle_FreeAll();
