#include "Option/Option_Main.h"

GameOptions g_GameOptions;
