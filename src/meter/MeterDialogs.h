#pragma once
// The dialogs the meter logic opens, as it sees them. The window's dialogs
// implement these; tests use fakes. Each dialog is created once and shown
// modally; it applies its own settings on OK.

#include <QString>

#include "meter/DeviceType.h"
#include "serial/ComTypes.h"

// Baud rate dialog: the user picks the meter's new rate.
class IChangeBaudDialog {
 public:
  virtual ~IChangeBaudDialog() = default;
  // Shows the dialog for the model with the rate in use; returns the modal
  // result (1 OK, 2 Cancel).
  virtual int Enter(TDeviceType dev, TBaudRate bd) = 0;
  virtual TBaudRate OldBaudrate() const = 0;
  virtual TBaudRate NewBaudrate() const = 0;
};

// Simulation setup: distance and ramp mode, read at every simulated tick.
class ISimuSetupDialog {
 public:
  virtual ~ISimuSetupDialog() = default;
  virtual void ShowModal() = 0;
  virtual double SimuDist() const = 0;
  virtual bool AutoDist() const = 0;
};

// Signal strength window: while it is open, measurement lines carry the
// signal strength instead of the distance.
class ISignalLevelDialog {
 public:
  virtual ~ISignalLevelDialog() = default;
  virtual bool Signal_Strength() const = 0;
  virtual void SetStrength(int value) = 0;
  virtual void Enter(const QString& sd1, const QString& sd2, TDeviceType dev, int min, int max) = 0;
  virtual void Enter2(const QString& sd1, const QString& sd2, const QString& sd3,
                      const QString& sd4, const QString& sp, TDeviceType dev, int min,
                      int max) = 0;
};
