#include "platform/SerialPortList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform {

namespace {
std::optional<QStringList>& Override() {
  static std::optional<QStringList> list;
  return list;
}
}  // namespace

void SetSerialPortListOverride(std::optional<QStringList> ports) { Override() = std::move(ports); }

std::optional<QStringList> ListSerialPorts() {
  if (Override()) return *Override();
  const QString base = QStringLiteral("/sys/class/tty");
  QDir dir(base);
  if (!dir.exists()) return std::nullopt;
  QStringList ports;
  const QStringList entries = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
  for (const QString& name : entries) {
    if (!QFileInfo::exists(base + QLatin1Char('/') + name + QStringLiteral("/device"))) continue;
    if (name.startsWith(QLatin1String("ttyS"))) {
      // The 8250 driver registers ttyS ports whether or not a UART answers;
      // port type 0 means none does.
      QFile type(base + QLatin1Char('/') + name + QStringLiteral("/type"));
      if (type.open(QIODevice::ReadOnly) && type.readAll().trimmed() == "0") continue;
    }
    ports << name;
  }
  return ports;
}

}  // namespace platform
