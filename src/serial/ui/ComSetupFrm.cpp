#include "serial/ui/ComSetupFrm.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "serial/ComPort.h"
#include "serial/ui/ComComboBox.h"
#include "serial/ui/SetupDialogFrame.h"

TComSetupFrm::TComSetupFrm(QWidget* parent) : QDialog(parent) {
  GroupBox1 = new QGroupBox(QStringLiteral(" Settings "), this);
  auto* grid = new QGridLayout(GroupBox1);
  struct Row {
    const char* caption;
    TComProperty property;
    TComComboBox** combo;
  };
  const Row rows[] = {{"Port", cpPort, &Combo1},         {"Baud rate", cpBaudRate, &Combo2},
                      {"Data bits", cpDataBits, &Combo3}, {"Stop bits", cpStopBits, &Combo4},
                      {"Parity", cpParity, &Combo5},      {"Flow control", cpFlowControl, &Combo6}};
  int r = 0;
  for (const Row& row : rows) {
    auto* combo = new TComComboBox(GroupBox1);
    combo->SetComProperty(row.property);
    auto* label = new QLabel(QString::fromLatin1(row.caption), GroupBox1);
    label->setBuddy(combo);
    grid->addWidget(label, r, 0);
    grid->addWidget(combo, r, 1);
    *row.combo = combo;
    ++r;
  }
  grid->setColumnStretch(1, 1);

  BuildSetupDialogFrame(*this, {GroupBox1}, QSize(284, 266), OKButton, CancelButton);
}

void EditComPortDialog(TCustomComPort& Port) {
  TComSetupFrm form;
  for (TComComboBox* combo : form.Combos()) combo->SetComPort(&Port);
  for (TComComboBox* combo : form.Combos()) combo->UpdateSettings();
  if (form.exec() != QDialog::Accepted) return;

  Port.BeginUpdate();
  try {
    for (TComComboBox* combo : form.Combos()) combo->ApplySettings();
  } catch (...) {
    // A port left inside an update would never apply a setting again.
    try {
      Port.EndUpdate();
    } catch (...) {
      // The first error is the one the caller sees.
    }
    throw;
  }
  Port.EndUpdate();
}
