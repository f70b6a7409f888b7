// The port and terminal setup dialogs, driven as a user would: what they
// show, what OK writes (and in which steps), and that Cancel writes nothing.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "serial/ComPort.h"
#include "serial/ComTextForms.h"
#include "serial/ui/ComComboBox.h"
#include "serial/ui/ComSetupFrm.h"
#include "serial/ui/ComTerminal.h"
#include "serial/ui/ComTrmSetForm.h"
#include "serial/ui/SerialDialogs.h"
#include "serial_ui/ComboDriver.h"
#include "support/PtyPair.h"
#include "support/QtPrinters.h"

namespace {

bool SameLine(const platform::SerialLineState& a, const platform::SerialLineState& b) {
  return a.BaudRate == b.BaudRate && a.ByteSize == b.ByteSize && a.Parity == b.Parity &&
         a.StopBits == b.StopBits && a.OutX == b.OutX && a.InX == b.InX &&
         a.OutxCtsFlow == b.OutxCtsFlow && a.RtsControl == b.RtsControl;
}

// Counts the line states the device was actually given, so a test sees
// whether settings arrived one by one or in one step.
class CountingPort : public TComPort {
 public:
  int LineStates = 0;
  int Opens = 0;
  CountingPort() {
    OnAfterOpen = [this](TObject*) { ++Opens; };
  }

