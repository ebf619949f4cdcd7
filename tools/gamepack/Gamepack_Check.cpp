#include "gamepack/Gamepack_Check.h"

#include "Code/Code_Constant.h"
#include "Code/Code_Main.h"
#include "Extension/Extension_Main.h"
#include "Function/Function_Init.h"
#include "Option/Option_CommandLine.h"
#include "Run/Run_Names.h"
#include "Run/Run_Prepare.h"
#include "StartUp/StartUp_Main.h"
#include "Script/Script_Main.h"

namespace {

// The names code can use, as the runner has them when it compiles: the
// built-ins (registered once a process), the resources, the scripts and the
// extension functions of this package.
void KnowNames(const GamePackage& pkg) {
  static bool registered = false;
  if (!registered) {
    StartUp_InstallHooks();
    Code_Init();
    Constant_Init_World();
    Variable_Init_World();
    Package_Version = pkg.general.version;
    InitCWLFunctions();
    registered = true;
  }
  Run_LoadWorld(pkg);
  Extension_LoadFromChunk(pkg);
  Script_Clear();
  for (const PackageScript& s : pkg.scripts) Script_Add(s.exists ? s.name.c_str() : "", s.code.c_str());
}

// The compiler's message without the unit's name it starts with:
// "Script.x (line 3): unexpected symbol" gives "line 3: unexpected symbol".
std::string Message(const std::string& text) {
  size_t at = text.find("(line ");
  size_t close = at == std::string::npos ? at : text.find("): ", at);
  if (close == std::string::npos) return text;
  return text.substr(at + 1, close - at - 1) + ": " + text.substr(close + 3);
}

void CheckConstants(const std::string& project, const std::string& where,
                    const std::vector<std::pair<std::string, std::string>>& constants, std::vector<std::string>& out) {
  for (const auto& [name, value] : constants)
    if (!Constant_Define(name.c_str(), value.c_str()))
      out.push_back(project + ": " + where + " \"" + name + "\": " + Message(Code_ErrorText));
}

}  // namespace

std::vector<std::string> Gamepack_CheckCode(const std::string& projectPath, const ProjectBuild& build) {
  std::vector<std::string> errors;
  const GamePackage& pkg = build.pkg;
  KnowNames(pkg);
  // Constants first, as the runner defines them before it compiles code:
  // the extensions' own, then the game's.
  for (size_t p = 0; p < pkg.extensions.size(); p++)
    for (size_t f = 0; f < pkg.extensions[p].files.size(); f++)
      CheckConstants(projectPath,
                     "extension \"" + pkg.extensions[p].name + "\": file " + std::to_string(f) + ": constant",
                     pkg.extensions[p].files[f].constants, errors);
  CheckConstants(projectPath, "constant", pkg.options.constants, errors);
  for (const ProjectCode& code : build.code) {
    CCode unit(code.text.c_str(), false);
    if (unit.Compile("Check")) continue;
    std::string place = projectPath + ": " + code.where + ": ";
    if (!code.file.empty()) place += code.file + " ";
    errors.push_back(place + Message(Code_ErrorText));
  }
  // The names were needed only for compiling.
  Script_Clear();
  Run_FreeWorld();
  return errors;
}
