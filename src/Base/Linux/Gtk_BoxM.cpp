#include "Base/Linux/Gtk_BoxM.h"

#include <SDL.h>
#include <gdk/gdkkeysyms.h>

#include "Base/Dialog_Answers.h"
#include "Base/Gtk_Start.h"

void Gtk_ModalLoop(const std::function<bool()>& done) {
  while (!done()) {
    Gtk_Iterate();
    Gtk_PumpModal();
    if (!done()) SDL_Delay(10);
  }
}

void Gtk_SendKey(GtkWidget* target, guint keyval, bool ctrl) {
  GdkWindow* gdkWindow = target ? gtk_widget_get_window(target) : nullptr;
  if (!gdkWindow) return;
  GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
  event->key.window = GDK_WINDOW(g_object_ref(gdkWindow));
  event->key.send_event = TRUE;
  event->key.time = GDK_CURRENT_TIME;
  event->key.keyval = keyval;
  event->key.state = ctrl ? GDK_CONTROL_MASK : 0;
  gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_window_get_display(gdkWindow))));
  gtk_widget_event(target, event);
  gdk_event_free(event);
}

CGtkBox::CGtkBox(const char* title, bool topmost, int closeResult)
    : m_closeResult(closeResult), m_escapeResult(closeResult) {
  m_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(m_window), title ? title : "");
  gtk_window_set_position(GTK_WINDOW(m_window), GTK_WIN_POS_CENTER);
  gtk_window_set_resizable(GTK_WINDOW(m_window), FALSE);
  gtk_window_set_keep_above(GTK_WINDOW(m_window), topmost);
  gtk_window_set_deletable(GTK_WINDOW(m_window), closeResult != NO_RESULT);
  gtk_container_set_border_width(GTK_CONTAINER(m_window), 12);
  m_column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
  gtk_container_add(GTK_CONTAINER(m_window), m_column);
  m_buttons = gtk_button_box_new(GTK_ORIENTATION_HORIZONTAL);
  gtk_button_box_set_layout(GTK_BUTTON_BOX(m_buttons), GTK_BUTTONBOX_EDGE);
  gtk_box_set_spacing(GTK_BOX(m_buttons), 8);
  gtk_box_pack_end(GTK_BOX(m_column), m_buttons, FALSE, FALSE, 0);
  g_signal_connect(m_window, "key-press-event", G_CALLBACK(OnKey), this);
  g_signal_connect(m_window, "delete-event", G_CALLBACK(OnDelete), this);
}

CGtkBox::~CGtkBox() {
  if (m_timer) g_source_remove(m_timer);
  gtk_widget_destroy(m_window);
  Gtk_Iterate();  // lets the window go from the screen now
}

void CGtkBox::Add(GtkWidget* widget, bool expand) { gtk_box_pack_start(GTK_BOX(m_column), widget, expand, expand, 0); }

GtkWidget* CGtkBox::AddLabel(const char* text, bool centred) {
  GtkWidget* label = gtk_label_new(text);
  gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
  gtk_label_set_max_width_chars(GTK_LABEL(label), 60);
  gtk_label_set_justify(GTK_LABEL(label), centred ? GTK_JUSTIFY_CENTER : GTK_JUSTIFY_LEFT);
  gtk_widget_set_halign(label, centred ? GTK_ALIGN_CENTER : GTK_ALIGN_START);
  Add(label);
  return label;
}

GtkWidget* CGtkBox::AddEntry(const char* text, bool password, int maxChars) {
  GtkWidget* entry = gtk_entry_new();
  if (maxChars > 0) gtk_entry_set_max_length(GTK_ENTRY(entry), maxChars);
  gtk_entry_set_text(GTK_ENTRY(entry), text ? text : "");
  gtk_entry_set_visibility(GTK_ENTRY(entry), !password);
  gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
  gtk_entry_set_width_chars(GTK_ENTRY(entry), 40);
  Add(entry);
  m_entries.push_back(entry);
  return entry;
}

