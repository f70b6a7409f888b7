#pragma once
// The process-wide "debug" switch (the program's "debug" argument) and its
// trace lines on the system debug output.

#include <QString>

bool DebugSwitch();
void SetDebugSwitch(bool on);
// Writes the line only while the switch is on.
void DebugTrace(const QString& line);
