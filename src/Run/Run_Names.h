// The world's constants and built-in variables.
#pragma once

// Add the world's constants (colours, keys, event numbers) and its built-in
// variables, with the platform's that start-up installed.
void Constant_Init_World();
void Variable_Init_World();
// The platform's constants and read-only variables (os_type, browser_width,
// ...), added by the two above.
void Run_SetPlatformConstants(void (*add)());
void Run_SetPlatformVariables(void (*add)());
