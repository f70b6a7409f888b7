// The window per model: what each model shows, and that the laid-out window
// has no cut or overlapping controls. With TELQUIN_SCREENSHOTS=<folder> the
// test also writes one picture per model there.
#include <gtest/gtest.h>

#include "app/QtPrinters.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabWidget>

#include "app/Chart.h"
#include "app/MainForm.h"
#include "components/AnalogMeter.h"
#include "components/BlinkLED.h"
#include "meter/MeterLogic.h"
#include "meter/ModelTables.h"

namespace {

// Every visible widget of `root` of type W.
template <typename W>
QList<W*> Shown(QWidget* root) {
  QList<W*> result;
  for (W* w : root->findChildren<W*>())
    if (w->isVisibleTo(root->window()) && w->isVisible()) result.append(w);
  return result;
}

void ShowAndSettle(TMainForm& form) {
  form.show();
  QApplication::processEvents();
}

void Save(TMainForm& form, TDeviceType d, int tab) {
  const QString dir = qEnvironmentVariable("TELQUIN_SCREENSHOTS");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  form.grab().save(dir + QStringLiteral("/model%1_tab%2.png").arg(int(d)).arg(tab));
}

class ModelLook : public ::testing::TestWithParam<int> {};

TEST_P(ModelLook, ShowsTheModelsPagesOutputsActionsAndScale) {
  const auto d = static_cast<TDeviceType>(GetParam());
  const TModelTable& t = ModelTable(d);
  TMainForm form;
  form.Notebook_Grafik->setCurrentIndex(3);  // KESTO ZAREL leaves it here
  form.Logic().SetDevice(d);
  form.Logic().ChangeDevice();  // also for PAVON, the model already current
  for (const TParamDef& p : t.params)
    for (const TPartDef& part : p.parts) form.Controls().SetText(part.control, part.standard);
  for (int i = 0; i < 40; ++i) {
    if (i == 20) form.ChartAddNullXY(i * 0.2, 0);
    else form.ChartAddXY(i * 0.2, 10 + (i % 7));
  }
  for (int i = 0; i < 40; ++i) form.TerminalWrite(QByteArray::number(1000 + i * 7) + "\r\n");
  form.SetStatusText(0, " COMx:Offline");
  form.SetStatusText(1, "0042");
  form.SetStatusText(2, " Get Parameter ok");
  ShowAndSettle(form);

  EXPECT_EQ(form.windowTitle(), t.caption);
  EXPECT_EQ(form.Notebook_Left->currentIndex(), int(d));
  EXPECT_EQ(form.Notebook_Device->currentIndex(), int(d));
  EXPECT_EQ(form.Notebook_Grafik->currentIndex(), d == KESTO_ZAREL ? 3 : int(d));
  EXPECT_TRUE(form.LED1->isVisible());
  EXPECT_EQ(form.LED2->isVisible(), d == Hexlin || d == Tavri || d == KESTO_ZAREL);
  EXPECT_EQ(form.lb_Output2->isVisible(), form.LED2->isVisible());
  EXPECT_EQ(form.LED3->isVisible(), d == KESTO_ZAREL);
  EXPECT_EQ(form.lb_Output3->isVisible(), form.LED3->isVisible());
  for (TAction a : ModelActions())
    EXPECT_EQ(form.Action(a)->isVisible(), t.visibleActions.contains(a))
        << ActionName(a).data();
  EXPECT_EQ(form.AnalogMeter->Max(), t.gauge.Max);
  EXPECT_EQ(form.AnalogMeter->Min(), t.gauge.Min);
  // The gauge holds its zones inside its range.
  EXPECT_EQ(form.AnalogMeter->HighZone(), std::min(t.gauge.HighZone, t.gauge.Max));
  EXPECT_EQ(form.AnalogMeter->LowZone(), t.gauge.LowZone);
  EXPECT_EQ(form.AnalogMeter->HighZoneColor(), t.gauge.HighZoneColor);
  EXPECT_EQ(form.AnalogMeter->TickCount(), t.gauge.TickCount);

  for (int tab = 0; tab < 3; ++tab) {
    form.Notebook->setCurrentIndex(tab);
    QApplication::processEvents();
    // Buttons lie inside their parents and do not overlap their neighbours.
    const QList<QAbstractButton*> buttons = Shown<QAbstractButton>(form.centralWidget());
    for (QAbstractButton* b : buttons) {
      const QWidget* parent = b->parentWidget();
      EXPECT_TRUE(parent->rect().contains(b->geometry()))
          << b->text().toStdString() << " cut on tab " << tab;
      for (QAbstractButton* o : buttons) {
        if (o == b || o->parentWidget() != parent) continue;
        EXPECT_FALSE(b->geometry().intersects(o->geometry()))
            << b->text().toStdString() << " overlaps " << o->text().toStdString();
      }
      EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text()))
          << b->text().toStdString() << " caption cut";
    }
    Save(form, d, tab);
  }
  // Parameter controls lie inside the scroll box's view; combos are wide
  // enough for a few characters.
  const QWidget* page = form.Notebook_Left->currentWidget();
  const QWidget* view = page->findChild<QScrollArea*>()->viewport();
  for (QWidget* w : Shown<QWidget>(view->findChild<QWidget*>())) {
    const QRect r(w->mapTo(view, QPoint(0, 0)), w->size());
    EXPECT_GE(r.left(), 0) << w->objectName().toStdString();
    EXPECT_LE(r.right(), view->width() - 1) << w->objectName().toStdString() << " cut";
  }
  for (QComboBox* c : Shown<QComboBox>(form.Notebook_Left->currentWidget()))
    EXPECT_GE(c->width(), c->fontMetrics().horizontalAdvance(QStringLiteral("00000")))
        << c->objectName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(AllModels, ModelLook, ::testing::Range(0, DeviceTypeCount));

}  // namespace
