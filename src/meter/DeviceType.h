#pragma once
#include <QString>
#include <cstdint>

// The meter model; the ordinal is what is stored ("Device"/"Type").
enum TDeviceType : std::uint8_t { Pavon, Dorvane, Hexlin, Tavri, KESTO_ZAREL };

constexpr int DeviceTypeCount = 5;

// A set of models as bits of their ordinals.
using TDeviceSet = std::uint8_t;
constexpr TDeviceSet DeviceBit(TDeviceType d) { return static_cast<TDeviceSet>(1u << d); }
constexpr TDeviceSet AllDevices = (1u << DeviceTypeCount) - 1;
constexpr bool InDeviceSet(TDeviceSet set, TDeviceType d) { return (set & DeviceBit(d)) != 0; }

// The model's name in its table: "PAVON", "DORVANE", "HEXLIN/HEXLOR", "TAVRI",
// "KESTO ZAREL".
QString DeviceText(TDeviceType d);

// A stored ordinal outside 0..4 is taken as PAVON.
TDeviceType DeviceFromOrdinal(int ordinal);
