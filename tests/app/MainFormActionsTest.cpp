// The window's actions, menus and toolbar as the user meets them.
#include <gtest/gtest.h>

#include "app/QtPrinters.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/ActionButton.h"
#include "app/MainForm.h"
#include "meter/MeterLogic.h"

namespace {

struct ActionRow {
  const char* name;
  const char* category;
  const char* caption;
  const char* shortcut;
  const char* hint;  // "" for none
};

const ActionRow kActions[] = {
    {"acDT", "Commands", "DT Distance Tracking", "F2", "DT Distance Tracking"},
    {"acInfo", "Help", "&Program Info", "F1", "Program Info"},
    {"acDS", "Commands", "DS Distance Tracking up to 7 m", "", "Distance Tracking up to 7 m"},
    {"acDJ", "Commands", "Signal Strength", "", "Signal Strength"},
    {"acGetParameter", "Parameter", "Get Parameter", "F8", "Get Parameter"},
    {"acClearLog", "Log", "Clear Log Window", "", "Clear Log Window"},
    {"acStartStopLog", "Log", "Start/Stop Log File", "Alt+L", "Start / Stop Online Log File (*.csv)"},
    {"acViewFile", "File", "&View File", "Alt+V", "View File"},
    {"acExit", "File", "Exit", "Alt+F4", "Exit Program"},
    {"acSetParameter", "Parameter", "Set Parameter", "F10", "Set Parameter"},
    {"acSettings", "Options", "Interfa&ce Setup", "Alt+C", "Interface Setup"},
    {"acPrinterSetup", "Options", "&Printer Setup", "", "Printer Setup"},
    {"acSd", "Commands", "Signal Strength", "", "Signal Strength"},
    {"acDW", "Commands", "DW Distance Tracking with cooprative Target (10 Hz)", "F3",
     "DW Distance Tracking with cooprative Target (10 Hz)"},
    {"acDX", "Commands", "DX Distance Tracking with cooperative Target (50 Hz)", "",
     "DX Distance Tracking with cooperative Target (50 Hz)"},
    {"acDF", "Commands", "DF Distance Tracking with Trigger", "", "DF Distance Tracking with Trigger"},
    {"acDM", "Commands", "DM Distance Measurement", "F4", "DM Distance Measurement"},
    {"acVM", "Commands", "VM Velocity Measurement", "", ""},
    {"acVT", "Commands", "VT Velocity Tracking", "", ""},
    {"acLO", "Commands", "LO Laser On", "", "LO Laser On"},
    {"acLF", "Commands", "LF Laser Off", "", "LF Laser Off"},
    {"acTP", "Commands", "TP Internal Temperature in °C", "", "TP Internal Temperature in °C"},
    {"acID", "Commands", "ID Identification", "", "ID Identification"},
    {"acPrint", "Parameter", "&Print", "Ctrl+P", "Print"},
    {"acOpen", "Parameter", "&Open", "Ctrl+O", "Open Parameter File"},
    {"acSave", "Parameter", "&Save", "Ctrl+S", "Save Parameter File"},
    {"acGrafik", "Options", "Diagram Setup", "Alt+G", "Diagram Setup"},
    {"acSetStandard", "Parameter", "Set Standard", "", "Set Satndard Parameter"},
    {"acSetProfibus", "Parameter", "Set Profibus", "", "Set Profibus Parameter"},
    {"acSO", "Commands", "SO Set Offset", "", "SO Set Offset"},
    {"acDevice", "Help", "&Device Info", "", "Device Info"},
    {"acStop", "Commands", "STOP", "", "Stop Measurement"},
    {"acClearGrafik", "Grafik", "Clear", "", "Clear Diagram"},
    {"acPrintGrafik", "Grafik", "Print Diagram", "Alt+P", "Print Diagram"},
    {"acSaveGrafik", "Grafik", "Save Diagram", "Alt+S", "Save Diagram"},
    {"acBaudrate", "Commands", "BR Change Baud Rate", "", "Change baud rate of QOR and PC"},
    {"acDirectory", "Options", "&Directory Setup", "Alt+D", "Directory Setup"},
    {"acImport", "Parameter", "Import from Clipboard", "", "Import from Clipboard"},
    {"acExport", "Parameter", "Export to Clipboard", "", "Export to Clipboard"},
    {"acSaveLog", "Log", "Save Log Window", "", "Save Log Window (*.csv)"},
    {"acSimulation", "Options", "Simulation Setup", "", "Simulation Setup"},
    {"acZoomIn", "Grafik", "Zoom In", "", "Zoom In"},
    {"acZoomOut", "Grafik", "Zoom Out", "", "Zoom Out"},
    {"acResetZoom", "Grafik", "Reset Zoom", "", "Reset Zoom"},
    {"acOpenPort", "File", "Open Port", "Alt+O", "Open/Close Port"},
    {"acCT", "Commands", "CT Continuous Tracking", "", "CT Continuous Tracking"},
    {"acDisplay", "Commands", "Display", "", ""},
};

TEST(MainFormActions, EveryActionHasItsCaptionShortcutHintAndCategory) {
  TMainForm form;
  EXPECT_EQ(form.Actions().size(), std::size(kActions));
  EXPECT_EQ(form.Actions().size(), ActionCount);
  for (const ActionRow& row : kActions) {
    SCOPED_TRACE(row.name);
    QAction* a = form.Action(ActionNamed(row.name));
    EXPECT_EQ(a->objectName(), row.name);
    EXPECT_EQ(a->text(), QString::fromUtf8(row.caption));
    EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(row.shortcut)));
    EXPECT_EQ(a->statusTip(), QString::fromUtf8(row.hint));
    if (*row.hint) {
      EXPECT_EQ(a->toolTip(), QString::fromUtf8(row.hint));
    }
    EXPECT_EQ(a->property("category").toString(), row.category);
  }
}

