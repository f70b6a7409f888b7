#include "meter/SingleCommands.h"

#include <stdexcept>
#include <string>

using enum TAction;

namespace {
constexpr auto N = TCommandWay::cwNone;
constexpr auto A = TCommandWay::cwA;
constexpr auto B = TCommandWay::cwB;
constexpr auto C = TCommandWay::cwC;
}  // namespace

const QVector<TSingleCommand>& SingleCommands() {
  //                                            PAVON DORVANE HEXLIN TAVRI ZAREL
  static const QVector<TSingleCommand> commands{
      {acDT, "DT", {A, B, C, C, C}, mDT, true},
      {acDS, "DS", {A, N, N, N, N}, mDS, true},
      {acDW, "DW", {A, A, A, A, A}, mDW, true},
      {acDX, "DX", {A, A, A, A, A}, mDX, true},
      {acDF, "DF", {A, B, C, N, N}, mNoMode, false, true},
      {acDM, "DM", {C, C, C, C, C}},
      {acCT, "CT", {C, C, C, C, C}},
      {acVM, "VM", {A, B, C, N, N}},
      {acVT, "VT", {A, B, C, N, N}},
      {acTP, "TP", {A, B, C, C, C}},
      {acID, "ID", {A, B, C, C, C}},
      {acDevice, "ID", {A, B, C, C, C}, mNoMode, false, true},
      {acLF, "LF", {A, A, A, A, A}},
      {acLO, "LO", {A, A, A, A, A}},
      // The code toggles between DF and DN.
      {acDisplay, "", {C, C, C, C, C}},
  };
  return commands;
}

const TSingleCommand& SingleCommand(TAction action) {
  for (const TSingleCommand& c : SingleCommands())
    if (c.action == action) return c;
  throw std::logic_error("no single command for " + std::string(ActionName(action).data()));
}
