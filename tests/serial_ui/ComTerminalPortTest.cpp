// The terminal on a real serial port over a pseudo-terminal: what the far end
// sends shows on the grid, typed keys and replies reach the far end.
#include <gtest/gtest.h>

#include <QTest>
#include <cerrno>
#include <utility>
#include <vector>

#include "platform/AppException.h"
#include "serial/ComPort.h"
#include "serial/ui/ComTerminal.h"
#include "support/EventLoop.h"
#include "support/PtyPair.h"

namespace {

QString Esc(const char* s) { return QString::fromLatin1(s).replace(u'~', QChar(27)); }
QByteArray EscBytes(const char* s) { return Esc(s).toLatin1(); }

QString Row(const TCustomComTerminal& t, int y) {
  QString s;
  for (int x = 1; x <= t.Buffer().GetLineLength(y); ++x) s += t.Buffer().GetChar(x, y).Ch;
  return s;
}

class TerminalOnPty : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.IsValid());
    port.SetPort(pty.SlavePath());
    term.BeginLoading();
    term.SetEmulation(teVT100orANSI);
    term.SetComPort(&port);
    term.EndLoading();
  }

  PtyPair pty;
  TComPort port;
  TComTerminal term;
};

TEST_F(TerminalOnPty, ShowsWhatTheFarEndSends) {
  term.SetConnected(true);
  ASSERT_TRUE(port.Connected());
  EXPECT_TRUE(term.Connected());
  pty.WriteMaster(EscBytes("Hello\r\n~[31mWor"));
  pty.WriteMaster("ld");
  ASSERT_TRUE(PumpUntil([&] { return Row(term, 2) == "World"; }));
  EXPECT_EQ(Row(term, 1), "Hello");
  EXPECT_EQ(term.Buffer().GetChar(1, 2).FrontColor, 0x0000FF);
  term.SetConnected(false);
  EXPECT_FALSE(port.Connected());
}

struct Query {
  TTermEmulation emu;
  const char* received;  // '~' is ESC
  const char* reply;
};

void PrintTo(const Query& q, std::ostream* os) { *os << q.received; }

class TerminalReplies : public TerminalOnPty, public testing::WithParamInterface<Query> {};

TEST_P(TerminalReplies, AnswerTheFarEnd) {
  term.SetEmulation(GetParam().emu);
  QString received;
  term.OnStrRecieved = [&](TObject*, QString& s) { received += s; };
  port.Open();
  pty.WriteMaster(EscBytes(GetParam().received));
  ASSERT_TRUE(PumpUntil([&] { return received == Esc(GetParam().received); }));
  EXPECT_EQ(pty.ReadMaster(5000, static_cast<int>(strlen(GetParam().reply))), EscBytes(GetParam().reply));
  EXPECT_EQ(term.Buffer().GetLastLine(), 0) << "a reply is never echoed";
}

INSTANTIATE_TEST_SUITE_P(All, TerminalReplies, testing::Values(
    Query{teVT100orANSI, "~[5;7H~[6n", "~[5;7R"}, Query{teVT100orANSI, "~[6n", "~[1;1R"},
    Query{teVT100orANSI, "~[c", "~[?1;2c"}, Query{teVT100orANSI, "~[5n", "~[0n"},
    Query{teVT52, "~Z", "~/Z"}));

TEST_F(TerminalOnPty, NoReplyWithoutAnOpenPort) {
  term.WriteStr(Esc("~[6n"));
  port.Open();
  EXPECT_TRUE(pty.ReadMaster(200).isEmpty());
}

TEST_F(TerminalOnPty, TypedCharactersAreSentAndEchoed) {
  term.SetLocalEcho(true);
  term.SetSendLF(true);
  port.Open();
  QTest::keyClicks(&term, "ab");
  QTest::keyClick(&term, Qt::Key_Return);
  EXPECT_EQ(pty.ReadMaster(5000, 4), QByteArray("ab\r\n"));
  EXPECT_EQ(Row(term, 1), "ab");
  EXPECT_EQ(term.CaretPos(), QPoint(1, 2));
}

