// Storing and loading the port's settings in the settings store and in
// INI files. The test process keeps its settings in a temporary folder.
#include <gtest/gtest.h>

#include "support/QtPrinters.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "serial/ComPort.h"

namespace {

const QString kPath = QStringLiteral("HKEY_CURRENT_USER\\Software\\Telquin");

struct Store : ::testing::Test {
  QTemporaryDir root;
  QString previous;
  void SetUp() override {
    previous = platform::Registry::StorageRoot();
    platform::Registry::SetStorageRoot(root.path());
  }
  void TearDown() override { platform::Registry::SetStorageRoot(previous); }

  static QStringList ValueNames(const QString& key) {
    platform::Registry reg;
    EXPECT_TRUE(reg.OpenKey(key, false));
    QStringList names = reg.GetValueNames();
    names.sort();
    return names;
  }
};

TEST_F(Store, BasicGroupWritesExactlyItsValuesUnderTheComponentName) {
  TComPort port;
  port.SetName(QStringLiteral("ComPort"));
  port.SetPort(QStringLiteral("ttyUSB0"));
  port.SetBaudRate(br115200);
  port.FlowControl().SetFlowControl(fcHardware);
  port.StoreSettings(stRegistry, kPath);
  EXPECT_EQ(ValueNames(QStringLiteral("Software\\Telquin\\ComPort")),
            (QStringList{"BaudRate", "DataBits", "FlowControl", "Parity", "Port", "StopBits"}));
  platform::Registry reg;
  ASSERT_TRUE(reg.OpenKey(QStringLiteral("Software\\Telquin\\ComPort"), false));
  EXPECT_EQ(reg.ReadString(QStringLiteral("Port")), QStringLiteral("ttyUSB0"));
  EXPECT_EQ(reg.ReadString(QStringLiteral("BaudRate")), QStringLiteral("115200"));
  EXPECT_EQ(reg.ReadString(QStringLiteral("StopBits")), QStringLiteral("1"));
  EXPECT_EQ(reg.ReadString(QStringLiteral("DataBits")), QStringLiteral("8"));
  EXPECT_EQ(reg.ReadString(QStringLiteral("Parity")), QStringLiteral("None"));
  EXPECT_EQ(reg.ReadString(QStringLiteral("FlowControl")), QStringLiteral("Hardware"));

  port.SetBaudRate(brCustom);
  port.SetCustomBaudRate(250000);
  port.StoreSettings(stRegistry, kPath);
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey(QStringLiteral("Software\\Telquin\\ComPort"), false));
  EXPECT_EQ(reg.ReadInteger(QStringLiteral("CustomBaudRate")), 250000);
  EXPECT_EQ(reg.ReadString(QStringLiteral("CustomBaudRate")), QString());  // an integer value
}

TEST_F(Store, LoadingFromAFreshKeyGivesTheDefaultsAndKeepsTheFlowFlags) {
  TComPort port;
  port.SetName(QStringLiteral("ComPort"));
  port.SetPort(QStringLiteral("ttyS4"));
  port.SetBaudRate(br57600);
  port.SetStopBits(sbTwoStopBits);
  port.SetDataBits(dbSeven);
  port.Parity().SetBits(prOdd);
  port.FlowControl().SetFlowControl(fcSoftware);
  port.LoadSettings(stRegistry, kPath);
  EXPECT_EQ(port.Port(), QString());
  EXPECT_EQ(port.BaudRate(), br9600);
  EXPECT_EQ(port.StopBits(), sbOneStopBit);
  EXPECT_EQ(port.DataBits(), dbEight);
  EXPECT_EQ(port.Parity().Bits(), prNone);
  EXPECT_EQ(port.FlowControl().FlowControl(), fcSoftware);
}

