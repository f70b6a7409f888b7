// The diagram layer: the series, its axes, zoom and pan, the read-out and
// the picture exports.
#include <gtest/gtest.h>

#include "app/QtPrinters.h"

#include <QApplication>
#include <QImage>
#include <QLocale>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "app/Chart.h"
#include "app/MainForm.h"

namespace {

class ChartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale::c());
    chart.resize(600, 400);
    chart.show();
    QApplication::processEvents();
  }
  void TearDown() override { QLocale::setDefault(QLocale::system()); }

  // The widget that takes the mouse: the plot inside the chart.
  QWidget* Plot() { return chart.findChild<QWidget*>("Plot"); }
  QPoint InPlot(double fx, double fy) {
    const QRect r = chart.PlotRect();
    return Plot()->mapFrom(&chart, QPoint(r.left() + int(fx * r.width()),
                                          r.top() + int(fy * r.height())));
  }

  TChart chart;
};

TEST_F(ChartTest, PointsStayInTimeOrderAndNullPointsAreGaps) {
  chart.AddXY(1, 10);
  chart.AddXY(3, 30);
  chart.AddNullXY(2, 20);
  chart.AddXY(3, 31);  // same time: after the one already there
  ASSERT_EQ(chart.Count(), 4);
  EXPECT_EQ(chart.Point(0), QPointF(1, 10));
  EXPECT_EQ(chart.Point(1).x(), 2);
  EXPECT_TRUE(std::isnan(chart.Point(1).y()));
  EXPECT_EQ(chart.Point(2), QPointF(3, 30));
  EXPECT_EQ(chart.Point(3), QPointF(3, 31));
  chart.Delete(0);
  EXPECT_EQ(chart.Count(), 3);
  EXPECT_EQ(chart.Point(0).x(), 2);
  chart.Delete(7);  // no such point
  EXPECT_EQ(chart.Count(), 3);
  chart.Clear();
  EXPECT_EQ(chart.Count(), 0);
}

TEST_F(ChartTest, AxesFollowThePointsUnlessZoomedOrFixed) {
  chart.AddXY(0, 5);
  chart.AddXY(10, 15);
  EXPECT_DOUBLE_EQ(chart.BottomAxisMinimum(), 0);
  EXPECT_DOUBLE_EQ(chart.BottomAxisMaximum(), 10);
  EXPECT_DOUBLE_EQ(chart.LeftAxisMinimum(), 5);
  EXPECT_DOUBLE_EQ(chart.LeftAxisMaximum(), 15);

  chart.ZoomPercent(200);  // half the range around the centre
  EXPECT_DOUBLE_EQ(chart.BottomAxisMinimum(), 2.5);
  EXPECT_DOUBLE_EQ(chart.BottomAxisMaximum(), 7.5);
  chart.AddXY(20, 50);
  EXPECT_DOUBLE_EQ(chart.BottomAxisMaximum(), 7.5);
  chart.UndoZoom();
  EXPECT_DOUBLE_EQ(chart.BottomAxisMaximum(), 20);
  EXPECT_DOUBLE_EQ(chart.LeftAxisMaximum(), 50);

  chart.SetLeftAxisAutomatic(false);
  chart.SetLeftAxisMinimum(0);
  chart.SetLeftAxisMaximum(40);
  chart.AddXY(30, 100);
  EXPECT_DOUBLE_EQ(chart.LeftAxisMinimum(), 0);
  EXPECT_DOUBLE_EQ(chart.LeftAxisMaximum(), 40);
  chart.ZoomPercent(50);
  chart.UndoZoom();
  EXPECT_DOUBLE_EQ(chart.LeftAxisMaximum(), 40);
}

TEST_F(ChartTest, MousePositionsConvertToAxisValues) {
  chart.SetLeftAxisAutomatic(false);
  chart.SetLeftAxisMinimum(0);
  chart.SetLeftAxisMaximum(40);
  chart.AddXY(0, 1);
  chart.AddXY(100, 2);
  QApplication::processEvents();
  const QRect r = chart.PlotRect();
  const QPointF topLeft = chart.MouseToAxis(r.topLeft());
  const QPointF bottomRight = chart.MouseToAxis(r.bottomRight());
  EXPECT_NEAR(topLeft.x(), 0, 0.5);
  EXPECT_NEAR(topLeft.y(), 40, 0.2);
  EXPECT_NEAR(bottomRight.x(), 100, 0.5);
  EXPECT_NEAR(bottomRight.y(), 0, 0.2);
}