// Every action has its QAction from the start; a lookup beyond the list is a
// programming error that fails loudly, never a null or a skipped call, and a
// handler's programming error escapes instead of being shown as the user's.
TEST(MainFormActions, EveryActionExistsAndAnythingElseFailsLoudly) {
  TMainForm form;
  for (int i = 0; i < ActionCount; ++i) {
    EXPECT_TRUE(form.HasAction(static_cast<TAction>(i))) << i;
    EXPECT_EQ(form.Actions()[i], form.Action(static_cast<TAction>(i)));
  }
  const auto beyond = static_cast<TAction>(ActionCount);
  EXPECT_FALSE(form.HasAction(beyond));
  EXPECT_THROW(form.Action(beyond), EUnknownAction);
  EXPECT_THROW(form.SetActionEnabled(beyond, false), EUnknownAction);
  EXPECT_THROW(form.ActionChecked(beyond), EUnknownAction);
  EXPECT_THROW(form.ExecuteAction(TAction::acGrafik, [&] { form.SetActionCaption(beyond, "x"); }),
               EUnknownAction);
}

TEST(MainFormActions, OnlyLaserOnIsHiddenAndOnlyTheZoomStepsAreDisabledAtStart) {
  TMainForm form;
  for (QAction* a : form.Actions()) {
    const TAction id = ActionNamed(a->objectName());
    EXPECT_EQ(a->isVisible(), id != TAction::acLO) << ActionName(id).data();
    if (id != TAction::acLO) {
      EXPECT_EQ(a->isEnabled(), id != TAction::acZoomIn && id != TAction::acZoomOut)
          << ActionName(id).data();
    }
  }
  // A hidden action cannot run; shown, it is enabled like the others.
  form.SetActionVisible(TAction::acLO, true);
  EXPECT_TRUE(form.ActionEnabled(TAction::acLO));
  EXPECT_FALSE(form.Test1->isVisible());
  EXPECT_EQ(form.Test1->text(), "Test");
}

// Item names of a menu in order, "-" for a separator.
QStringList Items(const QList<QAction*>& actions) {
  QStringList names;
  for (QAction* a : actions) names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
  return names;
}

