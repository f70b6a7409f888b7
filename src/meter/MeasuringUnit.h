#pragma once
// KESTO ZAREL measuring units (its MUN parameter): the length of one unit in
// millimetres and the width of the decimal value field the meter writes.

#include <QByteArray>
#include <QChar>
#include <QString>

// From the measuring unit to millimetres and back; a unit text that is not
// one of "mm", "cm", "dm", "m", "in", "ft", "yd", "in/8", "in/16" leaves the
// value unchanged.
double ConvertUnit(double value, const QString& mun);
double ConvertUnitBack(double value, const QString& mun);

// The decimal value field in the measuring unit: the unit's fixed-point
// format with the locale separator, zeros in front (behind a minus sign) up
// to 8 characters, ',' turned into '.'. An unknown unit gives "00000000".
QByteArray FormatUnitValue(double v, const QString& mun, QChar decimalSeparator);
