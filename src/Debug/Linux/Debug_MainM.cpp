#include "Debug/Debug_MainM.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <map>

#include "Base/Gtk_Start.h"
#include "Base/Linux/Gtk_BoxM.h"
#include "Debug/Debug_Main.h"

namespace {
struct ListView {
  GtkWidget* view = nullptr;
  GtkListStore* store = nullptr;
  int columns = 0;
};

struct ChildView {
  GtkWidget* window = nullptr;
  ListView list;
};

struct FormView {
  GtkWidget* window = nullptr;
  GtkWidget* labels[DEBUG_LABEL_COUNT] = {};
  GtkWidget* fpsCheck = nullptr;
  ListView watches;
  std::map<int, GtkWidget*> buttons;    // toolbar buttons by command
  std::map<int, GtkWidget*> menuItems;  // menu items by command
  ChildView children[DEBUG_CHILD_COUNT];
};

FormView* g_view = nullptr;
// Set while the data is written into the widgets: their signals then come
// from the data itself and are not acted on.
int g_syncing = 0;

struct SyncScope {
  SyncScope() { ++g_syncing; }
  ~SyncScope() { --g_syncing; }
};

// Window sizes: the dialog templates' sizes in pixels at the usual font.
constexpr int FORM_W = 580, FORM_H = 560;

ListView& ListOf(int window) { return window < 0 ? g_view->watches : g_view->children[window].list; }

int WindowOfList(GtkWidget* view) {
  if (view == g_view->watches.view) return -1;
  for (int i = 0; i < DEBUG_CHILD_COUNT; ++i)
    if (g_view->children[i].list.view == view) return i;
  return -2;
}

void OnCommand(GtkWidget*, gpointer id) {
  if (!g_syncing && g_DebugForm) Debug_Command(g_DebugForm, GPOINTER_TO_INT(id));
}

void OnFpsToggled(GtkToggleButton* check, gpointer) {
  if (!g_syncing && g_DebugForm) Debug_Command(g_DebugForm, DEBUG_ID_DISPLAY_FPS, gtk_toggle_button_get_active(check));
}

gboolean OnFormDelete(GtkWidget*, GdkEvent*, gpointer) {
  Debug_Close();
  return TRUE;
}

gboolean OnChildDelete(GtkWidget*, GdkEvent*, gpointer index) {
  if (g_DebugForm) DebugChildWindow_Hide(g_DebugForm, GPOINTER_TO_INT(index));
  return TRUE;
}

void OnSelectionChanged(GtkTreeSelection* selection, gpointer) {
  DebugForm* f = g_DebugForm;
  if (g_syncing || !f) return;
  int window = WindowOfList(GTK_WIDGET(gtk_tree_selection_get_tree_view(selection)));
  if (window == -2) return;
  GList* paths = gtk_tree_selection_get_selected_rows(selection, nullptr);
  if (window >= 0 && f->children[window].multiSelect) {
    DebugChildWindow& w = f->children[window];
    w.selected.assign(w.rows.size(), false);
    for (GList* p = paths; p; p = p->next) {
      int row = gtk_tree_path_get_indices(static_cast<GtkTreePath*>(p->data))[0];
      Debug_Select(f, window, row, true);
    }
  } else if (paths) {
    Debug_Select(f, window, gtk_tree_path_get_indices(static_cast<GtkTreePath*>(paths->data))[0]);
  }
  g_list_free_full(paths, reinterpret_cast<GDestroyNotify>(gtk_tree_path_free));
}

void OnRowActivated(GtkTreeView* view, GtkTreePath* path, GtkTreeViewColumn*, gpointer) {
  int window = WindowOfList(GTK_WIDGET(view));
  if (g_DebugForm && window >= 0) Debug_Activate(g_DebugForm, window, gtk_tree_path_get_indices(path)[0]);
}

gboolean OnScroll(GtkWidget* view, GdkEventScroll* event, gpointer) {
  int window = WindowOfList(view);
  if (!g_DebugForm || window == -2) return FALSE;
  // The wheel's notch up is a positive delta.
  int delta = event->direction == GDK_SCROLL_UP ? 1 : event->direction == GDK_SCROLL_DOWN ? -1 : 0;
  if (event->direction == GDK_SCROLL_SMOOTH) delta = event->delta_y < 0 ? 1 : event->delta_y > 0 ? -1 : 0;
  Debug_Wheel(g_DebugForm, window, delta);
  DebugM_Sync(g_DebugForm);
  return TRUE;
}

// Keys as the form's data takes them (Windows key numbers).
int KeyNumber(guint keyval) {
  switch (keyval) {
    case GDK_KEY_Escape: return DEBUG_KEY_ESCAPE;
    case GDK_KEY_Delete: return DEBUG_KEY_DELETE;
    case GDK_KEY_c: case GDK_KEY_C: return DEBUG_KEY_C;
  }
  return 0;
}

gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer window) {
  DebugForm* f = g_DebugForm;
  if (!f || !Debug_Key(f, GPOINTER_TO_INT(window), KeyNumber(event->keyval), event->state & GDK_CONTROL_MASK)) return FALSE;
  if (g_DebugForm) DebugM_Sync(g_DebugForm);
  return TRUE;
}

