#pragma once
// The end-to-end rig of the meter logic: a pseudo-terminal pair, the meter
// emulator on its master side, the fake window and the real TMeterLogic with
// the real serial port on the slave side.

#include <QString>
#include <QStringList>

#include "meter/MeterLogic.h"
#include "support/EventLoop.h"
#include "support/FakeMeterView.h"
#include "support/MeterEmulator.h"
#include "support/PtyPair.h"
#include "support/QtPrinters.h"

struct MeterRig {
  explicit MeterRig(TDeviceType model, bool open = true)
      : emulator(model, pty.MasterFd()), logic(view) {
    logic.ComPort().SetPort(pty.SlavePath());
    logic.SetDevice(model);
    logic.ChangeDevice();  // as the window's first show does
    if (open) logic.ComPort().Open();
  }

  // What the meter received, cut into commands, once `count` of them came
  // (or after a generous time-out).
  QStringList CommandsAfter(int count) {
    PumpUntil([&] { return emulator.Commands().size() >= count; }, 5000);
    return emulator.Commands();
  }

  PtyPair pty;
  MeterEmulator emulator;
  FakeMeterView view;
  TMeterLogic logic;
};

// Test names show the model, not its ordinal as a character.
inline void PrintTo(TDeviceType d, std::ostream* os) { *os << DeviceText(d).toStdString(); }

inline const QString kEscCommand = QStringLiteral("\x1b");

// The command list with ESC entries in front.
inline QStringList WithEsc(const QStringList& commands) { return QStringList{kEscCommand} + commands; }
