#include "serial/ComTermScreen.h"

#include <QIODevice>
#include <algorithm>
#include <climits>

namespace {

// Cursor arithmetic on parameters that may be anywhere in the int range.
int Sum(int a, long long b) { return static_cast<int>(std::clamp<long long>(a + b, INT_MIN, INT_MAX)); }

// The eight colours of the attribute codes 30..39 / 40..49 by their last digit.
constexpr TColor AttrColors[10] = {0x000000, 0x0000FF, 0x008000, 0x00FFFF, 0xFF0000,
                                   0x800080, 0x0080FF, 0xFFFFFF, 0x000080, 0x808080};

QRect Cell(int X, int Y) { return QRect(X, Y, 1, 1); }

}  // namespace

TComTermScreen::TComTermScreen() {
  FTermAttr.FrontColor = FFontColor;
  FTermAttr.BackColor = FColor;
  Init();
}

void TComTermScreen::Init() { FBuffer.Init(FColumns, FRows); }

void TComTermScreen::ClearScreen() {
  Init();
  MoveCaret(1, 1);
  Report({dkAll, {}, 0});
}

// ---------------------------------------------------------------- size and colours

void TComTermScreen::SetColumns(int Value) {
  Value = std::clamp(Value, 2, 256);
  if (Value == FColumns) return;
  FColumns = Value;
  SizeChanged();
}

void TComTermScreen::SetRows(int Value) {
  Value = std::clamp(Value, 2, 100);
  if (Value == FRows) return;
  FRows = Value;
  SizeChanged();
}

void TComTermScreen::SizeChanged() {
  Report({dkResize, {}, 0});
  // A cursor left outside a smaller grid would write past its rows.
  MoveCaret(FCaretPos.x(), FCaretPos.y());
}

void TComTermScreen::SetFontColor(TColor Value) {
  FFontColor = Value;
  FTermAttr.FrontColor = Value;
}

void TComTermScreen::SetColor(TColor Value) {
  FColor = Value;
  FTermAttr.BackColor = Value;
}

// ---------------------------------------------------------------- cursor

void TComTermScreen::MoveCaret(int X, int Y) {
  const QPoint pos(std::clamp(X, 1, FColumns), std::clamp(Y, 1, FRows));
  if (pos == FCaretPos) return;
  const QPoint old = FCaretPos;
  FCaretPos = pos;
  Report({dkCursor, Cell(old.x(), old.y())});
}

void TComTermScreen::AdvanceCaret() {
  const int x = FCaretPos.x(), y = FCaretPos.y();
  if (x < FColumns) {
    MoveCaret(x + 1, y);
  } else if (FWrapLines) {
    if (y < FRows) {
      MoveCaret(1, y + 1);
    } else {
      ScrollDown();
      MoveCaret(1, y);
    }
  }
}

void TComTermScreen::LineFeed() {
  if (FCaretPos.y() < FRows)
    MoveCaret(FCaretPos.x(), FCaretPos.y() + 1);
  else
    ScrollDown();
}

void TComTermScreen::ReverseLineFeed() {
  if (FCaretPos.y() > 1)
    MoveCaret(FCaretPos.x(), FCaretPos.y() - 1);
  else
    ScrollUp();
}

void TComTermScreen::ScrollDown() {
  if (FBuffer.ScrollDown()) Report({dkScroll, {}, -1});
}

void TComTermScreen::ScrollUp() {
  if (FBuffer.ScrollUp()) Report({dkScroll, {}, 1});
}

void TComTermScreen::Tab() {
  const int x = FBuffer.NextTab(FCaretPos.x() + 1);
  if (x > 0) MoveCaret(x, FCaretPos.y());
}

void TComTermScreen::EraseLine(int X, int Y) {
  if (FBuffer.EraseLine(X, Y)) Report({dkCells, QRect(QPoint(X, Y), QPoint(FBuffer.Columns(), Y))});
}

