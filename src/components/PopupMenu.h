#pragma once
// A popup menu with the settings a drop-down button asks of it: whether it
// pops up by itself on a press, which edge it aligns to, and the control
// that opened it.

#include <QMenu>
#include <QPointer>
#include <cstdint>

#include "platform/Component.h"

enum TPopupAlignment : std::uint8_t { paLeft, paRight, paCenter };

class TPopupMenu : public QMenu, public TComponent {
  Q_OBJECT

 public:
  explicit TPopupMenu(QWidget* parent = nullptr) : QMenu(parent) {}

  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool value) { FAutoPopup = value; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment value) { FAlignment = value; }
  QObject* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(QObject* value) { FPopupComponent = value; }

  // Shows the menu with its aligned edge at `screenPos` and returns when it
  // has closed.
  virtual void Popup(const QPoint& screenPos) {
    const int w = sizeHint().width();
    const int shift = FAlignment == paRight ? w : FAlignment == paCenter ? w / 2 : 0;
    exec(screenPos - QPoint(shift, 0));
  }

 private:
  bool FAutoPopup = true;
  TPopupAlignment FAlignment = paLeft;
  QPointer<QObject> FPopupComponent;
};
