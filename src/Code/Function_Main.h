// The built-in function table's former name, still included by the
// interpreter's own files (Code_Tree.cpp, Code_Run.cpp, Code_Compile.cpp).
#pragma once
#include "Code/Code_BuiltinTable.h"
