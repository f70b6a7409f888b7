// The diagram setup: what OK takes from the controls, how the settings reach
// the chart and the zoom actions, what is stored and what Cancel leaves.
#include <gtest/gtest.h>

#include "app/QtPrinters.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/Chart.h"
#include "app/ChartLook.h"
#include "app/GraphicSetupForm.h"
#include "app/MainForm.h"
#include "platform/Registry.h"
#include "serial_ui/ComboDriver.h"

namespace {

// Records what the dialog pushes into the chart, in order.
class RecordingChart : public IChartLook {
 public:
  void SetPointerVisible(bool on) override { calls << QStringLiteral("Pointer %1").arg(on); }
  void SetStairs(bool on) override { calls << QStringLiteral("Stairs %1").arg(on); }
  void SetLeftAxisAutomatic(bool on) override { calls << QStringLiteral("Automatic %1").arg(on); }
  void SetLeftAxisMinimum(double v) override { calls << QStringLiteral("Minimum %1").arg(v); }
  void SetLeftAxisMaximum(double v) override { calls << QStringLiteral("Maximum %1").arg(v); }
  void SetAllowZoom(bool on) override { calls << QStringLiteral("Zoom %1").arg(on); }
  void SetAllowPanning(bool on) override { calls << QStringLiteral("Panning %1").arg(on); }
  QStringList calls;
};

QStringList gMessages;
void CollectMessages(QtMsgType, const QMessageLogContext&, const QString& text) {
  gMessages << text;
}

// Each test starts from an empty settings store.
class GraphicSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    oldRoot = platform::Registry::StorageRoot();
    platform::Registry::SetStorageRoot(settings.path());
    QLocale::setDefault(QLocale::c());
  }
  void TearDown() override {
    platform::Registry::SetStorageRoot(oldRoot);
    QLocale::setDefault(QLocale::system());
  }
  static QString Stored(const QString& name) {
    platform::Registry reg;
    if (!reg.OpenKeyReadOnly(QStringLiteral("Software\\Telquin\\Graphic"))) return "<no key>";
    if (const auto i = reg.ReadInteger(name)) return QString::number(*i);
    return reg.ReadString(name);
  }
  QTemporaryDir settings;
  QString oldRoot;
  RecordingChart chart;
};

TEST_F(GraphicSetup, AFreshStoreGivesTheDefaultsAndAppliesThem) {
  TGraphicSetupForm dlg(chart, nullptr, nullptr);
  EXPECT_EQ(dlg.YMin(), 0);
  EXPECT_EQ(dlg.YMax(), 40.0);
  EXPECT_FALSE(dlg.AutoScale() || dlg.YPointer() || dlg.Stair() || dlg.AllowZoom() ||
               dlg.AllowMove());
  EXPECT_EQ(dlg.XNumber(), 250);
  EXPECT_EQ(dlg.ed_min->text(), "0");
  EXPECT_EQ(dlg.ed_max->text(), "40");
  EXPECT_EQ(dlg.ed_number->text(), "250");
  EXPECT_EQ(dlg.windowTitle(), "Diagram Setup");
  EXPECT_EQ(chart.calls, QStringList({"Pointer 0", "Stairs 0", "Automatic 0", "Minimum 0",
                                      "Maximum 40", "Minimum 0", "Zoom 0", "Panning 0"}));
  EXPECT_EQ(Stored("Number"), "<no key>");  // creating stores nothing
}

TEST_F(GraphicSetup, NumberOfPointsIsKeptWithin10And1000) {
  TGraphicSetupForm dlg(chart, nullptr, nullptr);
  struct Case {
    const char* typed;
    int taken;
    const char* shown;
  } cases[] = {{"5", 10, "10"},      {"2000", 1000, "1000"}, {"abc", 10, "10"},
               {"500", 500, "500"},  {"-3", 10, "10"},      {"1000", 1000, "1000"},
               // Taken as before: the setter leaves the box as typed.
               {"1000", 1000, "1000"}, {"3000", 1000, "1000"}, {"", 10, "10"},
               {"xyz", 10, "xyz"}};
  for (const Case& c : cases) {
    dlg.ed_number->setText(QString::fromLatin1(c.typed));
    dlg.Button1->click();
    EXPECT_EQ(dlg.XNumber(), c.taken) << c.typed;
    EXPECT_EQ(dlg.ed_number->text(), QString::fromLatin1(c.shown)) << c.typed;
    EXPECT_EQ(Stored("Number"), QString::number(c.taken)) << c.typed;
  }
}