 protected:
  void ApplyLineSettings() override {
    const platform::SerialLineState before = Handle().State();
    TComPort::ApplyLineSettings();
    if (!SameLine(before, Handle().State())) ++LineStates;
  }
};

struct PortDialog : ::testing::Test {
  PtyPair pty;
  CountingPort port;
  void SetUp() override {
    ASSERT_TRUE(pty.IsValid());
    port.SetPort(pty.SlavePath());
    port.Open();
    ASSERT_TRUE(port.Connected());
    port.LineStates = port.Opens = 0;
  }
  void TearDown() override { port.Close(); }
};

TEST_F(PortDialog, OKAppliesAllSixSettingsInOneStep) {
  WhenShown<TComSetupFrm>([&](TComSetupFrm& form) {
    EXPECT_EQ(form.windowTitle(), "Setup");
    // The pseudo-terminal is no listed port; it is shown all the same.
    EXPECT_EQ(form.Combo1->Text(), pty.SlavePath());
    EXPECT_EQ(form.Combo2->Text(), "9600");
    EXPECT_EQ(form.Combo3->Text(), "8");
    EXPECT_EQ(form.Combo4->Text(), "1");
    EXPECT_EQ(form.Combo5->Text(), "None");
    EXPECT_EQ(form.Combo6->Text(), "None");
    Pick(*form.Combo2, QStringLiteral("115200"));
    Pick(*form.Combo3, QStringLiteral("7"));
    Pick(*form.Combo4, QStringLiteral("2"));
    Pick(*form.Combo5, QStringLiteral("Even"));
    Pick(*form.Combo6, QStringLiteral("Software"));
    QTest::mouseClick(form.OKButton, Qt::LeftButton);
  });
  EditComPortDialog(port);

  EXPECT_EQ(port.Port(), pty.SlavePath());
  EXPECT_EQ(port.BaudRate(), br115200);
  EXPECT_EQ(port.DataBits(), dbSeven);
  EXPECT_EQ(port.StopBits(), sbTwoStopBits);
  EXPECT_EQ(port.Parity().Bits(), prEven);
  EXPECT_EQ(port.FlowControl().FlowControl(), fcSoftware);
  const platform::SerialLineState& line = port.Handle().State();
  EXPECT_EQ(line.BaudRate, 115200u);
  EXPECT_EQ(line.ByteSize, 7);
  EXPECT_EQ(line.StopBits, 2);
  EXPECT_EQ(line.Parity, 2);
  EXPECT_TRUE(line.OutX && line.InX);
  EXPECT_EQ(port.LineStates, 1);
  EXPECT_EQ(port.Opens, 0);  // same port: not reopened
}

TEST_F(PortDialog, CancelWritesNothing) {
  WhenShown<TComSetupFrm>([&](TComSetupFrm& form) {
    Pick(*form.Combo2, QStringLiteral("300"));
    Pick(*form.Combo5, QStringLiteral("Odd"));
    form.Combo1->lineEdit()->selectAll();
    QTest::keyClicks(form.Combo1->lineEdit(), QStringLiteral("/dev/nothing"));
    QTest::mouseClick(form.CancelButton, Qt::LeftButton);
  });
  EditComPortDialog(port);
  EXPECT_EQ(port.Port(), pty.SlavePath());
  EXPECT_EQ(port.BaudRate(), br9600);
  EXPECT_EQ(port.Parity().Bits(), prNone);
  EXPECT_EQ(port.LineStates, 0);
  EXPECT_TRUE(port.Connected());
}

TEST_F(PortDialog, ATypedDeviceReopensThePortThere) {
  PtyPair other;
  ASSERT_TRUE(other.IsValid());
  WhenShown<TComSetupFrm>([&](TComSetupFrm& form) {
    form.Combo1->lineEdit()->selectAll();
    QTest::keyClicks(form.Combo1->lineEdit(), other.SlavePath());
    Pick(*form.Combo2, QStringLiteral("38400"));
    form.OKButton->click();
  });
  EditComPortDialog(port);
  EXPECT_EQ(port.Port(), other.SlavePath());
  EXPECT_TRUE(port.Connected());
  EXPECT_EQ(port.Opens, 1);
  EXPECT_EQ(port.Handle().State().BaudRate, 38400u);
  port.WriteStr(QStringLiteral("hi"));
  EXPECT_EQ(other.ReadMaster(2000, 2), "hi");
}

TEST_F(PortDialog, AFailedPortChangeLeavesThePortUsable) {
  WhenShown<TComSetupFrm>([&](TComSetupFrm& form) {
    form.Combo1->lineEdit()->selectAll();
    QTest::keyClicks(form.Combo1->lineEdit(), QStringLiteral("/nonexistent/ttyQ9"));
    Pick(*form.Combo2, QStringLiteral("57600"));
    form.OKButton->click();
  });
  try {
    EditComPortDialog(port);
    ADD_FAILURE() << "no error";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code(), 1);
    EXPECT_EQ(e.WinCode(), 2);
  }
  EXPECT_FALSE(port.Connected());
  // The settings still reach the device once the port is open again.
  port.SetPort(pty.SlavePath());
  port.SetBaudRate(br4800);
  port.Open();
  ASSERT_TRUE(port.Connected());
  EXPECT_EQ(port.Handle().State().BaudRate, 4800u);
  port.SetBaudRate(br19200);
  EXPECT_EQ(port.Handle().State().BaudRate, 19200u);
}

TEST(SerialDialogs, ShowSetupDialogOpensThemOnceInstalled) {
  InstallSerialDialogs();
  TComPort port;
  port.SetPort(QStringLiteral("/dev/pts/55"));
  bool portShown = false;
  WhenShown<TComSetupFrm>([&](TComSetupFrm& form) {
    portShown = form.Combo1->Text() == "/dev/pts/55";
    form.reject();
  });
  port.ShowSetupDialog();
  EXPECT_TRUE(portShown);

  TComTerminal terminal;
  bool terminalShown = false;
  WhenShown<TComTrmSetForm>([&](TComTrmSetForm& form) {
    terminalShown = form.Edit1->text() == "80";
    form.reject();
  });
  terminal.ShowSetupDialog();
  EXPECT_TRUE(terminalShown);
}

