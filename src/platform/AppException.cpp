#include "platform/AppException.h"

#include "platform/DebugOut.h"

namespace platform {

namespace {
std::function<void(const std::exception&)>& Handler() {
  static std::function<void(const std::exception&)> h;
  return h;
}
}  // namespace

void SetApplicationExceptionHandler(std::function<void(const std::exception&)> handler) {
  Handler() = std::move(handler);
}

void HandleApplicationException(const std::exception& e) {
  if (dynamic_cast<const EAbort*>(&e)) return;
  if (Handler())
    Handler()(e);
  else
    DebugWarning(QString::fromUtf8(e.what()));
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
