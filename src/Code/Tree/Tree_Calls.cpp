#include "Code/Tree/Tree_Calls.h"

namespace tree {
RValue g_keptArguments[kKeptArgumentDepth][MAX_ARGUMENTS];
int g_argumentDepth = 0;
}  // namespace tree
