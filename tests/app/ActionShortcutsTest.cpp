// Every shortcut of the action table, pressed in the real window, reaches its
// action: also where a menu title has the same letter (Alt+O, Alt+C, Alt+P)
// and where the current model hides the action (F3, F4).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeySequence>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "app/ActionTable.h"
#include "app/MainForm.h"
#include "meter/MeterLogic.h"
#include "support/EventLoop.h"
#include "support/MeterEmulator.h"
#include "support/PtyPair.h"

namespace {

QStringList gWarnings;

void CollectWarnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type != QtDebugMsg) gWarnings << text;
}

// Rejects every modal dialog a handler opens, so the walk goes on.
struct DialogCanceller {
  QTimer timer;
  DialogCanceller() {
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [] {
      if (QWidget* w = QApplication::activeModalWidget()) {
        if (auto* d = qobject_cast<QDialog*>(w))
          d->reject();
        else
          w->close();
      }
    });
    timer.start();
  }
};

void Press(QWidget& window, const QKeySequence& shortcut) {
  // A dialog the previous handler opened may have taken the activation.
  window.activateWindow();
  // A user's key comes after the program went idle once: the enabling rule
  // runs then.
  PumpFor(20);
  PumpUntil([&] {
    return !QApplication::activeModalWidget() && QApplication::activeWindow() == &window;
  });
  const QKeyCombination key = shortcut[0];
  QTest::keyClick(&window, key.key(), key.keyboardModifiers());
  QCoreApplication::processEvents();
}

// The real window, shown, with the model current and its port open on a
// pseudo-terminal that an emulated meter answers.
struct WindowRig {
  explicit WindowRig(TDeviceType model) : meter(model, pty.MasterFd()) {
    meter.FillDefaultValues();
    TMeterLogic& logic = form.Logic();
    logic.ComPort().SetPort(pty.SlavePath());
    form.show();
    form.activateWindow();
    exposed = QTest::qWaitForWindowExposed(&form);
    PumpFor(50);  // the first show's own steps
    logic.SetDevice(model);
    logic.ChangeDevice();
    if (!logic.ComPort().Connected()) logic.ComPort().Open();
  }
  PtyPair pty;
  MeterEmulator meter;
  TMainForm form;
  bool exposed = false;
};

class ActionShortcuts : public ::testing::TestWithParam<TDeviceType> {};

TEST_P(ActionShortcuts, EveryShortcutOfTheTableReachesItsAction) {
  DialogCanceller canceller;
  gWarnings.clear();
  const QtMessageHandler previous = qInstallMessageHandler(CollectWarnings);

  {
    WindowRig rig(GetParam());
    TMainForm& form = rig.form;
    TMeterLogic& logic = form.Logic();
    ASSERT_TRUE(rig.exposed);
    ASSERT_TRUE(logic.ComPort().Connected());

    // Opening the port and leaving the program come last.
    QList<const TActionDef*> order;
    for (const TActionDef& d : MainActions())
      if (*d.shortcut && d.id != TAction::acOpenPort && d.id != TAction::acExit) order << &d;
    for (const TActionDef& d : MainActions())
      if (d.id == TAction::acOpenPort) order << &d;
    for (const TActionDef& d : MainActions())
      if (d.id == TAction::acExit) order << &d;

    for (const TActionDef* d : order) {
      SCOPED_TRACE(ActionName(d->id).data());
      QAction* action = form.Action(d->id);
      QSignalSpy triggered(action, &QAction::triggered);
      Press(form, QKeySequence(QString::fromLatin1(d->shortcut)));
      EXPECT_EQ(triggered.size(), 1);
    }
    EXPECT_FALSE(logic.ComPort().Connected()) << "Alt+O closed the port";
    EXPECT_FALSE(form.isVisible()) << "Alt+F4 closed the window";
  }
  qInstallMessageHandler(previous);
  for (const QString& w : gWarnings)
    EXPECT_FALSE(w.contains(QLatin1String("Ambiguous"))) << w.toStdString();
}

// PAVON shows DW and DM, DORVANE hides both.
INSTANTIATE_TEST_SUITE_P(Models, ActionShortcuts, ::testing::Values(Pavon, Dorvane),
                         [](const auto& info) { return DeviceText(info.param).toStdString(); });

TEST(ActionShortcutsHidden, HiddenCommandsStillGoToTheMeter) {
  WindowRig rig(Dorvane);
  TMainForm& form = rig.form;
  MeterEmulator& meter = rig.meter;
  ASSERT_TRUE(rig.exposed);
  ASSERT_FALSE(form.Action(TAction::acDW)->isVisible());
  ASSERT_FALSE(form.Action(TAction::acDM)->isVisible());

  for (const auto& [key, code] : {std::pair{Qt::Key_F3, "DW"}, std::pair{Qt::Key_F4, "DM"}}) {
    meter.ClearReceived();
    QTest::keyClick(&form, key);
    EXPECT_TRUE(PumpUntil([&] { return meter.Commands().contains(code); }, 3000))
        << code << " reached the meter";
  }

  // A closed port disables the meter commands: the hidden ones too.
  form.Logic().ComPort().Close();
  meter.ClearReceived();
  QTest::keyClick(&form, Qt::Key_F3);
  PumpFor(100);
  EXPECT_TRUE(meter.Commands().isEmpty());
  form.FormClose();
}

}  // namespace
