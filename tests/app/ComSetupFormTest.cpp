// The interface setup dialog driven as a user would, against the meter logic
// with a pseudo-terminal as its port and the settings store in a temporary
// folder: which rates it offers, what OK applies and stores, what Cancel
// leaves, and how the port follows the dialog.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/ComSetupForm.h"
#include "meter/MeterLogic.h"
#include "platform/Registry.h"
#include "serial/ComTextForms.h"
#include "serial/ui/ComComboBox.h"
#include "serial_ui/ComboDriver.h"
#include "support/FakeMeterView.h"
#include "support/PtyPair.h"

namespace {

const QString kStoreKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Telquin");

QStringList Items(const QComboBox& box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
  return items;
}

// The port settings as the next start would load them.
TBaudRate StoredRate(QString* port = nullptr) {
  TComPort stored;
  stored.SetName(QStringLiteral("ComPort"));
  stored.LoadSettings(stRegistry, kStoreKey);
  if (port != nullptr) *port = stored.Port();
  return stored.BaudRate();
}

int StoredType() {
  platform::Registry reg;
  if (!reg.OpenKey(QStringLiteral("Software\\Telquin\\Device"), false)) return -1;
  return reg.ReadInteger(QStringLiteral("Type")).value_or(-1);
}

struct InterfaceSetup : ::testing::Test {
  QTemporaryDir settings;
  QString oldRoot;
  PtyPair pty;
  FakeMeterView view;
  std::unique_ptr<TMeterLogic> logic;
  std::unique_ptr<TComSetupForm> form;

  void SetUp() override {
    ASSERT_TRUE(settings.isValid());
    ASSERT_TRUE(pty.IsValid());
    oldRoot = platform::Registry::StorageRoot();
    platform::Registry::SetStorageRoot(settings.path());
  }
  void TearDown() override {
    form.reset();
    logic.reset();
    platform::Registry::SetStorageRoot(oldRoot);
  }

  // What an earlier run stored, then the program's start-up.
  void Start(TDeviceType model, TBaudRate rate) {
    TComPort stored;
    stored.SetName(QStringLiteral("ComPort"));
    stored.SetPort(pty.SlavePath());
    stored.SetBaudRate(rate);
    stored.StoreSettings(stRegistry, kStoreKey);
    platform::Registry reg;
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Software\\Telquin\\Device"), true));
    ASSERT_TRUE(reg.WriteInteger(QStringLiteral("Type"), model));
    ASSERT_TRUE(reg.Flush());

    logic = std::make_unique<TMeterLogic>(view);
    logic->FormCreate({});
    form = std::make_unique<TComSetupForm>(*logic, view);
  }

