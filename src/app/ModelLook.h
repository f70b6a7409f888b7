#pragma once
// The window's share of a model switch: caption, the model's pages of the
// three notebooks, the switching-output lamps, the model-specific actions
// and the gauge scale, all from the model's table. It needs only the window
// interface, so the model switch can call it with any view.

#include "meter/DeviceType.h"

class IMeterView;

void ApplyModelLook(IMeterView& view, TDeviceType device);
