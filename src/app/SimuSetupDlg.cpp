#include "app/SimuSetupDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include "app/DialogFrame.h"
#include "meter/MeterNumbers.h"

TSimuSetupDlg::TSimuSetupDlg(QWidget* parent) : QDialog(parent) {
  GroupBox1 = new QGroupBox(QStringLiteral("Settings"), this);
  Label1 = new QLabel(QStringLiteral("Fixed Distance"), GroupBox1);
  ed_dist = new QLineEdit(QStringLiteral("5"), GroupBox1);
  Label1->setBuddy(ed_dist);
  cb_autodist = new QCheckBox(QStringLiteral("Ramp and Error"), GroupBox1);
  auto* grid = new QGridLayout(GroupBox1);
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(ed_dist, 0, 1);
  grid->addWidget(cb_autodist, 1, 0, 1, 2);
  grid->setColumnStretch(1, 1);

  BuildDialogFrame(*this, QStringLiteral("Simulate Distance"), {GroupBox1}, QSize(234, 136),
                   BtnOK, Button2);
  connect(cb_autodist, &QCheckBox::clicked, this, [this] { cb_autodistClick(); });
  connect(BtnOK, &QPushButton::clicked, this, [this] { BtnOKClick(); });
  FormCreate();
}

void TSimuSetupDlg::ShowModal() { exec(); }

void TSimuSetupDlg::FormCreate() {
  FSimuDist = 5.0;
  FAutoDist = cb_autodist->isChecked();
}

void TSimuSetupDlg::SetSimuDist(double value) {
  if (value >= 0.0 && value <= 3000.0) FSimuDist = value;
}

void TSimuSetupDlg::cb_autodistClick() { ed_dist->setEnabled(!cb_autodist->isChecked()); }

void TSimuSetupDlg::BtnOKClick() {
  FAutoDist = cb_autodist->isChecked();
  QString text = ed_dist->text();
  text.replace(u',', u'.');
  SetSimuDist(ReadNumberDef(text.trimmed(), 5.0));
  // In the user's locale, but without group separators: "3,000" would come
  // back as 3 at the next OK.
  QLocale locale;
  locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
  ed_dist->setText(locale.toString(FSimuDist, 'g', 15));
}
