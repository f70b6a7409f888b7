#pragma once
// Cell, attribute and mode types of the terminal control.

#include <QChar>
#include <QColor>
#include <cstdint>

#include "platform/Color.h"
#include "platform/ControlStyles.h"

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

// The terminal's colours are plain $00BBGGRR values (the attribute table, the
// font colour and Color); system colours are not used here.
inline QColor ToQColor(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
