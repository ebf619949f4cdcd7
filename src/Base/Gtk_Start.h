// The desktop toolkit (GTK3) behind the runner's boxes and dialogs: started
// once, on first use, and only where a display is there.
#pragma once

// Starts GTK the first time (numbers keep the C locale); true when it runs.
// False without a display (ShowMessage_HasDisplay) or when GTK cannot start.
bool Gtk_Start();
bool Gtk_Running();
// Handles what is pending for GTK without waiting; nothing before the start.
void Gtk_Iterate();

// What runs about every 10 ms while a modal box is open, so that the game's
// window stays responsive: installed by the run loop at start-up; none by
// default. Gtk_PumpModal runs it once.
void Gtk_SetModalPump(void (*pump)());
void Gtk_PumpModal();
