#pragma once
// A push button bound to an action: it keeps its own caption but follows the
// action's enabled and visible state and hint, and a click executes the
// action. A hidden action hides the button.

#include <QPointer>
#include <QPushButton>

class QAction;

class TActionButton : public QPushButton {
  Q_OBJECT

 public:
  TActionButton(const QString& caption, QAction* action, QWidget* parent = nullptr);

  QAction* Action() const { return FAction; }

 private:
  void Follow();

  QPointer<QAction> FAction;
};