TEST_F(TerminalOnPty, FailedWriteOfAKeyReachesTheUserNotTheEventLoop) {
  std::vector<std::pair<int, int>> reported;  // code, system error number
  platform::SetApplicationExceptionHandler([&](const std::exception& e) {
    const auto* c = dynamic_cast<const EComPort*>(&e);
    reported.emplace_back(c ? c->Code() : -1, c ? c->WinCode() : -1);
  });
  port.Open();
  pty.CloseMaster();
  QTest::keyClicks(&term, "lo");  // nothing is thrown through Qt
  platform::SetApplicationExceptionHandler(nullptr);
  EXPECT_EQ(reported, (std::vector<std::pair<int, int>>{{2, EIO}, {2, EIO}}));
}

TEST_F(TerminalOnPty, KeyPressHandlerMayChangeOrSwallowTheKey) {
  term.OnKeyPress = [](TObject*, QChar& key) { key = key == u'x' ? QChar() : key.toUpper(); };
  port.Open();
  QTest::keyClicks(&term, "axb");
  EXPECT_EQ(pty.ReadMaster(5000, 2), QByteArray("AB"));
}

struct Key {
  TTermEmulation emu;
  TArrowKeys arrows;
  const char* mode;  // sent to the terminal first
  Qt::Key key;
  const char* sent;
};

void PrintTo(const Key& k, std::ostream* os) { *os << k.mode << " key " << k.key; }

class TerminalKeys : public TerminalOnPty, public testing::WithParamInterface<Key> {};

TEST_P(TerminalKeys, SendCursorCodes) {
  term.SetEmulation(GetParam().emu);
  term.SetArrowKeys(GetParam().arrows);
  term.WriteStr(Esc(GetParam().mode));
  port.Open();
  QTest::keyClick(&term, GetParam().key);
  QTest::keyClick(&term, Qt::Key_Z);  // ends what was sent
  EXPECT_EQ(pty.ReadMaster(5000, static_cast<int>(strlen(GetParam().sent)) + 1),
            EscBytes(GetParam().sent) + "z");
}

INSTANTIATE_TEST_SUITE_P(All, TerminalKeys, testing::Values(
    Key{teVT100orANSI, akTerminal, "", Qt::Key_Up, "~[A"},
    Key{teVT100orANSI, akTerminal, "", Qt::Key_Down, "~[B"},
    Key{teVT100orANSI, akTerminal, "", Qt::Key_Left, "~[D"},
    Key{teVT100orANSI, akTerminal, "", Qt::Key_Right, "~[C"},
    Key{teVT100orANSI, akTerminal, "", Qt::Key_Home, "~[H"},
    Key{teVT100orANSI, akTerminal, "~[?1h", Qt::Key_Up, "~OA"},
    Key{teVT100orANSI, akWindows, "~[?1h", Qt::Key_Right, "~OC"},
    Key{teVT100orANSI, akTerminal, "~[?1h", Qt::Key_Home, ""},
    Key{teVT100orANSI, akWindows, "", Qt::Key_Up, ""},
    Key{teVT52, akTerminal, "", Qt::Key_Left, "~D"},
    Key{teVT52, akTerminal, "", Qt::Key_Up, "~A"}));

TEST_F(TerminalOnPty, EchoedCursorKeysMoveTheCursor) {
  term.SetLocalEcho(true);
  term.MoveCaret(5, 5);
  port.Open();
  QTest::keyClick(&term, Qt::Key_Up);
  QTest::keyClick(&term, Qt::Key_Left);
  EXPECT_EQ(term.CaretPos(), QPoint(4, 4));
  EXPECT_EQ(pty.ReadMaster(5000, 6), EscBytes("~[A~[D"));
}

TEST_F(TerminalOnPty, ForgetsAPortThatGoesAway) {
  auto other = std::make_unique<TComPort>();
  term.SetComPort(other.get());
  other.reset();
  EXPECT_EQ(term.ComPort(), nullptr);
  EXPECT_FALSE(term.Connected());
  QTest::keyClicks(&term, "still fine");
}

TEST_F(TerminalOnPty, DetachedTerminalNoLongerReceives) {
  port.Open();
  term.SetComPort(nullptr);
  int rx = 0;
  port.OnRxChar = [&](TObject*, int) { ++rx; };
  pty.WriteMaster("lost");
  ASSERT_TRUE(PumpUntil([&] { return rx > 0; }));
  EXPECT_EQ(term.Buffer().GetLastLine(), 0);
  term.SetComPort(&port);  // registering again works: the link was removed cleanly
}

}  // namespace
