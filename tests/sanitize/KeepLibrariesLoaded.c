/* Linked into the sanitizer builds only: the graphics driver's libraries stay
 * loaded until the process ends. LeakSanitizer looks for leaks at exit; were
 * the driver unloaded by then, the blocks its globals hold would look lost
 * and its code would have no name to suppress it by (lsan.supp). Other
 * libraries, the game's own among them, are unloaded as usual. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <link.h>
#include <stddef.h>
#include <string.h>

static int IsGraphicsDriver(const char* path) {
  static const char* const names[] = {"libGL", "libEGL", "libglapi", "libgallium", "_dri.so", "libLLVM"};
  for (size_t i = 0; i < sizeof names / sizeof names[0]; i++)
    if (strstr(path, names[i])) return 1;
  return 0;
}

int dlclose(void* handle) {
  struct link_map* map = NULL;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name && IsGraphicsDriver(map->l_name))
    return 0;
  int (*next)(void*) = (int (*)(void*))dlsym(RTLD_NEXT, "dlclose");
  return next ? next(handle) : -1;
}
