// The desktop toolkit (GTK3) behind the runner's boxes and dialogs: started
// once, on first use, and only where a display is there.
#pragma once

// Starts GTK the first time (numbers keep the C locale); true when it runs.
// False without a display (ShowMessage_HasDisplay) or when GTK cannot start.
bool Gtk_Start();
bool Gtk_Running();
// Handles what is pending for GTK without waiting; nothing before the start.
void Gtk_Iterate();

// Called about every 10 ms while a modal box is open, so that the game's
// window stays responsive; set by the run loop, null by default.
extern void (*g_GtkModalPump)();
