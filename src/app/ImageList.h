#pragma once
// The small images of the toolbar, the menus and the diagram's context menu,
// by their index in the window's image list. An index without an image gives
// a null icon.

#include <QIcon>

QIcon ImageListIcon(int index);