  // Shows the dialog, lets `act` play the user, and returns ShowModal's result.
  int Show(std::function<void(TComSetupForm&)> act) {
    WhenShown<TComSetupForm>(std::move(act));
    return form->ShowModal();
  }
};

TEST_F(InterfaceSetup, FirstShowOffersTheModelDefaultNotTheStoredRate) {
  Start(Pavon, br19200);
  ASSERT_EQ(logic->ComPort().BaudRate(), br19200);
  const int result = Show([&](TComSetupForm& f) {
    EXPECT_EQ(f.windowTitle(), "Interface Setup");
    EXPECT_EQ(Items(*f.cb_device),
              QStringList({"PAVON", "DORVANE", "HEXLIN/HEXLOR", "TAVRI", "KESTO ZAREL"}));
    EXPECT_EQ(f.cb_device->currentText(), "PAVON");
    EXPECT_EQ(f.Combo_Port->Text(), pty.SlavePath());
    EXPECT_EQ(Items(*f.Combo_Baudrate), QStringList({"2400", "4800", "9600", "19200", "38400"}));
    EXPECT_EQ(f.Combo_Baudrate->currentText(), "9600");
    EXPECT_FALSE(f.AutoGet());
    EXPECT_FALSE(f.Simulation());
    f.OKButton->click();
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(logic->ComPort().BaudRate(), br9600);
  QString port;
  EXPECT_EQ(StoredRate(&port), br9600);
  EXPECT_EQ(port, pty.SlavePath());
  EXPECT_EQ(StoredType(), 0);
}

TEST_F(InterfaceSetup, AnotherModelReplacesTheChosenRateByItsDefault) {
  Start(Pavon, br9600);
  Show([&](TComSetupForm& f) {
    Pick(*f.cb_device, QStringLiteral("TAVRI"));
    EXPECT_EQ(Items(*f.Combo_Baudrate),
              QStringList({"9600", "19200", "115200", "230400", "460800", "921600"}));
    EXPECT_EQ(f.Combo_Baudrate->currentText(), "115200");
    Pick(*f.Combo_Baudrate, QStringLiteral("9600"));
    f.OKButton->click();
  });
  EXPECT_EQ(logic->Device(), Tavri);
  EXPECT_EQ(view.caption, "Telquin (TAVRI)");
  EXPECT_EQ(logic->ComPort().BaudRate(), br115200);
  EXPECT_EQ(StoredRate(), br115200);
  EXPECT_EQ(StoredType(), 3);
}

TEST_F(InterfaceSetup, LaterShowsSelectThePortRateAndTheSameModelKeepsTheChoice) {
  Start(Hexlin, br115200);
  Show([&](TComSetupForm& f) { f.OKButton->click(); });
  logic->ComPort().SetBaudRate(br57600);
  Show([&](TComSetupForm& f) {
    EXPECT_EQ(f.cb_device->currentText(), "HEXLIN/HEXLOR");
    EXPECT_EQ(f.Combo_Baudrate->currentText(), "57600");
    Pick(*f.Combo_Baudrate, QStringLiteral("38400"));
    f.OKButton->click();
  });
  EXPECT_EQ(logic->Device(), Hexlin);
  EXPECT_EQ(logic->ComPort().BaudRate(), br38400);
  EXPECT_EQ(StoredRate(), br38400);
  EXPECT_EQ(StoredType(), 2);
}

TEST_F(InterfaceSetup, CancelChangesNothingButTheListStaysAsPicked) {
  Start(Pavon, br19200);
  const QString storeFile = platform::Registry::RootFile(platform::Registry::CurrentUser);
  QFile file(storeFile);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray before = file.readAll();
  file.close();

  const int result = Show([&](TComSetupForm& f) {
    Pick(*f.cb_device, QStringLiteral("TAVRI"));
    Pick(*f.Combo_Baudrate, QStringLiteral("460800"));
    f.CheckBox2->click();
    f.Button2->click();
  });
  EXPECT_EQ(result, 2);
  EXPECT_EQ(logic->Device(), Pavon);
  EXPECT_EQ(logic->ComPort().BaudRate(), br19200);
  EXPECT_FALSE(logic->Simulator().SimuVersion());
  EXPECT_FALSE(logic->Timer_AutoGet().isActive());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), before);
  file.close();

  // The model box shows the current model again; the list is TAVRI's, which
  // lacks the port's rate, so nothing is selected and OK applies 9600.
  logic->ComPort().SetBaudRate(br4800);
  Show([&](TComSetupForm& f) {
    EXPECT_EQ(f.cb_device->currentText(), "PAVON");
    EXPECT_EQ(f.Combo_Baudrate->count(), 6);
    EXPECT_EQ(f.Combo_Baudrate->currentIndex(), -1);
    EXPECT_TRUE(f.Simulation());  // the boxes keep what the user left
    f.CheckBox2->click();
    f.OKButton->click();
  });
  EXPECT_EQ(logic->Device(), Pavon);
  EXPECT_EQ(logic->ComPort().BaudRate(), br9600);
  EXPECT_EQ(StoredRate(), br9600);
}

TEST_F(InterfaceSetup, SimulationTicksTheReadButNotTheOtherWayRound) {
  Start(Pavon, br9600);
  form->CheckBox2->click();
  EXPECT_TRUE(form->Simulation());
  EXPECT_TRUE(form->AutoGet());
  form->CheckBox2->click();
  EXPECT_FALSE(form->Simulation());
  EXPECT_TRUE(form->AutoGet());
}

TEST_F(InterfaceSetup, SimulationClosesThePortAndStartsTheAutomaticRead) {
  Start(Pavon, br9600);
  logic->ComPort().Open();
  ASSERT_TRUE(logic->ComPort().Connected());
  view.SetActionVisible(TAction::acSimulation, false);

  WhenShown<TComSetupForm>([](TComSetupForm& f) {
    f.CheckBox2->click();
    f.OKButton->click();
  });
  acSettingsExecute(*form, *logic);
  EXPECT_TRUE(logic->Simulator().SimuVersion());
  EXPECT_FALSE(logic->ComPort().Connected());
  EXPECT_FALSE(view.ActionEnabled(TAction::acOpenPort));
  EXPECT_TRUE(view.action(TAction::acSimulation).visible);
  EXPECT_TRUE(logic->Timer_AutoGet().isActive());
  EXPECT_EQ(view.status[0], " COMx:Offline");  // the close event follows the summary
  EXPECT_EQ(view.status[2], QString());

  // Off again, without the automatic read: the port is back and the
  // simulation setup hidden.
  WhenShown<TComSetupForm>([](TComSetupForm& f) {
    f.CheckBox2->click();
    f.CheckBox1->click();
    f.OKButton->click();
  });
  acSettingsExecute(*form, *logic);
  EXPECT_FALSE(logic->Simulator().SimuVersion());
  EXPECT_TRUE(logic->ComPort().Connected());
  EXPECT_TRUE(view.ActionEnabled(TAction::acOpenPort));
  EXPECT_FALSE(view.action(TAction::acSimulation).visible);
  EXPECT_FALSE(logic->Timer_AutoGet().isActive());
  logic->ComPort().Close();
}

TEST_F(InterfaceSetup, ATypedDevicePathIsOpenedAndSummarised) {
  Start(Pavon, br9600);
  PtyPair other;
  ASSERT_TRUE(other.IsValid());
  WhenShown<TComSetupForm>([&](TComSetupForm& f) {
    f.Combo_Port->lineEdit()->selectAll();
    QTest::keyClicks(f.Combo_Port->lineEdit(), other.SlavePath());
    Pick(*f.Combo_Baudrate, QStringLiteral("38400"));
    f.OKButton->click();
  });
  acSettingsExecute(*form, *logic);
  ASSERT_TRUE(logic->ComPort().Connected());
  EXPECT_EQ(logic->ComPort().Port(), other.SlavePath());
  EXPECT_EQ(logic->ComPort().Handle().State().BaudRate, 38400u);
  EXPECT_EQ(view.status[0], QStringLiteral(" %1:38400,8,None,1,None").arg(other.SlavePath()));
  EXPECT_EQ(view.status[2], QString());
  QString port;
  StoredRate(&port);
  EXPECT_EQ(port, other.SlavePath());
  logic->ComPort().WriteStr(QStringLiteral("ID\r"));
  EXPECT_EQ(other.ReadMaster(2000, 3), "ID\r");
  logic->ComPort().Close();
}

TEST_F(InterfaceSetup, APortErrorInOKReachesTheCallerAndLeavesThePortUsable) {
  Start(Pavon, br9600);
  logic->ComPort().Open();
  ASSERT_TRUE(logic->ComPort().Connected());
  WhenShown<TComSetupForm>([&](TComSetupForm& f) {
    f.Combo_Port->lineEdit()->selectAll();
    QTest::keyClicks(f.Combo_Port->lineEdit(), QStringLiteral("/nonexistent/ttyQ7"));
    Pick(*f.cb_device, QStringLiteral("DORVANE"));
    f.CheckBox2->click();
    f.OKButton->click();
  });
  try {
    acSettingsExecute(*form, *logic);
    ADD_FAILURE() << "no error";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code(), 1);
  }
  EXPECT_FALSE(form->isVisible());
  // OK stopped at the error: no model switch, nothing stored, no simulation.
  EXPECT_EQ(logic->Device(), Pavon);
  EXPECT_EQ(StoredType(), 0);
  QString stored;
  StoredRate(&stored);
  EXPECT_EQ(stored, pty.SlavePath());
  EXPECT_FALSE(logic->Simulator().SimuVersion());
  // The port still followed the dialog: it could not be opened, panel 2 says so.
  EXPECT_FALSE(logic->ComPort().Connected());
  EXPECT_TRUE(view.status[2].startsWith(QStringLiteral(" ")));
  EXPECT_GT(view.status[2].size(), 1);
  EXPECT_TRUE(view.ActionEnabled(TAction::acOpenPort));

  // Not left inside an update: settings reach the device again.
  logic->ComPort().SetPort(pty.SlavePath());
  logic->ComPort().Open();
  ASSERT_TRUE(logic->ComPort().Connected());
  logic->ComPort().SetBaudRate(br19200);
  EXPECT_EQ(logic->ComPort().Handle().State().BaudRate, 19200u);
  logic->ComPort().Close();
}

}  // namespace
