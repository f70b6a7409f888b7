#pragma once
// Keeps the window's action shortcuts working where the toolkit alone would
// not run them:
// - a menu title's letter that is also an action's shortcut ("&Options" and
//   Alt+O "Open Port"): the toolkit sees two owners and runs neither; here
//   the enabled action wins, and the menu opens only when it is disabled;
// - an action hidden for the current model (F3 "DW", F4 "DM"): the toolkit
//   disables a hidden action; here its shortcut still runs it as long as the
//   program left it enabled.
// It also keeps the enabled state the program gave each action, which the
// toolkit overrides while the action is hidden.

#include <QHash>
#include <QObject>

class QAction;
class QMenuBar;
class QShortcut;
class QWidget;

class TActionShortcuts : public QObject {
 public:
  explicit TActionShortcuts(QWidget* window);

  // `enabled`: the action's state before it may have been hidden.
  void Add(QAction* action, bool enabled);
  // Title letters of this menu bar give way to the actions' shortcuts.
  void WatchMenuBar(QMenuBar* menuBar);
  void SetEnabled(QAction* action, bool on);
  // The state last given by SetEnabled (or the action's own when none was).
  bool Enabled(const QAction* action) const;
  void SetVisible(QAction* action, bool on);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TEntry {
    bool enabled = true;
    QShortcut* hidden = nullptr;  // the shortcut while the action is hidden
  };
  void Follow(QAction* action);
  QAction* ActionFor(const QObject* owner, const class QKeySequence& key) const;

  QWidget* FWindow;
  QHash<const QAction*, TEntry> FEntries;
};
