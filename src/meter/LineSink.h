#pragma once
// The measurement path as the simulated meter sees it: where its lines go,
// as if the meter had sent them, and the counted time base they are stamped
// with.

#include <string>

class TObject;

class ILineSink {
 public:
  virtual ~ILineSink() = default;

  // One line, as the measurement splitter delivers it (without line end).
  virtual void ComMessPacketPacket(TObject* Sender, const std::string& Str) = 0;
  // Seconds per line of the counted time base, and the line count.
  virtual void SetTimeUnit(double value) = 0;
  virtual void SetTimeCount(int value) = 0;
  // Lines are also written to the terminal: simulated lines come through no
  // port that would show them there.
  virtual void SetTerminalEcho(bool on) = 0;
};
