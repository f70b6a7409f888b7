#include "meter/ModelSet.h"

TModelSet::TModelSet(TParamControls* controls)
    : FPavon(controls),
      FDorvane(controls),
      FHexlin(controls),
      FTavri(controls),
      FZarel(controls),
      FModels{&FPavon, &FDorvane, &FHexlin, &FTavri, &FZarel} {}
