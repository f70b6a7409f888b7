#include "serial/ComTermBuffer.h"

#include <algorithm>

void TComTermBuffer::Init(int Columns, int Rows) {
  FColumns = Columns;
  FRows = Rows;
  FTop = 0;
  FBuffer.assign(static_cast<size_t>(FColumns) * FRows, TComTermChar());
  FTabs.assign(FColumns, false);
  for (int x = 1; x <= FColumns; x += 8) FTabs[x - 1] = true;
}

void TComTermBuffer::ClearRow(int Y, int FromX) {
  const auto row = FBuffer.begin() + Index(1, Y);
  std::fill(row + (FromX - 1), row + FColumns, TComTermChar());
}

bool TComTermBuffer::ScrollDown() {
  if (FRows == 0) return false;
  FTop = (FTop + 1) % FRows;  // the old first row becomes the last
  ClearRow(FRows);
  return true;
}

bool TComTermBuffer::ScrollUp() {
  if (FRows == 0) return false;
  FTop = (FTop + FRows - 1) % FRows;
  ClearRow(1);
  return true;
}

bool TComTermBuffer::EraseLine(int X, int Y) {
  if (!Contains(X, Y)) return false;
  ClearRow(Y, X);
  return true;
}

bool TComTermBuffer::EraseScreen(int X, int Y) {
  if (!Contains(X, Y)) return false;
  ClearRow(Y, X);
  for (int y = Y + 1; y <= FRows; ++y) ClearRow(y);
  return true;
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
