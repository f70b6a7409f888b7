#pragma once
// Cell, attribute and mode types of the terminal.

#include <QChar>
#include <cstdint>

#include "platform/Color.h"

struct TComTermChar {
  QChar Ch;  // 0: empty cell
  TColor FrontColor = 0;
  TColor BackColor = 0;
  bool Underline = false;
};

struct TTermAttributes {
  TColor FrontColor = 0;
  TColor BackColor = 0;
  bool Invert = false;
  bool AltIntensity = false;
  bool Underline = false;
};

enum TTermEmulation : std::uint8_t { teVT100orANSI, teVT52, teNone };
enum TTermCaret : std::uint8_t { tcBlock, tcUnderline, tcNone };
enum TArrowKeys : std::uint8_t { akTerminal, akWindows };

struct TTermMode {
  TArrowKeys Keys = akTerminal;  // akWindows: cursor keys in application mode
};
