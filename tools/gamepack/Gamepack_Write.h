// The package writer: the records of a package as a package file image.
#pragma once
#include <cstdint>
#include <vector>

#include "DataFile/DataFile_Package.h"

// Writes the records of `pkg` (the buffer is not used) as a package file image.
std::vector<uint8_t> DataFile_WritePackage(const GamePackage& pkg);
