#include "Code/Code_Context.h"

CodeEventContext g_CodeEventContext;
uint8_t g_ActionRelative = 0;
int g_PendingTransition = TRANSITION_NONE;
bool g_DebugEvaluatingWatches = false;
