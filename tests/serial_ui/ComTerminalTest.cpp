#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QFontDialog>
#include <QImage>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include "serial/EscapeCodesVT100.h"
#include "platform/FrameRequest.h"
#include "serial/ui/ComTerminal.h"
#include "support/EventLoop.h"

namespace {

QString Esc(const char* s) { return QString::fromLatin1(s).replace(u'~', QChar(27)); }

// A terminal as a form would create it: properties set while loading, then Loaded().
std::unique_ptr<TComTerminal> MakeTerminal(TTermEmulation emulation, bool wrap = false) {
  auto t = std::make_unique<TComTerminal>();
  t->BeginLoading();
  t->SetEmulation(emulation);
  t->SetWrapLines(wrap);
  t->EndLoading();
  return t;
}

QString Row(const TCustomComTerminal& t, int y) {
  QString s;
  for (int x = 1; x <= t.Buffer().GetLineLength(y); ++x) {
    const QChar c = t.Buffer().GetChar(x, y).Ch;
    s += c.isNull() ? u'.' : c;
  }
  return s;
}

void Receive(TCustomComTerminal& t, const QByteArray& bytes) {
  t.ComLink()->OnRxBuf(nullptr, bytes.constData(), static_cast<int>(bytes.size()));
}

QPoint Pos(int x, int y) { return QPoint(x, y); }

// Without frame and scroll bars, as big as its grid, on screen.
void ShowWholeGrid(TCustomComTerminal& t) {
  t.SetBorderStyle(bsNone);
  t.SetScrollBars(ssNone);
  t.resize(t.sizeHint());
  t.show();
}

void Focus(TCustomComTerminal& t) {
  t.activateWindow();
  t.setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&t));
  ASSERT_TRUE(t.hasFocus());
}

// Counts the paints of a widget and gathers what they repainted.
struct PaintWatch : QObject {
  explicit PaintWatch(QWidget* w) : widget(w) { w->installEventFilter(this); }
  ~PaintWatch() override { widget->removeEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      ++paints;
      region += static_cast<QPaintEvent*>(e)->region();
    }
    return false;
  }
  QWidget* widget;
  int paints = 0;
  QRegion region;
};

TEST(ComTerminal, ReceivedTextGoesToTheGridAndRaisesOnCharForEveryCharacter) {
  auto t = MakeTerminal(teNone);
  QString seen;
  t->OnChar = [&](TObject* sender, QChar ch) {
    EXPECT_EQ(sender, t.get());
    seen += ch;
  };
  Receive(*t, "AB\r\nC");
  EXPECT_EQ(Row(*t, 1), "AB");
  EXPECT_EQ(Row(*t, 2), "C");
  EXPECT_EQ(t->CaretPos(), Pos(2, 2));
  EXPECT_EQ(seen, "AB\r\nC");
}

TEST(ComTerminal, ReceivedBytesAreLatin1AndSurviveEveryValue) {
  auto t = MakeTerminal(teNone, true);
  QByteArray all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  int chars = 0;
  t->OnChar = [&](TObject*, QChar) { ++chars; };
  Receive(*t, all);
  EXPECT_EQ(chars, 256);
  // FF (12) cleared the screen; 32..255 then fill 80 + 80 + 64 cells.
  EXPECT_EQ(t->Buffer().GetChar(1, 1).Ch, u' ');
  EXPECT_EQ(t->Buffer().GetChar(17, 2).Ch, QChar(0x80));
  EXPECT_EQ(t->Buffer().GetChar(64, 3).Ch, QChar(0xFF));
  EXPECT_EQ(t->Buffer().GetLastLine(), 3);
}

TEST(ComTerminal, Force7BitClearsTheEighthBit) {
  auto t = MakeTerminal(teNone);
  t->SetForce7Bit(true);
  Receive(*t, "\xC1\xE2");
  EXPECT_EQ(Row(*t, 1), "Ab");
}

TEST(ComTerminal, AppendLFTurnsCrLfIntoTwoLineFeeds) {
  auto t = MakeTerminal(teNone);
  t->SetAppendLF(true);
  QString received;
  t->OnStrRecieved = [&](TObject*, QString& s) { received = s; };
  Receive(*t, "A\r\nB\rC");
  EXPECT_EQ(received, "A\r\n\nB\r\nC");
  EXPECT_EQ(Row(*t, 1), "A");
  EXPECT_EQ(Row(*t, 3), "B");
  EXPECT_EQ(Row(*t, 4), "C");
}

