/* Another application for the display tests.
     x_client focus MS   opens a window, takes the keyboard focus from whoever
                         has it, keeps it MS milliseconds, and exits;
     x_client key KEY MS holds the key (an X key name, e.g. "a") down MS
                         milliseconds wherever the focus is, then lets go. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static void Sleep(long ms) {
  struct timespec t = {ms / 1000, (ms % 1000) * 1000000L};
  nanosleep(&t, NULL);
}

static int TakeFocus(Display* display, long ms) {
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
  Sleep(ms);
  XDestroyWindow(display, w);
  return 0;
}

static int HoldKey(Display* display, const char* name, long ms) {
  KeySym sym = XStringToKeysym(name);
  KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
  if (!code) {
    fprintf(stderr, "x_client: no key %s\n", name);
    return 1;
  }
  XTestFakeKeyEvent(display, code, True, CurrentTime);
  XSync(display, False);
  Sleep(ms);
  XTestFakeKeyEvent(display, code, False, CurrentTime);
  XSync(display, False);
  return 0;
}

int main(int argc, char** argv) {
  Display* display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "x_client: no display\n");
    return 1;
  }
  int status = 2;
  if (argc == 3 && strcmp(argv[1], "focus") == 0) status = TakeFocus(display, atol(argv[2]));
  if (argc == 4 && strcmp(argv[1], "key") == 0) status = HoldKey(display, argv[2], atol(argv[3]));
  if (status == 2) fprintf(stderr, "usage: x_client focus MS | x_client key KEY MS\n");
  XCloseDisplay(display);
  return status;
}
