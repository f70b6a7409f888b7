#pragma once
// Runs the Qt event loop until `done` holds or `timeoutMs` passed; returns
// the last value of `done`. Blocks in the event loop between checks, so it
// costs no CPU while waiting.

#include <functional>

bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
// Runs the event loop for about `ms` milliseconds.
void PumpFor(int ms);
// Waits like PumpUntil but without running the event loop, so that a
// worker's hand-over to this thread stays pending.
bool SpinUntil(const std::function<bool()>& done, int timeoutMs = 5000);