TEST(ComTerminal, OnStrRecievedMayChangeTheText) {
  auto t = MakeTerminal(teNone);
  t->OnStrRecieved = [](TObject*, QString& s) { s = s.toUpper(); };
  Receive(*t, "abc");
  EXPECT_EQ(Row(*t, 1), "ABC");
}

TEST(ComTerminal, ColumnsAndRowsAreClampedAndClearTheGrid) {
  auto t = MakeTerminal(teNone);
  t->WriteStr("text");
  t->SetColumns(300);
  EXPECT_EQ(t->Columns(), 256);
  EXPECT_EQ(t->Buffer().GetLastLine(), 0);
  t->WriteStr("text");
  t->SetRows(1);
  EXPECT_EQ(t->Rows(), 2);
  EXPECT_EQ(t->Buffer().GetLastLine(), 0);
  EXPECT_EQ(t->Buffer().Columns(), 256);
  EXPECT_EQ(t->Buffer().Rows(), 2);
  t->SetColumns(1);
  EXPECT_EQ(t->Columns(), 2);
}

TEST(ComTerminal, ShrinkingTheGridPullsTheCursorInside) {
  auto t = MakeTerminal(teNone);
  t->MoveCaret(70, 20);
  t->SetColumns(40);
  t->SetRows(10);
  EXPECT_EQ(t->CaretPos(), Pos(40, 10));
  t->WriteStr("xy");
  EXPECT_EQ(t->Buffer().GetChar(40, 10).Ch, u'y');
}

TEST(ComTerminal, GridChangesWhileLoadingWaitForLoaded) {
  TComTerminal t;
  t.BeginLoading();
  t.SetRows(48);
  EXPECT_EQ(t.Buffer().Rows(), 24);
  t.MoveCaret(1, 40);
  t.WriteStr("safe");  // outside the old grid: dropped, not written past it
  t.EndLoading();
  EXPECT_EQ(t.Buffer().Rows(), 48);
  ASSERT_NE(t.EscapeCodes(), nullptr);
}

TEST(ComTerminal, SavedTextLoadsBackToTheSameGrid) {
  auto a = MakeTerminal(teNone);
  a->WriteStr("one\r\n\r\n  three\tx");
  QBuffer buf;
  buf.open(QIODevice::ReadWrite);
  a->SaveToStream(buf);
  auto b = MakeTerminal(teNone);
  buf.seek(0);
  b->LoadFromStream(buf);
  for (int y = 1; y <= 4; ++y) EXPECT_EQ(Row(*b, y), Row(*a, y).replace(u'.', u' ')) << y;
}

// ------------------------------------------------------------ escape codes

TEST(ComTerminal, UnhandledCodesAreReportedWithTheirData) {
  auto t = MakeTerminal(teVT100orANSI);
  std::vector<std::pair<TEscapeCode, QString>> unhandled;
  t->OnUnhandledCode = [&](TObject* sender, TEscapeCode code, const QString& data) {
    EXPECT_EQ(sender, t.get());
    unhandled.emplace_back(code, data);
  };
  t->WriteStr(Esc("~x~OB~OC~OD~[1J~[3;4R~[5H~OA~[0n"));
  const std::vector<std::pair<TEscapeCode, QString>> expected{
      {ecUnknown, "x"},          {ecAppCursorDown, "OB"},       {ecAppCursorRight, "OC"},
      {ecAppCursorLeft, "OD"},   {ecUnknown, "[1J"},            {ecReportCursorPos, "[3;4R"},
      {ecReportDeviceOK, "[0n"}};
  EXPECT_EQ(unhandled, expected);
  EXPECT_TRUE(t->EscapeCodes()->Params().isEmpty()) << "parameters are cleared after each code";
}

TEST(ComTerminal, WriteEscCodeNeedsAParser) {
  TComTerminal t;  // built in code, never loaded: no parser yet
  ASSERT_EQ(t.EscapeCodes(), nullptr);
  t.WriteEscCode(ecCursorMove, {"5", "5"});
  EXPECT_EQ(t.CaretPos(), Pos(1, 1));
  t.SetEmulation(teVT52);
  ASSERT_NE(t.EscapeCodes(), nullptr);
  t.WriteEscCode(ecCursorMove, {"5", "6"});
  EXPECT_EQ(t.CaretPos(), Pos(6, 5));
}