TEST(TerminalDialog, LoadsAndStoresEverySetting) {
  TComTerminal terminal;
  terminal.SetLocalEcho(true);
  terminal.SetWrapLines(true);
  terminal.SetAppendLF(true);
  terminal.SetCaret(tcUnderline);
  terminal.SetEmulation(teVT52);
  terminal.SetColumns(132);
  terminal.SetRows(43);
  terminal.SetArrowKeys(akWindows);
  WhenShown<TComTrmSetForm>([&](TComTrmSetForm& form) {
    EXPECT_EQ(form.windowTitle(), "Setup");
    const bool checked[] = {true, false, true, false, true};
    int i = 0;
    for (QCheckBox* box :
         {form.CheckBox1, form.CheckBox2, form.CheckBox3, form.CheckBox4, form.CheckBox5}) {
      EXPECT_EQ(box->isChecked(), checked[i++]);
      box->click();
    }
    EXPECT_EQ(form.ComboBox1->currentText(), "Underline");
    EXPECT_EQ(form.ComboBox2->currentText(), "VT52");
    EXPECT_EQ(form.Edit1->text(), "132");
    EXPECT_EQ(form.Edit2->text(), "43");
    EXPECT_EQ(form.ComboBox3->currentText(), "Act as windows keys");
    Pick(*form.ComboBox1, QStringLiteral("Block"));
    Pick(*form.ComboBox2, QStringLiteral("None"));
    form.Edit1->setText(QStringLiteral("100"));
    form.Edit2->setText(QStringLiteral("30"));
    Pick(*form.ComboBox3, QStringLiteral("Act as terminal keys"));
    form.OKButton->click();
  });
  EditComTerminalDialog(terminal);
  EXPECT_FALSE(terminal.LocalEcho());
  EXPECT_TRUE(terminal.SendLF());
  EXPECT_FALSE(terminal.WrapLines());
  EXPECT_TRUE(terminal.Force7Bit());
  EXPECT_FALSE(terminal.AppendLF());
  EXPECT_EQ(terminal.Caret(), tcBlock);
  EXPECT_EQ(terminal.Emulation(), teNone);
  EXPECT_EQ(terminal.Columns(), 100);
  EXPECT_EQ(terminal.Rows(), 30);
  EXPECT_EQ(terminal.ArrowKeys(), akTerminal);
}

struct GridCase {
  const char* columns;
  const char* rows;
  int wantColumns;
  int wantRows;
};

class TerminalGrid : public ::testing::TestWithParam<GridCase> {};

TEST_P(TerminalGrid, TypedSizeIsReadWithFallBackAndClamped) {
  const GridCase c = GetParam();
  TComTerminal terminal;
  terminal.SetColumns(40);
  terminal.SetRows(10);
  WhenShown<TComTrmSetForm>([&](TComTrmSetForm& form) {
    form.Edit1->setText(QString::fromLatin1(c.columns));
    form.Edit2->setText(QString::fromLatin1(c.rows));
    form.OKButton->click();
  });
  EditComTerminalDialog(terminal);
  EXPECT_EQ(terminal.Columns(), c.wantColumns);
  EXPECT_EQ(terminal.Rows(), c.wantRows);
}

INSTANTIATE_TEST_SUITE_P(, TerminalGrid,
                         ::testing::Values(GridCase{"abc", "x", 80, 24},
                                           GridCase{"300", "1000", 256, 100},
                                           GridCase{"", "", 80, 24},
                                           GridCase{" 72 ", "-3", 72, 2},
                                           GridCase{"12.5", "99999999999", 80, 24}));

TEST(TerminalDialog, CancelWritesNothingAndAHiddenCaretStaysValid) {
  TComTerminal terminal;
  terminal.SetCaret(tcNone);
  WhenShown<TComTrmSetForm>([&](TComTrmSetForm& form) {
    EXPECT_EQ(form.ComboBox1->currentIndex(), -1);
    form.CheckBox1->click();
    form.Edit1->setText(QStringLiteral("abc"));
    form.CancelButton->click();
  });
  EditComTerminalDialog(terminal);
  EXPECT_FALSE(terminal.LocalEcho());
  EXPECT_EQ(terminal.Columns(), 80);

  WhenShown<TComTrmSetForm>([&](TComTrmSetForm& form) { form.OKButton->click(); });
  EditComTerminalDialog(terminal);
  EXPECT_EQ(terminal.Caret(), tcNone);
}

}  // namespace
