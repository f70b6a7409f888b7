#pragma once
// The machine's serial ports: the tty devices of /sys/class/tty that have a
// device behind them (ttyS*, ttyUSB*, ttyACM*, ttyAMA*, rfcomm*, ...); a ttyS*
// without a UART and the kernel's active consoles
// (/sys/class/tty/console/active) are left out. Names are given without
// "/dev/", as the port opens them.

#include <QStringList>
#include <optional>

namespace platform {

// No value when the system's list cannot be read.
std::optional<QStringList> ListSerialPorts();

// The same list read from a tree laid out as /sys/class/tty (tests give
// their own tree).
std::optional<QStringList> ListSerialPortsIn(const QString& ttyClassDir);

// Tests give the list here (an empty list hides every real port); no value
// returns to the system's list.
void SetSerialPortListOverride(std::optional<QStringList> ports);

}  // namespace platform
