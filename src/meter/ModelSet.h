#pragma once
// The five model parameter sets and which of them is current. The meter
// logic owns it and runs the model switch; the measurement path and the
// simulated meter read the current model's parameters from it.

#include <array>

#include "meter/DeviceType.h"
#include "meter/Dorvane.h"
#include "meter/Hexlin.h"
#include "meter/Pavon.h"
#include "meter/Tavri.h"
#include "meter/Zarel.h"

class TModelSet {
 public:
  // The objects show their values in `controls` (nullptr: they only store).
  explicit TModelSet(TParamControls* controls);
  TModelSet(const TModelSet&) = delete;
  TModelSet& operator=(const TModelSet&) = delete;

  TDeviceType Device() const { return FDevice; }
  // Records the current model; the switch itself (port rate, window) is the
  // logic's.
  void SetDevice(TDeviceType d) { FDevice = d; }

  // An ordinal outside the models gives PAVON's object.
  TMeterModel& Model(TDeviceType d) { return *FModels[DeviceFromOrdinal(d)]; }
  const TMeterModel& Model(TDeviceType d) const { return *FModels[DeviceFromOrdinal(d)]; }
  TMeterModel& Current() { return Model(FDevice); }
  const TMeterModel& Current() const { return Model(FDevice); }

  // A model object by its class, for its named accessors: Get<THexlin>().
  template <class T>
  T& Get() {
    return static_cast<T&>(Model(T::kDevice));
  }
  template <class T>
  const T& Get() const {
    return static_cast<const T&>(Model(T::kDevice));
  }

 private:
  TPavon FPavon;
  TDorvane FDorvane;
  THexlin FHexlin;
  TTavri FTavri;
  TZAREL FZarel;
  std::array<TMeterModel*, DeviceTypeCount> FModels;  // by ordinal
  TDeviceType FDevice = Pavon;
};