TEST_F(GraphicSetup, LimitsTakeTheUsersCommaAndFallBackWhenNoNumber) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  TGraphicSetupForm dlg(chart, nullptr, nullptr);
  dlg.ed_min->setText("1,5");
  dlg.ed_max->setText(" 1000,25 ");
  dlg.Button1->click();
  EXPECT_EQ(dlg.YMin(), 1.5);
  EXPECT_EQ(dlg.YMax(), 1000.25);
  // Shown in the user's locale, without a group separator that would read
  // back as a decimal point.
  EXPECT_EQ(dlg.ed_min->text(), "1,5");
  EXPECT_EQ(dlg.ed_max->text(), "1000,25");
  EXPECT_EQ(Stored("Minimum"), "1.5");

  dlg.ed_min->setText("abc");
  dlg.ed_max->setText("1e999");  // beyond the range of a double
  dlg.Button1->click();
  EXPECT_EQ(dlg.YMin(), 0);
  EXPECT_EQ(dlg.YMax(), 40.0);
  EXPECT_EQ(dlg.ed_min->text(), "0");
  EXPECT_EQ(dlg.ed_max->text(), "40");
}

TEST_F(GraphicSetup, FixedLimitsGoToTheChartInTheirOrderUncheckedAutoScaleOnlyStores) {
  TGraphicSetupForm dlg(chart, nullptr, nullptr);
  chart.calls.clear();
  dlg.ed_min->setText("50");
  dlg.ed_max->setText("10");
  dlg.cb_pointer->setChecked(true);
  dlg.cb_stair->setChecked(true);
  dlg.cb_allowPan->setChecked(true);
  dlg.Button1->click();
  EXPECT_EQ(chart.calls, QStringList({"Pointer 1", "Stairs 1", "Automatic 0", "Minimum 0",
                                      "Maximum 10", "Minimum 50", "Zoom 0", "Panning 1"}));
  EXPECT_EQ(Stored("Minimum"), "50");
  EXPECT_EQ(Stored("Maximum"), "10");

  chart.calls.clear();
  dlg.cb_scale->setChecked(true);
  dlg.ed_min->setText("5");
  dlg.ed_max->setText("7");
  dlg.Button1->click();
  EXPECT_EQ(chart.calls, QStringList({"Pointer 1", "Stairs 1", "Automatic 1", "Zoom 0",
                                      "Panning 1"}));
  EXPECT_EQ(Stored("Minimum"), "5");
  EXPECT_EQ(Stored("Maximum"), "7");
  EXPECT_EQ(Stored("AutoScale"), "1");
}

TEST_F(GraphicSetup, StoredSettingsComeBackAtTheNextStart) {
  {
    TGraphicSetupForm dlg(chart, nullptr, nullptr);
    dlg.ed_min->setText("-2.5");
    dlg.ed_max->setText("12");
    for (QCheckBox* box : {dlg.cb_scale, dlg.cb_pointer, dlg.cb_stair, dlg.cb_allowZoom,
                           dlg.cb_allowPan})
      box->setChecked(true);
    dlg.ed_number->setText("33");
    dlg.Button1->click();
  }
  chart.calls.clear();
  TGraphicSetupForm dlg(chart, nullptr, nullptr);
  EXPECT_EQ(dlg.YMin(), -2.5);
  EXPECT_EQ(dlg.YMax(), 12);
  EXPECT_TRUE(dlg.AutoScale() && dlg.YPointer() && dlg.Stair() && dlg.AllowZoom() &&
              dlg.AllowMove());
  EXPECT_EQ(dlg.XNumber(), 33);
  EXPECT_EQ(dlg.ed_min->text(), "-2.5");
  EXPECT_TRUE(dlg.cb_allowPan->isChecked());
  EXPECT_EQ(chart.calls, QStringList({"Pointer 1", "Stairs 1", "Automatic 1", "Zoom 1",
                                      "Panning 1"}));
}

