#pragma once
// The port setup dialog: the six line settings of one port, each in a
// port-selection combo box, written to the port together on OK.

#include <QDialog>
#include <array>

class QGroupBox;
class QPushButton;
class TComComboBox;
class TCustomComPort;

class TComSetupFrm : public QDialog {
  Q_OBJECT

 public:
  explicit TComSetupFrm(QWidget* parent = nullptr);

  QGroupBox* GroupBox1;
  TComComboBox* Combo1;  // port
  TComComboBox* Combo2;  // baud rate
  TComComboBox* Combo3;  // data bits
  TComComboBox* Combo4;  // stop bits
  TComComboBox* Combo5;  // parity
  TComComboBox* Combo6;  // flow control
  QPushButton* OKButton;
  QPushButton* CancelButton;

  // The six boxes in their binding and applying order.
  std::array<TComComboBox*, 6> Combos() const {
    return {Combo1, Combo2, Combo3, Combo4, Combo5, Combo6};
  }
};

// Shows the dialog for Port modally; OK writes the six settings inside one
// BeginUpdate/EndUpdate, so an open port takes them in one step. Errors of
// the port while applying pass to the caller.
void EditComPortDialog(TCustomComPort& Port);