TEST(MainFormActions, MenusAndToolbarHoldTheirItemsInOrder) {
  TMainForm form;
  const QList<QAction*> menus = form.MainMenu1->actions();
  ASSERT_EQ(menus.size(), 5);
  const QStringList titles{"&File", "&Parameter", "&Commands", "&Options", "&Help"};
  const QStringList items[] = {
      {"acOpenPort", "-", "acStartStopLog", "acViewFile", "-", "acSaveGrafik", "acPrintGrafik",
       "-", "acExit", "Test1"},
      {"acOpen", "acSave", "acPrint", "-", "acExport", "acImport", "-", "acSetStandard",
       "acSetProfibus", "-", "acGetParameter", "acSetParameter", "acBaudrate"},
      {"acDT", "acDS", "acDJ", "acSd", "acDW", "acDX", "acDF", "acDM", "acVM", "acVT", "-",
       "acLO", "acLF", "acTP", "acID", "acSO", "acBaudrate"},
      {"acSettings", "acGrafik", "acPrinterSetup", "acDirectory", "acSimulation"},
      {"acInfo", "acDevice"},
  };
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(menus[i]->text(), titles[i]);
    EXPECT_EQ(Items(menus[i]->menu()->actions()), items[i]) << i;
  }
  EXPECT_EQ(Items(form.PopupMenu_Grafik->actions()),
            QStringList({"acStop", "acDT", "acDF", "-", "acClearGrafik", "acGrafik",
                         "acPrintGrafik", "acSaveGrafik", "-", "acZoomIn", "acZoomOut",
                         "acResetZoom"}));
  EXPECT_EQ(Items(form.PopupMenu_Log->actions()),
            QStringList({"acStop", "acDT", "acDF", "-", "acClearLog", "acSaveLog"}));

  QStringList toolbar;
  for (QAction* a : form.ToolBar1->actions()) {
    if (a->isSeparator()) toolbar << "-";
    else if (auto* w = form.ToolBar1->widgetForAction(a); w && !a->objectName().startsWith("ac"))
      toolbar << w->objectName();
    else toolbar << a->objectName();
  }
  EXPECT_EQ(toolbar, QStringList({"acOpen", "acSave", "acPrint", "-", "acGetParameter",
                                  "acSetParameter", "-", "acExport", "acImport", "-",
                                  "ToolButton11", "ToolButton12", "ToolButton13", "-",
                                  "acInfo", "acDevice", "acExit"}));
  EXPECT_EQ(form.ToolButton11->toolTip(), "Terminal Font Size +");
  EXPECT_EQ(form.ToolButton12->toolTip(), "Terminal Font Size -");
  EXPECT_EQ(form.ToolButton13->toolTip(), "Terminal Bold Font");
  EXPECT_TRUE(form.ToolButton13->isCheckable());
  for (TAction withImage : {TAction::acOpen, TAction::acSave, TAction::acPrint,
                            TAction::acGetParameter, TAction::acExit})
    EXPECT_FALSE(form.Action(withImage)->icon().isNull()) << ActionName(withImage).data();
}

QList<TActionButton*> ButtonsOf(TMainForm& form, TAction action) {
  QList<TActionButton*> result;
  for (TActionButton* b : form.findChildren<TActionButton*>())
    if (b->Action() == form.Action(action)) result << b;
  return result;
}

// "caption@x" of the buttons of each page of a button notebook, left to right.
QList<QStringList> RowsOf(QStackedWidget* notebook) {
  QList<QStringList> rows;
  for (int i = 0; i < notebook->count(); ++i) {
    QList<TActionButton*> buttons = notebook->widget(i)->findChildren<TActionButton*>();
    std::sort(buttons.begin(), buttons.end(),
              [](auto* a, auto* b) { return a->geometry().x() < b->geometry().x(); });
    QStringList row;
    for (TActionButton* b : buttons) row << b->text() + "@" + QString::number(b->geometry().x());
    rows << row;
  }
  return rows;
}

TEST(MainFormActions, ButtonRowsOfTheDeviceAndDiagramPagesPerModel) {
  TMainForm form;
  EXPECT_EQ(RowsOf(form.Notebook_Device),
            (QList<QStringList>{
                {"STOP@8", "DT@88", "DW@168", "DF@248", "TP@328", "ID@408"},
                {"STOP@8", "DT@88", "DJ@168", "DF@248", "TP@328", "ID@408"},
                {"STOP@8", "DT@88", "DF@168", "TP@328", "ID@408"},
                {"STOP@8", "DT@88", "Signal@168", "TP@328", "ID@408"},
                {"STOP@8", "DT@88", "CT@168", "DM@248", "Display@328", "TP@408", "ID@488"},
            }));
  const QStringList diagram{"Clear@328", "Setup@408", "Print@488", "Save@568"};
  EXPECT_EQ(RowsOf(form.Notebook_Grafik),
            (QList<QStringList>{
                QStringList{"STOP@8", "DT@88", "DW@168", "DF@248"} + diagram,
                QStringList{"STOP@8", "DT@88", "DF@168"} + diagram,
                QStringList{"STOP@8", "DT@88", "DF@168"} + diagram,
                QStringList{"STOP@8", "DT@88"} + diagram,
            }));
}

