#include "Function/Function_File_Hooks.h"

// The file built-ins fill this in.
void FileTables_CloseAll() {}
