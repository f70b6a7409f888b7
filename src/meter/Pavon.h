#pragma once
// Parameter set of the PAVON meter.

#include "meter/MeterModel.h"

class TPavon : public TMeterModel {
 public:
  static constexpr TDeviceType kDevice = Pavon;

  explicit TPavon(TParamControls* controls = nullptr) : TMeterModel(kDevice, controls) {}

  void SetStandard() { ApplyStandard(false); }

  TELQUIN_PARAM(ST)
  TELQUIN_PARAM(SA)
  TELQUIN_PARAM_PARTS(TD)
  TELQUIN_PARAM_PARTS(TM)
  TELQUIN_PARAM(SF)
  TELQUIN_PARAM(OF)
  TELQUIN_PARAM(AS)
  TELQUIN_PARAM(SE)
  TELQUIN_PARAM_PARTS(RM)
  TELQUIN_PARAM(SD)
  TELQUIN_PARAM(RB)
  TELQUIN_PARAM(RE)
  TELQUIN_PARAM(AC)
  TELQUIN_PARAM(AH)
  TELQUIN_PARAM(AW)
};
