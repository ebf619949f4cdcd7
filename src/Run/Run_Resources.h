// Resource names of every kind, for looking resources up by name.
#pragma once

struct GamePackage;

// Keeps the names of the package's sprites, backgrounds, sounds, paths and
// fonts (the kinds whose tables other areas hold).
void Resource_SetPackageNames(const GamePackage& pkg);
