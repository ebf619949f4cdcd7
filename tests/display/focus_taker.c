/* Another application for the display tests: opens a window, takes the
   keyboard focus from whoever has it, keeps it for a while, and exits.
   Argument: how long to keep it, in milliseconds (default 600). */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char** argv) {
  long ms = argc > 1 ? atol(argv[1]) : 600;
  Display* display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "focus_taker: no display\n");
    return 1;
  }
  Window w = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 64, 64, 0, 0, 0);
  unsigned long pid = (unsigned long)getpid();
  XChangeProperty(display, w, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                  (unsigned char*)&pid, 1);
  XSelectInput(display, w, StructureNotifyMask);
  XMapRaised(display, w);
  XEvent e;
  do XNextEvent(display, &e);
  while (e.type != MapNotify);
  XSetInputFocus(display, w, RevertToParent, CurrentTime);
  XSync(display, False);
  struct timespec keep = {ms / 1000, (ms % 1000) * 1000000L};
  nanosleep(&keep, NULL);
  XDestroyWindow(display, w);
  XCloseDisplay(display);
  return 0;
}
