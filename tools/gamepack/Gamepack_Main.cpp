// gamepack PROJECT.json OUTPUT: builds a game package from a project.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "DataFile/DataFile_Package.h"
#include "Option/Option_CommandLine.h"
#include "gamepack/Gamepack_Check.h"
#include "gamepack/Gamepack_Project.h"
#include "gamepack/Gamepack_Write.h"

namespace {
const char kUsage[] =
    "usage: gamepack PROJECT.json OUTPUT\n"
    "Packs the project (docs/project-format.md) into the game package OUTPUT,\n"
    "compiling all its code first; any error means no package.\n\n"
    "  --help      print this help and exit\n"
    "  --version   print the version and exit\n";
}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("gamepack %s\n", CommandLine_Version());
      return 0;
    }
  }
  if (argc != 3) {
    std::fprintf(stderr, "usage: gamepack PROJECT.json OUTPUT\n");
    return 2;
  }
  ProjectBuild build;
  std::string error;
  if (!DataFile_BuildProject(argv[1], build, error)) {
    std::fprintf(stderr, "gamepack: %s\n", error.c_str());
    return 1;
  }
  // Every code error is reported at once; any error means no package.
  std::vector<std::string> errors = Gamepack_CheckCode(argv[1], build);
  for (const std::string& e : errors) std::fprintf(stderr, "gamepack: %s\n", e.c_str());
  if (!errors.empty()) {
    std::fprintf(stderr, "gamepack: %zu code error%s: no package written\n", errors.size(), errors.size() == 1 ? "" : "s");
    return 1;
  }
  // Written beside the output first, so that a failed write leaves an older
  // package as it was.
  std::vector<uint8_t> bytes = DataFile_WritePackage(build.pkg);
  std::string part = std::string(argv[2]) + ".part";
  FILE* f = std::fopen(part.c_str(), "wb");
  bool ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (f) ok = std::fclose(f) == 0 && ok;
  if (ok) ok = std::rename(part.c_str(), argv[2]) == 0;
  if (!ok) {
    std::fprintf(stderr, "gamepack: cannot write %s: %s\n", argv[2], std::strerror(errno));
    std::remove(part.c_str());
    return 1;
  }
  return 0;
}