TEST_F(ChartTest, ADragToTheLowerRightZoomsAndBackUndoes) {
  chart.AddXY(0, 0);
  chart.AddXY(100, 100);
  QApplication::processEvents();
  QTest::mousePress(Plot(), Qt::LeftButton, {}, InPlot(0.25, 0.25));
  QTest::mouseMove(Plot(), InPlot(0.75, 0.75));
  QTest::mouseRelease(Plot(), Qt::LeftButton, {}, InPlot(0.75, 0.75));
  EXPECT_FALSE(chart.Zoomed()) << "zoom is off until allowed";

  chart.SetAllowZoom(true);
  QTest::mousePress(Plot(), Qt::LeftButton, {}, InPlot(0.25, 0.25));
  QTest::mouseMove(Plot(), InPlot(0.75, 0.75));
  QTest::mouseRelease(Plot(), Qt::LeftButton, {}, InPlot(0.75, 0.75));
  EXPECT_TRUE(chart.Zoomed());
  EXPECT_NEAR(chart.BottomAxisMinimum(), 25, 1);
  EXPECT_NEAR(chart.BottomAxisMaximum(), 75, 1);

  QTest::mousePress(Plot(), Qt::LeftButton, {}, InPlot(0.75, 0.75));
  QTest::mouseMove(Plot(), InPlot(0.25, 0.25));
  QTest::mouseRelease(Plot(), Qt::LeftButton, {}, InPlot(0.25, 0.25));
  EXPECT_FALSE(chart.Zoomed());
  EXPECT_DOUBLE_EQ(chart.BottomAxisMaximum(), 100);
}

TEST_F(ChartTest, RightButtonPansWhenAllowedAndAClickOpensTheMenu) {
  QMenu menu;
  menu.addAction("Reset Zoom");
  chart.SetPopupMenu(&menu);
  chart.AddXY(0, 0);
  chart.AddXY(100, 100);
  QApplication::processEvents();
  auto drag = [&] {
    QTest::mousePress(Plot(), Qt::RightButton, {}, InPlot(0.5, 0.5));
    QTest::mouseMove(Plot(), InPlot(0.3, 0.5));
    QTest::mouseRelease(Plot(), Qt::RightButton, {}, InPlot(0.3, 0.5));
  };
  drag();
  EXPECT_DOUBLE_EQ(chart.BottomAxisMinimum(), 0);
  menu.close();

  chart.SetAllowPanning(true);
  drag();
  EXPECT_NEAR(chart.BottomAxisMinimum(), 20, 1);  // moved by a fifth of the width
  EXPECT_FALSE(menu.isVisible());

  QTest::mouseClick(Plot(), Qt::RightButton, {}, InPlot(0.5, 0.5));
  EXPECT_TRUE(menu.isVisible());
  menu.close();
}

TEST_F(ChartTest, LabelValuesHaveUpToThreeDecimals) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(TChart::LabelValue(1.23456), "1.235");
  EXPECT_EQ(TChart::LabelValue(2.0), "2");
  EXPECT_EQ(TChart::LabelValue(0.5), "0.5");
  EXPECT_EQ(TChart::LabelValue(-0.0001), "0");
  EXPECT_EQ(TChart::LabelValue(12345.25), "12,345.25");
}

TEST_F(ChartTest, SavesABitmapAndDrawsAPicture) {
  QTemporaryDir tmp;
  chart.AddXY(0, 1);
  chart.AddXY(1, 2);
  const QString file = tmp.filePath("diagram.png");  // a bitmap whatever the name
  ASSERT_TRUE(chart.SaveToBitmapFile(file));
  QImage image;
  ASSERT_TRUE(image.load(file, "BMP"));
  EXPECT_EQ(image.size(), chart.size());
  const QPicture picture = chart.ToPicture(1024, 724);
  EXPECT_GT(picture.size(), 0u);
  EXPECT_FALSE(picture.boundingRect().isEmpty());
}

TEST(MainFormChart, MouseReadOutOnlyInsideThePlotArea) {
  QLocale::setDefault(QLocale::c());
  TMainForm form;
  form.show();
  form.SetNotebookPage(1);
  form.Chart1->SetLeftAxisAutomatic(false);
  form.Chart1->SetLeftAxisMinimum(0);
  form.Chart1->SetLeftAxisMaximum(40);
  form.ChartAddXY(0, 1);
  form.ChartAddXY(10, 2);
  QApplication::processEvents();
  const QRect r = form.Chart1->PlotRect();
  form.Chart1MouseMove(&form, r.center());
  const QPointF v = form.Chart1->MouseToAxis(r.center());
  EXPECT_EQ(form.Chart1->Title(),
            "x=" + TChart::LabelValue(v.x()) + " y=" + TChart::LabelValue(v.y()));
  const QStringList parts = form.Chart1->Title().split(' ');  // "x=4.985 y=20"
  ASSERT_EQ(parts.size(), 2);
  EXPECT_NEAR(parts[0].mid(2).toDouble(), 5, 0.1);
  EXPECT_NEAR(parts[1].mid(2).toDouble(), 20, 0.2);
  const QString inside = form.Chart1->Title();
  form.Chart1MouseMove(&form, r.topLeft() - QPoint(5, 5));
  EXPECT_EQ(form.Chart1->Title(), inside);
  QLocale::setDefault(QLocale::system());
}

}  // namespace
