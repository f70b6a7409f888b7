#pragma once
// Parameter set of the DORVANE meter.

#include "meter/MeterModel.h"

class TDorvane : public TMeterModel {
 public:
  static constexpr TDeviceType kDevice = Dorvane;

  explicit TDorvane(TParamControls* controls = nullptr) : TMeterModel(kDevice, controls) {}

  void SetStandard() { ApplyStandard(false); }

  TELQUIN_PARAM(SA)
  TELQUIN_PARAM_PARTS(TD)
  TELQUIN_PARAM(SF)
  TELQUIN_PARAM(AS)
  TELQUIN_PARAM(RB)
  TELQUIN_PARAM(RE)
  TELQUIN_PARAM(AC)
  TELQUIN_PARAM(AH)
};
