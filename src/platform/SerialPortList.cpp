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
  return ListSerialPortsIn(QStringLiteral("/sys/class/tty"));
}

std::optional<QStringList> ListSerialPortsIn(const QString& base) {
  QDir dir(base);
  if (!dir.exists()) return std::nullopt;
  // The kernel's consoles are no meter line: opening one and setting it raw
  // would take the machine's console away.
  QStringList consoles;
  QFile active(base + QStringLiteral("/console/active"));
  if (active.open(QIODevice::ReadOnly))
    consoles = QString::fromLatin1(active.readAll()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
  for (QString& c : consoles) c = c.trimmed();

  QStringList ports;
  const QStringList entries = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
  for (const QString& name : entries) {
    if (!QFileInfo::exists(base + QLatin1Char('/') + name + QStringLiteral("/device"))) continue;
    if (consoles.contains(name)) continue;
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
