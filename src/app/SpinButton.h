#pragma once
// A pair of small arrow buttons, one above the other, that step the value of
// the control beside it. Held down, a button repeats.

#include <QWidget>

#include "platform/Component.h"

class QToolButton;

class TSpinButton : public QWidget, public TObject {
  Q_OBJECT

 public:
  explicit TSpinButton(QWidget* parent = nullptr);

  QToolButton* UpButton() const { return FUp; }
  QToolButton* DownButton() const { return FDown; }

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

 private:
  QToolButton* FUp = nullptr;
  QToolButton* FDown = nullptr;
};
