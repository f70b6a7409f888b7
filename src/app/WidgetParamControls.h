#pragma once
// The parameter page controls as the meter logic sees them, over the combo
// boxes of the window's parameter pages. Editable combos are simple combos
// (the edit text is the value); non-editable ones are drop-down lists (the
// selected item is the value).

#include <QHash>

#include "meter/ParamControls.h"

class QComboBox;

class TWidgetParamControls : public TParamControls {
 public:
  void Add(QComboBox* combo);  // by its objectName
  QComboBox* Combo(const QString& name) const { return FCombos.value(name); }
  QStringList Names() const { return FCombos.keys(); }

  bool HasControl(const QString& name) const override;
  QString Text(const QString& name) const override;
  void SetText(const QString& name, const QString& text) override;
  QStringList Items(const QString& name) const override;
  int ItemIndex(const QString& name) const override;
  void SetItemIndex(const QString& name, int index) override;

 private:
  QHash<QString, QComboBox*> FCombos;
};
