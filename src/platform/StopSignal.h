#pragma once
// A manual-reset signal between threads: set by one thread, it ends the
// waits of another at once (a serial-device event wait passes it along).

namespace platform {

class StopSignal {
 public:
  StopSignal();
  ~StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  void Set();
  void Reset();
  bool IsSet() const;
  // Becomes readable while the signal is set (for the device backend's poll).
  int NativeHandle() const { return FFd; }

 private:
  int FFd = -1;
};

}  // namespace platform