void TComTermScreen::EraseScreen(int X, int Y) {
  if (!FBuffer.EraseScreen(X, Y)) return;
  // The rows below Y are cleared whole, so they are reported from column 1
  // (the kept cells left of X on row Y are repainted with them).
  const int left = Y < FBuffer.Rows() ? 1 : X;
  Report({dkCells, QRect(QPoint(left, Y), QPoint(FBuffer.Columns(), FBuffer.Rows()))});
}

// ---------------------------------------------------------------- text in

void TComTermScreen::PutChar(QChar Ch) {
  const int x = FCaretPos.x(), y = FCaretPos.y();
  switch (Ch.unicode()) {
    case 12: ClearScreen(); break;
    case 8: MoveCaret(x - 1, y); break;
    case 9: Tab(); break;
    case 10: LineFeed(); break;
    case 13: MoveCaret(1, y); break;
    default:
      if (Ch.unicode() >= 32 && Ch.unicode() <= 255) {
        TComTermChar cell;
        cell.Ch = Ch;
        cell.FrontColor = FTermAttr.AltIntensity ? FAltColor
                          : FTermAttr.Invert     ? FTermAttr.BackColor
                                                 : FTermAttr.FrontColor;
        cell.BackColor = FTermAttr.Invert ? FTermAttr.FrontColor : FTermAttr.BackColor;
        cell.Underline = FTermAttr.Underline;
        FBuffer.SetChar(x, y, cell);
        Report({dkPut, Cell(x, y)});
        AdvanceCaret();
      }
      break;
  }
  if (OnChar) OnChar(Ch);
}

void TComTermScreen::Write(const QChar* Buffer, int Count) {
  for (int i = 0; i < Count; ++i) {
    // Looked up per character: a handler may have changed the parser.
    TEscapeCodes* codes = FEscapeCodes.get();
    if (codes == nullptr) {
      PutChar(Buffer[i]);
      continue;
    }
    switch (codes->ProcessChar(Buffer[i])) {
      case erChar: PutChar(codes->Character()); break;
      case erCode: {
        const TEscapeCode code = codes->Code();
        const QStringList params = codes->Params();
        const QString data = codes->Data();
        if (!ExecuteEscapeCode(code, params) && OnUnhandledCode) OnUnhandledCode(code, data);
        if (FEscapeCodes) FEscapeCodes->Params().clear();
        break;
      }
      case erNothing: break;
    }
  }
}

void TComTermScreen::WriteEscCode(TEscapeCode Code, const QStringList& Params) {
  if (FEscapeCodes) ExecuteEscapeCode(Code, Params);
}

bool TComTermScreen::ExecuteEscapeCode(TEscapeCode Code, const QStringList& Params) {
  const int x = FCaretPos.x(), y = FCaretPos.y();
  const int p1 = TEscapeCodes::GetParam(1, Params);
  const int p2 = TEscapeCodes::GetParam(2, Params);
  switch (Code) {
    case ecCursorUp:
    case ecAppCursorUp: MoveCaret(x, Sum(y, -static_cast<long long>(p1))); break;
    case ecCursorDown: MoveCaret(x, Sum(y, p1)); break;
    case ecCursorLeft: MoveCaret(Sum(x, -static_cast<long long>(p1)), y); break;
    case ecCursorRight: MoveCaret(Sum(x, p1), y); break;
    case ecCursorHome:
    case ecCursorMove: MoveCaret(p2, p1); break;
    case ecReverseLineFeed: ReverseLineFeed(); break;
    case ecEraseLineFrom: EraseLine(x, y); break;
    case ecEraseScreenFrom: EraseScreen(x, y); break;
    case ecEraseLine:
      EraseLine(1, y);
      MoveCaret(1, y);
      break;
    case ecEraseScreen:
      EraseScreen(1, 1);
      MoveCaret(1, 1);
      break;
    case ecSetTab: FBuffer.SetTab(x, true); break;
    case ecClearTab: FBuffer.SetTab(x, false); break;
    case ecClearAllTabs: FBuffer.ClearAllTabs(); break;
    case ecIdentify: Reply(ecIdentResponse, {QStringLiteral("2")}); break;
    case ecQueryDevice: Reply(ecReportDeviceOK, {}); break;
    case ecQueryCursorPos: Reply(ecReportCursorPos, {QString::number(y), QString::number(x)}); break;
    case ecAttributes: SetAttributes(Params); break;
    case ecSetMode: SetMode(Params, true); break;
    case ecResetMode: SetMode(Params, false); break;
    case ecReset: SetAttributes({QStringLiteral("0")}); break;
    case ecSaveCaretAndAttr:
      FSaveCaret = FCaretPos;
      FSaveAttr = FTermAttr;
      break;
    case ecRestoreCaretAndAttr:
      MoveCaret(FSaveCaret.x(), FSaveCaret.y());
      FTermAttr = FSaveAttr;
      break;
    case ecSaveCaret: FSaveCaret = FCaretPos; break;
    case ecRestoreCaret: MoveCaret(FSaveCaret.x(), FSaveCaret.y()); break;
    case ecTest: {
      TComTermChar cell;
      cell.Ch = u'E';
      cell.FrontColor = FFontColor;
      cell.BackColor = FColor;
      for (int row = 1; row <= FBuffer.Rows(); ++row)
        for (int col = 1; col <= FBuffer.Columns(); ++col) FBuffer.SetChar(col, row, cell);
      Report({dkAll, {}, 0});
      break;
    }
    default: return false;
  }
  return true;
}

