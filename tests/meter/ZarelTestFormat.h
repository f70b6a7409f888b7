#pragma once
#include "meter/MeasurementDecoder.h"

// KESTO ZAREL lines with format 0, no extra fields, ',' separator, millimetres.
inline TZarelFormat PlainZarelFormat(const char* sf) {
  TZarelFormat f;
  for (QString& part : f.SD) part = "0";
  f.SP = "0x2C";
  f.SF = sf;
  f.MUN = "mm";
  return f;
}
