#pragma once
// The interface setup: meter model, port, baud rate, the automatic parameter
// read and the simulated meter. The only place where the model and the port
// settings are stored. OK applies and stores everything; Cancel changes
// nothing, and the boxes keep what the user left in them.

#include <QDialog>

#include "app/DialogFrame.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QShowEvent;
class IMeterView;
class TComComboBox;
class TMeterLogic;

class TComSetupForm : public QDialog {
  Q_OBJECT

 public:
  TComSetupForm(TMeterLogic& logic, IMeterView& view, QWidget* parent = nullptr);

  // Shows the dialog modally and returns its result (1 OK, 2 Cancel). An
  // error raised while OK applied the settings (the port refusing them, the
  // store failing) closes the dialog and is thrown from here, not into the
  // event loop.
  int ShowModal();

  bool AutoGet() const;
  bool Simulation() const;

  // Handlers, public so that the window and tests can reach them as the
  // controls do.
  void FormShow();
  void cb_deviceChange();
  void CheckBox2Click();
  void OKButtonClick();

  QGroupBox* GroupBox1;
  QLabel* Label1;
  QComboBox* cb_device;
  QLabel* Label2;
  TComComboBox* Combo_Port;
  QLabel* Label3;
  QComboBox* Combo_Baudrate;
  QGroupBox* GroupBox2;
  QCheckBox* CheckBox1;
  QGroupBox* GroupBox3;
  QCheckBox* CheckBox2;
  QPushButton* OKButton;
  QPushButton* Button2;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TMeterLogic& FLogic;
  IMeterView& FView;
  bool FFirst = false;  // the first show has happened
  TOkFailure FOKFailure;
};

// The main window's interface setup action: the dialog, then the port
// brought into line with it (summary on panel 0, closed and reopened unless
// the meter is simulated). An error of the dialog's OK is thrown after the
// port was brought into line, for the window to show.
void acSettingsExecute(TComSetupForm& dialog, TMeterLogic& logic);
