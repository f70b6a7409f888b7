#include <cstring>

#include "platform/SystemError.h"

namespace platform {

QString SystemErrorText(int code) {
  char buffer[256];
  // The GNU form: thread-safe, returns the text (not always in `buffer`).
  return QString::fromLocal8Bit(strerror_r(code, buffer, sizeof buffer));
}

}  // namespace platform
