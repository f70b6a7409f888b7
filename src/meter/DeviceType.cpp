#include "meter/DeviceType.h"

#include "meter/ModelTables.h"

QString DeviceText(TDeviceType d) { return ModelTable(d).name; }

TDeviceType DeviceFromOrdinal(int ordinal) {
  return ordinal >= 0 && ordinal < DeviceTypeCount ? static_cast<TDeviceType>(ordinal) : Pavon;
}
