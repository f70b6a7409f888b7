#pragma once
// The new baud rate for the meter and the port, picked from the model's list
// (nothing is offered for DORVANE).

#include <QDialog>

#include "meter/MeterDialogs.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

class TChangeBdDlg : public QDialog, public IChangeBaudDialog {
  Q_OBJECT

 public:
  explicit TChangeBdDlg(QWidget* parent = nullptr);

  // Shows the list of dev with bd selected; returns 1 for OK, 2 for Cancel.
  int Enter(TDeviceType dev, TBaudRate bd) override;
  TBaudRate OldBaudrate() const override { return FOld_Bd; }
  // The rate of the last OK; Cancel leaves it.
  TBaudRate NewBaudrate() const override { return FNew_Bd; }

  void FormShow();
  void Button1Click();

  QGroupBox* GroupBox1;
  QLabel* Label1;
  QComboBox* cb_baudr;
  QPushButton* Button1;
  QPushButton* Button2;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TBaudRate FOld_Bd = br9600;
  TBaudRate FNew_Bd = br9600;
  TDeviceType FDevice = Pavon;
};
