// The extension packages as the game carries them: packages of files, files
// of functions and constants. A file is a native library (kind 1) whose
// exports become script functions, or script code (kind 2).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

constexpr int EXTENSION_KIND_DLL = 1;
constexpr int EXTENSION_KIND_CODE = 2;
constexpr int EXTENSION_MAX_ARGUMENTS = 16;

class CExtensionConstant {
 public:
  std::string name;
  std::string value;  // value text, compiled as the game's constants are
};

class CExtensionFunction {
 public:
  std::string name;           // what scripts call
  std::string external_name;  // what the library exports
  int32_t call_kind = 11;     // 12 cdecl, else stdcall
  int32_t id = 0;             // extension id; 500000 + id in scripts
  int32_t argument_count = -1;
  int32_t argument_kinds[EXTENSION_MAX_ARGUMENTS];  // 1 string, else real
  int32_t return_kind = 2;    // 1 string, else real
  std::string code;           // script code of the body; dropped once compiled

  CExtensionFunction() {
    for (int32_t& k : argument_kinds) k = 2;
  }
  // Kinds past the sixteenth read as real.
  int32_t ArgumentKind(int i) const { return i >= 0 && i < EXTENSION_MAX_ARGUMENTS ? argument_kinds[i] : 2; }
};

class CExtensionFile {
 public:
  std::string file_name;
  int32_t kind = 0;  // EXTENSION_KIND_DLL, EXTENSION_KIND_CODE; other kinds bind nothing
  std::string initialize;
  std::string finalize;
  std::vector<CExtensionFunction> functions;
  std::vector<CExtensionConstant> constants;
};

class CExtensionPackage {
 public:
  // A new package is empty, in a folder "temp" + a number drawn from the
  // game's random generator: every package made shifts the game's random
  // sequence by one draw.
  CExtensionPackage();
  std::string name;
  std::string folder;
  std::vector<CExtensionFile> files;
};

// The package list in chunk order; an entry is null where the package has no
// package at that position or where the package was dropped.
using ExtensionList = std::vector<std::unique_ptr<CExtensionPackage>>;
