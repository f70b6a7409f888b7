#pragma once
// Parameter set of the KESTO ZAREL meter.
// MUN, SP and AS are drop-down lists: only their items are held. MCT and TE
// have no page control, and BlankParameter keeps TE.

#include "meter/MeterModel.h"

class TZAREL : public TMeterModel {
 public:
  static constexpr TDeviceType kDevice = KESTO_ZAREL;

  explicit TZAREL(TParamControls* controls = nullptr) : TMeterModel(kDevice, controls) {}

  void SetStandard() { ApplyStandard(false); }

  TELQUIN_PARAM(SA)
  TELQUIN_PARAM(MF)
  TELQUIN_PARAM_PARTS(MW)
  TELQUIN_PARAM(OF)
  TELQUIN_PARAM(SF)
  TELQUIN_PARAM(MUN)
  TELQUIN_PARAM_PARTS(SD)
  TELQUIN_PARAM(SP)
  TELQUIN_PARAM(SE)
  TELQUIN_PARAM(AS)
  TELQUIN_PARAM_PARTS(QA)
  TELQUIN_PARAM_PARTS(Q1)
  TELQUIN_PARAM_PARTS(Q2)
  TELQUIN_PARAM_PARTS(Q3)
  TELQUIN_PARAM_PARTS(TRI)
  TELQUIN_PARAM_PARTS(TRO)
  TELQUIN_PARAM(MCT)
  TELQUIN_PARAM(TE)
};
