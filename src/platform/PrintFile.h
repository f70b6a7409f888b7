#pragma once
// Printing a file as the desktop does: handed to the system's print service
// ("lp"), which picks the filter for its type and the default printer.

#include <QString>

namespace platform {

// Submits the file and waits until the print service took it (or refused
// it). False with the reason in `error`: no print service installed, or the
// service's own message (for example no default printer).
bool PrintFile(const QString& fileName, QString* error);

}  // namespace platform
