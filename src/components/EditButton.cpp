#include "components/EditButton.h"

#include <QMouseEvent>
#include <QPainter>

#include "components/Colors.h"
#include "components/CustomComboEdit.h"

TEditButton::TEditButton(TCustomComboEdit* edit, QWidget* holder) : TToolSpeedButton(holder), FEdit(edit) {}

void TEditButton::Paint(QPainter& canvas) {
  TToolSpeedButton::Paint(canvas);
  if (FState == rbsDown || FState == rbsExclusive) return;
  canvas.fillRect(0, 0, 1, height(), ColorToQColor(NewStyleControls() ? clBtnFace : clBtnShadow));
  canvas.fillRect(1, 1, 1, height() - 2, ColorToQColor(clBtnHighlight));
}

void TEditButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    FNoAction = FEdit->Popup() && FEdit->PopupVisible();
    if (FEdit->PopupVisible())
      FEdit->PopupCloseUp(FStandart);
    else if (FEdit->focusPolicy() != Qt::NoFocus && FEdit->isEnabled() && !FEdit->hasFocus())
      FEdit->setFocus(Qt::MouseFocusReason);
  }
  TToolSpeedButton::mousePressEvent(event);
}

void TEditButton::Click() {
  if (FNoAction) {
    FNoAction = false;
    return;
  }
  TToolSpeedButton::Click();
}
