#pragma once
// Debug output: trace lines go to a Qt logging category ("telquin.debug")
// that is written to stderr.

#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcTelquinDebug)

namespace platform {

// One trace line, as the program's "debug" switch writes them.
void DebugOut(const QString& line);
// A problem the program handled but wants a developer to see.
void DebugWarning(const QString& line);

}  // namespace platform
