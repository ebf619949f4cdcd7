// The run's own temporary folder, made with mkdtemp inside $TMPDIR.
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "Run/Run_Main.h"

namespace {
std::string g_tempDir;
bool g_tempDirOwn = false;
}  // namespace

const char* Run_TempDirectory() {
  if (g_tempDir.empty()) {
    const char* t = std::getenv("TMPDIR");
    g_tempDir = t && t[0] == '/' ? t : "/tmp";
    if (g_tempDir.back() != '/') g_tempDir += '/';
    std::string pattern = g_tempDir + "runner-XXXXXX";
    g_tempDirOwn = mkdtemp(pattern.data()) != nullptr;
    if (g_tempDirOwn) g_tempDir = pattern + "/";
  }
  return g_tempDir.c_str();
}

void Run_RemoveTempDirectory() {
  if (g_tempDirOwn) rmdir(g_tempDir.c_str());  // only when empty
  g_tempDir.clear();
  g_tempDirOwn = false;
}
