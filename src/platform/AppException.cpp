#include "platform/AppException.h"

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

void RunHandlingExceptions(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    HandleApplicationException(e);
  } catch (...) {
    HandleApplicationException(std::runtime_error("Unknown exception"));
  }
}

}  // namespace platform
