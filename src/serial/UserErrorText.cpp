#include "serial/UserErrorText.h"

#include <cerrno>

#include "platform/SystemError.h"
#include "serial/ComPort.h"

QString ComErrorAdvice(int winCode) {
  switch (winCode) {
    case ENOENT:
      return QStringLiteral("no such device: check the port name");
    case EACCES:
    case EPERM:
      return QStringLiteral(
          "no permission: add the user to the group that owns the device (usually dialout)");
    case EBUSY:
      return QStringLiteral("the device is in use by another program");
    case ENOTTY:
    case EISDIR:
      return QStringLiteral("not a serial device: choose a serial port");
    case EIO:
    case ENXIO:
    case ENODEV:
      return QStringLiteral("check the cable or adapter, then Open Port");
    default:
      return QString();
  }
}

QString NoPortAdvice() { return QStringLiteral("no serial port found: type the device path"); }

QString UserErrorText(const std::exception& e, const TCustomComPort* port) {
  const auto* comError = dynamic_cast<const EComPort*>(&e);
  if (!comError) return QString::fromUtf8(e.what());
  QString text = comError->Message();
  const int code = comError->WinCode();
  if (code <= 0) return text;
  text += QStringLiteral(": ") + platform::SystemErrorText(code);
  const bool openFailed = comError->Code() == CE_OpenFailed + 1;
  const QString advice = openFailed && port && port->Port().isEmpty()
                             ? NoPortAdvice()
                             : ComErrorAdvice(code);
  if (!advice.isEmpty()) text += QStringLiteral("; ") + advice;
  return text;
}
