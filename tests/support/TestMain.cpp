// Shared main of every test executable: widgets render offscreen and a
// QApplication exists for the event loop, timers and queued calls. The whole
// process keeps its settings in a fresh temporary folder and sees no serial
// port of the machine (the only real one is its console).
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "platform/Registry.h"
#include "platform/SerialPortList.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  QTemporaryDir settings;
  if (!settings.isValid()) return 2;
  platform::Registry::SetStorageRoot(settings.path());
  platform::SetSerialPortListOverride(QStringList());
  return RUN_ALL_TESTS();
}
