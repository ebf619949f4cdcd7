#include "Extension/Extension_Class.h"

#include "Base/Random_Main.h"

CExtensionPackage::CExtensionPackage() : folder("temp" + std::to_string(Random_Int(999))) {}
