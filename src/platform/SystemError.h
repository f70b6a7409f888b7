#pragma once
// The system's own description of an error number (errno here), as the user
// reads it next to our messages.

#include <QString>

namespace platform {

// "No such file or directory" for 2; a neutral text for unknown numbers.
QString SystemErrorText(int code);

}  // namespace platform
