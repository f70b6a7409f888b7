#include "components/ToolSpeedButton.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QThread>
#include <QTimer>

#include "components/Colors.h"
#include "components/DrawUtils.h"
#include "components/Frame3D.h"
#include "components/PopupMenu.h"

bool NewStyleControls() { return true; }

namespace {

QBrush DitherBrush() {
  QImage pattern(8, 8, QImage::Format_RGB32);
  const QRgb face = ColorToQColor(clBtnFace).rgb(), light = ColorToQColor(clBtnHighlight).rgb();
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pattern.setPixel(x, y, (x + y) % 2 ? light : face);
  return QBrush(pattern);
}

int AlignmentFlags(TAlignment a) {
  switch (a) {
    case taLeftJustify: return Qt::AlignLeft;
    case taRightJustify: return Qt::AlignRight;
    default: return Qt::AlignHCenter;
  }
}

}  // namespace

TToolSpeedButton::TToolSpeedButton(QWidget* parent) : QWidget(parent), FGlyph(new TButtonGlyph) {
  setGeometry(0, 0, 25, 25);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  FGlyph->OnChange = [this](TObject*) { update(); };
}

TToolSpeedButton::~TToolSpeedButton() { delete FGlyph; }

void TToolSpeedButton::SetGroupIndex(int value) {
  if (value == FGroupIndex) return;
  FGroupIndex = value;
  UpdateExclusive();
}

void TToolSpeedButton::SetAllowAllUp(bool value) {
  if (value == FAllowAllUp) return;
  FAllowAllUp = value;
  UpdateExclusive();
}

