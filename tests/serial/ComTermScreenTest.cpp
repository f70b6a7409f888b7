// The terminal's screen without a window: bytes in, cells, cursor, damage
// and replies out.
#include <gtest/gtest.h>

#include <QBuffer>
#include <random>
#include <string>
#include <vector>

#include "serial/ComTermScreen.h"
#include "serial/EscapeCodesVT100.h"
#include "serial/EscapeCodesVT52.h"

namespace {

// Text written with '~' standing for ESC.
QString Esc(const char* s) { return QString::fromLatin1(s).replace(u'~', QChar(27)); }

QPoint Pos(int x, int y) { return QPoint(x, y); }

// A screen wired as the control wires it: the parser of the emulation, and a
// new grid whenever the size changes. Damage and replies are logged.
struct Screen {
  explicit Screen(TTermEmulation emu = teNone, bool wrap = false) {
    if (emu == teVT100orANSI) s.SetEscapeCodes(std::make_unique<TEscapeCodesVT100>());
    if (emu == teVT52) s.SetEscapeCodes(std::make_unique<TEscapeCodesVT52>());
    s.SetWrapLines(wrap);
    s.OnDamage = [this](const TTermDamage& d) {
      if (d.Kind == dkResize) s.Init();
      damage.push_back(d);
    };
    s.OnReply = [this](const QString& r) { replies += r; };
  }
  void Write(const QString& str) { s.Write(str.constData(), static_cast<int>(str.size())); }
  void Write(const char* str) { Write(Esc(str)); }
  QString Row(int y) const {
    QString r;
    for (int x = 1; x <= s.Buffer().GetLineLength(y); ++x) {
      const QChar c = s.Buffer().GetChar(x, y).Ch;
      r += c.isNull() ? u'.' : c;
    }
    return r;
  }
  QChar At(int x, int y) const { return s.Buffer().GetChar(x, y).Ch; }
  QByteArray Saved() const {
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    s.SaveToStream(out);
    return out.data();
  }

