#include "app/ActionButton.h"

#include <QAction>

TActionButton::TActionButton(const QString& caption, QAction* action, QWidget* parent)
    : QPushButton(caption, parent), FAction(action) {
  connect(action, &QAction::changed, this, &TActionButton::Follow);
  connect(this, &QPushButton::clicked, action, &QAction::trigger);
  Follow();
}

void TActionButton::Follow() {
  if (!FAction) return;
  setEnabled(FAction->isEnabled());
  // Hide or unhide only: showing a button whose page is not shown yet must
  // not pop it up.
  if (isHidden() == FAction->isVisible()) setHidden(!FAction->isVisible());
  setToolTip(FAction->statusTip());
  setStatusTip(FAction->statusTip());
}
