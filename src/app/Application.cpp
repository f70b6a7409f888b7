#include "app/Application.h"

#include <QMessageBox>
#include <exception>

#include "platform/AppException.h"
#include "platform/DebugOut.h"
#include "serial/ComPort.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Telquin"));
  platform::SetApplicationExceptionHandler([](const QString& m) { ShowException(m); });
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const EComPort& e) {
    ShowException(e.Message());
  } catch (const std::exception& e) {
    ShowException(QString::fromLocal8Bit(e.what()));
  }
  return false;
}

void TApplication::ShowException(const QString& message) {
  platform::DebugWarning(message);
  // One report at a time: a failure while the box is open is only traced.
  static bool showing = false;
  if (showing || QApplication::platformName() == QLatin1String("offscreen")) return;
  showing = true;
  QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Telquin"), message);
  showing = false;
}
