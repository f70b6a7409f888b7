#include "meter/SpinSteps.h"

#include <algorithm>

void StepEditValue(TParamControls& controls, const QString& control, int minimum, bool up,
                   int maximum) {
  bool ok = false;
  // Wide enough that a text at the int limits cannot overflow on the step.
  long long v = controls.Text(control).toInt(&ok);
  if (!ok) v = 0;
  v += up ? 1 : -1;
  v = std::min<long long>(v, maximum);
  v = std::max<long long>(v, minimum);
  controls.SetText(control, QString::number(v));
}

void StepComboBox(TParamControls& controls, const QString& combo, bool up) {
  int i = controls.ItemIndex(combo) + (up ? 1 : -1);
  if (i < 0) i = 0;
  const int last = static_cast<int>(controls.Items(combo).size()) - 1;
  if (i > last) i = last;
  controls.SetItemIndex(combo, i);
}

void StepSpin(TParamControls& controls, const TSpinDef& spin, bool up) {
  if (spin.listRule)
    StepComboBox(controls, spin.control, up);
  else
    StepEditValue(controls, spin.control, spin.minimum, up, spin.maximum);
}