void TComTermScreen::SetAttributes(const QStringList& Params) {
  const auto reset = [this] {
    FTermAttr.FrontColor = FFontColor;
    FTermAttr.BackColor = FColor;
    FTermAttr.Invert = FTermAttr.AltIntensity = FTermAttr.Underline = false;
  };
  if (Params.isEmpty()) {
    reset();
    return;
  }
  for (int i = 1; i <= Params.size(); ++i) {
    const int n = TEscapeCodes::GetParam(i, Params);
    switch (n) {
      case 0: reset(); break;
      case 1: FTermAttr.AltIntensity = true; break;
      case 21: FTermAttr.AltIntensity = false; break;
      case 4: FTermAttr.Underline = true; break;
      case 24: FTermAttr.Underline = false; break;
      case 7: FTermAttr.Invert = true; break;
      case 27: FTermAttr.Invert = false; break;
      default:
        if (n >= 30 && n <= 39) FTermAttr.FrontColor = AttrColors[n - 30];
        if (n >= 40 && n <= 49) FTermAttr.BackColor = AttrColors[n - 40];
        break;
    }
  }
}

void TComTermScreen::SetMode(const QStringList& Params, bool Value) {
  if (Params.isEmpty()) return;
  const QString& mode = Params.first();
  if (mode == QLatin1String("?1"))
    FTermMode.Keys = Value ? akWindows : akTerminal;
  else if (mode == QLatin1String("7"))
    FWrapLines = Value;
  else if (mode == QLatin1String("?3"))
    SetColumns(Value ? 132 : 80);
}

void TComTermScreen::Reply(TEscapeCode Code, const QStringList& Params) {
  if (FEscapeCodes && OnReply) OnReply(FEscapeCodes->EscCodeToStr(Code, Params));
}

// ---------------------------------------------------------------- streams

void TComTermScreen::SaveToStream(QIODevice& Stream) const {
  QByteArray out;
  const int last = FBuffer.GetLastLine();
  for (int y = 1; y <= last; ++y) {
    const int length = FBuffer.GetLineLength(y);
    for (int x = 1; x <= length; ++x) {
      const QChar ch = FBuffer.GetChar(x, y).Ch;
      out += ch.isNull() ? ' ' : static_cast<char>(ch.unicode() & 0xFF);
    }
    if (y < last) out += "\r\n";
  }
  if (!out.isEmpty()) Stream.write(out);
}

void TComTermScreen::LoadFromStream(QIODevice& Stream) {
  char chunk[4096];
  qint64 n;
  while ((n = Stream.read(chunk, sizeof chunk)) > 0)
    for (qint64 i = 0; i < n; ++i) PutChar(QChar(static_cast<unsigned char>(chunk[i])));
}
