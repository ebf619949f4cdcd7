// gamepack PROJECT.json OUTPUT: builds a game package from a project.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "DataFile/DataFile_Package.h"
#include "gamepack/Gamepack_Write.h"
#include "gamepack/Gamepack_Project.h"

int main(int argc, char** argv) {
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
  std::vector<uint8_t> bytes = DataFile_WritePackage(build.pkg);
  FILE* f = std::fopen(argv[2], "wb");
  bool ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (f) ok = std::fclose(f) == 0 && ok;
  if (!ok) {
    std::fprintf(stderr, "gamepack: cannot write %s: %s\n", argv[2], std::strerror(errno));
    return 1;
  }
  return 0;
}
