#pragma once
// The application object: it shows an exception that a handler let escape
// instead of ending the program.

#include <QApplication>

class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;

  // Shows the message in an error box (the default exception report).
  static void ShowException(const QString& message);
};
