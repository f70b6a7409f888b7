#pragma once
// One model's page of the left notebook: a scroll box with a combo box per
// parameter part (named, filled and hinted from the model's table), the spin
// buttons beside the controls they step, and a bottom panel with the "Set"
// and "Get" buttons.

#include <QWidget>

#include "meter/ModelTables.h"

class QAction;
class QScrollArea;
class TWidgetParamControls;

class TParamPage : public QWidget {
  Q_OBJECT

 public:
  // Registers every combo box of the page with `controls`.
  TParamPage(const TModelTable& table, TWidgetParamControls& controls, QAction* setParameter,
             QAction* getParameter, QWidget* parent = nullptr);

  QScrollArea* ScrollBox() const { return FScrollBox; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QScrollArea* FScrollBox = nullptr;
};
