#include "meter/Action.h"

#include <iterator>

namespace {

#define TELQUIN_ACTION_TEXT(name) #name,
constexpr const char* kNames[] = {TELQUIN_ACTIONS(TELQUIN_ACTION_TEXT)};
#undef TELQUIN_ACTION_TEXT

static_assert(std::size(kNames) == ActionCount);

}  // namespace

EUnknownAction::EUnknownAction(const QString& name)
    : std::logic_error("unknown action " + name.toStdString()) {}

EUnknownAction::EUnknownAction(TAction action)
    : EUnknownAction(ActionIndex(action) < ActionCount
                         ? QLatin1String(kNames[ActionIndex(action)])
                         : QLatin1Char('#') + QString::number(ActionIndex(action))) {}

QLatin1String ActionName(TAction a) {
  if (ActionIndex(a) >= ActionCount) throw EUnknownAction(a);
  return QLatin1String(kNames[ActionIndex(a)]);
}

TAction ActionNamed(const QString& name) {
  for (int i = 0; i < ActionCount; ++i)
    if (name == QLatin1String(kNames[i])) return static_cast<TAction>(i);
  throw EUnknownAction(name);
}
