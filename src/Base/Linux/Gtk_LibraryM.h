// GTK loaded on demand. The program is linked with a small entry of its own
// for every function of Gtk_Functions.h, which jumps through a pointer filled
// here; so the toolkit and its dozens of libraries cost nothing to a game that
// never opens a box. Where those entries are not built (other processors than
// x86-64) the program links GTK itself and loading it again is harmless.
#pragma once

// Loads GTK and points every entry at its function; false (said once on the
// console) when the library or one of its functions is missing. Only the
// first call loads.
bool Gtk_LoadLibrary();
