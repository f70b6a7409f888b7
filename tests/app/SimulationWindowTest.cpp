// The simulated meter in the real window: the interface setup dialog is
// confirmed with "Simulate Device" ticked, and the program runs without a
// meter as a user would see it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/Chart.h"
#include "app/ComSetupForm.h"
#include "app/MainForm.h"
#include "app/SimuSetupDlg.h"
#include "meter/MeterLogic.h"
#include "platform/Registry.h"
#include "serial/ui/ComTerminal.h"
#include "serial_ui/ComboDriver.h"
#include "support/EventLoop.h"
#include "support/PtyPair.h"

namespace {

QString TerminalRow(const TComTerminal& t, int row) {
  QString s;
  for (int x = 1; x <= 80; ++x) {
    const QChar c = t.Buffer().GetChar(x, row).Ch;
    s += c.isNull() ? QChar(u' ') : c;
  }
  return s.trimmed();
}

}  // namespace

TEST(SimulationInTheWindow, TickingSimulateDeviceRunsTheProgramWithoutAMeter) {
  QTemporaryDir settings;
  const QString oldRoot = platform::Registry::StorageRoot();
  platform::Registry::SetStorageRoot(settings.path());
  PtyPair pty;
  {
    TMainForm form;
    TComSetupForm setup(form.Logic(), form, &form);
    TSimuSetupDlg simuSetup(&form);
    form.SetDialogs(&setup, nullptr, &simuSetup, nullptr);
    TMeterLogic& logic = form.Logic();

    // An open port first: simulation must close it.
    logic.ComPort().SetPort(pty.SlavePath());
    logic.ComPort().Open();
    ASSERT_TRUE(logic.ComPort().Connected());

    WhenShown<TComSetupForm>([](TComSetupForm& f) {
      f.CheckBox2->click();  // "Simulate Device" (ticks the read option too)
      f.OKButton->click();
    });
    form.acSettingsExecute();

    EXPECT_FALSE(logic.ComPort().Connected());
    EXPECT_FALSE(form.Action(TAction::acOpenPort)->isEnabled());
    EXPECT_TRUE(form.Action(TAction::acSimulation)->isVisible());
    EXPECT_EQ(form.lb_input->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_TRUE(form.windowTitle().endsWith(QLatin1String(" Simulation")));

    // The automatic read fills the page with the factory defaults.
    ASSERT_TRUE(PumpUntil([&] { return form.Controls().Text("cb_as") == "dt"; }, 3000));
    EXPECT_EQ(form.Controls().Text("cb_re"), QStringLiteral("40"));

    // Lines every 500 ms reach value label, terminal, diagram and log.
    ASSERT_TRUE(PumpUntil([&] { return logic.Measurement().LogList().size() >= 3; }, 5000));
    PumpFor(300);  // the display timer
    const QString label = form.lb_input->text();
    EXPECT_TRUE(label.startsWith(QLatin1String("005.00"))) << label.toStdString();
    EXPECT_TRUE(TerminalRow(*form.ComTerminal, 1).startsWith(QLatin1String("005.00")));
    EXPECT_GE(form.Chart1->Count(), 1);
    for (const QString& line : logic.Measurement().LogList())
      EXPECT_TRUE(line.contains(u';')) << line.toStdString();

    form.FormClose();
  }
  platform::Registry::SetStorageRoot(oldRoot);
}