ListView MakeList(int columns, const char* const* headers, bool multiple) {
  ListView l;
  l.columns = columns;
  GType types[3] = {G_TYPE_STRING, G_TYPE_STRING, G_TYPE_STRING};
  l.store = gtk_list_store_newv(columns, types);
  l.view = gtk_tree_view_new_with_model(GTK_TREE_MODEL(l.store));
  g_object_unref(l.store);  // the view holds it
  for (int c = 0; c < columns; ++c) {
    GtkTreeViewColumn* col = gtk_tree_view_column_new_with_attributes(headers ? headers[c] : "", gtk_cell_renderer_text_new(),
                                                                      "text", c, nullptr);
    gtk_tree_view_column_set_resizable(col, TRUE);
    gtk_tree_view_column_set_expand(col, TRUE);
    gtk_tree_view_append_column(GTK_TREE_VIEW(l.view), col);
  }
  gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(l.view), headers != nullptr);
  GtkTreeSelection* sel = gtk_tree_view_get_selection(GTK_TREE_VIEW(l.view));
  gtk_tree_selection_set_mode(sel, multiple ? GTK_SELECTION_MULTIPLE : GTK_SELECTION_SINGLE);
  g_signal_connect(sel, "changed", G_CALLBACK(OnSelectionChanged), nullptr);
  g_signal_connect(l.view, "row-activated", G_CALLBACK(OnRowActivated), nullptr);
  gtk_widget_add_events(l.view, GDK_SCROLL_MASK);
  g_signal_connect(l.view, "scroll-event", G_CALLBACK(OnScroll), nullptr);
  return l;
}

GtkWidget* Scrolled(GtkWidget* child) {
  GtkWidget* s = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(s), GTK_POLICY_AUTOMATIC, GTK_POLICY_ALWAYS);
  gtk_container_add(GTK_CONTAINER(s), child);
  return s;
}

void MakeChild(int index, const DebugChildWindow& record) {
  static const char* const instanceHeaders[] = {"ID", "Object Name", "Sprite Name"};
  ChildView& c = g_view->children[index];
  c.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(c.window), record.caption.c_str());
  gtk_window_set_default_size(GTK_WINDOW(c.window), 520, index == DEBUG_MESSAGES ? 260 : 220);
  gtk_window_set_transient_for(GTK_WINDOW(c.window), GTK_WINDOW(g_view->window));
  c.list = MakeList(record.listCount, index == DEBUG_INSTANCES ? instanceHeaders : nullptr, record.multiSelect);
  gtk_container_add(GTK_CONTAINER(c.window), Scrolled(c.list.view));
  g_signal_connect(c.window, "delete-event", G_CALLBACK(OnChildDelete), GINT_TO_POINTER(index));
  g_signal_connect(c.window, "key-press-event", G_CALLBACK(OnKey), GINT_TO_POINTER(index));
}

GtkWidget* MakeToolbar() {
  static const struct {
    const char* icon;
    const char* label;
    int id;
  } kButtons[] = {{"media-playback-start", "Run", DEBUG_CMD_RUN},
                  {"media-playback-pause", "Pause", DEBUG_CMD_PAUSE},
                  {"media-skip-forward", "Step", DEBUG_CMD_STEP},
                  {"view-refresh", "Restart", DEBUG_CMD_RESTART},
                  {"media-playback-stop", "Stop", DEBUG_CMD_STOP},
                  {"list-add", "Add Watch", DEBUG_CMD_ADD_WATCH},
                  {"document-edit", "Change Watch", DEBUG_CMD_CHANGE_WATCH},
                  {"list-remove", "Delete Watch", DEBUG_CMD_DELETE_WATCH},
                  {"edit-clear", "Clear Watches", DEBUG_CMD_CLEAR_WATCHES}};
  GtkWidget* bar = gtk_toolbar_new();
  gtk_toolbar_set_style(GTK_TOOLBAR(bar), GTK_TOOLBAR_ICONS);
  for (const auto& b : kButtons) {
    GtkToolItem* item = gtk_tool_button_new(gtk_image_new_from_icon_name(b.icon, GTK_ICON_SIZE_SMALL_TOOLBAR), b.label);
    gtk_widget_set_tooltip_text(GTK_WIDGET(item), b.label);
    g_signal_connect(item, "clicked", G_CALLBACK(OnCommand), GINT_TO_POINTER(b.id));
    gtk_toolbar_insert(GTK_TOOLBAR(bar), item, -1);
    g_view->buttons[b.id] = GTK_WIDGET(item);
  }
  return bar;
}

