// Port-selection combo boxes: lists, showing the port's value, user choices
// reaching the port at once or on request, the typed port name, and a bound
// port going away.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <memory>

#include "platform/SerialPortList.h"
#include "serial/ComPort.h"
#include "serial/ui/ComComboBox.h"
#include "support/QtPrinters.h"
#include "serial_ui/ComboDriver.h"

namespace {

QStringList Items(const QComboBox& box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
  return items;
}

struct ComboTest : ::testing::Test {
  TComPort port;
  TComComboBox combo;
  void SetUp() override {
    platform::SetSerialPortListOverride(
        QStringList{QStringLiteral("ttyUSB0"), QStringLiteral("ttyS10"), QStringLiteral("ttyS2")});
    port.SetPort(QStringLiteral("ttyS2"));
  }
  void TearDown() override { platform::SetSerialPortListOverride(QStringList()); }
  void Bind(TComProperty property) {
    combo.SetComProperty(property);
    combo.SetComPort(&port);
  }
};

struct ListCase {
  TComProperty property;
  QStringList items;
  bool typed;
};

TEST_F(ComboTest, ListsTheTextsOfItsPropertyAndOnlyThePortListTakesTyping) {
  const QStringList rates{"Custom", "110",    "300",    "600",    "1200",   "2400",   "4800",
                          "9600",   "14400",  "19200",  "38400",  "56000",  "57600",  "115200",
                          "128000", "230400", "256000", "460800", "921600"};
  const ListCase cases[] = {
      {cpNone, {}, false},
      {cpPort, {"ttyS10", "ttyS2", "ttyUSB0"}, true},
      {cpBaudRate, rates, false},
      {cpDataBits, {"5", "6", "7", "8"}, false},
      {cpStopBits, {"1", "1.5", "2"}, false},
      {cpParity, {"None", "Odd", "Even", "Mark", "Space"}, false},
      {cpFlowControl, {"Hardware", "Software", "None", "Custom"}, false},
  };
  for (const ListCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.property));
    combo.SetComProperty(c.property);
    EXPECT_EQ(Items(combo), c.items);
    EXPECT_EQ(combo.isEditable(), c.typed);
    // Without a port the first item is shown.
    EXPECT_EQ(combo.ItemIndex(), c.items.isEmpty() ? -1 : 0);
  }
}

TEST_F(ComboTest, ShowsThePortsValueAndTakesItAsTheChoice) {
  port.SetBaudRate(br19200);
  port.SetDataBits(dbSeven);
  port.SetStopBits(sbTwoStopBits);
  port.Parity().SetBits(prMark);
  port.FlowControl().SetFlowControl(fcSoftware);
  const std::pair<TComProperty, QString> shown[] = {
      {cpPort, "ttyS2"}, {cpBaudRate, "19200"}, {cpDataBits, "7"},
      {cpStopBits, "2"}, {cpParity, "Mark"},    {cpFlowControl, "Software"}};
  for (const auto& [property, text] : shown) {
    SCOPED_TRACE(text.toStdString());
    TComComboBox box;
    box.SetComProperty(property);
    box.SetComPort(&port);
    EXPECT_EQ(box.Text(), text);
  }

  // The shown value is what applying writes back, not the zero value the
  // choice starts with.
  Bind(cpBaudRate);
  port.SetBaudRate(br300);
  combo.ApplySettings();
  EXPECT_EQ(port.BaudRate(), br19200);
}

TEST_F(ComboTest, AnUnlistedPortIsShownAndKept) {
  port.SetPort(QStringLiteral("/dev/pts/7"));
  Bind(cpPort);
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(combo.Text(), "/dev/pts/7");
  EXPECT_EQ(combo.ComSelect().Port(), "/dev/pts/7");
  combo.ApplySettings();
  EXPECT_EQ(port.Port(), "/dev/pts/7");

  // Also when no port is listed at all.
  platform::SetSerialPortListOverride(QStringList());
  TComComboBox empty;
  empty.SetComProperty(cpPort);
  empty.SetComPort(&port);
  EXPECT_EQ(empty.Text(), "/dev/pts/7");
  empty.ApplySettings();
  EXPECT_EQ(port.Port(), "/dev/pts/7");
}

TEST_F(ComboTest, ALongPortPathStaysReadableAsTooltip) {
  const QString path =
      QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9XK2L3M-if00-port0");
  port.SetPort(path);
  Bind(cpPort);
  EXPECT_EQ(combo.toolTip(), path);
  combo.lineEdit()->selectAll();
  QTest::keyClicks(combo.lineEdit(), QStringLiteral("/dev/pts/3"));
  EXPECT_EQ(combo.toolTip(), "/dev/pts/3");
  combo.SetItemIndex(0);
  EXPECT_EQ(combo.toolTip(), combo.itemText(0));
}

