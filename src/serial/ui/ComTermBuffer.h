#pragma once
// The terminal's character grid and tab stops; coordinates are 1-based.

#include <vector>

#include "platform/Component.h"
#include "serial/ui/TermTypes.h"

class TCustomComTerminal;

class TComTermBuffer : public TObject {
 public:
  explicit TComTermBuffer(TCustomComTerminal* AOwner) : FOwner(AOwner) {}

  // Allocates an empty grid of the owner's size with a stop every 8th column from 1.
  void Init();
  void SetChar(int X, int Y, const TComTermChar& Char);
  TComTermChar GetChar(int X, int Y) const;
  // Rows move up one line, the last row is cleared (ScrollUp: the reverse).
  void ScrollDown();
  void ScrollUp();
  void EraseLine(int X, int Y);
  void EraseScreen(int X, int Y);
  bool GetTab(int X) const;
  void SetTab(int X, bool Value);
  void ClearAllTabs();
  int NextTab(int X) const;
  int GetLineLength(int Y) const;
  int GetLastLine() const;

  // The size of the last Init. It may differ from the owner's while the
  // owner is being loaded, so every access checks against these.
  int Columns() const { return FColumns; }
  int Rows() const { return FRows; }

 private:
  bool Inside(int X, int Y) const { return X >= 1 && X <= FColumns && Y >= 1 && Y <= FRows; }
  // Rows are kept in a ring so that scrolling clears one row instead of
  // moving the whole grid; FTop is the stored row shown as row 1.
  int Index(int X, int Y) const { return ((Y - 1 + FTop) % FRows) * FColumns + (X - 1); }
  void ClearRow(int Y, int FromX = 1);

  std::vector<TComTermChar> FBuffer;
  std::vector<bool> FTabs;
  TCustomComTerminal* FOwner;
  int FColumns = 0;
  int FRows = 0;
  int FTop = 0;
};
