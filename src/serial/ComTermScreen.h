#pragma once
// The terminal without its window: the grid, the cursor, the attributes and
// modes, and what received text and escape codes do to them. Text goes in
// through Write (or PutChar); what changed comes out through OnDamage, in
// grid cells, so that a view can repaint just that and keep its caret. Replies
// to the far end's queries leave through OnReply.
//
// Columns and Rows are the size asked for; the grid takes it at Init(). The
// view calls Init when it is ready (a control being loaded waits for all its
// settings), so a size change only reports dkResize. Until then every grid
// access is checked against the grid's own size.

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

#include "serial/ComTermBuffer.h"
#include "serial/EscapeCodes.h"
#include "serial/TermTypes.h"

class QIODevice;

enum TTermDamageKind : std::uint8_t {
  dkPut,     // a character was put in the cell Cells; the cursor is still on it
  dkCells,   // the cells Cells were cleared
  dkAll,     // the whole grid changed
  dkScroll,  // every row moved by Lines: -1 up (the top row dropped), 1 down
  dkCursor,  // the cursor left the cell Cells
  dkResize,  // Columns or Rows changed
};

// One change of the screen, in 1-based grid cells.
struct TTermDamage {
  TTermDamageKind Kind = dkAll;
  QRect Cells;
  int Lines = 0;
};

class TComTermScreen {
 public:
  // An 80 x 24 grid, allocated; white text on black.
  TComTermScreen();
  TComTermScreen(const TComTermScreen&) = delete;
  TComTermScreen& operator=(const TComTermScreen&) = delete;

  // Allocates an empty grid of Columns x Rows with the default tab stops.
  // Reports nothing: the caller knows the whole grid is new.
  void Init();
  // Init, cursor home, dkAll.
  void ClearScreen();
  // Clamped to Columns x Rows.
  void MoveCaret(int X, int Y);
  // One character without escape-sequence interpretation: controls act on
  // the cursor, 32..255 go to the grid, the rest only raise OnChar.
  void PutChar(QChar Ch);
  // Text through the parser, which keeps a sequence open between calls;
  // without a parser every character goes to PutChar.
  void Write(const QChar* Buffer, int Count);
  // Executes a code as if received, when there is a parser.
  void WriteEscCode(TEscapeCode Code, const QStringList& Params);
  // False for a code the screen does not execute.
  bool ExecuteEscapeCode(TEscapeCode Code, const QStringList& Params);
  // One byte per cell (low byte of the character), CR LF between rows.
  void SaveToStream(QIODevice& Stream) const;
  // Puts every byte from the current position to the end, through PutChar.
  void LoadFromStream(QIODevice& Stream);

  // The parser, owned; null: no escape sequences.
  TEscapeCodes* EscapeCodes() const { return FEscapeCodes.get(); }
  void SetEscapeCodes(std::unique_ptr<TEscapeCodes> Value) { FEscapeCodes = std::move(Value); }

  int Columns() const { return FColumns; }
  void SetColumns(int Value);  // 2..256
  int Rows() const { return FRows; }
  void SetRows(int Value);  // 2..100
  bool WrapLines() const { return FWrapLines; }
  void SetWrapLines(bool Value) { FWrapLines = Value; }
  // Colours of text without attributes; setting one also gives it to the
  // attributes for the next characters.
  TColor FontColor() const { return FFontColor; }
  void SetFontColor(TColor Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  // Text colour of the alternative intensity.
  TColor AltColor() const { return FAltColor; }
  void SetAltColor(TColor Value) { FAltColor = Value; }

  QPoint CaretPos() const { return FCaretPos; }
  const TComTermBuffer& Buffer() const { return FBuffer; }
  const TTermAttributes& TermAttr() const { return FTermAttr; }
  const TTermMode& TermMode() const { return FTermMode; }

  std::function<void(const TTermDamage& Damage)> OnDamage;
  // After every character put on the screen, control characters too.
  std::function<void(QChar Ch)> OnChar;
  // A code from the parser the screen does not execute, with its text.
  std::function<void(TEscapeCode Code, const QString& Data)> OnUnhandledCode;
  // The answer to a query, for the far end.
  std::function<void(const QString& Str)> OnReply;

 private:
  void Report(const TTermDamage& Damage) {
    if (OnDamage) OnDamage(Damage);
  }
  void SizeChanged();
  void AdvanceCaret();
  void LineFeed();
  void ReverseLineFeed();
  void ScrollDown();
  void ScrollUp();
  void Tab();
  void EraseLine(int X, int Y);
  void EraseScreen(int X, int Y);
  void SetAttributes(const QStringList& Params);
  void SetMode(const QStringList& Params, bool Value);
  void Reply(TEscapeCode Code, const QStringList& Params);

  TComTermBuffer FBuffer;
  std::unique_ptr<TEscapeCodes> FEscapeCodes;
  int FColumns = 80;
  int FRows = 24;
  bool FWrapLines = false;
  TColor FFontColor = clWhite;
  TColor FColor = clBlack;
  TColor FAltColor = 0xA6A6A6;
  QPoint FCaretPos{1, 1};
  QPoint FSaveCaret{0, 0};
  TTermAttributes FTermAttr;
  TTermAttributes FSaveAttr;
  TTermMode FTermMode;
};
