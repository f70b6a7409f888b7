#include "app/Application.h"

#include <QMessageBox>
#include <exception>

#include "platform/AppException.h"
#include "platform/DebugOut.h"
#include "serial/UserErrorText.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Telquin"));
  platform::SetApplicationExceptionHandler(
      [](const std::exception& e) { ShowException(UserErrorText(e)); });
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowException(UserErrorText(e));
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
