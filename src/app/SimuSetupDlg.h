#pragma once
// Settings of the simulated meter: the fixed distance it reports, or the
// ramp-and-error pattern instead. Read by the simulated meter at every tick;
// not stored (distance 5, ramp off at every start).

#include <QDialog>

#include "meter/MeterDialogs.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TSimuSetupDlg : public QDialog, public ISimuSetupDialog {
  Q_OBJECT

 public:
  explicit TSimuSetupDlg(QWidget* parent = nullptr);

  void ShowModal() override;
  double SimuDist() const override { return FSimuDist; }
  // Takes only 0..3000; any other value leaves the distance as it was.
  void SetSimuDist(double value);
  bool AutoDist() const override { return FAutoDist; }

  void FormCreate();
  void cb_autodistClick();
  void BtnOKClick();

  QGroupBox* GroupBox1;
  QLabel* Label1;
  QLineEdit* ed_dist;
  QCheckBox* cb_autodist;
  QPushButton* BtnOK;
  QPushButton* Button2;

 private:
  double FSimuDist = 5.0;
  bool FAutoDist = false;
};
