// Content never resizes the main window, and the window cannot be made so
// small that its groups overlap.
#include <gtest/gtest.h>

#include "app/QtPrinters.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QStackedWidget>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QWindow>
#include <functional>

#include "app/MainForm.h"
#include "app/StatusBar.h"
#include "components/AnalogMeter.h"
#include "meter/MeterLogic.h"

namespace {

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

void Save(QWidget& w, const char* name) {
  const QString dir = qEnvironmentVariable("TELQUIN_SCREENSHOTS");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  w.grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

// Each kind of long content on a window of its own, so that one that widens
// the window cannot hide another.
TEST(WindowSize, LongContentNeitherWidensTheWindowNorItsMinimum) {
  const QString digits(1000, u'7');
  const std::pair<const char*, std::function<void(TMainForm&)>> contents[] = {
      {"1,000-digit measurement", [&](TMainForm& f) { f.SetInputCaption(digits); }},
      {"long hint",
       [](TMainForm& f) { f.AppHint(QStringLiteral("A hint ") + QString(300, u'x')); }},
      {"long status text",
       [](TMainForm& f) { f.SetStatusText(2, QStringLiteral(" Error Get SP=") + QString(300, u'y')); }},
      {"long port path",
       [](TMainForm& f) {
         f.SetStatusText(0, QStringLiteral(" /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9XK2L3M"
                                           "-if00-port0:115200,8,None,1,None"));
       }},
  };
  for (const auto& [what, show] : contents) {
    SCOPED_TRACE(what);
    TMainForm form;
    form.show();
    Settle();
    const QSize size = form.size();
    const int minimumWidth = form.minimumSizeHint().width();
    show(form);
    Settle();
    EXPECT_EQ(form.size(), size);
    EXPECT_EQ(form.minimumSizeHint().width(), minimumWidth);
    // Normal content afterwards: still the same window.
    form.AppHint(QString());
    form.SetInputCaption(QStringLiteral("12.345"));
    Settle();
    EXPECT_EQ(form.size(), size);
  }

  TMainForm form;
  form.show();
  form.SetInputCaption(digits);
  Settle();
  EXPECT_EQ(form.lb_input->text(), digits);  // kept whole, only shown cut
  Save(form, "long_line");
}

TEST(WindowSize, PortPathIsElidedInTheMiddleTheSettingsStayWholeTheTooltipHasAll) {
  TMainForm form;
  form.show();
  Settle();
  const QString summary = QStringLiteral(
      " /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9XK2L3M-if00-port0:115200,8,None,1,None");
  form.SetStatusText(0, summary);
  QWidget* panel = form.StatusBar->Panel(0);
  EXPECT_EQ(form.StatusText(0), summary);
  EXPECT_EQ(panel->toolTip(), summary);
  EXPECT_LE(panel->width(), 175);
  const QString shown = panel->property("shownText").toString();
  EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();            // an ellipsis ...
  EXPECT_TRUE(shown.startsWith(QLatin1String(" /"))) << shown.toStdString();  // ... in the path
  EXPECT_TRUE(shown.endsWith(QLatin1String(":115200,8,None,1,None"))) << shown.toStdString();
  EXPECT_LE(panel->fontMetrics().horizontalAdvance(shown), panel->contentsRect().width());

  // Too narrow even for the settings: the whole text is cut in the middle.
  form.StatusBar->Panel(0)->setFixedWidth(60);
  const QString narrow = panel->property("shownText").toString();
  EXPECT_TRUE(narrow.contains(QChar(0x2026))) << narrow.toStdString();
  EXPECT_LE(panel->fontMetrics().horizontalAdvance(narrow), panel->contentsRect().width());
}

// Visible widgets of one parent lie inside it and side by side or above
// each other, not on top (pages of a stacked widget excepted).
void ExpectNoOverlap(QWidget* root) {
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (!w->isVisible() || !w->parentWidget() || w->isWindow()) continue;
    QWidget* parent = w->parentWidget();
    if (qobject_cast<QStackedWidget*>(parent) || qobject_cast<QAbstractScrollArea*>(parent) ||
        parent->objectName() == QLatin1String("qt_scrollarea_viewport"))
      continue;
    EXPECT_TRUE(parent->rect().contains(w->geometry()))
        << w->metaObject()->className() << " " << w->objectName().toStdString() << " cut";
    for (QObject* o : parent->children()) {
      auto* sibling = qobject_cast<QWidget*>(o);
      if (!sibling || sibling == w || !sibling->isVisible() || sibling->isWindow()) continue;
      EXPECT_FALSE(w->geometry().intersects(sibling->geometry()))
          << w->metaObject()->className() << " " << w->objectName().toStdString()
          << " overlaps " << sibling->metaObject()->className() << " "
          << sibling->objectName().toStdString();
    }
  }
}

// Group boxes of one parent side by side or above each other, not on top.
void ExpectGroupsApart(QWidget* root) {
  QList<QGroupBox*> boxes;
  for (QGroupBox* b : root->findChildren<QGroupBox*>())
    if (b->isVisible()) boxes << b;
  for (QGroupBox* b : boxes) {
    EXPECT_TRUE(b->parentWidget()->rect().contains(b->geometry()))
        << b->title().toStdString() << " cut";
    EXPECT_GE(b->height(), b->minimumSizeHint().height()) << b->title().toStdString();
    EXPECT_GE(b->width(), b->minimumSizeHint().width()) << b->title().toStdString();
    for (QGroupBox* o : boxes) {
      if (o != b && o->parentWidget() == b->parentWidget()) {
        EXPECT_FALSE(b->geometry().intersects(o->geometry()))
            << b->title().toStdString() << " overlaps " << o->title().toStdString();
      }
    }
  }
}

TEST(WindowSize, MadeSmallTheWindowStopsAtTheSizeItsLayoutsNeed) {
  TMainForm form;
  form.Logic().SetDevice(KESTO_ZAREL);  // three outputs, the longest button row
  form.Logic().ChangeDevice();
  form.show();
  Settle();
  form.resize(10, 10);
  Settle();
  EXPECT_GT(form.width(), 10);
  EXPECT_GT(form.height(), 10);
  EXPECT_GE(form.width(), form.minimumSizeHint().width());
  EXPECT_GE(form.height(), form.minimumSizeHint().height());
  for (int tab = 0; tab < 3; ++tab) {
    SCOPED_TRACE(tab);
    form.Notebook->setCurrentIndex(tab);
    Settle();
    ExpectGroupsApart(form.centralWidget());
    ExpectNoOverlap(form.centralWidget());
    // Every widget of the page lies inside the window.
    QWidget* page = form.Notebook->currentWidget();
    const QRect inWindow(page->mapTo(&form, QPoint(0, 0)), page->size());
    EXPECT_TRUE(form.rect().contains(inWindow));
  }
  form.Notebook->setCurrentIndex(0);
  // A resize from outside that ignores the size hints (no window manager,
  // or one that does not honour them) gets the minimum back.
  form.windowHandle()->resize(10, 10);
  Settle();
  EXPECT_GE(form.width(), form.minimumWidth());
  EXPECT_GE(form.height(), form.minimumHeight());
  ExpectGroupsApart(form.centralWidget());
  // The gauge keeps room for its scale: squeezed flat, needle, value and
  // tick labels would be drawn over each other.
  EXPECT_GE(form.AnalogMeter->height() * 3, form.AnalogMeter->width() * 2);
  Save(form, "minimum_size");
}

}  // namespace
