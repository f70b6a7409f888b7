#pragma once
// The single meter commands as data: per action its code, the way each
// model wants it sent, and what it does for the simulated meter.

#include <QString>
#include <QVector>
#include <cstdint>

#include "meter/Action.h"
#include "meter/DeviceType.h"
#include "meter/SimuPattern.h"

enum class TCommandWay : std::uint8_t {
  cwNone,  // the model has no such command: nothing is sent
  cwA,     // at once
  cwB,     // after stopping the meter if it still streams (ESC, 1 s)
  cwC,     // after ESC and 500 ms
};

struct TSingleCommand {
  TAction action;
  QString code;                // "DT"
  TCommandWay ways[DeviceTypeCount];  // by TDeviceType
  // In simulation: the PAVON mode to simulate (mNoMode: none) and whether
  // the simulated meter starts measuring.
  TPavonMode simuMode = mNoMode;
  bool simuStart = false;
  bool focusLog = false;       // focus the log memo when its page is shown
};

const QVector<TSingleCommand>& SingleCommands();
// The row of the action; an action without one is a programming error and
// throws std::logic_error.
const TSingleCommand& SingleCommand(TAction action);