void CGtkBox::AddButton(const char* label, int result, bool isDefault) {
  GtkWidget* button = gtk_button_new_with_label(label);
  g_object_set_data(G_OBJECT(button), "box-result", GINT_TO_POINTER(result));
  g_signal_connect(button, "clicked", G_CALLBACK(OnClicked), this);
  gtk_container_add(GTK_CONTAINER(m_buttons), button);
  if (isDefault) {
    gtk_widget_set_can_default(button, TRUE);
    gtk_window_set_default(GTK_WINDOW(m_window), button);
  }
}

std::string CGtkBox::EntryText(GtkWidget* entry) {
  const char* text = gtk_entry_get_text(GTK_ENTRY(entry));
  return text ? text : "";
}

void CGtkBox::Press(int result) {
  if (Ended()) return;
  if (onButton && !onButton(result)) return;
  m_result = result;
  gtk_widget_hide(m_window);
  if (onEnd) onEnd(result);
}

gboolean CGtkBox::OnKey(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto* box = static_cast<CGtkBox*>(self);
  if (event->keyval != GDK_KEY_Escape) return FALSE;
  if (box->m_escapeResult != NO_RESULT) box->Press(box->m_escapeResult);
  return TRUE;  // a box without a way out ignores Escape
}

gboolean CGtkBox::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
  auto* box = static_cast<CGtkBox*>(self);
  if (box->m_closeResult != NO_RESULT) box->Press(box->m_closeResult);
  return TRUE;  // the box's owner destroys it
}

void CGtkBox::OnClicked(GtkWidget* button, gpointer self) {
  static_cast<CGtkBox*>(self)->Press(GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), "box-result")));
}

// Types the next queued answer's texts into the entries and presses its
// button. The box lives until its owner deletes it, also after it ended.
gboolean CGtkBox::OnAnswerTimer(gpointer self) {
  auto* box = static_cast<CGtkBox*>(self);
  DialogAnswer a;
  if (box->Ended() || !DialogAnswers_Next(&a)) {
    box->m_timer = 0;
    return G_SOURCE_REMOVE;
  }
  if (a.hasText && !box->m_entries.empty()) gtk_entry_set_text(GTK_ENTRY(box->m_entries[0]), a.text.c_str());
  if (a.hasText2 && box->m_entries.size() > 1) gtk_entry_set_text(GTK_ENTRY(box->m_entries[1]), a.text2.c_str());
  if (a.button == "Close") {
    gtk_window_close(GTK_WINDOW(box->m_window));
  } else if (a.button == "Escape") {
    Gtk_SendKey(box->m_window, GDK_KEY_Escape, false);
  } else {
    GList* children = gtk_container_get_children(GTK_CONTAINER(box->m_buttons));
    for (GList* c = children; c; c = c->next)
      if (a.button == gtk_button_get_label(GTK_BUTTON(c->data))) {
        gtk_button_clicked(GTK_BUTTON(c->data));
        break;
      }
    g_list_free(children);
  }
  if (!box->Ended()) return G_SOURCE_CONTINUE;
  box->m_timer = 0;
  return G_SOURCE_REMOVE;
}

int CGtkBox::RunModal() {
  gtk_window_set_modal(GTK_WINDOW(m_window), TRUE);
  gtk_widget_show_all(m_window);
  gtk_window_present(GTK_WINDOW(m_window));
  if (DialogAnswers_Pending()) m_timer = g_timeout_add(GTK_ANSWER_INTERVAL_MS, OnAnswerTimer, this);
  Gtk_ModalLoop([this] { return Ended(); });
  return m_result;
}

void CGtkBox::ShowModeless() {
  gtk_widget_show_all(m_window);
  gtk_window_present(GTK_WINDOW(m_window));
  if (DialogAnswers_Pending()) m_timer = g_timeout_add(GTK_ANSWER_INTERVAL_MS, OnAnswerTimer, this);
}
