#pragma once
// The parameter page controls of all five models kept in memory, with the
// items and styles of the model tables: for tests and for running the meter
// logic without a window.

#include <QHash>

#include "meter/ParamControls.h"

class TMemoryParamControls : public TParamControls {
 public:
  TMemoryParamControls();

  bool HasControl(const QString& name) const override;
  QString Text(const QString& name) const override;
  void SetText(const QString& name, const QString& text) override;
  QStringList Items(const QString& name) const override;
  int ItemIndex(const QString& name) const override;
  void SetItemIndex(const QString& name, int index) override;

  bool IsDropDownList(const QString& name) const;

 private:
  struct TControl {
    QStringList items;
    bool dropDownList = false;
    QString text;   // simple combo: the edit text
    int index = -1; // drop-down list: the selected item
  };
  QHash<QString, TControl> FControls;
};