TEST_F(GraphicSetup, CancelLeavesSettingsAndStoreButKeepsWhatWasTyped) {
  TMainForm form;
  TGraphicSetupForm dlg(*form.Chart1, form.Action(TAction::acZoomIn),
                        form.Action(TAction::acZoomOut), &form);
  form.SetGraphicSetupForm(&dlg);
  WhenShown<TGraphicSetupForm>([](TGraphicSetupForm& d) {
    d.ed_number->setText("77");
    d.cb_allowZoom->setChecked(true);
    d.Button2->click();
  });
  form.Action(TAction::acGrafik)->trigger();
  EXPECT_EQ(dlg.XNumber(), 250);
  EXPECT_FALSE(dlg.AllowZoom());
  EXPECT_FALSE(form.Action(TAction::acZoomIn)->isEnabled());
  EXPECT_EQ(Stored("Number"), "<no key>");
  EXPECT_EQ(dlg.ed_number->text(), "77");
  EXPECT_TRUE(dlg.cb_allowZoom->isChecked());
}

TEST_F(GraphicSetup, TheWindowsDiagramFollowsOK) {
  TMainForm form;
  TGraphicSetupForm dlg(*form.Chart1, form.Action(TAction::acZoomIn),
                        form.Action(TAction::acZoomOut), &form);
  form.SetGraphicSetupForm(&dlg);
  QAction* zoomIn = form.Action(TAction::acZoomIn);
  QAction* zoomOut = form.Action(TAction::acZoomOut);
  EXPECT_FALSE(zoomIn->isEnabled());

  // Shown from the action (as from the menu, the button and the context
  // menu); OK with zoom ticked enables both zoom actions.
  form.OnModalDialog = [&](QDialog& d) {
    EXPECT_EQ(&d, &dlg);
    dlg.cb_allowZoom->setChecked(true);
    dlg.ed_min->setText("-5");
    dlg.ed_max->setText("25");
    dlg.ed_number->setText("20");
    dlg.Button1->click();
    return int(QDialog::Accepted);
  };
  form.Action(TAction::acGrafik)->trigger();
  EXPECT_TRUE(zoomIn->isEnabled());
  EXPECT_TRUE(zoomOut->isEnabled());
  EXPECT_TRUE(form.Chart1->AllowZoom());
  EXPECT_FALSE(form.Chart1->LeftAxisAutomatic());
  EXPECT_DOUBLE_EQ(form.Chart1->LeftAxisMinimum(), -5);
  EXPECT_DOUBLE_EQ(form.Chart1->LeftAxisMaximum(), 25);
  // The display feed keeps this many points (plus the one it adds).
  EXPECT_EQ(form.ChartPointNumber(), 20);

  dlg.cb_allowZoom->setChecked(false);
  dlg.Button1->click();
  EXPECT_FALSE(zoomIn->isEnabled());
  EXPECT_FALSE(zoomOut->isEnabled());
  EXPECT_FALSE(form.Chart1->AllowZoom());
}

TEST_F(GraphicSetup, AStoreThatFailsIsShownByTheWindowAfterTheDialogClosed) {
  // A store below a plain file cannot be written, whoever runs the test.
  QFile blocker(settings.filePath("file"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  platform::Registry::SetStorageRoot(settings.filePath("file/below"));
  TMainForm form;
  TGraphicSetupForm dlg(*form.Chart1, form.Action(TAction::acZoomIn),
                        form.Action(TAction::acZoomOut), &form);
  form.SetGraphicSetupForm(&dlg);
  gMessages.clear();
  const QtMessageHandler previous = qInstallMessageHandler(CollectMessages);
  QString shown;
  WhenShown<TGraphicSetupForm>([&](TGraphicSetupForm& d) {
    d.ed_number->setText("42");
    WhenShown<QMessageBox>([&](QMessageBox& box) {
      EXPECT_FALSE(dlg.isVisible());
      shown = box.text();
      box.accept();
    });
    d.Button1->click();
  });
  form.Action(TAction::acGrafik)->trigger();
  qInstallMessageHandler(previous);
  EXPECT_TRUE(shown.contains("Failed to set data")) << shown.toStdString();
  EXPECT_EQ(dlg.XNumber(), 42) << "applied before the store";
  for (const QString& w : gMessages) EXPECT_FALSE(w.contains("exception")) << w.toStdString();
}

}  // namespace

