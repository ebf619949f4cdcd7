#include "Run/Run_Hooks.h"

// The file built-ins fill this in.
void FileTables_CloseAll() {}