TEST(ComTerminal, EmulationChoosesTheParser) {
  auto t = MakeTerminal(teVT100orANSI);
  EXPECT_NE(dynamic_cast<TEscapeCodesVT100*>(t->EscapeCodes()), nullptr);
  t->SetEmulation(teVT52);
  EXPECT_EQ(dynamic_cast<TEscapeCodesVT100*>(t->EscapeCodes()), nullptr);
  EXPECT_NE(t->EscapeCodes(), nullptr);

  TEscapeCodes* supplied = nullptr;
  t->OnGetEscapeCodes = [&](TObject*, TEscapeCodes*& codes) { codes = supplied = new TEscapeCodesVT100; };
  t->SetEmulation(teNone);
  EXPECT_EQ(t->EscapeCodes(), supplied);
  t->WriteStr(Esc("~[2;3H"));
  EXPECT_EQ(t->CaretPos(), Pos(3, 2));
  t->OnGetEscapeCodes = nullptr;
  t->SetEmulation(teVT52);
  t->SetEmulation(teNone);
  EXPECT_EQ(t->EscapeCodes(), nullptr);
}

TEST(ComTerminal, HandlerChangingTheEmulationMidTextIsSafe) {
  auto t = MakeTerminal(teVT100orANSI);
  t->OnUnhandledCode = [&](TObject*, TEscapeCode, const QString&) { t->SetEmulation(teNone); };
  t->WriteStr(Esc("~x~[2J"));
  EXPECT_EQ(Row(*t, 1), "[2J") << "no parser any more: ESC itself shows nothing";
}

// ------------------------------------------------------------ keyboard

TEST(ComTerminal, KeysWithoutAPortSendAndEchoNothing) {
  auto t = MakeTerminal(teVT100orANSI);
  t->SetLocalEcho(true);
  t->MoveCaret(5, 5);
  QTest::keyClicks(t.get(), "abc");
  QTest::keyClick(t.get(), Qt::Key_Return);
  QTest::keyClick(t.get(), Qt::Key_Up);
  EXPECT_EQ(t->Buffer().GetLastLine(), 0);
  EXPECT_EQ(t->CaretPos(), Pos(5, 5));
}

TEST(ComTerminal, WindowsArrowKeysMoveTheCursorLocally) {
  auto t = MakeTerminal(teVT100orANSI);
  t->SetArrowKeys(akWindows);
  t->MoveCaret(5, 5);
  QTest::keyClick(t.get(), Qt::Key_Left);
  QTest::keyClick(t.get(), Qt::Key_Up);
  QTest::keyClick(t.get(), Qt::Key_Up);
  EXPECT_EQ(t->CaretPos(), Pos(4, 3));
  QTest::keyClick(t.get(), Qt::Key_Home);
  EXPECT_EQ(t->CaretPos(), Pos(1, 1));
  t->WriteStr(Esc("~[?1h~[5;5H"));  // application cursor keys are always sent
  QTest::keyClick(t.get(), Qt::Key_Left);
  EXPECT_EQ(t->CaretPos(), Pos(5, 5));
}

// ------------------------------------------------------------ window

TEST(ComTerminal, FontRules) {
  auto t = MakeTerminal(teNone);
  EXPECT_GT(t->FontWidth(), 1);
  EXPECT_GT(t->FontHeight(), 1);
  QFont proportional("DejaVu Sans", 12);
  proportional.setUnderline(true);
  t->SetFont(proportional);
  EXPECT_EQ(t->Font().family(), TCustomComTerminal::DefaultFontName());
  EXPECT_FALSE(t->Font().underline());
  QFont mono("DejaVu Sans Mono");
  mono.setPixelSize(20);
  t->SetFont(mono);
  EXPECT_EQ(t->Font().family(), "DejaVu Sans Mono");
  EXPECT_EQ(t->FontHeight(), QFontMetrics(mono).height());
  EXPECT_EQ(t->FontWidth(), QFontMetrics(mono).horizontalAdvance(u'M'));
  t->SetFontColor(0x00FF00);
  EXPECT_EQ(t->TermAttr().FrontColor, 0x00FF00);
  t->SetColor(0x0000FF);
  EXPECT_EQ(t->TermAttr().BackColor, 0x0000FF);
}

