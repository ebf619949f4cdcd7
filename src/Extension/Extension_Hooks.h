// Extension packages: prepared with the game, initialised when it starts,
// finalised when it ends; false when one fails.
#pragma once

bool Extension_Prepare();
bool Extension_Initialize();
bool Extension_Finalize();
