#include <gtk/gtk.h>

#include "Base/Gtk_Start.h"
#include "Base/Linux/Gtk_LibraryM.h"
#include "Base/ShowMessage.h"

namespace {
void (*g_ModalPump)() = nullptr;
enum { NOT_TRIED, RUNNING, FAILED } g_state = NOT_TRIED;
}

void Gtk_SetModalPump(void (*pump)()) { g_ModalPump = pump; }

void Gtk_PumpModal() {
  if (g_ModalPump) g_ModalPump();
}

bool Gtk_Start() {
  if (g_state == NOT_TRIED) {
    g_state = FAILED;
    if (ShowMessage_HasDisplay() && Gtk_LoadLibrary()) {
      gtk_disable_setlocale();  // number formatting and parsing stay in the C locale
      if (gtk_init_check(nullptr, nullptr)) g_state = RUNNING;
    }
  }
  return g_state == RUNNING;
}

bool Gtk_Running() { return g_state == RUNNING; }

void Gtk_Iterate() {
  if (g_state != RUNNING) return;
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}