TEST_F(Store, EveryGroupRoundTripsThroughRegistryAndIniFile) {
  for (TStoreType type : {stRegistry, stIniFile}) {
    SCOPED_TRACE(static_cast<int>(type));
    const QString target =
        type == stRegistry ? kPath : root.filePath(QStringLiteral("port.ini"));
    TComPort a;
    a.SetName(QStringLiteral("Port1"));
    a.SetStoredProps({spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers});
    a.SetPort(QStringLiteral("ttyACM0"));
    a.SetBaudRate(brCustom);
    a.SetCustomBaudRate(31250);
    a.SetStopBits(sbOne5StopBits);
    a.SetDataBits(dbSix);
    a.SetEventChar(QChar(' '));
    a.SetDiscardNull(true);
    a.Parity().SetBits(prMark);
    a.Parity().SetCheck(true);
    a.Parity().SetReplace(true);
    a.Parity().SetReplaceChar(QChar(200));
    a.Buffer().SetInputSize(8192);
    a.Buffer().SetOutputSize(512);
    a.Timeouts().SetReadInterval(11);
    a.Timeouts().SetReadTotalConstant(12);
    a.Timeouts().SetReadTotalMultiplier(13);
    a.Timeouts().SetWriteTotalConstant(14);
    a.Timeouts().SetWriteTotalMultiplier(15);
    a.FlowControl().SetControlRTS(rtsToggle);
    a.FlowControl().SetControlDTR(dtrEnable);
    a.FlowControl().SetDSRSensitivity(true);
    a.FlowControl().SetOutDSRFlow(true);
    a.FlowControl().SetTxContinueOnXoff(true);
    a.FlowControl().SetXonXoffIn(true);
    a.FlowControl().SetXonChar(QLatin1Char('Q'));
    a.FlowControl().SetXoffChar(QChar(3));
    a.StoreSettings(type, target);

    TComPort b;
    b.SetName(QStringLiteral("Port1"));
    b.SetStoredProps(a.StoredProps());
    b.LoadSettings(type, target);
    EXPECT_EQ(b.Port(), QStringLiteral("ttyACM0"));
    EXPECT_EQ(b.BaudRate(), brCustom);
    EXPECT_EQ(b.CustomBaudRate(), 31250);
    EXPECT_EQ(b.StopBits(), sbOne5StopBits);
    EXPECT_EQ(b.DataBits(), dbSix);
    EXPECT_EQ(b.EventChar(), QChar(' '));
    EXPECT_TRUE(b.DiscardNull());
    EXPECT_EQ(b.Parity().Bits(), prMark);
    EXPECT_TRUE(b.Parity().Check());
    EXPECT_TRUE(b.Parity().Replace());
    EXPECT_EQ(b.Parity().ReplaceChar(), QChar(200));
    EXPECT_EQ(b.Buffer().InputSize(), 8192);
    EXPECT_EQ(b.Buffer().OutputSize(), 512);
    EXPECT_EQ(b.Timeouts().ReadInterval(), 11);
    EXPECT_EQ(b.Timeouts().ReadTotalConstant(), 12);
    EXPECT_EQ(b.Timeouts().ReadTotalMultiplier(), 13);
    EXPECT_EQ(b.Timeouts().WriteTotalConstant(), 14);
    EXPECT_EQ(b.Timeouts().WriteTotalMultiplier(), 15);
    EXPECT_EQ(b.FlowControl().ControlRTS(), rtsToggle);
    EXPECT_EQ(b.FlowControl().ControlDTR(), dtrEnable);
    EXPECT_TRUE(b.FlowControl().DSRSensitivity());
    EXPECT_TRUE(b.FlowControl().OutDSRFlow());
    EXPECT_TRUE(b.FlowControl().TxContinueOnXoff());
    EXPECT_TRUE(b.FlowControl().XonXoffIn());
    EXPECT_FALSE(b.FlowControl().XonXoffOut());
    EXPECT_EQ(b.FlowControl().XonChar(), QLatin1Char('Q'));
    EXPECT_EQ(b.FlowControl().XoffChar(), QChar(3));
  }
}

TEST_F(Store, IniFileKeepsTheOrderAndTextForms) {
  const QString file = root.filePath(QStringLiteral("port.ini"));
  TComPort port;
  port.SetName(QStringLiteral("ComPort"));
  port.SetPort(QStringLiteral("ttyUSB1"));
  port.SetStoredProps({spBasic, spOthers});
  port.StoreSettings(stIniFile, file);
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("[ComPort]\r\nPort=ttyUSB1\r\nBaudRate=9600\r\nStopBits=1\r\n"
                                    "DataBits=8\r\nParity=None\r\nFlowControl=None\r\n"
                                    "EventChar=#0\r\nDiscardNull=No\r\n"));

  // Missing INI entries leave the settings as they are.
  TComPort other;
  other.SetName(QStringLiteral("Other"));
  other.SetBaudRate(br4800);
  other.SetStoredProps({spBasic, spTimeouts});
  other.LoadSettings(stIniFile, file);
  EXPECT_EQ(other.BaudRate(), br4800);
  EXPECT_EQ(other.Port(), QStringLiteral("COM1"));
  EXPECT_EQ(other.Timeouts().WriteTotalConstant(), 1000);
}

TEST_F(Store, AMissingIntegerFailsTheLoadAfterTheValuesBeforeIt) {
  {
    platform::Registry reg;
    ASSERT_TRUE(reg.OpenKey(QStringLiteral("Software\\Telquin\\ComPort"), true));
    reg.WriteString(QStringLiteral("Port"), QStringLiteral("ttyUSB7"));
    reg.WriteString(QStringLiteral("BaudRate"), QStringLiteral("Custom"));
    reg.WriteString(QStringLiteral("CustomBaudRate"), QStringLiteral("1200"));  // wrong kind
  }
  TComPort port;
  port.SetName(QStringLiteral("ComPort"));
  try {
    port.LoadSettings(stRegistry, kPath);
    ADD_FAILURE();
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code(), 17);
    EXPECT_EQ(e.Message(), QStringLiteral("Failed to load settings"));
  }
  EXPECT_EQ(port.Port(), QStringLiteral("ttyUSB7"));
  EXPECT_EQ(port.BaudRate(), brCustom);
  port.EndUpdate();  // the update that the load began was ended
  port.BeginUpdate();
  port.EndUpdate();
}

TEST_F(Store, RegistryPathsSelectRootAndKey) {
  TComPort port;
  port.SetName(QStringLiteral("ComPort"));
  port.StoreSettings(stRegistry, QStringLiteral("hkey_local_machine\\Software\\Vendor\\"));
  {
    platform::Registry machine(platform::Registry::LocalMachine);
    EXPECT_TRUE(machine.KeyExists(QStringLiteral("Software\\Vendor\\ComPort")));
    platform::Registry user;
    EXPECT_FALSE(user.KeyExists(QStringLiteral("Software\\Vendor\\ComPort")));
  }
  // Without any "\" no key is opened: storing and loading fail.
  EXPECT_THROW(port.StoreSettings(stRegistry, QStringLiteral("Software")), EComPort);
  try {
    port.LoadSettings(stRegistry, QStringLiteral("Software"));
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code(), 17);
  }
}

TEST_F(Store, AnUnwritableTargetIsErrorSixteen) {
  TComPort port;
  port.SetName(QStringLiteral("ComPort"));
  try {
    port.StoreSettings(stIniFile, root.filePath(QStringLiteral("missing/dir/port.ini")));
    ADD_FAILURE();
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code(), 16);
    EXPECT_EQ(e.WinCode(), -1);
  }
}

}  // namespace
