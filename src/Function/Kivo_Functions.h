// The platform-service built-ins: achievements, virtual keys, web addresses,
// Base64 and digests, analytics, device and system queries, and the phone
// services that this platform answers with fixed values.
#pragma once
#include "Code/Code_BuiltinTable.h"

// Registers the built-ins; reads the achievement cache and starts the
// platform's services first.
void Kivo_Functions_Init();
// The platform constants and read-only variables (os_type, browser_width, ...).
void Kivo_Functions_InitConstants();
void Kivo_Functions_InitVariables();

// ---- shared by the Kivo_Functions files ----

// Registers a handler under its plain name and, when given, its "Kivo_" alias.
void Kivo_Add(const char* name, const char* kivoName, TRoutine routine, int argc);
// Report "Illegal argument count" / "Illegal argument type" (non-fatal) and
// give true when the call is to do nothing more.
bool Kivo_BadCount(int argc, int expected);
bool Kivo_BadType(bool ok);

void Kivo_Digest_Init();
void Kivo_Device_Init();
void Kivo_Services_Init();
