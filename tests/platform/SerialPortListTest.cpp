// The system's list of serial ports, read from a tree like /sys/class/tty.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/SerialPortList.h"
#include "support/QtPrinters.h"

namespace {

// One tty entry: with a device behind it or not, and a UART type for ttyS*.
void AddTty(const QDir& root, const QString& name, bool device, const QByteArray& type = {}) {
  ASSERT_TRUE(root.mkpath(name));
  if (device) {
    ASSERT_TRUE(root.mkpath(name + "/device"));
  }
  if (!type.isEmpty()) {
    QFile f(root.filePath(name + "/type"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(type + "\n");
  }
}

void SetActiveConsoles(const QDir& root, const QByteArray& line) {
  ASSERT_TRUE(root.mkpath("console"));
  QFile f(root.filePath("console/active"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(line);
}

}  // namespace

TEST(SerialPortList, ListsDevicesButNotTheConsoleNorPortsWithoutAUart) {
  QTemporaryDir tmp;
  const QDir root(tmp.path());
  AddTty(root, "tty0", false);
  AddTty(root, "ttyS0", true, "4");  // the machine's console
  AddTty(root, "ttyS1", true, "0");  // registered, no UART
  AddTty(root, "ttyS2", true, "4");
  AddTty(root, "ttyUSB0", true);
  AddTty(root, "ttyAMA0", true);     // a second console
  SetActiveConsoles(root, "tty0 ttyS0 ttyAMA0\n");

  const std::optional<QStringList> ports = platform::ListSerialPortsIn(tmp.path());
  ASSERT_TRUE(ports.has_value());
  EXPECT_EQ(*ports, (QStringList{"ttyS2", "ttyUSB0"}));

  // Without the console file (no console on a serial line) all are offered.
  ASSERT_TRUE(QFile::remove(root.filePath("console/active")));
  EXPECT_EQ(platform::ListSerialPortsIn(tmp.path()).value_or(QStringList{"none"}),
            (QStringList{"ttyAMA0", "ttyS0", "ttyS2", "ttyUSB0"}));
}

TEST(SerialPortList, NoTreeIsNoList) {
  EXPECT_FALSE(platform::ListSerialPortsIn("/nonexistent-telquin-tty").has_value());
}
