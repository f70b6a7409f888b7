#include "components/ToolConst.h"

#include <map>

namespace {
std::map<int, QCursor>& CursorTable() {
  static std::map<int, QCursor> table;
  return table;
}
}  // namespace

void SetScreenCursor(int id, const QCursor& cursor) { CursorTable()[id] = cursor; }

QCursor ScreenCursor(int id) {
  const auto it = CursorTable().find(id);
  return it == CursorTable().end() ? QCursor(Qt::ArrowCursor) : it->second;
}

void RegisterToolCursors() {
  SetScreenCursor(crHand, QCursor(Qt::PointingHandCursor));
  SetScreenCursor(crDragHand, QCursor(Qt::ClosedHandCursor));
}
