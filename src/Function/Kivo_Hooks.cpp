#include "Function/Kivo_Hooks.h"

// The platform services fill these in.
void Achievements_Process() {}
void Achievements_Free() {}
