#include "app/ActionShortcuts.h"

#include <QAction>
#include <QMenuBar>
#include <QShortcut>
#include <QShortcutEvent>

TActionShortcuts::TActionShortcuts(QWidget* window) : QObject(window), FWindow(window) {}

void TActionShortcuts::Add(QAction* action, bool enabled) {
  FEntries.insert(action, {enabled, nullptr});
  action->installEventFilter(this);
  Follow(action);
}

void TActionShortcuts::WatchMenuBar(QMenuBar* menuBar) { menuBar->installEventFilter(this); }

void TActionShortcuts::SetEnabled(QAction* action, bool on) {
  // The enabling rule runs whenever the event loop goes idle, hundreds of
  // times a second while a meter streams: a state that stays costs nothing.
  const auto it = FEntries.constFind(action);
  if (it != FEntries.cend() && it->enabled == on && action->isEnabled() == on) return;
  FEntries[action].enabled = on;
  action->setEnabled(on);
  Follow(action);
}

bool TActionShortcuts::Enabled(const QAction* action) const {
  const auto it = FEntries.constFind(action);
  return it == FEntries.cend() ? action->isEnabled() : it->enabled;
}

void TActionShortcuts::SetVisible(QAction* action, bool on) {
  action->setVisible(on);
  Follow(action);
}

void TActionShortcuts::Follow(QAction* action) {
  if (action->shortcut().isEmpty() || !FEntries.contains(action)) return;
  TEntry& e = FEntries[action];
  if (!e.hidden && !action->isVisible()) {
    e.hidden = new QShortcut(action->shortcut(), FWindow);
    e.hidden->setContext(Qt::WindowShortcut);
    connect(e.hidden, &QShortcut::activated, action, &QAction::trigger);
    connect(e.hidden, &QShortcut::activatedAmbiguously, action, &QAction::trigger);
  }
  if (e.hidden) e.hidden->setEnabled(!action->isVisible() && e.enabled);
}

QAction* TActionShortcuts::ActionFor(const QObject* owner, const QKeySequence& key) const {
  for (auto it = FEntries.cbegin(); it != FEntries.cend(); ++it) {
    auto* a = const_cast<QAction*>(it.key());
    if (it->enabled && a->shortcut() == key && (owner == nullptr || owner == a)) return a;
  }
  return nullptr;
}

bool TActionShortcuts::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Shortcut) return QObject::eventFilter(watched, event);
  const auto* se = static_cast<QShortcutEvent*>(event);
  // The menu bar got a title letter that an action claims too; the action
  // got its shortcut but shares it with a title letter. Either way the
  // action runs, once, and no overload is reported.
  const bool fromMenuBar = qobject_cast<QMenuBar*>(watched) != nullptr;
  if (!fromMenuBar && !se->isAmbiguous()) return false;
  QAction* action = ActionFor(fromMenuBar ? nullptr : watched, se->key());
  if (!action) return false;
  action->trigger();
  return true;
}
