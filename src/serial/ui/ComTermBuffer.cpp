#include "serial/ui/ComTermBuffer.h"

#include <algorithm>

#include "serial/ui/CustomComTerminal.h"

void TComTermBuffer::Init() {
  FColumns = FOwner->Columns();
  FRows = FOwner->Rows();
  FTop = 0;
  FBuffer.assign(static_cast<size_t>(FColumns) * FRows, TComTermChar());
  FTabs.assign(FColumns, false);
  for (int x = 1; x <= FColumns; x += 8) FTabs[x - 1] = true;
}

void TComTermBuffer::SetChar(int X, int Y, const TComTermChar& Char) {
  if (Inside(X, Y)) FBuffer[Index(X, Y)] = Char;
}

TComTermChar TComTermBuffer::GetChar(int X, int Y) const {
  return Inside(X, Y) ? FBuffer[Index(X, Y)] : TComTermChar();
}

void TComTermBuffer::ClearRow(int Y, int FromX) {
  const auto row = FBuffer.begin() + Index(1, Y);
  std::fill(row + (FromX - 1), row + FColumns, TComTermChar());
}

void TComTermBuffer::ScrollDown() {
  if (FRows == 0) return;
  FTop = (FTop + 1) % FRows;  // the old first row becomes the last
  ClearRow(FRows);
  FOwner->ScrollWindowLines(-1);
}

void TComTermBuffer::ScrollUp() {
  if (FRows == 0) return;
  FTop = (FTop + FRows - 1) % FRows;
  ClearRow(1);
  FOwner->ScrollWindowLines(1);
}

void TComTermBuffer::EraseLine(int X, int Y) {
  if (!Inside(X, Y)) return;
  ClearRow(Y, X);
  if (FOwner->DoubleBuffered())
    FOwner->Invalidate();
  else
    FOwner->InvalidateCells(X, Y, FColumns, Y);
}

void TComTermBuffer::EraseScreen(int X, int Y) {
  if (!Inside(X, Y)) return;
  ClearRow(Y, X);
  for (int y = Y + 1; y <= FRows; ++y) ClearRow(y);
  if (FOwner->DoubleBuffered())
    FOwner->Invalidate();
  else
    FOwner->InvalidateCells(X, Y, FColumns, FRows);
}

bool TComTermBuffer::GetTab(int X) const { return X >= 1 && X <= FColumns && FTabs[X - 1]; }

void TComTermBuffer::SetTab(int X, bool Value) {
  if (X >= 1 && X <= FColumns) FTabs[X - 1] = Value;
}

void TComTermBuffer::ClearAllTabs() { std::fill(FTabs.begin(), FTabs.end(), false); }

int TComTermBuffer::NextTab(int X) const {
  for (int x = std::max(X, 1); x <= FColumns; ++x)
    if (FTabs[x - 1]) return x;
  return 0;
}

int TComTermBuffer::GetLineLength(int Y) const {
  if (Y < 1 || Y > FRows) return 0;
  for (int x = FColumns; x >= 1; --x)
    if (!FBuffer[Index(x, Y)].Ch.isNull()) return x;
  return 0;
}

int TComTermBuffer::GetLastLine() const {
  for (int y = FRows; y >= 1; --y)
    if (GetLineLength(y) > 0) return y;
  return 0;
}
