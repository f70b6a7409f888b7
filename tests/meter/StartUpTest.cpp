// The logic's share of start-up and shut-down: stored port settings and
// model, the first listed port, the baud-rate rule, the debug switch.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "MeterRig.h"
#include "platform/Registry.h"
#include "platform/SerialPortList.h"
#include "platform/SystemError.h"
#include "serial/ComTextForms.h"

namespace {

// A settings store of its own and a known port list for each test.
class StartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    platform::Registry::SetStorageRoot(dir.path());
    platform::SetSerialPortListOverride(QStringList{});
  }
  void TearDown() override { platform::SetSerialPortListOverride(QStringList{}); }

  static void Store(const QString& port, const QString& rate, int type) {
    platform::Registry r;
    ASSERT_TRUE(r.OpenKey(QStringLiteral("Software\\Telquin\\ComPort"), true));
    r.WriteString(QStringLiteral("Port"), port);
    r.WriteString(QStringLiteral("BaudRate"), rate);
    ASSERT_TRUE(r.OpenKey(QStringLiteral("\\Software\\Telquin\\Device"), true));
    r.WriteInteger(QStringLiteral("Type"), type);
    r.Flush();
  }

  QTemporaryDir dir;
  FakeMeterView view;
};

}  // namespace

TEST_F(StartUp, StoredModelDecidesTheBaudRate) {
  struct Case {
    int type;
    const char* stored;
    TBaudRate expected;
    TDeviceType model;
  } cases[] = {
      {0, "19200", br19200, Pavon},      // PAVON keeps the stored rate
      {2, "9600", br115200, Hexlin},     // the three newer models run at 115200
      {1, "38400", br9600, Dorvane},     // DORVANE gets its default
      {4, "9600", br115200, KESTO_ZAREL},
      {7, "19200", br19200, Pavon},      // an unknown stored model is PAVON
      {-1, "19200", br19200, Pavon},
  };
  for (const Case& c : cases) {
    Store(QStringLiteral("/dev/nonexistent-test-port"), QString::fromLatin1(c.stored), c.type);
    TMeterLogic logic(view);
    logic.FormCreate({});
    EXPECT_EQ(logic.Device(), c.model) << c.type;
    EXPECT_EQ(logic.ComPort().BaudRate(), c.expected) << c.type;
    EXPECT_EQ(logic.ComPort().Port(), QStringLiteral("/dev/nonexistent-test-port"));
    EXPECT_FALSE(logic.ComPort().Connected());
  }
}

TEST_F(StartUp, DebugSwitchIsTheWholeWordInAnyCase) {
  const struct {
    QStringList args;
    bool on;
  } cases[] = {{{"DEBUG"}, true}, {{"x", "Debug"}, true}, {{"debugx"}, false},
               {{"-debug"}, false}, {{}, false}};
  for (const auto& c : cases) {
    TMeterLogic logic(view);
    logic.FormCreate(c.args);
    EXPECT_EQ(DebugSwitch(), c.on) << c.args.join(' ').toStdString();
    logic.ChangeDevice();
    EXPECT_EQ(view.caption.endsWith(QLatin1String(" Debug")), c.on);
  }
  SetDebugSwitch(false);
}

TEST_F(StartUp, NoStoredPortTakesTheFirstListedOrReportsRegistryError) {
  {
    TMeterLogic logic(view);
    logic.FormCreate({});
    EXPECT_EQ(logic.ComPort().Port(), QString());
    EXPECT_EQ(view.StatusText(2),
              QStringLiteral(" Registry error; no serial port found: type the device path"));
    // The interface setup that follows opens nothing and says what to do.
    logic.ApplyInterfaceSetup();
    EXPECT_FALSE(logic.ComPort().Connected());
    EXPECT_EQ(view.StatusText(2), " Unable to open com port (Error: 2): " +
                                      platform::SystemErrorText(2) +
                                      "; no serial port found: type the device path");
  }
  platform::SetSerialPortListOverride(QStringList{"ttyUSB1", "ttyACM0", "ttyUSB0"});
  view.SetStatusText(2, QString());
  TMeterLogic logic(view);
  logic.FormCreate({});
  EXPECT_EQ(logic.ComPort().Port(), QStringLiteral("ttyACM0"));  // sorted, first
  EXPECT_EQ(view.StatusText(2), QString());
}

TEST_F(StartUp, ClosingTheWindowStopsLoggingAndClosesAnOpenPort) {
  MeterRig rig(Pavon);
  ASSERT_TRUE(rig.logic.ComPort().Connected());
  rig.view.SetActionChecked(TAction::acStartStopLog, true);
  rig.logic.FormClose();
  EXPECT_FALSE(rig.logic.ComPort().Connected());
  EXPECT_FALSE(rig.view.ActionChecked(TAction::acStartStopLog));
  EXPECT_EQ(rig.view.StatusText(0), QStringLiteral(" COMx:Offline"));
  rig.logic.FormClose();  // a closed port is left alone
  EXPECT_FALSE(rig.logic.ComPort().Connected());
}

TEST_F(StartUp, AnOpenErrorOfTheInterfaceSetupSaysWhatToDo) {
  // A plain file is no serial device.
  QFile plain(dir.filePath(QStringLiteral("not-a-port")));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  TMeterLogic logic(view);
  logic.ComPort().SetPort(plain.fileName());
  logic.ApplyInterfaceSetup();
  EXPECT_FALSE(logic.ComPort().Connected());
  EXPECT_TRUE(view.StatusText(2).startsWith(" SetCommState function failed (Error: 25): " +
                                            platform::SystemErrorText(25)))
      << view.StatusText(2).toStdString();
  EXPECT_TRUE(view.StatusText(2).endsWith("; not a serial device: choose a serial port"));
}
