// One small GTK window with a column of widgets and a row of buttons: the
// frame of every box the runner shows. A box ends with the result of the
// button that closed it; queued answers (Dialog_Answers.h) are typed into its
// entries and clicked by a timer.
#pragma once
#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <vector>

// How often queued answers are typed and clicked into an open box.
constexpr guint GTK_ANSWER_INTERVAL_MS = 150;

// Hands the widget a press of the key (a GDK key value) as if typed; nothing
// when the widget is not on the screen.
void Gtk_SendKey(GtkWidget* target, guint keyval, bool ctrl);

// Runs GTK and pumps the game's window (Gtk_PumpModal) until done() is true.
void Gtk_ModalLoop(const std::function<bool()>& done);

class CGtkBox {
 public:
  static constexpr int NO_RESULT = -100;

  // A titled, centred box; without a close button unless closeResult is
  // given (the result the close button and Escape give).
  CGtkBox(const char* title, bool topmost, int closeResult = NO_RESULT);
  ~CGtkBox();
  CGtkBox(const CGtkBox&) = delete;
  CGtkBox& operator=(const CGtkBox&) = delete;

  GtkWidget* Window() const { return m_window; }
  // The result Escape gives (by default the close button's; none: ignored).
  void SetEscape(int result) { m_escapeResult = result; }
  // Adds a widget to the column (the box takes it).
  void Add(GtkWidget* widget, bool expand = false);
  GtkWidget* AddLabel(const char* text, bool centred);
  // An entry holding the text, at most maxChars characters (0: no limit).
  GtkWidget* AddEntry(const char* text, bool password, int maxChars);
  // Buttons in the order added; the default one answers Enter.
  void AddButton(const char* label, int result, bool isDefault);
  const std::vector<GtkWidget*>& Entries() const { return m_entries; }
  static std::string EntryText(GtkWidget* entry);

  // Called when a button is pressed; false keeps the box open.
  std::function<bool(int)> onButton;
  // Called once when a modeless box ends, with its result.
  std::function<void(int)> onEnd;

  // Shows the box and waits for its result; the game's window is pumped.
  int RunModal();
  // Shows the box and returns; it ends through onEnd.
  void ShowModeless();
  bool Ended() const { return m_result != NO_RESULT; }

 private:
  static gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer self);
  static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self);
  static void OnClicked(GtkWidget* button, gpointer self);
  static gboolean OnAnswerTimer(gpointer self);
  void Press(int result);

  GtkWidget* m_window;
  GtkWidget* m_column;
  GtkWidget* m_buttons;
  std::vector<GtkWidget*> m_entries;
  int m_closeResult, m_escapeResult;
  int m_result = NO_RESULT;
  guint m_timer = 0;
};