void TToolSpeedButton::SetDown(bool value) {
  if (FGroupIndex == 0) value = false;
  if (value == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = value;
  if (value) {
    if (FState == rbsUp) update();
    FState = rbsExclusive;
  } else {
    FState = rbsUp;
  }
  update();
  if (value) UpdateExclusive();
}

void TToolSpeedButton::SetStyle(TButtonStyle value) { StoreAndRedraw(FStyle, value); }
void TToolSpeedButton::SetFlat(bool value) { StoreAndRedraw(FFlat, value); }
void TToolSpeedButton::SetFlatStandard(bool value) { StoreAndRedraw(FFlatStandard, value); }
void TToolSpeedButton::SetLayout(TButtonLayout value) { StoreAndRedraw(FLayout, value); }
void TToolSpeedButton::SetSpacing(int value) { StoreAndRedraw(FSpacing, value); }
void TToolSpeedButton::SetTransparent(bool value) { StoreAndRedraw(FTransparent, value); }
void TToolSpeedButton::SetMarkDropDown(bool value) { StoreAndRedraw(FMarkDropDown, value); }
void TToolSpeedButton::SetGrayedInactive(bool value) { StoreAndRedraw(FInactiveGrayed, value); }

void TToolSpeedButton::SetMargin(int value) {
  if (value < -1 || value == FMargin) return;
  FMargin = value;
  update();
}

const QImage& TToolSpeedButton::Glyph() const { return FGlyph->Glyph(); }
void TToolSpeedButton::SetGlyph(const QImage& value, TColor transparentColor) {
  FGlyph->SetGlyph(value, transparentColor);
  update();
}
int TToolSpeedButton::NumGlyphs() const { return FGlyph->NumGlyphs(); }
void TToolSpeedButton::SetNumGlyphs(int value) { FGlyph->SetNumGlyphs(value); }
bool TToolSpeedButton::WordWrap() const { return FGlyph->WordWrap(); }
void TToolSpeedButton::SetWordWrap(bool value) { FGlyph->SetWordWrap(value); }
TAlignment TToolSpeedButton::Alignment() const { return FGlyph->Alignment(); }
void TToolSpeedButton::SetAlignment(TAlignment value) { FGlyph->SetAlignment(value); }

void TToolSpeedButton::SetCaption(const QString& value) {
  if (value == FCaption) return;
  FCaption = value;
  UpdateMnemonic();
  update();
}

void TToolSpeedButton::UpdateMnemonic() {
  if (FShortcutId) releaseShortcut(FShortcutId);
  FShortcutId = 0;
  const QKeySequence key = QKeySequence::mnemonic(FCaption);
  if (!key.isEmpty()) FShortcutId = grabShortcut(key);
}

void TToolSpeedButton::SetDropDownMenu(TPopupMenu* value) {
  if (FDropDownMenu && FDropDownMenu != value) RemoveFreeNotification(FDropDownMenu);
  FDropDownMenu = value;
  if (value) FreeNotification(value);
  if (FMarkDropDown) update();
}

void TToolSpeedButton::Notification(TComponent* c, TOperation op) {
  if (op == opRemove && c == FDropDownMenu) {
    FDropDownMenu = nullptr;
    update();
  }
}

void TToolSpeedButton::SetAllowTimer(bool value) {
  FAllowTimer = value;
  if (!value && FRepeatTimer) {
    FRepeatTimer->stop();
    delete FRepeatTimer;
    FRepeatTimer = nullptr;
  }
}

void TToolSpeedButton::SetAction(QAction* action) {
  if (FAction) disconnect(FAction, nullptr, this, nullptr);
  FAction = action;
  if (!action) return;
  connect(action, &QAction::changed, this, [this] { ActionChange(FAction, false); });
  ActionChange(action, IsLoading());
}

void TToolSpeedButton::ActionChange(QAction* action, bool checkDefaults) {
  if (!action) return;
  if (!checkDefaults || FCaption.isEmpty()) SetCaption(action->text());
  if (!checkDefaults || isEnabled()) setEnabled(action->isEnabled());
  if (!checkDefaults || toolTip().isEmpty()) setToolTip(action->toolTip());
  if (action->isVisible() == isHidden()) setVisible(action->isVisible());
  if (FGroupIndex != 0 && (!checkDefaults || !FDown)) SetDown(action->isChecked());
  if (FGlyph->Glyph().isNull() && !action->icon().isNull()) {
    const QSize size = action->icon().availableSizes().value(0, QSize(16, 16));
    QImage img(size, QImage::Format_RGB32);
    img.fill(ColorToQColor(clFuchsia));
    QPainter p(&img);
    action->icon().paint(&p, img.rect());
    p.end();
    SetGlyph(img, clFuchsia);
  }
}

void TToolSpeedButton::Loaded() { BuildStateImage(); }

void TToolSpeedButton::BuildStateImage() {
  const TSpeedButtonState s = FFlat ? rbsInactive : (isEnabled() ? rbsUp : rbsDisabled);
  FGlyph->CreateButtonGlyph(s);
}

QRect TToolSpeedButton::DrawButtonFrame(QPainter& canvas, const QRect& client, bool down, bool flat,
                                        TButtonStyle style) const {
  const bool newStyle = style == bsNew || (style == bsAutoDetect && NewStyleControls());
  QRect r = client;
  if (down) {
    if (flat) return Frame3D(canvas, r, clBtnShadow, clBtnHighlight);
    if (newStyle) {
      r = Frame3D(canvas, r, clWindowFrame, clBtnHighlight);
      return Frame3D(canvas, r, clBtnShadow, clBtnFace);
    }
    r = Frame3D(canvas, r, clWindowFrame, clWindowFrame);
    const QColor shadow = ColorToQColor(clBtnShadow);
    canvas.fillRect(r.x(), r.y(), 1, r.height() - 1, shadow);
    canvas.fillRect(r.x(), r.y(), r.width() - 1, 1, shadow);
    return r;
  }
  if (newStyle) {
    if (flat) return Frame3D(canvas, r, clBtnHighlight, clBtnShadow);
    r = Frame3D(canvas, r, clBtnHighlight, clWindowFrame);
    return Frame3D(canvas, r, clBtnFace, clBtnShadow);
  }
  if (flat) return Frame3D(canvas, r, clBtnHighlight, clWindowFrame);
  r = Frame3D(canvas, r, clWindowFrame, clWindowFrame);
  return Frame3D(canvas, r, clBtnHighlight, clBtnShadow);
}

void TToolSpeedButton::paintEvent(QPaintEvent*) {
  if (FDrawImage.size() != size()) FDrawImage = QImage(size(), QImage::Format_RGB32);
  FDrawImage.fill(ColorToQColor(clBtnFace));
  {
    QPainter canvas(&FDrawImage);
    canvas.setFont(font());
    Paint(canvas);
  }
  QPainter(this).drawImage(0, 0, FDrawImage);
}

void TToolSpeedButton::Paint(QPainter& canvas) {
  if (!isEnabled()) {
    FState = rbsDisabled;
    FDragging = false;
  } else if (FState == rbsDisabled) {
    FState = FDown && FGroupIndex != 0 ? rbsExclusive : rbsUp;
  }
  const TSpeedButtonState drawState = FFlat && !FMouseInControl && !IsDesigning() ? rbsInactive : FState;
  if (FTransparent) CopyParentImage(this, canvas);
  QRect r = rect();
  if (drawState != rbsInactive || FState == rbsExclusive)
    r = DrawButtonFrame(canvas, r, FState == rbsDown || FState == rbsExclusive, FFlat, FStyle);
  else if (FFlat)
    r.adjust(2, 2, -2, -2);
  if (FState == rbsExclusive && !FTransparent && (!FFlat || drawState == rbsInactive))
    canvas.fillRect(r.adjusted(-1, -1, 1, 1), DitherBrush());
  if (FState == rbsDown || FState == rbsExclusive) r.translate(1, 1);
  canvas.setPen(palette().color(QPalette::ButtonText));
  const TSpeedButtonState glyphState = FState == rbsDisabled || !FInactiveGrayed ? FState : drawState;
  PaintGlyph(canvas, r, glyphState, FMarkDropDown && FDropDownMenu);
}

void TToolSpeedButton::PaintGlyph(QPainter& canvas, const QRect& rect, TSpeedButtonState state, bool drawMark) {
  if (state == rbsInactive && FFlatStandard) state = rbsExclusive;
  int flags = AlignmentFlags(FGlyph->Alignment());
  if (layoutDirection() == Qt::RightToLeft) flags |= Qt::TextForceRightToLeft;
  FGlyph->Draw(canvas, rect, FCaption, FLayout, FMargin, FSpacing, drawMark, state, flags);
}

bool TToolSpeedButton::Inside(const QPoint& p) const {
  return p.x() >= 0 && p.x() < width() && p.y() >= 0 && p.y() <= height();
}

void TToolSpeedButton::mousePressEvent(QMouseEvent* event) {
  if (FMenuTracking) return;
  if (event->button() == Qt::RightButton) {
    UpdateTracking();
    return;
  }
  if (!FMouseInControl) {
    FMouseInControl = true;
    update();
  }
  if (event->button() != Qt::LeftButton || !isEnabled()) return;
  if (!FDown) {
    FState = rbsDown;
    update();
  }
  FDragging = true;
  FMenuTracking = true;
  const QPoint pressPos = event->position().toPoint();
  try {
    if (CheckMenuDropDown(MenuPos(), false)) FinishPress(pressPos);
  } catch (...) {
    FMenuTracking = false;
    throw;
  }
  // A press that closed the menu must not press the button again.
  KillMessage(this, QEvent::MouseButtonPress);
  KillMessage(this, QEvent::MouseButtonDblClick);
  FMenuTracking = false;
  if (FAllowTimer) {
    if (!FRepeatTimer) {
      FRepeatTimer = new QTimer(this);
      connect(FRepeatTimer, &QTimer::timeout, this, &TToolSpeedButton::RepeatTimerTick);
    }
    FRepeatTimer->start(FInitRepeatPause);
  }
}

void TToolSpeedButton::mouseMoveEvent(QMouseEvent* event) {
  if (!FDragging) return;
  const TSpeedButtonState s = FDown ? rbsExclusive : Inside(event->position().toPoint()) ? rbsDown : rbsUp;
  if (s != FState) {
    FState = s;
    update();
  }
}

void TToolSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    UpdateTracking();
    return;
  }
  if (event->button() == Qt::LeftButton) FinishPress(event->position().toPoint());
  if (FRepeatTimer) FRepeatTimer->stop();
}

