// Shared main of every test executable. Widget tests get a QApplication and
// render offscreen; the others a QCoreApplication, for the event loop, timers
// and queued calls. The whole process keeps its settings in a fresh temporary
// folder and sees no serial port of the machine (the only real one is its
// console).
#include <gtest/gtest.h>

#include <QTemporaryDir>

#ifdef TELQUIN_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#include "platform/Registry.h"
#include "platform/SerialPortList.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The program runs on Qt's own event loop (main.cpp); so do its tests.
  if (qEnvironmentVariableIsEmpty("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
  ::testing::InitGoogleTest(&argc, argv);
  TestApplication app(argc, argv);
  QTemporaryDir settings;
  if (!settings.isValid()) return 2;
  platform::Registry::SetStorageRoot(settings.path());
  platform::SetSerialPortListOverride(QStringList());
  return RUN_ALL_TESTS();
}
