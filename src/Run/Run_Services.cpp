#include "Run/Run_Services.h"

#include <string>

#include "DataFile/DataFile_Package.h"
#include "Run/Run_Resources.h"
#include "Run/Run_Target.h"
#include "Script/Script_Main.h"

#include "Object/Instance_Class.h"
#include "Object/Object_Class.h"
#include "Object/Object_Main.h"
#include "Room/Room_Class.h"
#include "Room/Room_Main.h"
#include "TimeLine/TimeLine_Main.h"

void Run_CollectTargets(int target, CInstance* self, CInstance* other, std::vector<CInstance*>& out) {
  if (target == TARGET_SELF || target == TARGET_OTHER) {
    CInstance* inst = target == TARGET_SELF ? self : other;
    if (inst && !inst->marked) out.push_back(inst);
    return;
  }
  Target_ForEach(target, [&out](CInstance* inst) { out.push_back(inst); });
}

namespace {
std::vector<std::vector<std::string>> g_packageNames;

int FindPackageName(const char* name) {
  for (const auto& kind : g_packageNames)
    for (size_t i = 0; i < kind.size(); i++)
      if (kind[i] == name) return static_cast<int>(i);
  return -1;
}
}  // namespace

void Resource_SetPackageNames(const GamePackage& pkg) {
  g_packageNames.clear();
  auto keep = [](const auto& list) {
    std::vector<std::string> names;
    for (const auto& r : list) names.push_back(r.exists ? r.name : "");
    g_packageNames.push_back(std::move(names));
  };
  keep(pkg.sprites);
  keep(pkg.sounds);
  keep(pkg.backgrounds);
  keep(pkg.paths);
  keep(pkg.fonts);
}

bool Resource_FindByName(const char* name, int* index) {
  if (!name || !*name) return false;
  // Kind by kind; the first kind with a resource of that name answers.
  int (*const finders[])(const char*) = {Object_FindByName, FindPackageName, Script_Find, TimeLine_FindByName,
                                         Room_FindByName};
  for (auto find : finders) {
    int found = find(name);
    if (found >= 0) {
      *index = found;
      return true;
    }
  }
  return false;
}