TEST(ComTerminal, ScrollRangesFollowSizeFontAndGrid) {
  auto t = MakeTerminal(teNone);
  t->SetBorderStyle(bsNone);
  const int fw = t->FontWidth(), fh = t->FontHeight();
  const int extent = t->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, t.get());
  t->show();  // a hidden widget gets its resize events only when shown
  t->resize(fw * 80, fh * 24);  // everything fits: no bars
  EXPECT_EQ(t->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(t->verticalScrollBar()->maximum(), 0);
  t->resize(fw * 80, fh * 10);  // the vertical bar takes room from the width ...
  EXPECT_EQ(t->horizontalScrollBar()->maximum(), 80 - (fw * 80 - extent) / fw);
  // ... and the horizontal bar that brings up from the height: the last row stays reachable.
  EXPECT_EQ(t->verticalScrollBar()->maximum(), 24 - (fh * 10 - extent) / fh);
  t->SetRows(30);
  EXPECT_EQ(t->verticalScrollBar()->maximum(), 30 - (fh * 10 - extent) / fh);
  t->SetScrollBars(ssVertical);
  EXPECT_EQ(t->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(t->verticalScrollBar()->maximum(), 20);
  t->verticalScrollBar()->setValue(5);
  EXPECT_EQ(t->TopLeft(), Pos(1, 6));
  t->SetScrollBars(ssNone);
  EXPECT_EQ(t->TopLeft(), Pos(1, 1));
}

TEST(ComTerminal, ReceivedLinesBelowTheViewBringTheCursorRowIntoView) {
  auto t = MakeTerminal(teNone, true);
  t->SetBorderStyle(bsNone);
  t->SetScrollBars(ssVertical);
  t->SetRows(48);
  const int fh = t->FontHeight();
  t->show();
  t->resize(t->FontWidth() * 90, fh * 10);
  QScrollBar* bar = t->verticalScrollBar();
  ASSERT_EQ(bar->maximum(), 38);

  // Rows within the view do not move it.
  Receive(*t, "1\r\n2\r\n3\r\n");
  EXPECT_EQ(bar->value(), 0);
  // The eleventh row becomes the last visible one.
  Receive(*t, "4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11");
  EXPECT_EQ(bar->value(), 1);
  EXPECT_EQ(t->TopLeft(), Pos(1, 2));
  // A long stream ends with the newest line in view, at the bottom.
  for (int i = 12; i <= 200; ++i) Receive(*t, "\r\n" + QByteArray::number(i));
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_EQ(Row(*t, t->CaretPos().y()), "200");

  // The user scrolled up and holds the thumb: the view stays.
  bar->setValue(3);
  bar->setSliderDown(true);
  Receive(*t, "\r\n201");
  EXPECT_EQ(bar->value(), 3);
  // Let go, the next character brings the cursor row back.
  bar->setSliderDown(false);
  Receive(*t, "!");
  EXPECT_EQ(bar->value(), bar->maximum());
  // A view scrolled up by the user without holding the thumb follows too.
  bar->setValue(0);
  Receive(*t, "\r\n202");
  EXPECT_EQ(bar->value(), bar->maximum());
}

TEST(ComTerminal, PaintsCellsWithTheirColoursAndTheBackgroundElsewhere) {
  auto t = MakeTerminal(teVT100orANSI);
  t->SetBorderStyle(bsNone);
  t->SetScrollBars(ssNone);
  t->SetColor(0x202020);
  t->resize(t->sizeHint());
  t->WriteStr(Esc("~[31;44m ~[3;2H~[7m "));
  const QImage img = t->grab().toImage();
  const int fw = t->FontWidth(), fh = t->FontHeight();
  const auto at = [&](int col, int row) { return img.pixelColor((col - 1) * fw + fw / 2, (row - 1) * fh + fh / 2); };
  EXPECT_EQ(at(1, 1), ToQColor(0xFF0000));  // blue background cell
  EXPECT_EQ(at(2, 3), ToQColor(0x0000FF));  // inverted: red background
  EXPECT_EQ(at(2, 1), ToQColor(0x202020));  // empty cells show the control's colour
  EXPECT_EQ(at(80, 24), ToQColor(0x202020));
}

TEST(ComTerminal, PaintingFollowsTheScrollPosition) {
  auto t = MakeTerminal(teVT100orANSI);
  t->SetBorderStyle(bsNone);
  t->SetScrollBars(ssVertical);
  t->show();
  t->resize(t->FontWidth() * 100, t->FontHeight() * 10);
  t->WriteStr(Esc("~[12;1H~[41m "));  // a red cell on row 12
  t->verticalScrollBar()->setValue(11);
  ASSERT_EQ(t->TopLeft(), Pos(1, 12));
  const QImage img = t->grab().toImage();
  EXPECT_EQ(img.pixelColor(t->FontWidth() / 2, t->FontHeight() / 2), ToQColor(0x0000FF));
}

// A meter streams thousands of lines a second: the grid takes every one,
// the screen is repainted once per frame with what the grid holds then.
TEST(ComTerminal, ManyReceptionsInOneFrameRepaintOnce) {
  auto t = MakeTerminal(teNone, true);
  t->SetRows(5);
  ShowWholeGrid(*t);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(t.get()));
  PumpFor(3 * platform::FrameRequest::FrameMs);
  PaintWatch count(t->viewport());
  for (int i = 0; i < 500; ++i) Receive(*t, QByteArray::number(1000 + i) + "\r\n");
  EXPECT_EQ(Row(*t, 4), "1499");
  ASSERT_TRUE(PumpUntil([&] { return count.paints > 0; }));
  PumpFor(3 * platform::FrameRequest::FrameMs);
  EXPECT_EQ(count.paints, 1);
}

