#include "platform/DebugOut.h"

Q_LOGGING_CATEGORY(lcTelquinDebug, "telquin.debug")

namespace platform {

void DebugOut(const QString& line) { qCDebug(lcTelquinDebug).noquote() << line; }

void DebugWarning(const QString& line) { qCWarning(lcTelquinDebug).noquote() << line; }

}  // namespace platform
