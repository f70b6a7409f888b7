#include "platform/AppException.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "platform/DebugOut.h"

namespace platform {

namespace {
std::function<void(const QString&)>& Handler() {
  static std::function<void(const QString&)> h;
  return h;
}

void Report(const QString& message) {
  if (Handler())
    Handler()(message);
  else
    DebugWarning(message);
}
}  // namespace

void SetApplicationExceptionHandler(std::function<void(const QString&)> handler) {
  Handler() = std::move(handler);
}

void HandleApplicationException(const std::exception& e) {
  if (dynamic_cast<const EAbort*>(&e)) return;
  Report(QString::fromUtf8(e.what()));
}

void PostApplicationException(const std::exception& e) {
  if (dynamic_cast<const EAbort*>(&e)) return;
  const QString message = QString::fromUtf8(e.what());
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) {
    DebugWarning(message);
    return;
  }
  QMetaObject::invokeMethod(app, [message] { Report(message); }, Qt::QueuedConnection);
}

}  // namespace platform