void TToolSpeedButton::FinishPress(const QPoint& pos) {
  if (!FDragging) return;
  FDragging = false;
  const bool inside = Inside(pos);
  if (FGroupIndex == 0) {
    FState = rbsUp;
    FMouseInControl = false;
    update();
  } else if (inside) {
    SetDown(!FDown);
    if (FDown) update();
  } else {
    if (FDown) FState = rbsExclusive;
    update();
  }
  if (inside && !FMenuTracking) Click();
  UpdateTracking();
}

void TToolSpeedButton::RepeatTimerTick() {
  FRepeatTimer->setInterval(FRepeatPause);
  if (FState != rbsDown || !FDragging) return;
  try {
    Click();
  } catch (...) {
    if (FRepeatTimer) FRepeatTimer->stop();
    throw;
  }
}

void TToolSpeedButton::mouseDoubleClickEvent(QMouseEvent* event) {
  if (FMenuTracking) return;
  mousePressEvent(event);
  if (FDown && OnDblClick) OnDblClick(this);
}

void TToolSpeedButton::enterEvent(QEnterEvent*) {
  if (!IsForegroundTask()) return;
  FMouseInControl = true;
  if (FFlat) update();
  MouseEnter();
}

void TToolSpeedButton::leaveEvent(QEvent*) {
  if (!isEnabled() || FDragging) return;
  FMouseInControl = false;
  if (FFlat) update();
  MouseLeave();
}

