#pragma once
// The program's actions by name. The meter logic, the model tables, the
// window and the tests all name an action as a TAction, so a misspelt name
// does not build. Text names ("acDT", the window's objectNames) become
// actions only through ActionNamed, which refuses a name it does not know.

#include <QLatin1String>
#include <QString>
#include <cstdint>
#include <stdexcept>

// One entry per action, in the window's list order.
#define TELQUIN_ACTIONS(X)                                                                   \
  X(acDT) X(acInfo) X(acDS) X(acDJ) X(acGetParameter) X(acClearLog) X(acStartStopLog)        \
  X(acViewFile) X(acExit) X(acSetParameter) X(acSettings) X(acPrinterSetup) X(acSd) X(acDW)  \
  X(acDX) X(acDF) X(acDM) X(acVM) X(acVT) X(acLO) X(acLF) X(acTP) X(acID) X(acPrint)         \
  X(acOpen) X(acSave) X(acGrafik) X(acSetStandard) X(acSetProfibus) X(acSO) X(acDevice)      \
  X(acStop) X(acClearGrafik) X(acPrintGrafik) X(acSaveGrafik) X(acBaudrate) X(acDirectory)   \
  X(acImport) X(acExport) X(acSaveLog) X(acSimulation) X(acZoomIn) X(acZoomOut)              \
  X(acResetZoom) X(acOpenPort) X(acCT) X(acDisplay)

enum class TAction : std::uint8_t {
#define TELQUIN_ACTION_ENUMERATOR(name) name,
  TELQUIN_ACTIONS(TELQUIN_ACTION_ENUMERATOR)
#undef TELQUIN_ACTION_ENUMERATOR
};

#define TELQUIN_ACTION_ONE(name) +1
constexpr int ActionCount = 0 TELQUIN_ACTIONS(TELQUIN_ACTION_ONE);
#undef TELQUIN_ACTION_ONE

constexpr int ActionIndex(TAction a) { return static_cast<int>(a); }

// An action name or value that names no action: a programming error, never
// shown to the user as a failure of what they asked for.
class EUnknownAction : public std::logic_error {
 public:
  explicit EUnknownAction(const QString& name);
  // Named by the action's text, or by its ordinal outside the list.
  explicit EUnknownAction(TAction action);
};

// "acDT" for TAction::acDT; throws EUnknownAction for a value outside the
// list (only a cast can make one).
QLatin1String ActionName(TAction a);

// The action of that name; throws EUnknownAction for any other text.
TAction ActionNamed(const QString& name);
