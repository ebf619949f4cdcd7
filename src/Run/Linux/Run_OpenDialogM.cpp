#include <gtk/gtk.h>

#include "Base/Gtk_Start.h"
#include "Run/Run_OpenDialog.h"

std::string Run_AskGameFile() {
  if (!Gtk_Start()) return "";
  GtkWidget* dialog = gtk_file_chooser_dialog_new("Open game", nullptr, GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel",
                                                  GTK_RESPONSE_CANCEL, "_Open", GTK_RESPONSE_ACCEPT, nullptr);
  GtkFileFilter* filter = gtk_file_filter_new();
  gtk_file_filter_set_name(filter, "Game packages");
  gtk_file_filter_add_pattern(filter, "*.win");
  gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(dialog), filter);
  std::string chosen;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
    char* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog));
    if (name) chosen = name;
    g_free(name);
  }
  gtk_widget_destroy(dialog);
  Gtk_Iterate();
  return chosen;
}
