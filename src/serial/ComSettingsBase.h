#pragma once
// Common part of the port's four settings objects: the back reference to the
// owning port and the write rule (a changed value is stored, then the port is
// asked to apply the object's group).

#include "platform/Persistent.h"
#include "serial/ComTypes.h"

class TComSettingsBase : public TPersistent {
 public:
  TCustomComPort* ComPort() const { return FComPort; }

 protected:
  template <typename T>
  void Set(T& field, T value) {
    if (field == value) return;
    field = value;
    Changed();
  }
  // Asks the owning port (if any) to apply this object's group.
  virtual void Changed() = 0;

  TCustomComPort* FComPort = nullptr;

 private:
  friend class TCustomComPort;
  void SetComPort(TCustomComPort* Port) { FComPort = Port; }
};
