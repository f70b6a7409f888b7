#include <gtest/gtest.h>

#include <memory>

#include "serial/EscapeCodesVT100.h"
#include "serial/EscapeCodesVT52.h"

namespace {

enum Emu { VT52, VT100 };

std::unique_ptr<TEscapeCodes> Make(Emu e) {
  if (e == VT52) return std::make_unique<TEscapeCodesVT52>();
  return std::make_unique<TEscapeCodesVT100>();
}

// Text written with '~' standing for ESC.
QString Esc(const char* s) { return QString::fromLatin1(s).replace(u'~', QChar(27)); }

struct Detect {
  Emu emu;
  const char* input;  // one sequence; every character but the last must be swallowed
  TEscapeCode code;
  QStringList params;
};

void PrintTo(const Detect& d, std::ostream* os) { *os << (d.emu == VT52 ? "VT52 " : "VT100 ") << d.input; }

class DetectTest : public testing::TestWithParam<Detect> {};

TEST_P(DetectTest, EndsWithCodeAndParams) {
  const Detect& d = GetParam();
  auto p = Make(d.emu);
  const QString in = Esc(d.input);
  for (int i = 0; i + 1 < in.size(); ++i) ASSERT_EQ(p->ProcessChar(in[i]), erNothing) << "at " << i;
  ASSERT_EQ(p->ProcessChar(in.back()), erCode);
  EXPECT_EQ(p->Code(), d.code);
  EXPECT_EQ(p->Params(), d.params);
  EXPECT_EQ(p->Data(), in.mid(1));
}

const QStringList none;

INSTANTIATE_TEST_SUITE_P(VT52, DetectTest, testing::Values(
    Detect{VT52, "~A", ecCursorUp, none}, Detect{VT52, "~B", ecCursorDown, none},
    Detect{VT52, "~C", ecCursorRight, none}, Detect{VT52, "~D", ecCursorLeft, none},
    Detect{VT52, "~H", ecCursorHome, none}, Detect{VT52, "~I", ecReverseLineFeed, none},
    Detect{VT52, "~J", ecEraseScreenFrom, none}, Detect{VT52, "~K", ecEraseLineFrom, none},
    Detect{VT52, "~Z", ecIdentify, none}, Detect{VT52, "~/Z", ecIdentResponse, none},
    Detect{VT52, "~/X", ecUnknown, none}, Detect{VT52, "~x", ecUnknown, none},
    Detect{VT52, "~~", ecUnknown, none}, Detect{VT52, "~[", ecUnknown, none},
    Detect{VT52, "~Y$(", ecCursorMove, {"5", "9"}},   // codes 36 and 40
    Detect{VT52, "~Y  ", ecCursorMove, {"1", "1"}},
    Detect{VT52, "~Y\x1f\x01", ecCursorMove, {"0", "-30"}}));

INSTANTIATE_TEST_SUITE_P(VT100Plain, DetectTest, testing::Values(
    Detect{VT100, "~H", ecSetTab, none}, Detect{VT100, "~7", ecSaveCaretAndAttr, none},
    Detect{VT100, "~8", ecRestoreCaretAndAttr, none}, Detect{VT100, "~c", ecReset, none},
    Detect{VT100, "~#8", ecTest, none}, Detect{VT100, "~#9", ecUnknown, none},
    Detect{VT100, "~OA", ecAppCursorUp, none}, Detect{VT100, "~OB", ecAppCursorDown, none},
    Detect{VT100, "~OC", ecAppCursorRight, none}, Detect{VT100, "~OD", ecAppCursorLeft, none},
    Detect{VT100, "~OE", ecUnknown, none}, Detect{VT100, "~x", ecUnknown, none},
    Detect{VT100, "~A", ecUnknown, none}, Detect{VT100, "~~", ecUnknown, none}));

INSTANTIATE_TEST_SUITE_P(VT100Bracket, DetectTest, testing::Values(
    Detect{VT100, "~[1A", ecCursorUp, {"1"}}, Detect{VT100, "~[B", ecCursorDown, none},
    Detect{VT100, "~[12C", ecCursorRight, {"12"}}, Detect{VT100, "~[3D", ecCursorLeft, {"3"}},
    Detect{VT100, "~[5;10H", ecCursorHome, {"5", "10"}},
    Detect{VT100, "~[5;10f", ecCursorMove, {"5", "10"}},
    Detect{VT100, "~[3;4R", ecReportCursorPos, {"3", "4"}},
    Detect{VT100, "~[?1h", ecSetMode, {"?1"}}, Detect{VT100, "~[7l", ecResetMode, {"7"}},
    Detect{VT100, "~[0;1;31;44m", ecAttributes, {"0", "1", "31", "44"}},
    Detect{VT100, "~[s", ecSaveCaret, none}, Detect{VT100, "~[u", ecRestoreCaret, none},
    Detect{VT100, "~[J", ecEraseScreenFrom, none}, Detect{VT100, "~[0J", ecEraseScreenFrom, none},
    Detect{VT100, "~[2J", ecEraseScreen, none}, Detect{VT100, "~[1J", ecUnknown, none},
    Detect{VT100, "~[K", ecEraseLineFrom, none}, Detect{VT100, "~[2K", ecEraseLine, none},
    Detect{VT100, "~[05K", ecEraseLineFrom, none}, Detect{VT100, "~[3K", ecUnknown, none},
    Detect{VT100, "~[g", ecClearTab, none}, Detect{VT100, "~[0g", ecClearTab, none},
    Detect{VT100, "~[3g", ecClearAllTabs, none}, Detect{VT100, "~[1g", ecUnknown, none},
    Detect{VT100, "~[0n", ecReportDeviceOK, none}, Detect{VT100, "~[3n", ecReportDeviceFailure, none},
    Detect{VT100, "~[5n", ecQueryDevice, none}, Detect{VT100, "~[6n", ecQueryCursorPos, none},
    Detect{VT100, "~[n", ecUnknown, none}, Detect{VT100, "~[7n", ecUnknown, none},
    Detect{VT100, "~[c", ecIdentify, none}, Detect{VT100, "~[0c", ecIdentify, {"0"}},
    Detect{VT100, "~[?1;2c", ecIdentResponse, {"?1", "2"}},
    Detect{VT100, "~[1c", ecUnknown, {"1"}}, Detect{VT100, "~[?1;2;3c", ecUnknown, {"?1", "2", "3"}},
    Detect{VT100, "~[1;2z", ecUnknown, {"1", "2"}},
    // Splitting rules: a ';' with an empty token joins the token.
    Detect{VT100, "~[;5H", ecCursorHome, {";5"}}, Detect{VT100, "~[5;;7H", ecCursorHome, {"5", ";7"}},
    Detect{VT100, "~[5;H", ecCursorHome, {"5"}},
    // An ESC inside a sequence is just another character.
    Detect{VT100, "~[~[2A", ecCursorUp, {"\x1b[2"}}));

TEST(EscapeCodes, PlainCharactersPassThroughAndEscStartsASequence) {
  for (Emu e : {VT52, VT100}) {
    auto p = Make(e);
    EXPECT_EQ(p->ProcessChar(u'x'), erChar);
    EXPECT_EQ(p->Character(), u'x');
    EXPECT_EQ(p->ProcessChar(QChar(0xE9)), erChar);
    EXPECT_EQ(p->Character(), QChar(0xE9));
    EXPECT_EQ(p->ProcessChar(QChar(27)), erNothing);
    EXPECT_EQ(p->ProcessChar(u'A'), erCode);
    EXPECT_EQ(p->ProcessChar(u'A'), erChar);  // the sequence is over
  }
}

TEST(EscapeCodes, SequenceSplitAcrossCallsCompletes) {
  // State lives in the parser, so any split of the input gives the same codes.
  const QString in = Esc("a~[12;3Hb~[2Jc~#8");
  for (int split = 0; split <= in.size(); ++split) {
    TEscapeCodesVT100 p;
    QList<TEscapeCode> codes;
    QString text;
    const auto feed = [&](QStringView part) {
      for (QChar c : part) {
        const TEscapeResult r = p.ProcessChar(c);
        if (r == erChar) text += p.Character();
        if (r == erCode) codes << p.Code();
      }
    };
    feed(QStringView(in).left(split));
    feed(QStringView(in).mid(split));
    EXPECT_EQ(text, "abc") << split;
    EXPECT_EQ(codes, (QList<TEscapeCode>{ecCursorHome, ecEraseScreen, ecTest})) << split;
  }
}

TEST(EscapeCodes, ParamsAccumulateUntilTheUserClearsThem) {
  TEscapeCodesVT100 p;
  for (QChar c : Esc("~[1A~[2B")) p.ProcessChar(c);
  EXPECT_EQ(p.Params(), (QStringList{"1", "2"}));
}

TEST(EscapeCodes, EndlessParameterStreamIsCutOff) {
  TEscapeCodesVT100 p;
  p.ProcessChar(QChar(27));
  p.ProcessChar(u'[');
  int swallowed = 0;
  for (; swallowed < 100000; ++swallowed)
    if (p.ProcessChar(u'9') != erNothing) break;
  // The digit that fills the last allowed place without being a final letter ends it.
  EXPECT_EQ(swallowed, TEscapeCodes::MaxSequenceLength - 2);
  EXPECT_EQ(p.Code(), ecUnknown);
  EXPECT_TRUE(p.Params().isEmpty());
  EXPECT_EQ(p.Data().size(), TEscapeCodes::MaxSequenceLength);
  EXPECT_EQ(p.ProcessChar(u'9'), erChar);  // back to plain text
}

TEST(EscapeCodes, LongestAllowedSequenceStillCompletes) {
  TEscapeCodesVT100 p;
  const QString in = QChar(27) + QStringLiteral("[") + QString(TEscapeCodes::MaxSequenceLength - 3, u'0') +
                     QStringLiteral("7A");
  TEscapeResult r = erNothing;
  for (QChar c : in) r = p.ProcessChar(c);
  EXPECT_EQ(r, erCode);
  EXPECT_EQ(p.Code(), ecCursorUp);
  EXPECT_EQ(TEscapeCodes::GetParam(1, p.Params()), 7);
}

struct Param {
  QStringList items;
  int num;
  int value;
};

class GetParamTest : public testing::TestWithParam<Param> {};

TEST_P(GetParamTest, ReadsItem) {
  EXPECT_EQ(TEscapeCodes::GetParam(GetParam().num, GetParam().items), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(All, GetParamTest, testing::Values(
    Param{{}, 1, 1}, Param{{"5", "10"}, 1, 5}, Param{{"5", "10"}, 2, 10}, Param{{"5", "10"}, 3, 1},
    Param{{"0"}, 1, 0}, Param{{"x"}, 1, 1}, Param{{";5"}, 1, 1}, Param{{"?1"}, 1, 1},
    Param{{"-3"}, 1, -3}, Param{{"+4"}, 1, 4}, Param{{""}, 1, 1}, Param{{" 5"}, 1, 1},
    Param{{"2147483647"}, 1, 2147483647}, Param{{"-2147483648"}, 1, -2147483647 - 1},
    Param{{"2147483648"}, 1, 1}, Param{{"99999999999999999999"}, 1, 1}, Param{{"5"}, 0, 1}));

struct Send {
  Emu emu;
  TEscapeCode code;
  QStringList params;
  const char* text;  // '~' is ESC
};

void PrintTo(const Send& s, std::ostream* os) {
  *os << (s.emu == VT52 ? "VT52 code " : "VT100 code ") << int(s.code);
}

class SendTest : public testing::TestWithParam<Send> {};

TEST_P(SendTest, BuildsSequence) {
  const Send& s = GetParam();
  EXPECT_EQ(Make(s.emu)->EscCodeToStr(s.code, s.params), Esc(s.text));
}

INSTANTIATE_TEST_SUITE_P(VT52, SendTest, testing::Values(
    Send{VT52, ecCursorUp, none, "~A"}, Send{VT52, ecCursorDown, none, "~B"},
    Send{VT52, ecCursorLeft, none, "~D"}, Send{VT52, ecCursorRight, none, "~C"},
    Send{VT52, ecCursorHome, none, "~H"}, Send{VT52, ecCursorMove, {"5", "9"}, "~Y$("},
    Send{VT52, ecCursorMove, none, "~Y  "}, Send{VT52, ecReverseLineFeed, none, "~I"},
    Send{VT52, ecEraseLineFrom, none, "~K"}, Send{VT52, ecEraseScreenFrom, none, "~J"},
    Send{VT52, ecIdentify, none, "~Z"}, Send{VT52, ecIdentResponse, none, "~/Z"},
    Send{VT52, ecUnknown, none, ""}, Send{VT52, ecEraseScreen, none, ""},
    Send{VT52, ecQueryCursorPos, none, ""}, Send{VT52, ecAppCursorUp, none, ""}));

INSTANTIATE_TEST_SUITE_P(VT100, SendTest, testing::Values(
    Send{VT100, ecCursorUp, none, "~[A"}, Send{VT100, ecCursorDown, none, "~[B"},
    Send{VT100, ecCursorLeft, none, "~[D"}, Send{VT100, ecCursorRight, none, "~[C"},
    Send{VT100, ecCursorHome, none, "~[H"}, Send{VT100, ecCursorMove, {"5", "10"}, "~[5;10f"},
    Send{VT100, ecCursorMove, {"x"}, "~[1;1f"}, Send{VT100, ecAppCursorLeft, none, "~OD"},
    Send{VT100, ecAppCursorRight, none, "~OC"}, Send{VT100, ecAppCursorUp, none, "~OA"},
    Send{VT100, ecAppCursorDown, none, "~OB"}, Send{VT100, ecEraseLineFrom, none, "~[K"},
    Send{VT100, ecEraseScreenFrom, none, "~[J"}, Send{VT100, ecEraseLine, none, "~[2K"},
    Send{VT100, ecEraseScreen, none, "~[2J"}, Send{VT100, ecSetTab, none, "~H"},
    Send{VT100, ecClearTab, none, "~[g"}, Send{VT100, ecClearAllTabs, none, "~[3g"},
    Send{VT100, ecIdentify, none, "~[c"}, Send{VT100, ecIdentResponse, {"2"}, "~[?1;2c"},
    Send{VT100, ecQueryDevice, none, "~[5n"}, Send{VT100, ecReportDeviceOK, none, "~[0n"},
    Send{VT100, ecReportDeviceFailure, none, "~[3n"}, Send{VT100, ecQueryCursorPos, none, "~[6n"},
    Send{VT100, ecReportCursorPos, {"5", "7"}, "~[5;7R"}, Send{VT100, ecAttributes, none, "~[m"},
    Send{VT100, ecSetMode, none, "~[h"}, Send{VT100, ecResetMode, none, "~[l"},
    Send{VT100, ecReset, none, "~c"}, Send{VT100, ecSaveCaretAndAttr, none, "~7"},
    Send{VT100, ecRestoreCaretAndAttr, none, "~8"}, Send{VT100, ecSaveCaret, none, "~[s"},
    Send{VT100, ecRestoreCaret, none, "~[u"}, Send{VT100, ecTest, none, "~#8"},
    Send{VT100, ecUnknown, none, ""}, Send{VT100, ecNotCompleted, none, ""},
    Send{VT100, ecReverseLineFeed, none, ""}));

TEST(EscapeCodes, SentSequencesAreRecognisedAgain) {
  // What one side sends, the other side's parser reads back as the same code.
  for (Emu e : {VT52, VT100}) {
    for (int c = ecCursorUp; c <= ecTest; ++c) {
      const auto code = static_cast<TEscapeCode>(c);
      const QStringList params = code == ecCursorMove || code == ecReportCursorPos ? QStringList{"4", "6"}
                                 : code == ecIdentResponse && e == VT100          ? QStringList{"?1", "2"}
                                                                                  : QStringList{};
      auto sender = Make(e);
      const QString text = sender->EscCodeToStr(code, code == ecIdentResponse ? QStringList{"2"} : params);
      if (text.isEmpty()) continue;
      auto reader = Make(e);
      TEscapeResult r = erNothing;
      for (QChar ch : text) r = reader->ProcessChar(ch);
      ASSERT_EQ(r, erCode) << c;
      EXPECT_EQ(reader->Code(), code) << c;
      if (code == ecCursorMove || code == ecReportCursorPos) {
        EXPECT_EQ(reader->Params(), params) << c;
      }
    }
  }
}

}  // namespace
