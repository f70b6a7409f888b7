#pragma once
// The terminal setup dialog: the terminal's character handling, caret,
// emulation, grid size and cursor keys, written to the terminal on OK.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class TCustomComTerminal;

class TComTrmSetForm : public QDialog {
  Q_OBJECT

 public:
  explicit TComTrmSetForm(QWidget* parent = nullptr);

  QGroupBox* GroupBox1;
  QCheckBox* CheckBox1;  // local echo
  QCheckBox* CheckBox2;  // send LF
  QCheckBox* CheckBox3;  // wrap lines
  QCheckBox* CheckBox4;  // force 7 bit
  QCheckBox* CheckBox5;  // append LF
  QGroupBox* GroupBox2;
  QComboBox* ComboBox1;  // caret, in the order of TTermCaret
  QComboBox* ComboBox2;  // emulation, in the order of TTermEmulation
  QLineEdit* Edit1;      // columns
  QLineEdit* Edit2;      // rows
  QComboBox* ComboBox3;  // cursor keys, in the order of TArrowKeys
  QPushButton* OKButton;
  QPushButton* CancelButton;
};

// Shows the dialog for Terminal modally and writes its settings back on OK.
// A column or row text that is no integer gives 80 columns or 24 rows.
void EditComTerminalDialog(TCustomComTerminal& Terminal);
