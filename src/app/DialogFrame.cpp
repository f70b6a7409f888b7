#include "app/DialogFrame.h"

#include <QDialog>
#include <QFont>
#include <QLayout>

#include "serial/ui/SetupDialogFrame.h"

void BuildDialogFrame(QDialog& Dialog, const QString& Caption,
                      std::initializer_list<QWidget*> Groups, QSize Client, QPushButton*& OK,
                      QPushButton*& Cancel, const QFont* Font) {
  BuildSetupDialogFrame(Dialog, Groups, Client, OK, Cancel);
  Dialog.setWindowTitle(Caption);
  if (Font != nullptr) {
    // The size depends on the font: fix it again.
    Dialog.setFont(*Font);
    Dialog.layout()->activate();
    Dialog.setFixedSize(Client.expandedTo(Dialog.sizeHint()));
  }
}
