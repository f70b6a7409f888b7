#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Telquin"));
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Telquin"));
  window.resize(800, 600);
  window.show();
  return QApplication::exec();
}
