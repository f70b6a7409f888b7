#pragma once
// Failure messages name an action ("acDT") instead of showing its ordinal.

#include <ostream>

#include "meter/Action.h"

inline void PrintTo(TAction a, std::ostream* os) {
  if (ActionIndex(a) < ActionCount)
    *os << ActionName(a).data();
  else
    *os << "TAction(" << ActionIndex(a) << ')';
}