GtkWidget* MakeMenu() {
  static const struct {
    const char* label;
    int id;
  } kItems[] = {{"_Globals", DEBUG_CMD_SHOW_GLOBALS},
                {"_Locals...", DEBUG_CMD_SHOW_LOCALS},
                {"_Instances", DEBUG_CMD_SHOW_INSTANCES},
                {"_Messages", DEBUG_CMD_SHOW_MESSAGES}};
  GtkWidget* bar = gtk_menu_bar_new();
  GtkWidget* top = gtk_menu_item_new_with_mnemonic("_Windows");
  GtkWidget* menu = gtk_menu_new();
  for (const auto& i : kItems) {
    GtkWidget* item = gtk_menu_item_new_with_mnemonic(i.label);
    g_signal_connect(item, "activate", G_CALLBACK(OnCommand), GINT_TO_POINTER(i.id));
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    g_view->menuItems[i.id] = item;
  }
  gtk_menu_item_set_submenu(GTK_MENU_ITEM(top), menu);
  gtk_menu_shell_append(GTK_MENU_SHELL(bar), top);
  return bar;
}

GtkWidget* MakeCounters(const DebugForm* form) {
  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_column_spacing(GTK_GRID(grid), 24);
  gtk_widget_set_margin_start(grid, 8);
  for (int i = 0; i < DEBUG_LABEL_COUNT; ++i) {
    g_view->labels[i] = gtk_label_new(form->labels[i].c_str());
    gtk_label_set_xalign(GTK_LABEL(g_view->labels[i]), 0);
    gtk_grid_attach(GTK_GRID(grid), g_view->labels[i], i % 2, i / 2, 1, 1);
  }
  g_view->fpsCheck = gtk_check_button_new_with_label("Display FPS");
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(g_view->fpsCheck), form->fpsChecked);
  g_signal_connect(g_view->fpsCheck, "toggled", G_CALLBACK(OnFpsToggled), nullptr);
  gtk_grid_attach(GTK_GRID(grid), g_view->fpsCheck, 2, 0, 1, 1);
  return grid;
}

std::string CellText(GtkTreeModel* model, GtkTreeIter* it, int column) {
  gchar* text = nullptr;
  gtk_tree_model_get(model, it, column, &text, -1);
  std::string out = text ? text : "";
  g_free(text);
  return out;
}

// Writes the rows into the store, touching only the cells that differ.
// append_only: rows already in the store never change (the messages).
void SyncStore(ListView& l, const std::vector<std::vector<std::string>>& rows, bool appendOnly) {
  GtkTreeModel* model = GTK_TREE_MODEL(l.store);
  int have = gtk_tree_model_iter_n_children(model, nullptr);
  int want = static_cast<int>(rows.size());
  GtkTreeIter it;
  int i = appendOnly && have <= want ? have : 0;
  bool valid = i == 0 && gtk_tree_model_get_iter_first(model, &it);
  for (; valid && i < want; ++i) {
    for (int c = 0; c < l.columns && c < static_cast<int>(rows[i].size()); ++c)
      if (CellText(model, &it, c) != rows[i][c]) gtk_list_store_set(l.store, &it, c, rows[i][c].c_str(), -1);
    valid = gtk_tree_model_iter_next(model, &it);
  }
  // Rows past the data go; missing ones are appended.
  while (valid) valid = gtk_list_store_remove(l.store, &it);
  for (; i < want; ++i) {
    gtk_list_store_append(l.store, &it);
    for (int c = 0; c < l.columns && c < static_cast<int>(rows[i].size()); ++c)
      gtk_list_store_set(l.store, &it, c, rows[i][c].c_str(), -1);
  }
}

