#pragma once
// The two stepping rules behind the spin buttons of the parameter pages.
// Stepping changes only the control; the value reaches the meter with the
// next Set Parameter.

#include "meter/ModelTables.h"
#include "meter/ParamControls.h"

// The control's text as an integer (0 when it is none), one up or down,
// clamped to minimum..maximum, written back as decimal text.
void StepEditValue(TParamControls& controls, const QString& control, int minimum, bool up,
                   int maximum);

// The control's item index one up or down, held at the first and last item;
// never wraps around.
void StepComboBox(TParamControls& controls, const QString& combo, bool up);

// One click on a spin button: the rule and limits of its table entry.
void StepSpin(TParamControls& controls, const TSpinDef& spin, bool up);
