// The platform services the run loop drives each step and frees at the end.
#pragma once

void Achievements_Process();
void Achievements_Free();
