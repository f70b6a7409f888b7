#pragma once
// The program's own cursors, registered once at start-up under fixed ids in
// a process-wide cursor table.

#include <QCursor>

inline constexpr int crHand = 14000;
inline constexpr int crDragHand = 14001;

// Puts the hand (crHand) and the drag hand (crDragHand) into the table.
void RegisterToolCursors();

// Registers `cursor` under `id`, replacing what was there.
void SetScreenCursor(int id, const QCursor& cursor);
// The cursor registered under `id`; the arrow for an id never registered.
QCursor ScreenCursor(int id);
