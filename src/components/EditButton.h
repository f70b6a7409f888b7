#pragma once
// The button glued to the right edge of a combo edit: a speed button with
// a separating line at its left, which closes the edit's popup or focuses
// the edit before it clicks.

#include "components/ToolSpeedButton.h"

class TCustomComboEdit;

class TEditButton : public TToolSpeedButton {
  Q_OBJECT

 public:
  TEditButton(TCustomComboEdit* edit, QWidget* holder);

  // True: a press closes the popup accepting its value.
  bool Standart() const { return FStandart; }
  void SetStandart(bool value) { FStandart = value; }

  void Click() override;

 protected:
  void Paint(QPainter& canvas) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  TCustomComboEdit* FEdit;
  bool FNoAction = false;
  bool FStandart = true;
};
