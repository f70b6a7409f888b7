#pragma once
#include <QString>
#include <cstdint>

// The meter model; the ordinal is what is stored ("Device"/"Type").
enum TDeviceType : std::uint8_t { Pavon, Dorvane, Hexlin, Tavri, KESTO_ZAREL };

constexpr int DeviceTypeCount = 5;

// "PAVON", "DORVANE", "HEXLIN/HEXLOR", "TAVRI", "KESTO ZAREL"
QString DeviceText(TDeviceType d);

// A stored ordinal outside 0..4 is taken as PAVON.
TDeviceType DeviceFromOrdinal(int ordinal);
