#include "components/BlinkLED.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "components/GdiShapes.h"

TBlinkLED::TBlinkLED(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  SetRadius(10);  // also sizes the lamp to 20 x 20
  SetLEDColorOn(clRed);
  SetLEDColorOff(clMaroon);
  SetIsOn(true);
  FTimer = new QTimer(this);
  FInterval = 500;
  FTimer->setInterval(500);
  connect(FTimer, &QTimer::timeout, this, &TBlinkLED::TimerTick);
  SetIsBlinking(true);
}

TBlinkLED::~TBlinkLED() {
  delete FTimer;
  FTimer = nullptr;
}

void TBlinkLED::SetInterval(int value) {
  if (value == FInterval) return;
  FInterval = value;
  FTimer->setInterval(value > 0 ? value : 0);
  UpdateTimer();
}

void TBlinkLED::SetLEDColorOn(TColor value) {
  if (value == FLEDColorOn) return;
  FLEDColorOn = value;
  update();
}

void TBlinkLED::SetLEDColorOff(TColor value) {
  if (value == FLEDColorOff) return;
  FLEDColorOff = value;
  update();
}

void TBlinkLED::SetIsBlinking(bool value) {
  if (value == FIsBlinking) return;
  FIsBlinking = value;
  UpdateTimer();
  update();
}

void TBlinkLED::SetIsOn(bool value) {
  if (value == FIsOn) return;
  FIsOn = value;
  update();
}

void TBlinkLED::SetRadius(int value) {
  if (value == FRadius) return;
  FRadius = value;
  resize(2 * value, 2 * value);
  updateGeometry();
  update();
}

QSize TBlinkLED::sizeHint() const { return QSize(2 * FRadius, 2 * FRadius); }

// A window timer with interval 0 (or a negative one, which reads as a huge
// unsigned interval) never fires; a QTimer with 0 would fire on every idle pass.
void TBlinkLED::UpdateTimer() {
  if (FIsBlinking && FInterval > 0)
    FTimer->start();
  else
    FTimer->stop();
}

void TBlinkLED::TimerTick() { SetIsOn(!FIsOn); }

void TBlinkLED::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  SetRadius(width() / 2);
  if (height() != 2 * FRadius) resize(width(), 2 * FRadius);
}

void TBlinkLED::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) FClicked = true;
  QWidget::mousePressEvent(event);
}

void TBlinkLED::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton) return;
  const bool click = FClicked && rect().contains(event->position().toPoint());
  FClicked = false;
  if (click && OnClick) OnClick(this);
  SetIsOn(!FIsOn);
}

void TBlinkLED::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int w = width(), h = height();
  p.setPen(QPen(ColorToQColor(clBlack), 1));
  p.setBrush(ColorToQColor(FIsOn ? FLEDColorOn : FLEDColorOff, palette()));
  gdi::Ellipse(p, 0, 0, w, h);

  // Reflex: a silver segment at the upper left, cut from an ellipse set in
  // by a sixth of the width.
  const int k = w / 6;
  p.setPen(QPen(ColorToQColor(clWhite), 1));
  p.setBrush(ColorToQColor(clSilver));
  gdi::Chord(p, k, k, w - k, h - k, w / 2, k, k, h / 2);
}
