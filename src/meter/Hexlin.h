#pragma once
// Parameter set of the HEXLIN and its sibling HEXLOR.
// SE part 1 has no page control.

#include "meter/MeterModel.h"

class THexlin : public TMeterModel {
 public:
  static constexpr TDeviceType kDevice = Hexlin;

  explicit THexlin(TParamControls* controls = nullptr) : TMeterModel(kDevice, controls) {}

  // hexlor: the meter identified itself as HEXLOR.
  void SetStandard(bool hexlor) { ApplyStandard(hexlor); }

  TELQUIN_PARAM(SA)
  TELQUIN_PARAM(MF)
  TELQUIN_PARAM_PARTS(TD)
  TELQUIN_PARAM(SF)
  TELQUIN_PARAM(OF)
  TELQUIN_PARAM(AS)
  TELQUIN_PARAM_PARTS(SE)
  TELQUIN_PARAM_PARTS(MW)
  TELQUIN_PARAM(PL)
  TELQUIN_PARAM_PARTS(HE)
  TELQUIN_PARAM_PARTS(SD)
  TELQUIN_PARAM(TE)
  TELQUIN_PARAM_PARTS(QA)
  TELQUIN_PARAM_PARTS(Q1)
  TELQUIN_PARAM_PARTS(Q2)
  TELQUIN_PARAM(SC)
};
