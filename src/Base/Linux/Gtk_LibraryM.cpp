#include "Base/Linux/Gtk_LibraryM.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

#include "Base/Console.h"

extern "C" {
// Where an entry leads before GTK is loaded: every use of GTK comes after
// Gtk_Start, so reaching here is a fault of the runner itself.
[[noreturn]] void Gtk_NotLoaded() {
  std::fputs("GTK was called before Gtk_Start loaded it\n", stderr);
  std::abort();
}

// The pointers the entries of Gtk_LibraryM.S jump through.
#define GTK_FUNCTION(name) \
  __attribute__((visibility("hidden"))) void* Gtk_Pointer_##name = reinterpret_cast<void*>(&Gtk_NotLoaded);
#include "Base/Linux/Gtk_Functions.h"
#undef GTK_FUNCTION
}

namespace {
const char kLibrary[] = "libgtk-3.so.0";

struct Entry {
  const char* name;
  void** pointer;
};

const Entry kEntries[] = {
#define GTK_FUNCTION(name) {#name, &Gtk_Pointer_##name},
#include "Base/Linux/Gtk_Functions.h"
#undef GTK_FUNCTION
};

bool Load() {
  // Global, as a library the program was linked with would be; never closed.
  void* library = dlopen(kLibrary, RTLD_NOW | RTLD_GLOBAL);
  if (!library) {
    Console_Printf("GTK: %s\n", dlerror());
    return false;
  }
  // The symbols of GDK, GObject and GLib are found among GTK's own libraries.
  for (const Entry& e : kEntries) {
    void* f = dlsym(library, e.name);
    if (!f) {
      Console_Printf("GTK: %s lacks %s\n", kLibrary, e.name);
      return false;
    }
    *e.pointer = f;
  }
  return true;
}
}  // namespace

bool Gtk_LoadLibrary() {
  static const bool s_Loaded = Load();
  return s_Loaded;
}
