#pragma once
// The terminal's character grid and tab stops; coordinates are 1-based.
// It only holds the cells: whoever edits it tells the screen what changed.

#include <vector>

#include "platform/Component.h"
#include "serial/TermTypes.h"

class TComTermBuffer : public TObject {
 public:
  // Allocates an empty grid of this size with a stop every 8th column from 1.
  void Init(int Columns, int Rows);
  // Inline: they run once per cell received and per cell painted.
  void SetChar(int X, int Y, const TComTermChar& Char) {
    if (Contains(X, Y)) FBuffer[Index(X, Y)] = Char;
  }
  TComTermChar GetChar(int X, int Y) const { return Contains(X, Y) ? FBuffer[Index(X, Y)] : TComTermChar(); }
  // Rows move up one line, the last row is cleared (ScrollUp: the reverse).
  // False before the first Init.
  bool ScrollDown();
  bool ScrollUp();
  // False when (X, Y) is outside the grid: nothing is cleared.
  bool EraseLine(int X, int Y);
  bool EraseScreen(int X, int Y);
  bool GetTab(int X) const;
  void SetTab(int X, bool Value);
  void ClearAllTabs();
  int NextTab(int X) const;
  int GetLineLength(int Y) const;
  int GetLastLine() const;

  // The size of the last Init. The terminal's own size may differ while it
  // is being loaded, so every access checks against these.
  int Columns() const { return FColumns; }
  int Rows() const { return FRows; }
  bool Contains(int X, int Y) const { return X >= 1 && X <= FColumns && Y >= 1 && Y <= FRows; }

 private:
  // Rows are kept in a ring so that scrolling clears one row instead of
  // moving the whole grid; FTop is the stored row shown as row 1. Y is inside
  // the grid, so one subtraction wraps it (a division per cell costs more
  // than the rest of putting a character).
  int Index(int X, int Y) const {
    int row = Y - 1 + FTop;
    if (row >= FRows) row -= FRows;
    return row * FColumns + (X - 1);
  }
  void ClearRow(int Y, int FromX = 1);

  std::vector<TComTermChar> FBuffer;
  std::vector<bool> FTabs;
  int FColumns = 0;
  int FRows = 0;
  int FTop = 0;
};