void TToolSpeedButton::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TToolSpeedButton::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TToolSpeedButton::SetMouseInside(bool inside) {
  if (inside == FMouseInControl) return;
  FMouseInControl = inside;
  if (FFlat) update();
  if (inside) MouseEnter();
  else MouseLeave();
}

void TToolSpeedButton::UpdateTracking() {
  SetMouseInside(isEnabled() && QApplication::widgetAt(QCursor::pos()) == this && IsForegroundTask());
}

void TToolSpeedButton::changeEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::EnabledChange:
      BuildStateImage();
      UpdateTracking();
      update();
      break;
    case QEvent::FontChange: update(); break;
    case QEvent::PaletteChange:
      FGlyph->Invalidate();
      update();
      break;
    default: break;
  }
  QWidget::changeEvent(event);
}

void TToolSpeedButton::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  UpdateTracking();
}

bool TToolSpeedButton::event(QEvent* event) {
  if (event->type() == QEvent::Shortcut && static_cast<QShortcutEvent*>(event)->shortcutId() == FShortcutId) {
    if (isEnabled()) Click();
    return true;
  }
  return QWidget::event(event);
}

void TToolSpeedButton::Click() {
  if (FModalResult != 0)
    if (auto* dialog = qobject_cast<QDialog*>(window())) dialog->done(FModalResult);
  if (OnClick) OnClick(this);
  else if (FAction) FAction->trigger();
  emit clicked();
}

void TToolSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !parentWidget()) return;
  for (TToolSpeedButton* b : parentWidget()->findChildren<TToolSpeedButton*>(Qt::FindDirectChildrenOnly))
    b->ButtonPressed(FGroupIndex, this);
}

void TToolSpeedButton::ButtonPressed(int groupIndex, TToolSpeedButton* sender) {
  if (groupIndex != FGroupIndex || sender == this) return;
  if (sender->FDown && FDown) {
    FDown = false;
    FState = rbsUp;
    update();
  }
  FAllowAllUp = sender->FAllowAllUp;
}

void TToolSpeedButton::ButtonClick() {
  if (FMenuTracking || !isEnabled() || (FDropDownMenu && FDropDownMenu->AutoPopup())) return;
  if (!FDown) {
    FState = rbsDown;
    repaint();
  }
  QThread::msleep(20);  // long enough to be seen down
  const auto finish = [this] {
    if (FGroupIndex == 0) {
      FState = rbsUp;
      repaint();
    } else {
      SetDown(!FDown);
      Click();
    }
  };
  try {
    if (FGroupIndex == 0) Click();
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

QPoint TToolSpeedButton::MenuPos() const {
  const TPopupAlignment a = FDropDownMenu ? FDropDownMenu->Alignment() : paLeft;
  if (a == paCenter) return {width() / 2, height()};
  if (FMenuPosition == dmpBottom) return a == paLeft ? QPoint(-1, height()) : QPoint(width() + 1, height());
  return a == paLeft ? QPoint(width(), -1) : QPoint(-1, -1);
}

bool TToolSpeedButton::CheckMenuDropDown(const QPoint& pos, bool manual) {
  if (!FDropDownMenu || IsDesigning() || (!FDropDownMenu->AutoPopup() && !manual)) return false;
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  FDropDownMenu->SetPopupComponent(this);
  FDropDownMenu->Popup(mapToGlobal(pos));
  return true;
}

bool TToolSpeedButton::CheckBtnMenuDropDown() { return CheckMenuDropDown(MenuPos(), true); }
