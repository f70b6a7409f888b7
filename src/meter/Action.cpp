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

QLatin1String ActionName(TAction a) {
  const int i = ActionIndex(a);
  if (i < 0 || i >= ActionCount) throw EUnknownAction(QString::number(i));
  return QLatin1String(kNames[i]);
}

TAction ActionNamed(const QString& name) {
  for (int i = 0; i < ActionCount; ++i)
    if (name == QLatin1String(kNames[i])) return static_cast<TAction>(i);
  throw EUnknownAction(name);
}
