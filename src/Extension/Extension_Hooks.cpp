#include "Extension/Extension_Hooks.h"

// The extension packages fill these in.
bool Extension_Prepare() { return true; }
bool Extension_Initialize() { return true; }
bool Extension_Finalize() { return true; }
