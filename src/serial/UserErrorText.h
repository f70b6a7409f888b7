#pragma once
// The text a user reads when something fails, in a message box or on the
// status bar. The error's own message comes first and stays as it is; a port
// error is followed by the system's description of its error number and,
// for the failures a user can mend, what to do. Every place that shows an
// error to the user goes through UserErrorText.

#include <QString>
#include <exception>

class TCustomComPort;

// What to do about a system error number; empty when there is no common
// advice.
QString ComErrorAdvice(int winCode);

// The advice when there is no port name at all (none stored, none listed).
QString NoPortAdvice();

// "<message>: <system text>; <advice>" for a port error with a system error
// number, the bare message for anything else. `port` is the port the error
// came from, when known: a failed open of a port without a name gets
// NoPortAdvice() instead of the advice for a missing device.
QString UserErrorText(const std::exception& e, const TCustomComPort* port = nullptr);
