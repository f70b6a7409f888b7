#include "serial/ui/SetupDialogFrame.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

void BuildSetupDialogFrame(QDialog& Dialog, std::initializer_list<QWidget*> Groups, QSize Client,
                           QPushButton*& OK, QPushButton*& Cancel) {
  Dialog.setWindowTitle(QStringLiteral("Setup"));
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(11);
  Dialog.setFont(font);

  OK = new QPushButton(QStringLiteral("OK"), &Dialog);
  OK->setDefault(true);
  Cancel = new QPushButton(QStringLiteral("Cancel"), &Dialog);
  QObject::connect(OK, &QPushButton::clicked, &Dialog, &QDialog::accept);
  QObject::connect(Cancel, &QPushButton::clicked, &Dialog, &QDialog::reject);

  auto* main = new QVBoxLayout(&Dialog);
  for (QWidget* group : Groups) main->addWidget(group);
  main->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OK);
  buttons->addWidget(Cancel);
  main->addLayout(buttons);

  Dialog.setFixedSize(Client.expandedTo(Dialog.sizeHint()));
}
