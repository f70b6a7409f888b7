#include "platform/AppException.h"

#include "platform/DebugOut.h"

namespace platform {

namespace {
std::function<void(const QString&)>& Handler() {
  static std::function<void(const QString&)> h;
  return h;
}
}  // namespace

void SetApplicationExceptionHandler(std::function<void(const QString&)> handler) {
  Handler() = std::move(handler);
}

void HandleApplicationException(const std::exception& e) {
  const QString message = QString::fromUtf8(e.what());
  if (Handler())
    Handler()(message);
  else
    DebugWarning(message);
}

}  // namespace platform
