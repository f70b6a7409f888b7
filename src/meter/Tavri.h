#pragma once
// Parameter set of the TAVRI meter.
// SF and SE part 1 have no page control; SetStandard leaves SF as it is.

#include "meter/MeterModel.h"

class TTavri : public TMeterModel {
 public:
  static constexpr TDeviceType kDevice = Tavri;

  explicit TTavri(TParamControls* controls = nullptr) : TMeterModel(kDevice, controls) {}

  void SetStandard() { ApplyStandard(false); }

  TELQUIN_PARAM(SA)
  TELQUIN_PARAM(MF)
  TELQUIN_PARAM(SF)
  TELQUIN_PARAM(OF)
  TELQUIN_PARAM(AS)
  TELQUIN_PARAM_PARTS(SE)
  TELQUIN_PARAM_PARTS(MW)
  TELQUIN_PARAM_PARTS(SD)
  TELQUIN_PARAM(TE)
  TELQUIN_PARAM_PARTS(QA)
  TELQUIN_PARAM_PARTS(Q1)
  TELQUIN_PARAM_PARTS(Q2)
  TELQUIN_PARAM(GN)
  TELQUIN_PARAM(UB)
};
