#include "Option/Option_Main.h"

#include <cstdlib>

#include "Base/IniFile.h"
#include "Support/Support_File.h"

GameOptions g_GameOptions;

bool Option_IniDebug(const std::string& folder) {
  std::string path = folder + "options.ini";
  if (!File_Exists(path.c_str())) return false;
  IniFile ini(path.c_str(), true);
  IniKey* key = ini.GetKey("DEFAULT", "Debug");
  // strtod is defined for any text, where atoi is not for numbers out of range.
  return key && key->value && std::strtod(key->value, nullptr) != 0;
}
