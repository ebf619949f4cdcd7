// Registers every built-in function, in the fixed order of the library.
#pragma once

void InitCWLFunctions();
