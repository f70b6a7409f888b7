#pragma once
// The line diagram: one chart with one line series of (time, value) points,
// a title line, a bottom axis "Time s" and a value axis that is automatic or
// fixed. Only what the window, the display feed, the diagram setup and the
// printing call is offered. The plotting library stays inside Chart.cpp.

#include <QPicture>
#include <QPointF>
#include <QString>
#include <QVector>
#include <QWidget>
#include <functional>

#include "app/ChartLook.h"

class QCustomPlot;
class QMenu;

class TChart : public QWidget, public IChartLook {
  Q_OBJECT

 public:
  explicit TChart(QWidget* parent = nullptr);
  ~TChart() override;

  // Series
  void Clear();
  void AddXY(double x, double y);
  // A point that is not drawn: the line shows a gap there.
  void AddNullXY(double x, double y);
  int Count() const { return static_cast<int>(FPoints.size()); }
  void Delete(int index);
  // Point i in x order; a null point has a NaN value.
  QPointF Point(int index) const;

  // Look of the series.
  void SetPointerVisible(bool on) override;
  bool PointerVisible() const { return FPointerVisible; }
  void SetStairs(bool on) override;
  bool Stairs() const { return FStairs; }

  // Title line above the plot area.
  void SetTitle(const QString& text);
  QString Title() const;

  // Value axis: automatic (follows the points) or fixed.
  void SetLeftAxisAutomatic(bool on) override;
  bool LeftAxisAutomatic() const { return FLeftAutomatic; }
  void SetLeftAxisMinimum(double v) override;
  void SetLeftAxisMaximum(double v) override;
  double LeftAxisMinimum() const;
  double LeftAxisMaximum() const;
  double BottomAxisMinimum() const;
  double BottomAxisMaximum() const;

  // Mouse zoom (drag a rectangle to the lower right; dragging the other way
  // undoes the zoom) and panning with the right mouse button.
  void SetAllowZoom(bool on) override;
  bool AllowZoom() const { return FAllowZoom; }
  void SetAllowPanning(bool on) override;
  bool AllowPanning() const { return FAllowPanning; }
  // Both axes shrink (percent > 100) or grow around their centres.
  void ZoomPercent(double percent);
  // Back to the automatic bottom axis and the configured value axis.
  void UndoZoom();
  bool Zoomed() const { return FZoomed; }

  // The plotting rectangle in widget coordinates, and a widget position
  // converted to (bottom axis, value axis) values.
  QRect PlotRect() const;
  QPointF MouseToAxis(const QPoint& pos) const;
  // An axis value as the axis labels write it (up to three decimals).
  static QString LabelValue(double v);

  bool SaveToBitmapFile(const QString& fileName);
  // The chart drawn as vector commands into width x height units (for
  // printing: the caller stretches the picture onto the page).
  QPicture ToPicture(int width, int height);

  void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }
  QMenu* PopupMenu() const { return FPopupMenu; }

  // Mouse moved over the chart (also without a button pressed).
  std::function<void(TChart* Sender, const QPoint& pos)> OnMouseMove;

  QCustomPlot* Plot() const { return FPlot; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Changed();
  void SyncData();
  void ApplyAxes();
  void ApplyLeftRange();
  void RectSelected(const QRect& rect);
  void ShowPopup(const QPoint& pos);

  QCustomPlot* FPlot = nullptr;
  class QCPTextElement* FTitle = nullptr;
  class QCPGraph* FSeries = nullptr;
  QVector<QPointF> FPoints;  // x ascending; y NaN for a null point
  bool FDataDirty = false;
  bool FPointerVisible = true;
  bool FStairs = false;
  bool FLeftAutomatic = true;
  double FLeftMin = 0.0;
  double FLeftMax = 40.0;
  bool FAllowZoom = false;
  bool FAllowPanning = false;
  bool FZoomed = false;
  QMenu* FPopupMenu = nullptr;
  // Right button: a click opens the context menu, a drag pans.
  bool FRightDown = false;
  bool FPanned = false;
  QPoint FPanLast;
};