void SyncSelection(ListView& l, int row, const std::vector<bool>* selected, size_t count) {
  GtkTreeSelection* sel = gtk_tree_view_get_selection(GTK_TREE_VIEW(l.view));
  if (selected) {
    for (size_t i = 0; i < selected->size() && i < count; ++i) {
      GtkTreePath* p = gtk_tree_path_new_from_indices(static_cast<int>(i), -1);
      if ((*selected)[i] != static_cast<bool>(gtk_tree_selection_path_is_selected(sel, p))) {
        if ((*selected)[i]) gtk_tree_selection_select_path(sel, p);
        else gtk_tree_selection_unselect_path(sel, p);
      }
      gtk_tree_path_free(p);
    }
    return;
  }
  if (row < 0 || row >= static_cast<int>(count)) return;
  GtkTreePath* p = gtk_tree_path_new_from_indices(row, -1);
  if (!gtk_tree_selection_path_is_selected(sel, p)) {
    gtk_tree_selection_select_path(sel, p);
    gtk_tree_view_scroll_to_cell(GTK_TREE_VIEW(l.view), p, nullptr, FALSE, 0, 0);
  }
  gtk_tree_path_free(p);
}
}  // namespace

bool DebugM_Create(DebugForm* form) {
  if (g_view || !Gtk_Start()) return false;
  g_view = new FormView;
  SyncScope scope;
  g_view->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(g_view->window), "Calderwyn Debugger");
  gtk_window_set_default_size(GTK_WINDOW(g_view->window), FORM_W, FORM_H);
  g_signal_connect(g_view->window, "delete-event", G_CALLBACK(OnFormDelete), nullptr);
  GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
  gtk_box_pack_start(GTK_BOX(column), MakeMenu(), FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(column), MakeToolbar(), FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(column), MakeCounters(form), FALSE, FALSE, 0);
  static const char* const watchHeaders[] = {"Expression", "Value"};
  g_view->watches = MakeList(2, watchHeaders, false);
  g_signal_connect(g_view->watches.view, "key-press-event", G_CALLBACK(OnKey), GINT_TO_POINTER(-1));
  gtk_box_pack_start(GTK_BOX(column), Scrolled(g_view->watches.view), TRUE, TRUE, 0);
  gtk_container_add(GTK_CONTAINER(g_view->window), column);
  for (int i = 0; i < DEBUG_CHILD_COUNT; ++i)
    if (!form->children[i].section.empty()) MakeChild(i, form->children[i]);
  gtk_widget_show_all(g_view->window);
  DebugM_Sync(form);
  return true;
}

bool DebugM_Exists() { return g_view != nullptr; }

void DebugM_Destroy() {
  if (!g_view) return;
  for (ChildView& c : g_view->children)
    if (c.window) gtk_widget_destroy(c.window);
  gtk_widget_destroy(g_view->window);
  delete g_view;
  g_view = nullptr;
}

void DebugM_SetFormVisible(bool visible) {
  if (!g_view) return;
  if (visible) gtk_widget_show(g_view->window);
  else gtk_widget_hide(g_view->window);
}

void DebugM_ShowChild(int index, const DebugRect& at, int dx, int dy) {
  if (!g_view || !g_view->children[index].window) return;
  GtkWindow* w = GTK_WINDOW(g_view->children[index].window);
  if (at.HasWidth()) {
    gtk_window_move(w, at.left, at.top);
    gtk_window_resize(w, at.right - at.left, std::max(at.bottom - at.top, 1));
  } else {
    int x = 0, y = 0;
    gtk_window_get_position(GTK_WINDOW(g_view->window), &x, &y);
    gtk_window_move(w, x + dx, y + dy);
  }
  gtk_widget_show_all(GTK_WIDGET(w));
}

void DebugM_HideChild(int index) {
  if (g_view && g_view->children[index].window) gtk_widget_hide(g_view->children[index].window);
}

bool DebugM_ChildRect(int index, DebugRect* rect) {
  if (!g_view || !g_view->children[index].window || !gtk_widget_get_visible(g_view->children[index].window)) return false;
  // Wayland cannot tell where a window is: the position then reads 0, 0.
  int x = 0, y = 0, w = 0, h = 0;
  gtk_window_get_position(GTK_WINDOW(g_view->children[index].window), &x, &y);
  gtk_window_get_size(GTK_WINDOW(g_view->children[index].window), &w, &h);
  *rect = {x, y, x + w, y + h};
  return true;
}

