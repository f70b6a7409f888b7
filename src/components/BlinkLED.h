#pragma once
// A small round lamp in an on or an off colour with a light reflex at its
// upper left. It can blink by itself, and a left click toggles it.

#include <QWidget>

#include "components/Colors.h"
#include "platform/Component.h"

class QTimer;

class TBlinkLED : public QWidget, public TComponent {
  Q_OBJECT

 public:
  explicit TBlinkLED(QWidget* parent = nullptr);
  ~TBlinkLED() override;

  int Interval() const { return FInterval; }
  void SetInterval(int value);
  TColor LEDColorOn() const { return FLEDColorOn; }
  void SetLEDColorOn(TColor value);
  TColor LEDColorOff() const { return FLEDColorOff; }
  void SetLEDColorOff(TColor value);
  bool IsBlinking() const { return FIsBlinking; }
  void SetIsBlinking(bool value);
  bool IsOn() const { return FIsOn; }
  void SetIsOn(bool value);
  int Radius() const { return FRadius; }
  void SetRadius(int value);

  TNotifyEvent OnClick;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void TimerTick();
  void UpdateTimer();

  int FRadius = 0;
  TColor FLEDColorOn = clBlack;
  TColor FLEDColorOff = clBlack;
  bool FIsOn = false;
  QTimer* FTimer = nullptr;
  bool FIsBlinking = false;
  int FInterval = 0;
  bool FClicked = false;
};