TEST_F(ComboTest, ATypedPortNameIsTheChoice) {
  Bind(cpPort);
  int changes = 0;
  combo.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &combo);
    ++changes;
  };
  QLineEdit* edit = combo.lineEdit();
  ASSERT_NE(edit, nullptr);

  edit->selectAll();
  QTest::keyClicks(edit, QStringLiteral(" /dev/serial/by-id/usb-meter "));
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(port.Port(), "ttyS2");  // not before it is applied
  EXPECT_EQ(Items(combo).size(), 3);  // typing adds nothing to the list
  combo.ApplySettings();
  EXPECT_EQ(port.Port(), "/dev/serial/by-id/usb-meter");

  // Typed and applied without Return (the dialog's OK took the focus in code).
  edit->selectAll();
  QTest::keyClicks(edit, QStringLiteral("/dev/pts/3"));
  combo.ApplySettings();
  EXPECT_EQ(port.Port(), "/dev/pts/3");
  EXPECT_EQ(changes, 2);

  // An emptied box opens no port of an empty name.
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  combo.ApplySettings();
  EXPECT_EQ(port.Port(), "/dev/pts/3");

  // With AutoApply the name goes to the port when typing ends.
  combo.SetAutoApply(true);
  QTest::keyClicks(edit, QStringLiteral("/dev/pts/4"));
  EXPECT_EQ(port.Port(), "/dev/pts/3");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(port.Port(), "/dev/pts/4");

  // Showing the port's value again replaces a typed name that was not
  // applied, also when the listed item shown before is the port's again.
  combo.SetAutoApply(false);
  port.SetPort(QStringLiteral("ttyS2"));
  combo.UpdateSettings();
  edit->selectAll();
  QTest::keyClicks(edit, QStringLiteral("/dev/pts/9"));
  QTest::keyClick(edit, Qt::Key_Return);
  combo.UpdateSettings();
  EXPECT_EQ(combo.Text(), "ttyS2");
  combo.ApplySettings();
  EXPECT_EQ(port.Port(), "ttyS2");
}

TEST_F(ComboTest, CustomRateIsAChoiceLikeAnyOther) {
  Bind(cpBaudRate);
  Pick(combo, QStringLiteral("Custom"));
  combo.ApplySettings();
  EXPECT_EQ(port.BaudRate(), brCustom);
}

TEST_F(ComboTest, AutoApplyDecidesWhenAUserPickReachesThePort) {
  for (const bool autoApply : {false, true}) {
    SCOPED_TRACE(autoApply);
    port.SetDataBits(dbEight);
    TComComboBox box;
    box.SetComProperty(cpDataBits);
    box.SetComPort(&port);
    box.SetAutoApply(autoApply);
    int changes = 0;
    box.OnChange = [&](TObject*) { ++changes; };
    QTest::keyClick(&box, Qt::Key_Up);  // "8" -> "7", as the user does it
    EXPECT_EQ(box.Text(), "7");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(port.DataBits(), autoApply ? dbSeven : dbEight);
    box.ApplySettings();
    EXPECT_EQ(port.DataBits(), dbSeven);
  }
}

TEST_F(ComboTest, ParityAndFlowControlReachTheirSettingsObjects) {
  TComComboBox parity;
  parity.SetComProperty(cpParity);
  parity.SetComPort(&port);
  TComComboBox flow;
  flow.SetComProperty(cpFlowControl);
  flow.SetComPort(&port);
  Pick(parity, QStringLiteral("Even"));
  Pick(flow, QStringLiteral("Hardware"));
  parity.ApplySettings();
  flow.ApplySettings();
  EXPECT_EQ(port.Parity().Bits(), prEven);
  EXPECT_EQ(port.FlowControl().FlowControl(), fcHardware);
  EXPECT_EQ(port.FlowControl().ControlRTS(), rtsHandshake);
}

TEST_F(ComboTest, WritingTextSelectsOnlyListedTextsAndIsNoChoice) {
  Bind(cpParity);
  int changes = 0;
  combo.OnChange = [&](TObject*) { ++changes; };
  combo.SetText(QStringLiteral("Odd"));
  EXPECT_EQ(combo.Text(), "Odd");
  combo.SetText(QStringLiteral("Purple"));
  combo.SetText(QStringLiteral("odd "));
  EXPECT_EQ(combo.Text(), "Odd");
  EXPECT_EQ(changes, 0);
  combo.ApplySettings();
  EXPECT_EQ(port.Parity().Bits(), prNone);  // the value taken when bound
}

TEST_F(ComboTest, ChangingThePropertyShowsThePortsValueOfTheNewOne) {
  port.SetStopBits(sbOne5StopBits);
  Bind(cpParity);
  combo.SetComProperty(cpStopBits);
  EXPECT_EQ(combo.Text(), "1.5");
  EXPECT_FALSE(combo.isEditable());
  combo.SetComProperty(cpPort);
  EXPECT_EQ(combo.Text(), "ttyS2");
  combo.SetComProperty(cpBaudRate);
  EXPECT_EQ(combo.Text(), "9600");
}

TEST_F(ComboTest, ABoundPortThatGoesAwayIsForgotten) {
  auto other = std::make_unique<TComPort>();
  other->SetBaudRate(br57600);
  combo.SetComProperty(cpBaudRate);
  combo.SetComPort(other.get());
  EXPECT_EQ(combo.Text(), "57600");
  other.reset();
  EXPECT_EQ(combo.ComPort(), nullptr);
  EXPECT_EQ(combo.ItemIndex(), 0);
  combo.ApplySettings();  // nothing to write to

  // Rebinding moves the notice: the first port's end no longer concerns it.
  auto first = std::make_unique<TComPort>();
  combo.SetComPort(first.get());
  combo.SetComPort(&port);
  first.reset();
  EXPECT_EQ(combo.ComPort(), &port);

  // A box that goes first leaves nothing behind in the port.
  auto box = std::make_unique<TComComboBox>();
  box->SetComProperty(cpPort);
  auto last = std::make_unique<TComPort>();
  box->SetComPort(last.get());
  box.reset();
  last.reset();
}

}  // namespace
