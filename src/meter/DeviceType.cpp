#include "meter/DeviceType.h"

QString DeviceText(TDeviceType d) {
  switch (d) {
    case Pavon: return QStringLiteral("PAVON");
    case Dorvane: return QStringLiteral("DORVANE");
    case Hexlin: return QStringLiteral("HEXLIN/HEXLOR");
    case Tavri: return QStringLiteral("TAVRI");
    case KESTO_ZAREL: return QStringLiteral("KESTO ZAREL");
  }
  return {};
}

TDeviceType DeviceFromOrdinal(int ordinal) {
  return ordinal >= 0 && ordinal < DeviceTypeCount ? static_cast<TDeviceType>(ordinal) : Pavon;
}
