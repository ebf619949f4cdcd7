#include "Code/Code_Hooks.h"

// The script table is filled when the game is prepared.
int Script_Find(const char* name) { return -1; }