TEST(ComTerminal, CaretFollowsFocusAndShape) {
  auto t = MakeTerminal(teNone);
  ShowWholeGrid(*t);
  ASSERT_NO_FATAL_FAILURE(Focus(*t));
  const auto caretPixel = [&] {
    return t->grab().toImage().pixelColor(t->FontWidth() * 2 + 1, t->FontHeight() - 1);
  };
  t->MoveCaret(3, 1);
  EXPECT_EQ(caretPixel(), QColor(Qt::white)) << "block caret inverts black";
  t->SetCaret(tcNone);
  EXPECT_EQ(caretPixel(), QColor(Qt::black));
  t->SetCaret(tcUnderline);
  EXPECT_EQ(caretPixel(), QColor(Qt::white));
  t->clearFocus();
  EXPECT_EQ(caretPixel(), QColor(Qt::black));
}

// A grab paints everything; only the repainted region shows whether the
// caret's old and new cells are redrawn when received text moves it.
TEST(ComTerminal, ReceivedTextRepaintsTheCaretWhereItWasAndWhereItIs) {
  auto t = MakeTerminal(teNone);
  ShowWholeGrid(*t);
  ASSERT_NO_FATAL_FAILURE(Focus(*t));
  t->MoveCaret(3, 1);
  PumpFor(3 * platform::FrameRequest::FrameMs);
  PaintWatch painted(t->viewport());
  Receive(*t, "\r\nx\t");
  ASSERT_TRUE(PumpUntil([&] { return painted.paints > 0; }));
  PumpFor(3 * platform::FrameRequest::FrameMs);
  const int fw = t->FontWidth(), fh = t->FontHeight();
  const auto cell = [&](int x, int y) { return QRect((x - 1) * fw, (y - 1) * fh, fw, fh); };
  EXPECT_TRUE(painted.region.contains(cell(3, 1))) << "where the caret was";
  EXPECT_TRUE(painted.region.contains(cell(9, 2))) << "where it is now";
}

TEST(ComTerminal, AutoSizeFitsTheGrid) {
  auto t = MakeTerminal(teNone);
  t->SetAutoSize(true);
  t->SetColumns(40);
  t->SetRows(10);
  EXPECT_EQ(t->width(), t->FontWidth() * 40 + 4);
  EXPECT_EQ(t->height(), t->FontHeight() * 10 + 4);
  t->SetCtl3D(false);
  EXPECT_EQ(t->width(), t->FontWidth() * 40 + 2);
}

TEST(ComTerminal, SelectFontOffersFixedPitchFontsAndAppliesOnlyOnOk) {
  auto t = MakeTerminal(teNone);
  t->SetFont(QFont("DejaVu Sans Mono", 11));
  QFont chosen("DejaVu Sans Mono");
  chosen.setPointSize(15);
  for (bool ok : {false, true}) {
    bool offered = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      // Preset with the terminal's font (its size; the family may be a substitute).
      offered = dialog->testOption(QFontDialog::MonospacedFonts) &&
                dialog->currentFont().pointSize() == t->Font().pointSize();
      dialog->setCurrentFont(chosen);
      ok ? dialog->accept() : dialog->reject();
    });
    t->SelectFont();
    EXPECT_TRUE(offered);
    EXPECT_EQ(t->Font().pointSize() == 15, ok);
  }
}

TEST(ComTerminal, DoubleClickRaisesOnDblClick) {
  auto t = MakeTerminal(teNone);
  int clicks = 0;
  t->OnDblClick = [&](TObject*) { ++clicks; };
  QTest::mouseDClick(t->viewport(), Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