void DebugM_Sync(DebugForm* form) {
  if (!g_view) return;
  SyncScope scope;
  for (int i = 0; i < DEBUG_LABEL_COUNT; ++i)
    if (form->labels[i] != gtk_label_get_text(GTK_LABEL(g_view->labels[i])))
      gtk_label_set_text(GTK_LABEL(g_view->labels[i]), form->labels[i].c_str());
  if (gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(g_view->fpsCheck)) != form->fpsChecked)
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(g_view->fpsCheck), form->fpsChecked);
  SyncStore(g_view->watches, form->watchRows, false);
  SyncSelection(g_view->watches, form->watchSelection, nullptr, form->watchRows.size());
  for (int i = 0; i < DEBUG_CHILD_COUNT; ++i) {
    ChildView& c = g_view->children[i];
    const DebugChildWindow& w = form->children[i];
    if (!c.window) continue;
    if (w.caption != gtk_window_get_title(GTK_WINDOW(c.window))) gtk_window_set_title(GTK_WINDOW(c.window), w.caption.c_str());
    SyncStore(c.list, w.rows, i == DEBUG_MESSAGES);
    SyncSelection(c.list, w.selection, w.multiSelect ? &w.selected : nullptr, w.rows.size());
  }
}

bool DebugM_Command(int id, bool checked) {
  if (!g_view) return false;
  if (id == DEBUG_ID_DISPLAY_FPS) {
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(g_view->fpsCheck), checked);
  } else if (auto b = g_view->buttons.find(id); b != g_view->buttons.end()) {
    g_signal_emit_by_name(b->second, "clicked");
  } else if (auto m = g_view->menuItems.find(id); m != g_view->menuItems.end()) {
    gtk_menu_item_activate(GTK_MENU_ITEM(m->second));
  }
  return true;
}

bool DebugM_Select(int window, int row) {
  if (!g_view) return false;
  ListView& l = ListOf(window);
  GtkTreeSelection* sel = gtk_tree_view_get_selection(GTK_TREE_VIEW(l.view));
  GtkTreePath* p = gtk_tree_path_new_from_indices(row, -1);
  gtk_tree_selection_unselect_all(sel);
  gtk_tree_selection_select_path(sel, p);
  gtk_tree_path_free(p);
  return true;
}

bool DebugM_Activate(int window, int row) {
  if (!g_view) return false;
  ListView& l = ListOf(window);
  GtkTreePath* p = gtk_tree_path_new_from_indices(row, -1);
  GtkTreeIter it;
  if (gtk_tree_model_get_iter(GTK_TREE_MODEL(l.store), &it, p))
    gtk_tree_view_row_activated(GTK_TREE_VIEW(l.view), p, gtk_tree_view_get_column(GTK_TREE_VIEW(l.view), 0));
  gtk_tree_path_free(p);
  return true;
}

bool DebugM_ReadLabels(std::vector<std::string>* labels) {
  if (!g_view) return false;
  labels->clear();
  for (GtkWidget* l : g_view->labels) labels->push_back(gtk_label_get_text(GTK_LABEL(l)));
  bool on = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(g_view->fpsCheck));
  labels->push_back(std::string(on ? "[x] " : "[ ] ") + gtk_button_get_label(GTK_BUTTON(g_view->fpsCheck)));
  return true;
}

bool DebugM_ReadRows(int window, std::vector<std::vector<std::string>>* rows, int* selection) {
  if (!g_view) return false;
  ListView& l = ListOf(window);
  GtkTreeModel* model = GTK_TREE_MODEL(l.store);
  rows->clear();
  GtkTreeIter it;
  for (bool ok = gtk_tree_model_get_iter_first(model, &it); ok; ok = gtk_tree_model_iter_next(model, &it)) {
    std::vector<std::string> row;
    for (int c = 0; c < l.columns; ++c) row.push_back(CellText(model, &it, c));
    rows->push_back(row);
  }
  *selection = -1;
  GList* paths = gtk_tree_selection_get_selected_rows(gtk_tree_view_get_selection(GTK_TREE_VIEW(l.view)), nullptr);
  if (paths) *selection = gtk_tree_path_get_indices(static_cast<GtkTreePath*>(paths->data))[0];
  g_list_free_full(paths, reinterpret_cast<GDestroyNotify>(gtk_tree_path_free));
  return true;
}

bool DebugM_ReadCaption(int window, std::string* caption, bool* visible) {
  if (!g_view) return false;
  GtkWidget* w = window < 0 ? g_view->window : g_view->children[window].window;
  if (!w) return false;
  const char* title = gtk_window_get_title(GTK_WINDOW(w));
  *caption = title ? title : "";
  *visible = gtk_widget_get_visible(w);
  return true;
}

bool DebugM_Key(int window, int key, bool ctrl) {
  if (!g_view) return false;
  GtkWidget* target = window < 0 ? g_view->watches.view : g_view->children[window].window;
  guint keyval = key == DEBUG_KEY_ESCAPE ? GDK_KEY_Escape : key == DEBUG_KEY_DELETE ? GDK_KEY_Delete : GDK_KEY_c;
  Gtk_SendKey(target, keyval, ctrl);
  return true;
}
