#include "app/ChangeBdDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "app/DialogFrame.h"
#include "meter/ModelTables.h"
#include "serial/ComTextForms.h"

TChangeBdDlg::TChangeBdDlg(QWidget* parent) : QDialog(parent) {
  GroupBox1 = new QGroupBox(QStringLiteral("Settings"), this);
  Label1 = new QLabel(QStringLiteral("Baud Rate"), GroupBox1);
  cb_baudr = new QComboBox(GroupBox1);
  Label1->setBuddy(cb_baudr);
  auto* grid = new QGridLayout(GroupBox1);
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(cb_baudr, 0, 1);
  grid->setColumnStretch(1, 1);

  BuildDialogFrame(*this, QStringLiteral("Change Baud Rate"), {GroupBox1}, QSize(236, 95),
                   Button1, Button2);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

int TChangeBdDlg::Enter(TDeviceType dev, TBaudRate bd) {
  FDevice = dev;
  FOld_Bd = bd;
  return exec() == QDialog::Accepted ? 1 : 2;
}

void TChangeBdDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TChangeBdDlg::FormShow() {
  cb_baudr->clear();
  cb_baudr->addItems(ModelTable(FDevice).baudDialogRates);
  cb_baudr->setCurrentIndex(cb_baudr->findText(BaudRateToText(FOld_Bd)));
}

void TChangeBdDlg::Button1Click() { FNew_Bd = TextToBaudRate(cb_baudr->currentText()); }