  TComTermScreen s;
  std::vector<TTermDamage> damage;
  QString replies;
};

std::string Describe(const std::vector<TTermDamage>& list) {
  std::string out;
  for (const TTermDamage& d : list) {
    if (!out.empty()) out += "; ";
    const QRect& c = d.Cells;
    const std::string at = std::to_string(c.left()) + "," + std::to_string(c.top());
    switch (d.Kind) {
      case dkPut: out += "put " + at; break;
      case dkCursor: out += "cursor " + at; break;
      case dkCells: out += "cells " + at + "-" + std::to_string(c.right()) + "," + std::to_string(c.bottom()); break;
      case dkAll: out += "all"; break;
      case dkScroll: out += "scroll " + std::to_string(d.Lines); break;
      case dkResize: out += "resize"; break;
    }
  }
  return out;
}

// ------------------------------------------------------------ text and controls

TEST(ComTermScreen, TextGoesToTheGridAndEveryCharacterRaisesOnChar) {
  Screen t;
  QString seen;
  t.s.OnChar = [&](QChar ch) { seen += ch; };
  t.Write("AB\r\nC\x07");
  EXPECT_EQ(t.Row(1), "AB");
  EXPECT_EQ(t.Row(2), "C");
  EXPECT_EQ(t.s.CaretPos(), Pos(2, 2));
  EXPECT_EQ(seen, "AB\r\nC\x07");
}

TEST(ComTermScreen, WithoutAParserEscapeSequencesAreText) {
  Screen t;
  t.Write("~[2J");
  EXPECT_EQ(t.Row(1), "[2J") << "ESC itself is a control that shows nothing";
}

TEST(ComTermScreen, WrappingAtTheLastCellScrollsTheGrid) {
  Screen t(teNone, true);
  t.Write("top");
  t.s.MoveCaret(80, 24);
  t.Write("X");
  EXPECT_EQ(t.s.CaretPos(), Pos(1, 24));
  EXPECT_EQ(t.At(80, 23), u'X');
  EXPECT_EQ(t.Row(1), "") << "the first row scrolled away";
  t.Write("Y");
  EXPECT_EQ(t.Row(24), "Y");
}

TEST(ComTermScreen, WithoutWrapTheLastColumnIsOverwritten) {
  Screen t(teNone, false);
  t.s.MoveCaret(79, 1);
  t.Write("abc");
  EXPECT_EQ(t.s.CaretPos(), Pos(80, 1));
  EXPECT_EQ(t.At(79, 1), u'a');
  EXPECT_EQ(t.At(80, 1), u'c');
  EXPECT_EQ(t.Row(2), "");
}

TEST(ComTermScreen, WrapInsideTheGridGoesToTheNextRow) {
  Screen t(teNone, true);
  t.s.MoveCaret(80, 3);
  t.Write("ab");
  EXPECT_EQ(t.At(80, 3), u'a');
  EXPECT_EQ(t.Row(4), "b");
}

struct Move {
  QPoint from;
  const char* input;
  QPoint to;
};

void PrintTo(const Move& m, std::ostream* os) { *os << QString::fromLatin1(m.input).toUtf8().toPercentEncoding().data(); }

class ControlCharTest : public testing::TestWithParam<Move> {};

TEST_P(ControlCharTest, MovesTheCursor) {
  Screen t;
  t.s.MoveCaret(GetParam().from.x(), GetParam().from.y());
  t.Write(QString::fromLatin1(GetParam().input));
  EXPECT_EQ(t.s.CaretPos(), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(All, ControlCharTest, testing::Values(
    Move{{1, 1}, "\t", {9, 1}}, Move{{8, 1}, "\t", {9, 1}}, Move{{9, 1}, "\t", {17, 1}},
    Move{{72, 1}, "\t", {73, 1}}, Move{{73, 1}, "\t", {73, 1}}, Move{{80, 1}, "\t", {80, 1}},
    Move{{1, 1}, "\b", {1, 1}}, Move{{5, 2}, "\b", {4, 2}}, Move{{5, 2}, "\r", {1, 2}},
    Move{{5, 2}, "\n", {5, 3}}, Move{{5, 24}, "\n", {5, 24}},
    Move{{5, 2}, "\x01\x07\x0b\x1b\x7f", {6, 2}}));  // other controls do nothing; DEL is a cell

TEST(ComTermScreen, BackspaceErasesNothing) {
  Screen t;
  t.Write("ab\b\b\b");
  EXPECT_EQ(t.s.CaretPos(), Pos(1, 1));
  EXPECT_EQ(t.Row(1), "ab");
}

TEST(ComTermScreen, LineFeedAtTheLastRowScrollsAndKeepsTheCursor) {
  Screen t;
  t.Write("first\r\nsecond");
  t.s.MoveCaret(3, 24);
  t.Write("\n");
  EXPECT_EQ(t.Row(1), "second");
  EXPECT_EQ(t.s.CaretPos(), Pos(3, 24));
}

TEST(ComTermScreen, FormFeedClearsGridRestoresTabsAndHomes) {
  Screen t(teVT100orANSI);
  t.Write("abc\r\n~[3g~[5;5H");
  t.Write("\f");
  EXPECT_EQ(t.s.Buffer().GetLastLine(), 0);
  EXPECT_EQ(t.s.CaretPos(), Pos(1, 1));
  t.Write("\t");
  EXPECT_EQ(t.s.CaretPos(), Pos(9, 1));
}

// A size asked for reaches the grid only at Init (the control holds it back
// while it is being loaded); the cursor is pulled inside at once.
TEST(ComTermScreen, SizeIsClampedAndTakenByTheGridAtInit) {
  TComTermScreen s;
  int resized = 0;
  s.OnDamage = [&](const TTermDamage& d) { resized += d.Kind == dkResize; };
  s.MoveCaret(70, 20);
  s.SetColumns(300);
  s.SetRows(1);
  EXPECT_EQ(s.Columns(), 256);
  EXPECT_EQ(s.Rows(), 2);
  EXPECT_EQ(resized, 2);
  EXPECT_EQ(s.CaretPos(), Pos(70, 2));
  EXPECT_EQ(s.Buffer().Rows(), 24);
  s.PutChar(u'x');  // the grid still has 24 rows: row 2 exists
  EXPECT_EQ(s.Buffer().GetChar(70, 2).Ch, u'x');
  s.SetRows(2);
  EXPECT_EQ(resized, 2) << "no change, no report";
  s.Init();
  EXPECT_EQ(s.Buffer().Columns(), 256);
  EXPECT_EQ(s.Buffer().Rows(), 2);
  EXPECT_EQ(s.Buffer().GetLastLine(), 0);
  s.SetColumns(1);
  EXPECT_EQ(s.Columns(), 2);
  EXPECT_EQ(s.CaretPos(), Pos(2, 2));
}

TEST(ComTermScreen, WritesOutsideAGridNotYetResizedAreDropped) {
  TComTermScreen s;
  s.SetRows(48);
  s.MoveCaret(1, 40);
  const QString text("safe");
  s.Write(text.constData(), 4);
  EXPECT_EQ(s.Buffer().GetLastLine(), 0);
  EXPECT_EQ(s.CaretPos(), Pos(5, 40));
}

// ------------------------------------------------------------ streams

TEST(ComTermScreen, SaveToStreamWritesRowsWithSpacesAndCrLf) {
  Screen t;
  EXPECT_TRUE(t.Saved().isEmpty());
  t.Write("AB");
  t.s.MoveCaret(2, 3);
  t.Write("C");
  EXPECT_EQ(t.Saved(), QByteArray("AB\r\n\r\n C"));
}

TEST(ComTermScreen, SaveWritesTheLowByteOfEachCharacter) {
  Screen t;
  t.Write(QString::fromLatin1("\xE4\xFF"));
  EXPECT_EQ(t.Saved(), QByteArray("\xE4\xFF"));
}

TEST(ComTermScreen, LoadFromStreamPutsBytesWithoutInterpretingSequences) {
  Screen t(teVT100orANSI);
  QByteArray data("skip|AB\r\n\x1b[2J\xE9");
  QBuffer in(&data);
  in.open(QIODevice::ReadOnly);
  in.seek(5);  // from the current position to the end
  t.s.LoadFromStream(in);
  EXPECT_EQ(t.Row(1), "AB");
  EXPECT_EQ(t.Row(2), QString::fromLatin1("[2J\xE9"));
}

TEST(ComTermScreen, SavedTextLoadsBackToTheSameGrid) {
  Screen a;
  a.Write("one\r\n\r\n  three\tx");
  QBuffer buf;
  buf.open(QIODevice::ReadWrite);
  a.s.SaveToStream(buf);
  Screen b;
  buf.seek(0);
  b.s.LoadFromStream(buf);
  for (int y = 1; y <= 4; ++y) EXPECT_EQ(b.Row(y), a.Row(y).replace(u'.', u' ')) << y;
}

// ------------------------------------------------------------ escape codes

struct Exec {
  TTermEmulation emu;
  QPoint from;
  const char* input;  // '~' is ESC
  QPoint to;
};

void PrintTo(const Exec& e, std::ostream* os) { *os << e.input; }

class CursorCodeTest : public testing::TestWithParam<Exec> {};

TEST_P(CursorCodeTest, MovesAndClamps) {
  Screen t(GetParam().emu);
  t.s.MoveCaret(GetParam().from.x(), GetParam().from.y());
  t.Write(GetParam().input);
  EXPECT_EQ(t.s.CaretPos(), GetParam().to);
}

INSTANTIATE_TEST_SUITE_P(VT100, CursorCodeTest, testing::Values(
    Exec{teVT100orANSI, {1, 1}, "~[5;10H", {10, 5}}, Exec{teVT100orANSI, {1, 1}, "~[5;10f", {10, 5}},
    Exec{teVT100orANSI, {7, 7}, "~[H", {1, 1}}, Exec{teVT100orANSI, {7, 7}, "~[0;0H", {1, 1}},
    Exec{teVT100orANSI, {7, 7}, "~[99;999H", {80, 24}}, Exec{teVT100orANSI, {10, 10}, "~[3A", {10, 7}},
    Exec{teVT100orANSI, {10, 10}, "~[A", {10, 9}}, Exec{teVT100orANSI, {10, 10}, "~[0A", {10, 10}},
    Exec{teVT100orANSI, {10, 10}, "~[2B", {10, 12}}, Exec{teVT100orANSI, {10, 10}, "~[4C", {14, 10}},
    Exec{teVT100orANSI, {10, 10}, "~[4D", {6, 10}}, Exec{teVT100orANSI, {10, 10}, "~[99D", {1, 10}},
    Exec{teVT100orANSI, {10, 10}, "~OA", {10, 9}}, Exec{teVT100orANSI, {10, 10}, "~OB", {10, 10}},
    Exec{teVT100orANSI, {10, 10}, "~[-2147483648A", {10, 24}},
    Exec{teVT100orANSI, {10, 10}, "~[2147483647B", {10, 24}},
    Exec{teVT100orANSI, {10, 10}, "~[99999999999C", {11, 10}},  // too large: read as 1
    Exec{teVT100orANSI, {10, 10}, "~[5;10", {10, 10}},           // not finished yet
    Exec{teVT100orANSI, {3, 4}, "~7~[9;9H~8", {3, 4}}, Exec{teVT100orANSI, {3, 4}, "~[s~[H~[u", {3, 4}},
    Exec{teVT100orANSI, {3, 4}, "~8", {1, 1}}));  // nothing saved yet: (0, 0) clamps

INSTANTIATE_TEST_SUITE_P(VT52, CursorCodeTest, testing::Values(
    Exec{teVT52, {1, 1}, "~Y$(", {9, 5}}, Exec{teVT52, {5, 5}, "~A", {5, 4}},
    Exec{teVT52, {5, 5}, "~B", {5, 6}}, Exec{teVT52, {5, 5}, "~C", {6, 5}},
    Exec{teVT52, {5, 5}, "~D", {4, 5}}, Exec{teVT52, {5, 5}, "~H", {1, 1}},
    Exec{teVT52, {5, 5}, "~I", {5, 4}}, Exec{teVT52, {5, 5}, "~Y\x7f\x7f", {80, 24}}));

TEST(ComTermScreen, SequenceSplitAcrossWritesIsExecuted) {
  Screen t(teVT100orANSI);
  const QString in = Esc("ab~[12;34Hc");
  for (int split = 0; split <= in.size(); ++split) {
    t.s.ClearScreen();
    t.Write(in.left(split));
    t.Write(in.mid(split));
    EXPECT_EQ(t.Row(1), "ab") << split;
    EXPECT_EQ(t.At(34, 12), u'c') << split;
  }
}

TEST(ComTermScreen, EraseCodes) {
  Screen t(teVT100orANSI);
  const auto fill = [&] {
    t.s.ClearScreen();
    t.Write("1111\r\n2222\r\n3333");
    t.s.MoveCaret(3, 2);
  };
  fill();
  t.Write("~[K");
  EXPECT_EQ(t.Row(2), "22");
  EXPECT_EQ(t.s.CaretPos(), Pos(3, 2));
  fill();
  t.Write("~[2K");
  EXPECT_EQ(t.Row(2), "");
  EXPECT_EQ(t.s.CaretPos(), Pos(1, 2));
  fill();
  t.Write("~[J");
  EXPECT_EQ(t.Row(1), "1111");
  EXPECT_EQ(t.Row(2), "22");
  EXPECT_EQ(t.Row(3), "");
  fill();
  t.Write("~[2J");
  EXPECT_EQ(t.s.Buffer().GetLastLine(), 0);
  EXPECT_EQ(t.s.CaretPos(), Pos(1, 1));
}

TEST(ComTermScreen, ReverseLineFeedAtTheTopScrollsDown) {
  Screen t(teVT52);
  t.Write("top~I");
  EXPECT_EQ(t.Row(1), "");
  EXPECT_EQ(t.Row(2), "top");
  EXPECT_EQ(t.s.CaretPos(), Pos(4, 1));
}

TEST(ComTermScreen, TabStopCodes) {
  Screen t(teVT100orANSI);
  t.Write("~[1;5H~H\r\t");
  EXPECT_EQ(t.s.CaretPos(), Pos(5, 1)) << "new stop at column 5";
  t.Write("~[g\r\t");
  EXPECT_EQ(t.s.CaretPos(), Pos(9, 1)) << "stop at 5 cleared again";
  t.Write("~[3g\r\t");
  EXPECT_EQ(t.s.CaretPos(), Pos(1, 1)) << "no stops left";
}

struct Attr {
  const char* input;
  TColor front, back;
  bool underline;
};

void PrintTo(const Attr& a, std::ostream* os) { *os << a.input; }

class AttributeTest : public testing::TestWithParam<Attr> {};

TEST_P(AttributeTest, ColoursTheNextCell) {
  Screen t(teVT100orANSI);
  t.s.SetFontColor(0x112233);
  t.s.SetColor(0x445566);
  t.s.SetAltColor(0x778899);
  t.Write(Esc(GetParam().input) + u'x');
  const TComTermChar cell = t.s.Buffer().GetChar(t.s.CaretPos().x() - 1, 1);
  ASSERT_EQ(cell.Ch, u'x');
  EXPECT_EQ(cell.FrontColor, GetParam().front);
  EXPECT_EQ(cell.BackColor, GetParam().back);
  EXPECT_EQ(cell.Underline, GetParam().underline);
}

INSTANTIATE_TEST_SUITE_P(All, AttributeTest, testing::Values(
    Attr{"", 0x112233, 0x445566, false}, Attr{"~[31m", 0x0000FF, 0x445566, false},
    Attr{"~[32;44m", 0x008000, 0xFF0000, false}, Attr{"~[30;40m", 0x000000, 0x000000, false},
    Attr{"~[33;45m", 0x00FFFF, 0x800080, false}, Attr{"~[36;47m", 0x0080FF, 0xFFFFFF, false},
    Attr{"~[38;49m", 0x000080, 0x808080, false}, Attr{"~[31;44;0m", 0x112233, 0x445566, false},
    Attr{"~[31;44m~[m", 0x112233, 0x445566, false}, Attr{"~[31;44m~c", 0x112233, 0x445566, false},
    Attr{"~[4m", 0x112233, 0x445566, true}, Attr{"~[4;24m", 0x112233, 0x445566, false},
    Attr{"~[7m", 0x445566, 0x112233, false}, Attr{"~[7;27m", 0x112233, 0x445566, false},
    Attr{"~[1m", 0x778899, 0x445566, false}, Attr{"~[1;7m", 0x778899, 0x112233, false},
    Attr{"~[1;21m", 0x112233, 0x445566, false}, Attr{"~[31;50;2;99m", 0x0000FF, 0x445566, false},
    Attr{"~[31m~7~[32m~8", 0x0000FF, 0x445566, false},
    Attr{"~8", 0x000000, 0x000000, false}));  // restoring never-saved attributes

TEST(ComTermScreen, ModeCodes) {
  Screen t(teVT100orANSI);
  t.Write("~[7h");
  EXPECT_TRUE(t.s.WrapLines());
  t.Write("~[7l");
  EXPECT_FALSE(t.s.WrapLines());
  t.Write("~[?1h");
  EXPECT_EQ(t.s.TermMode().Keys, akWindows);
  t.Write("~[?1l");
  EXPECT_EQ(t.s.TermMode().Keys, akTerminal);
  t.Write("text~[?3h");
  EXPECT_EQ(t.s.Columns(), 132);
  EXPECT_EQ(t.s.Buffer().GetLastLine(), 0);
  t.Write("~[?3l");
  EXPECT_EQ(t.s.Columns(), 80);
  t.Write("~[1;7h");  // only the first parameter counts
  EXPECT_FALSE(t.s.WrapLines());
}

TEST(ComTermScreen, ScreenTestFillsEveryCellInThePlainColours) {
  Screen t(teVT100orANSI);
  t.s.SetFontColor(0x112233);
  t.Write("~[31;42m~#8");
  for (QPoint p : {Pos(1, 1), Pos(80, 24), Pos(40, 12)}) {
    const TComTermChar c = t.s.Buffer().GetChar(p.x(), p.y());
    EXPECT_EQ(c.Ch, u'E');
    EXPECT_EQ(c.FrontColor, 0x112233);
    EXPECT_EQ(c.BackColor, t.s.Color());
  }
}

TEST(ComTermScreen, QueriesAreAnsweredInTheParsersLanguage) {
  Screen vt100(teVT100orANSI);
  vt100.s.MoveCaret(5, 3);
  vt100.Write("~[6n~[5n~[c");
  EXPECT_EQ(vt100.replies, Esc("~[3;5R~[0n~[?1;2c"));
  Screen vt52(teVT52);
  vt52.Write("~Z");
  EXPECT_EQ(vt52.replies, Esc("~/Z"));
  // Executed without a parser there is no language to answer in.
  Screen none;
  none.s.ExecuteEscapeCode(ecQueryCursorPos, {});
  EXPECT_TRUE(none.replies.isEmpty());
}

TEST(ComTermScreen, UnhandledCodesAreReportedWithTheirData) {
  Screen t(teVT100orANSI);
  std::vector<std::pair<TEscapeCode, QString>> unhandled;
  t.s.OnUnhandledCode = [&](TEscapeCode code, const QString& data) { unhandled.emplace_back(code, data); };
  t.Write("~x~OB~[1J~[3;4R~[0n");
  const std::vector<std::pair<TEscapeCode, QString>> expected{{ecUnknown, "x"},
                                                              {ecAppCursorDown, "OB"},
                                                              {ecUnknown, "[1J"},
                                                              {ecReportCursorPos, "[3;4R"},
                                                              {ecReportDeviceOK, "[0n"}};
  EXPECT_EQ(unhandled, expected);
  EXPECT_TRUE(t.s.EscapeCodes()->Params().isEmpty()) << "parameters are cleared after each code";
}

TEST(ComTermScreen, AHandlerDroppingTheParserMidTextIsSafe) {
  Screen t(teVT100orANSI);
  t.s.OnUnhandledCode = [&](TEscapeCode, const QString&) { t.s.SetEscapeCodes(nullptr); };
  t.Write("~x~[2J");
  EXPECT_EQ(t.Row(1), "[2J");
}

// ------------------------------------------------------------ damage

struct Damage {
  TTermEmulation emu;
  bool wrap;
  QPoint from;
  const char* input;  // '~' is ESC
  const char* reported;
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.input; }

class DamageTest : public testing::TestWithParam<Damage> {};

TEST_P(DamageTest, ReportsWhatChanged) {
  Screen t(GetParam().emu, GetParam().wrap);
  t.Write("1111\r\n2222\r\n3333");
  t.s.MoveCaret(GetParam().from.x(), GetParam().from.y());
  t.damage.clear();
  t.Write(GetParam().input);
  EXPECT_EQ(Describe(t.damage), GetParam().reported);
}

INSTANTIATE_TEST_SUITE_P(All, DamageTest, testing::Values(
    Damage{teNone, false, {1, 1}, "AB", "put 1,1; cursor 1,1; put 2,1; cursor 2,1"},
    Damage{teNone, false, {80, 1}, "ab", "put 80,1; put 80,1"},
    Damage{teNone, true, {80, 24}, "X", "put 80,24; scroll -1; cursor 80,24"},
    Damage{teNone, false, {5, 24}, "\n", "scroll -1"},
    Damage{teNone, false, {3, 2}, "\f", "cursor 3,2; all"},
    Damage{teNone, false, {1, 1}, "\x07\b", ""},
    Damage{teVT52, false, {5, 1}, "~I", "scroll 1"},
    Damage{teVT100orANSI, false, {3, 2}, "~[K", "cells 3,2-80,2"},
    Damage{teVT100orANSI, false, {3, 2}, "~[2K", "cells 1,2-80,2; cursor 3,2"},
    // The rows below are cleared from their first column.
    Damage{teVT100orANSI, false, {3, 2}, "~[J", "cells 1,2-80,24"},
    Damage{teVT100orANSI, false, {3, 24}, "~[J", "cells 3,24-80,24"},
    Damage{teVT100orANSI, false, {3, 2}, "~[2J", "cells 1,1-80,24; cursor 3,2"},
    Damage{teVT100orANSI, false, {3, 2}, "~#8", "all"},
    Damage{teVT100orANSI, false, {3, 2}, "~[?3h", "resize"},
    Damage{teVT100orANSI, false, {1, 1}, "~[H~[31m~[7h~[5n", ""}));

// A view that copies only what is reported ends up with the grid itself,
// whatever arrives: nothing changes on the screen unreported.
TEST(ComTermScreen, ReportedDamageKeepsACopyOfTheGridExact) {
  for (TTermEmulation emu : {teVT100orANSI, teVT52, teNone}) {
    Screen t(emu, true);
    std::vector<QChar> copy;
    int columns = 0, rows = 0;
    const auto take = [&](const QRect& cells) {
      for (int y = cells.top(); y <= cells.bottom(); ++y)
        for (int x = cells.left(); x <= cells.right(); ++x) copy[(y - 1) * columns + x - 1] = t.At(x, y);
    };
    const auto takeAll = [&] {
      columns = t.s.Buffer().Columns();
      rows = t.s.Buffer().Rows();
      copy.assign(static_cast<size_t>(columns) * rows, QChar());
      take(QRect(1, 1, columns, rows));
    };
    t.s.OnDamage = [&](const TTermDamage& d) {
      switch (d.Kind) {
        case dkPut:
        case dkCells: take(d.Cells); break;
        case dkResize: t.s.Init(); [[fallthrough]];
        case dkAll: takeAll(); break;
        case dkScroll: {
          const int shift = -d.Lines;  // rows move up by one for -1
          std::vector<QChar> moved(copy.size());
          for (int y = 1; y <= rows; ++y) {
            const int from = y + shift;
            if (from >= 1 && from <= rows)
              std::copy_n(copy.begin() + (from - 1) * columns, columns, moved.begin() + (y - 1) * columns);
          }
          copy.swap(moved);
          break;
        }
        case dkCursor: break;
      }
    };
    t.s.SetColumns(12);
    t.s.SetRows(6);
    // Whole sequences of both languages, and pieces of them.
    const char* const pieces[] = {"ab", "xyz", " ", "\r", "\n", "\t", "\b", "\f", "~[J", "~[K", "~[2J",
                                  "~[2K", "~[1J", "~J", "~K", "~I", "~M", "~[3;5H", "~Y%'", "~[A", "~B",
                                  "~[?3h", "~[?3l", "~[7h", "~[7l", "~#8", "~7", "~8", "~", "~[", "1", ";",
                                  "H", "~[1;7m"};
    std::mt19937 random(17);
    QString input;
    for (int i = 0; i < 5000; ++i) input += Esc(pieces[random() % std::size(pieces)]);
    for (int at = 0; at < input.size(); at += 97) {
      t.Write(input.mid(at, 97));
      ASSERT_EQ(copy.size(), static_cast<size_t>(t.s.Buffer().Columns()) * t.s.Buffer().Rows());
      for (int y = 1; y <= rows; ++y)
        for (int x = 1; x <= columns; ++x)
          ASSERT_EQ(copy[(y - 1) * columns + x - 1], t.At(x, y))
              << "emulation " << int(emu) << ", cell " << x << "," << y << " after " << at + 97;
    }
  }
}

}  // namespace
