#include "app/DialogFrame.h"

#include <QDialog>
#include <QFont>
#include <QLayout>
#include <utility>

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

void TOkFailure::Catch(const std::function<void()>& handler) {
  try {
    handler();
  } catch (...) {
    FError = std::current_exception();
  }
}

int TOkFailure::Modal(const std::function<int()>& exec) {
  FError = nullptr;
  const int result = exec();
  if (FError) std::rethrow_exception(std::exchange(FError, nullptr));
  return result;
}
