// The package builder's front end: turns a project (a JSON file and the
// image, sound, code and data files it names, relative to it) into package
// records. The keys are described in docs/project-format.md.
#pragma once
#include <string>
#include <vector>

#include "DataFile/DataFile_Package.h"

// A piece of code as the project gives it, for messages about it: its place
// in the project and the file it was read from ("" when written inline).
struct ProjectCode {
  std::string where;
  std::string file;
  std::string text;
};

struct ProjectBuild {
  GamePackage pkg;
  // Every code text of scripts, events, rooms, instances, time lines and
  // extensions, in the order read.
  std::vector<ProjectCode> code;
  // The bytes the package's spans point to (texture pages, sounds, included
  // files); kept as long as the package is used.
  std::vector<std::vector<uint8_t>> storage;
};

// Builds the package records of a project. On failure returns false with a
// message naming the file, the place in it and what was expected.
bool DataFile_BuildProject(const std::string& projectPath, ProjectBuild& out, std::string& error);
