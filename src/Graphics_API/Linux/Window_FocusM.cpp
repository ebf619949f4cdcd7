#include "Graphics_API/Linux/Window_FocusM.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

namespace {
// The process that made the window, from _NET_WM_PID (set on their top-level
// windows by SDL, GTK and most toolkits); 0 when the window does not say.
unsigned long WindowPid(Display* display, Window w) {
  static Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
  Atom type;
  int format;
  unsigned long count = 0, after = 0, pid = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data) ==
          Success &&
      data && format == 32 && count == 1)
    pid = *reinterpret_cast<unsigned long*>(data);
  if (data) XFree(data);
  return pid;
}

// Where the focus is now; false when nobody has it or the window went away
// while it was looked at.
bool FocusIsForeign(Display* display, Window game) {
  Window focus = None;
  int revert = 0;
  XGetInputFocus(display, &focus, &revert);
  // No window (None, PointerRoot) or the desktop itself: nobody took it.
  Window root = DefaultRootWindow(display);
  // The focus may rest on a child of a top-level window (GTK focuses one of
  // its own): walk up to the window that names its process. A top-level
  // window that names none is another application's.
  for (Window w = focus; w != None && w != PointerRoot && w != root;) {
    if (w == game) return false;
    if (unsigned long pid = WindowPid(display, w)) return pid != static_cast<unsigned long>(getpid());
    Window parent = None, top = None, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(display, w, &top, &parent, &children, &n)) return false;
    if (children) XFree(children);
    if (parent == root) return true;
    w = parent;
  }
  return false;
}

int IgnoreError(Display*, XErrorEvent*) { return 0; }
}  // namespace

bool WindowM_FocusIsForeign(SDL_Window* game) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!game || !SDL_GetWindowWMInfo(game, &info)) return true;
  if (info.subsystem != SDL_SYSWM_X11) return true;
  // A window may go away between two questions: its errors are expected, not
  // fatal (Xlib's own handler ends the program).
  Display* display = info.info.x11.display;
  XSync(display, False);
  int (*previous)(Display*, XErrorEvent*) = XSetErrorHandler(IgnoreError);
  bool foreign = FocusIsForeign(display, info.info.x11.window);
  XSync(display, False);
  XSetErrorHandler(previous);
  return foreign;
}
