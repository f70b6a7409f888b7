#include "meter/DebugSwitch.h"

#include "platform/DebugOut.h"

namespace {
bool gDebugSwitch = false;
}  // namespace

bool DebugSwitch() { return gDebugSwitch; }
void SetDebugSwitch(bool on) { gDebugSwitch = on; }
void DebugTrace(const QString& line) {
  if (gDebugSwitch) platform::DebugOut(line);
}
