#pragma once
// The main window's action list as data: one entry per action, in list
// order. The window makes one QAction of each (objectName = its name).

#include <QString>
#include <QVector>

#include "meter/Action.h"

struct TActionDef {
  TAction id;
  const char* category;
  const char* caption;   // '&' marks the mnemonic
  const char* shortcut;  // portable key text, "" for none
  const char* hint;      // tooltip and status tip, "" for none
  int imageIndex = -1;   // into ImageList1, -1 for none
  bool visible = true;
  bool enabled = true;
};

const QVector<TActionDef>& MainActions();
