// The settings objects, the apply rules of the port and the text forms.
#include <gtest/gtest.h>

#include "support/QtPrinters.h"

#include "platform/SerialPortList.h"
#include "serial/ComPort.h"
#include "serial/ComTextForms.h"
#include "serial/ComThread.h"
#include "support/PtyPair.h"

namespace {

// Records which apply operation ran (and lets it reach the device).
struct RecordingPort : TComPort {
  QStringList applied;
  void ApplyLineSettings() override {
    applied << "line";
    TComPort::ApplyLineSettings();
  }
  void ApplyTimeoutSettings() override {
    applied << "timeouts";
    TComPort::ApplyTimeoutSettings();
  }
  void ApplyBufferSizes() override {
    applied << "buffer";
    TComPort::ApplyBufferSizes();
  }
  using TComPort::BuildLineState;
};

TEST(ComFlowControl, DerivedValueFollowsTheFourDecidingFlags) {
  TComFlowControl f;
  EXPECT_EQ(f.FlowControl(), fcNone);
  f.SetFlowControl(fcHardware);
  EXPECT_EQ(f.FlowControl(), fcHardware);
  EXPECT_EQ(f.ControlRTS(), rtsHandshake);
  EXPECT_TRUE(f.OutCTSFlow());
  f.SetControlDTR(dtrHandshake);
  f.SetOutDSRFlow(true);
  f.SetDSRSensitivity(true);
  EXPECT_EQ(f.FlowControl(), fcHardware);  // these do not decide
  f.SetFlowControl(fcSoftware);
  EXPECT_EQ(f.FlowControl(), fcSoftware);
  EXPECT_EQ(f.ControlRTS(), rtsDisable);
  EXPECT_FALSE(f.OutCTSFlow());
  EXPECT_EQ(f.ControlDTR(), dtrHandshake);  // left alone
  f.SetXonXoffIn(false);
  EXPECT_EQ(f.FlowControl(), fcCustom);
  f.SetFlowControl(fcCustom);  // changes nothing
  EXPECT_EQ(f.FlowControl(), fcCustom);
  EXPECT_TRUE(f.XonXoffOut());
  f.SetFlowControl(fcNone);
  EXPECT_EQ(f.FlowControl(), fcNone);
  f.SetControlRTS(rtsEnable);
  EXPECT_EQ(f.FlowControl(), fcCustom);
}

TEST(ComBuffer, OddPositiveSizesAreStoredOneLess) {
  TComBuffer b;
  const std::pair<int, int> cases[] = {{4097, 4096}, {1025, 1024}, {1, 0}, {0, 0},
                                       {-3, -3},     {2048, 2048}};
  for (auto [given, stored] : cases) {
    b.SetInputSize(given);
    b.SetOutputSize(given);
    EXPECT_EQ(b.InputSize(), stored) << given;
    EXPECT_EQ(b.OutputSize(), stored) << given;
  }
}

TEST(ComSettingsObjects, AssignCopiesValuesOnlyAndRefusesOtherClasses) {
  RecordingPort port;
  TComTimeouts t;
  t.SetReadInterval(5);
  t.SetWriteTotalConstant(7);
  TComParity p;
  p.SetBits(prMark);
  p.SetReplaceChar(QLatin1Char('?'));
  port.SetTimeouts(t);
  port.SetParity(p);
  EXPECT_EQ(port.Timeouts().ReadInterval(), 5);
  EXPECT_EQ(port.Timeouts().WriteTotalConstant(), 7);
  EXPECT_EQ(port.Timeouts().ComPort(), &port);  // the back reference stays
  EXPECT_EQ(t.ComPort(), nullptr);
  EXPECT_EQ(port.Parity().Bits(), prMark);
  EXPECT_EQ(port.Parity().ReplaceChar(), QLatin1Char('?'));
  EXPECT_THROW(t.AssignTo(p), EConvertError);
  TComFlowControl f;
  f.SetXonChar(QLatin1Char('A'));
  port.SetFlowControl(f);
  EXPECT_EQ(port.FlowControl().XonChar(), QLatin1Char('A'));
  TComBuffer b;
  b.SetInputSize(64);
  port.SetBuffer(b);
  EXPECT_EQ(port.Buffer().InputSize(), 64);
}

TEST(ComSettingsObjects, ChangesCallTheirGroupsApplyOnlyOnAChange) {
  RecordingPort port;
  port.Timeouts().SetReadInterval(-1);  // the value it holds: nothing
  port.Buffer().SetInputSize(1025);     // stored as 1024, which it holds
  port.Parity().SetCheck(false);
  EXPECT_TRUE(port.applied.isEmpty());
  port.Timeouts().SetReadTotalConstant(10);
  port.Buffer().SetOutputSize(512);
  port.Parity().SetCheck(true);
  port.FlowControl().SetXoffChar(QLatin1Char('S'));
  port.FlowControl().SetFlowControl(fcNone);  // always applies
  port.SetBaudRate(br115200);
  port.SetBaudRate(br115200);
  EXPECT_EQ(port.applied,
            (QStringList{"timeouts", "buffer", "line", "line", "line", "line"}));
}

TEST(ComPortApply, UpdatesAreHeldBackUntilTheLastEndUpdate) {
  PtyPair pty;
  RecordingPort port;
  port.SetPort(pty.SlavePath());
  port.Timeouts().SetReadInterval(3);  // closed: only stored
  EXPECT_EQ(port.Handle().IsOpen(), false);
  port.applied.clear();
  port.Open();
  EXPECT_EQ(port.applied, (QStringList{"buffer", "line", "timeouts"}));
  port.applied.clear();
  port.BeginUpdate();
  port.BeginUpdate();
  port.SetBaudRate(br57600);
  port.Parity().SetBits(prOdd);
  port.Timeouts().SetWriteTotalConstant(50);
  port.Buffer().SetInputSize(2048);
  port.EndUpdate();
  EXPECT_EQ(port.Handle().State().BaudRate, 9600u);  // nothing reached the device
  port.EndUpdate();
  EXPECT_EQ(port.Handle().State().BaudRate, 57600u);
  EXPECT_EQ(port.Handle().State().XonLim, 512);
  // Each setter asked (and was held back), then the final EndUpdate applied
  // all three groups once, in this order.
  EXPECT_EQ(port.applied.mid(port.applied.size() - 3),
            (QStringList{"buffer", "line", "timeouts"}));
  port.applied.clear();
  port.EndUpdate();  // at 0: nothing
  EXPECT_TRUE(port.applied.isEmpty());
  port.Close();
}

TEST(ComPortApply, TheLineStateMirrorsTheSettings) {
  RecordingPort port;
  platform::SerialLineState s = port.BuildLineState();
  EXPECT_EQ(s.BaudRate, 9600u);
  EXPECT_EQ(s.ByteSize, 8);
  EXPECT_EQ(s.XonLim, 256);
  EXPECT_EQ(s.XonChar, 17);
  EXPECT_EQ(s.XoffChar, 19);
  EXPECT_TRUE(s.Binary);
  EXPECT_FALSE(s.ErrorCharOn);

  port.SetBaudRate(brCustom);
  port.SetCustomBaudRate(250000);
  port.SetDataBits(dbSeven);
  port.SetStopBits(sbTwoStopBits);
  port.SetEventChar(QChar(0x010A));  // low byte only
  port.Parity().SetBits(prSpace);
  port.Parity().SetReplace(true);
  port.Parity().SetReplaceChar(QLatin1Char('~'));
  port.FlowControl().SetControlDTR(dtrHandshake);
  port.FlowControl().SetControlRTS(rtsToggle);
  s = port.BuildLineState();
  EXPECT_EQ(s.BaudRate, 250000u);
  EXPECT_EQ(s.ByteSize, 7);
  EXPECT_EQ(s.StopBits, 2);
  EXPECT_EQ(s.EvtChar, '\n');
  EXPECT_EQ(s.Parity, 4);
  EXPECT_EQ(s.DtrControl, 2);
  EXPECT_EQ(s.RtsControl, 3);
  EXPECT_FALSE(s.ErrorCharOn);  // replacing needs checking
  EXPECT_EQ(s.ErrorChar, 0);
  port.Parity().SetCheck(true);
  s = port.BuildLineState();
  EXPECT_TRUE(s.ErrorCharOn);
  EXPECT_EQ(s.ErrorChar, '~');
}

TEST(ComThreadMasks, EventSetsAndMasksAreExactInverses) {
  EXPECT_EQ(EventSetToWinMask({evRxChar}), 0x0001u);
  EXPECT_EQ(EventSetToWinMask({evRxFlag}), 0x0002u);
  EXPECT_EQ(EventSetToWinMask({evTxEmpty}), 0x0004u);
  EXPECT_EQ(EventSetToWinMask({evRing}), 0x0100u);
  EXPECT_EQ(EventSetToWinMask({evRx80Full}), 0x0400u);
  EXPECT_EQ(EventSetToWinMask(AllComEvents), 0x05FFu);
  for (std::uint32_t bits = 0; bits < (1u << 10); ++bits) {
    const TComEvents e = TComEvents::FromBits(bits);
    EXPECT_EQ(WinMaskToEventSet(EventSetToWinMask(e)), e);
  }
  EXPECT_EQ(WinMaskToEventSet(0x0200 | 0x0008), TComEvents{evCTS});  // unknown bits ignored
}

// ---------------------------------------------------------------- text forms

template <typename E>
void ExpectRoundTrip(QString (*toText)(E), E (*fromText)(const QString&), int count,
                     const QStringList& texts) {
  for (int i = 0; i < count; ++i) {
    const E v = static_cast<E>(i);
    EXPECT_EQ(toText(v), texts[i]);
    EXPECT_EQ(fromText(texts[i]), v);
    EXPECT_EQ(fromText(texts[i].toLower()), v);
  }
}

TEST(ComTextForms, EveryValueHasItsTextAndBack) {
  ExpectRoundTrip(BaudRateToText, TextToBaudRate, 19,
                  {"Custom", "110", "300", "600", "1200", "2400", "4800", "9600", "14400",
                   "19200", "38400", "56000", "57600", "115200", "128000", "230400", "256000",
                   "460800", "921600"});
  ExpectRoundTrip(StopBitsToText, TextToStopBits, 3, {"1", "1.5", "2"});
  ExpectRoundTrip(DataBitsToText, TextToDataBits, 4, {"5", "6", "7", "8"});
  ExpectRoundTrip(ParityToText, TextToParity, 5, {"None", "Odd", "Even", "Mark", "Space"});
  ExpectRoundTrip(FlowControlToText, TextToFlowControl, 4,
                  {"Hardware", "Software", "None", "Custom"});
  ExpectRoundTrip(RTSToText, TextToRTS, 4, {"Disable", "Enable", "Handshake", "Toggle"});
  ExpectRoundTrip(DTRToText, TextToDTR, 3, {"Disable", "Enable", "Handshake"});
  EXPECT_EQ(BaudRateToInt(brCustom), 0);
  EXPECT_EQ(BaudRateToInt(br14400), 14400);
  EXPECT_EQ(BaudRateToInt(br921600), 921600);
}

TEST(ComTextForms, UnknownTextsGiveTheFallBacks) {
  EXPECT_EQ(TextToBaudRate(QStringLiteral("115200 ")), br9600);
  EXPECT_EQ(TextToBaudRate(QString()), br9600);
  EXPECT_EQ(TextToStopBits(QStringLiteral("3")), sbOneStopBit);
  EXPECT_EQ(TextToDataBits(QString()), dbEight);
  EXPECT_EQ(TextToParity(QStringLiteral("Nein")), prNone);
  EXPECT_EQ(TextToFlowControl(QString()), fcCustom);
  EXPECT_EQ(TextToRTS(QStringLiteral("x")), rtsDisable);
  EXPECT_EQ(TextToDTR(QStringLiteral("x")), dtrDisable);
  EXPECT_EQ(BoolToYesNo(true), QStringLiteral("Yes"));
  EXPECT_EQ(BoolToYesNo(false), QStringLiteral("No"));
  EXPECT_TRUE(YesNoToBool(QStringLiteral("yEs")));
  EXPECT_FALSE(YesNoToBool(QStringLiteral("Y")));
  EXPECT_FALSE(YesNoToBool(QStringLiteral("True")));
}

TEST(ComTextForms, CharacterForm) {
  const std::pair<int, const char*> written[] = {
      {17, "#17"}, {32, "#32"}, {33, "!"}, {65, "A"}, {127, "\x7F"}, {128, "#128"}, {0, "#0"}};
  for (auto [code, text] : written) {
    EXPECT_EQ(CharToText(QChar(code)), QString::fromLatin1(text)) << code;
    EXPECT_EQ(TextToChar(QString::fromLatin1(text)), QChar(code)) << text;
  }
  EXPECT_EQ(TextToChar(QString()), QChar(0));
  EXPECT_EQ(TextToChar(QStringLiteral("#300")), QChar(44));
  EXPECT_EQ(TextToChar(QStringLiteral("#")), QLatin1Char('#'));
  EXPECT_EQ(TextToChar(QStringLiteral("#x")), QChar(0));
  EXPECT_EQ(TextToChar(QStringLiteral("XY")), QLatin1Char('X'));
}

TEST(ComTextForms, PortListIsSortedWithoutRegardToCase) {
  platform::SetSerialPortListOverride(QStringList{"COM3", "com10", "COM1", "ttyUSB0"});
  QStringList list{"stale"};
  EnumSerialPorts(list);
  EXPECT_EQ(list, (QStringList{"COM1", "com10", "COM3", "ttyUSB0"}));
  platform::SetSerialPortListOverride(QStringList());
  EnumSerialPorts(list);
  EXPECT_TRUE(list.isEmpty());
}

}  // namespace
