#pragma once
// The parameter page controls as the meter logic sees them: combo boxes found
// by their names ("cb_sa", "cb_td_1", ...). The main window implements this
// over its widgets; TMemoryParamControls keeps the same state in memory for
// tests and for code that runs without a window.
//
// Two kinds of control:
//  - simple combo (edit field with a list of offered values): Text is the edit
//    text; ItemIndex is the position of the item equal to Text (exact match),
//    -1 when the text is no item; SetItemIndex(i) puts item i into the edit
//    field (i < 0 empties it).
//  - drop-down list (KESTO ZAREL's cb_mun_4, cb_sp_4, cb_as_4): Text is the
//    selected item's text ('' when nothing is selected); SetText selects the
//    item equal to the text (exact match) or nothing.

#include <QString>
#include <QStringList>

class TParamControls {
 public:
  virtual ~TParamControls() = default;
  virtual bool HasControl(const QString& name) const = 0;
  virtual QString Text(const QString& name) const = 0;
  virtual void SetText(const QString& name, const QString& text) = 0;
  virtual QStringList Items(const QString& name) const = 0;
  virtual int ItemIndex(const QString& name) const = 0;
  virtual void SetItemIndex(const QString& name, int index) = 0;
};