TEST(MainFormActions, ButtonsFollowTheirActionAndRunIt) {
  TMainForm form;
  // STOP sits on five command rows, four diagram rows and the log row.
  const QList<TActionButton*> stops = ButtonsOf(form, TAction::acStop);
  ASSERT_EQ(stops.size(), 10);
  int runs = 0;
  QObject::connect(form.Action(TAction::acStop), &QAction::triggered, [&] { ++runs; });
  stops.front()->click();
  EXPECT_EQ(runs, 1);

  form.SetActionEnabled(TAction::acStop, false);
  for (TActionButton* b : stops) EXPECT_FALSE(b->isEnabled());
  stops.front()->click();
  EXPECT_EQ(runs, 1);

  form.SetActionVisible(TAction::acDW, false);
  const QList<TActionButton*> dw = ButtonsOf(form, TAction::acDW);
  ASSERT_EQ(dw.size(), 2);
  for (TActionButton* b : dw) EXPECT_TRUE(b->isHidden());
  form.SetActionVisible(TAction::acDW, true);
  for (TActionButton* b : dw) EXPECT_FALSE(b->isHidden());
  EXPECT_EQ(ButtonsOf(form, TAction::acSetParameter).size(), 5);  // one per parameter page
}

// Triggers the action and cancels a modal dialog that shows up meanwhile;
// true when one did.
bool TriggerCancellingDialogs(QAction* action) {
  bool shown = false;
  QTimer::singleShot(0, [&shown] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      shown = true;
      d->reject();
    }
  });
  action->trigger();
  QCoreApplication::processEvents();
  return shown;
}

TEST(MainFormActions, CheckedChangesOnlyWhenTheHandlerSetsIt) {
  TMainForm form;
  QAction* log = form.Action(TAction::acStartStopLog);
  // The handler sees the state before the click: unchecked starts a log file
  // (its name is asked for, cancelled here), checked stops it (no dialog).
  EXPECT_TRUE(TriggerCancellingDialogs(log));
  EXPECT_FALSE(form.ActionChecked(TAction::acStartStopLog));
  form.SetActionChecked(TAction::acStartStopLog, true);
  EXPECT_TRUE(form.ActionChecked(TAction::acStartStopLog));
  EXPECT_FALSE(TriggerCancellingDialogs(log));
  EXPECT_FALSE(form.ActionChecked(TAction::acStartStopLog));
}

TEST(MainFormActions, ExitClosesTheWindowAndCaptionsCanChange) {
  TMainForm form;
  form.show();
  ASSERT_TRUE(form.isVisible());
  form.SetActionCaption(TAction::acOpenPort, "Close Port");
  EXPECT_EQ(form.Action(TAction::acOpenPort)->text(), "Close Port");
  form.Action(TAction::acExit)->trigger();
  EXPECT_FALSE(form.isVisible());
}

TEST(MainFormActions, OpenPortFromTheMenuGivesTheAdviceOfTheInterfaceSetup) {
  QTemporaryDir dir;
  QFile plain(dir.filePath(QStringLiteral("not-a-port")));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  TMainForm form;
  form.Logic().ComPort().SetPort(plain.fileName());
  QString shown;
  QTimer::singleShot(0, [&shown] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      box->accept();
    }
  });
  form.Action(TAction::acOpenPort)->trigger();
  EXPECT_FALSE(form.Logic().ComPort().Connected());
  EXPECT_TRUE(shown.endsWith("; not a serial device: choose a serial port"))
      << shown.toStdString();

  form.Logic().ApplyInterfaceSetup();
  EXPECT_EQ(form.StatusText(2), " " + shown);
}

TEST(MainFormActions, TheAutomaticReadRunsLikeAnyActionAndSoNotOnAClosedPort) {
  TMainForm form;
  form.Logic().ComPort().SetPort(QStringLiteral("/dev/telquin-no-such-port"));
  form.Logic().ApplyInterfaceSetup();
  const QString openError = form.StatusText(2);
  ASSERT_TRUE(openError.contains("no such device")) << openError.toStdString();
  form.Controls().SetText("cb_sa", "10");
  form.Logic().Timer_AutoGetTimer();
  // Disabled on a closed port: the page is not blanked, the error stays.
  EXPECT_EQ(form.Controls().Text("cb_sa"), "10");
  EXPECT_EQ(form.StatusText(2), openError);
}

}  // namespace
