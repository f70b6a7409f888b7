#pragma once
// The frame of the program's small dialogs: caption, the group boxes top to
// bottom, OK (default) and Cancel at the bottom, a fixed border and the
// initial client size (larger when the content needs it).

#include <QSize>
#include <QString>
#include <exception>
#include <functional>
#include <initializer_list>

class QDialog;
class QFont;
class QPushButton;
class QWidget;

// Font: the dialog's own font, or nullptr for the frame's default.
void BuildDialogFrame(QDialog& Dialog, const QString& Caption,
                      std::initializer_list<QWidget*> Groups, QSize Client, QPushButton*& OK,
                      QPushButton*& Cancel, const QFont* Font = nullptr);

// A dialog's OK handler runs inside the dialog's event loop, where nothing
// may be thrown: its failure is kept here and raised once the loop returned.
class TOkFailure {
 public:
  // Runs the handler, keeping what it throws.
  void Catch(const std::function<void()>& handler);
  // Runs the modal loop `exec` with nothing kept before it, then raises what
  // was kept meanwhile; otherwise returns exec's result.
  int Modal(const std::function<int()>& exec);

 private:
  std::exception_ptr FError;
};
