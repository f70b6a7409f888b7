#pragma once
// The terminal control as placed on windows; all its behaviour is in
// TCustomComTerminal.

#include "serial/ui/CustomComTerminal.h"

class TComTerminal : public TCustomComTerminal {
  Q_OBJECT

 public:
  using TCustomComTerminal::TCustomComTerminal;
};
